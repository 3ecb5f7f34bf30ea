#pragma once

// Builds small movie files in memory for tests.

#include "BitWriter.h"

#include <QByteArray>
#include <QSize>
#include <QString>
#include <cstdint>
#include <vector>

namespace movietest {

// The program's bit writer as the tests spell it: the value before its width, Qt byte arrays.
class BitWriter {
public:
    void ub(uint32_t value, int bits) { m_out.ub(bits, value); }
    void sb(int32_t value, int bits) { m_out.sb(bits, value); }
    void align() { m_out.align(); }
    void u8(int v) { m_out.u8(unsigned(v) & 0xff); }
    void u16(int v) { m_out.u16(unsigned(v) & 0xffff); }
    void u32(uint32_t v) { m_out.u32(v); }
    void bytes(const QByteArray& b)
    {
        for (char c : b)
            m_out.u8(uint8_t(c));
    }
    void string(const QString& s) { m_out.string(s.toStdString()); }
    QByteArray data() const
    {
        return QByteArray(reinterpret_cast<const char*>(m_out.data().data()), qsizetype(m_out.size()));
    }

private:
    swf::BitWriter m_out;
};

struct Color {
    int r = 0, g = 0, b = 0, a = 255;
};

void writeRect(BitWriter& w, int xmin, int xmax, int ymin, int ymax);
void writeMatrix(BitWriter& w, double sx = 1, double sy = 1, double r0 = 0, double r1 = 0, int tx = 0, int ty = 0);
void writeTranslate(BitWriter& w, int tx, int ty);
// mult terms in 1/256 units, add terms in 0..255.
void writeColorTransform(BitWriter& w, bool alpha, const int mult[4], const int add[4]);

// Shape records with styles. Coordinates in twips.
class ShapeWriter {
public:
    explicit ShapeWriter(int version = 3) : m_version(version) {}
    int solidFill(Color c);
    int linearGradient(Color from, Color to);
    int bitmapFill(int bitmapId, double scale, bool repeating);
    int line(int width, Color c);
    // LINESTYLE2 (DefineShape4): caps/joins 0 round, 1 none/bevel, 2 square/miter.
    int line2(int width, Color c, int cap, int join, bool noHScale, bool noVScale);
    // Style change record; -1 leaves a style unchanged.
    void change(int fill0, int fill1, int line, bool move = false, int x = 0, int y = 0);
    // Style change that replaces the style tables (DefineShape2+).
    void newStyles(const ShapeWriter& styles, int fill0, int fill1, int line);
    void lineTo(int dx, int dy);
    void curveTo(int cx, int cy, int ax, int ay);
    // A closed axis-aligned rectangle walked clockwise (on screen) from its top-left corner.
    void rectangle(int x, int y, int w, int h);
    QByteArray shapeWithStyles();  // style tables + records + end
    QByteArray shapeOnly();        // records for glyphs and morph end shapes (no styles)
    void writeStyles(BitWriter& w) const;
    int fillBits() const { return 4; }
    int lineBits() const { return 4; }

private:
    int m_version;
    BitWriter m_fillStyles;
    int m_fillCount = 0;
    BitWriter m_lineStyles;
    int m_lineCount = 0;
    struct Rec {
        int kind;  // 0 change, 1 line, 2 curve, 3 new styles
        int a, b, c, d, e;
        bool move;
        QByteArray styles;
    };
    std::vector<Rec> m_records;
    void writeRecords(BitWriter& w) const;
};

class SwfWriter {
public:
    SwfWriter(int width = 100, int height = 100, double fps = 10, int version = 10);
    // A stage whose size is given in twips, which need not make whole pixels.
    void stageInTwips(int width, int height) { m_stageTwips = QSize(width, height); }
    void tag(int code, const QByteArray& payload, bool forceLong = false);
    void showFrame() { tag(1, {}); }
    void end() { tag(0, {}); }
    void background(int r, int g, int b);
    void defineShape(int id, ShapeWriter& shape, int version = 3, int w = 2000, int h = 2000);
    // PlaceObject2. tx/ty in twips; cxMult/cxAdd optional.
    struct Place {
        int depth = 1;
        int characterId = 0;
        bool move = false;
        bool hasMatrix = false;
        double sx = 1, sy = 1;
        int tx = 0, ty = 0;
        bool hasColor = false;
        int mult[4] = {256, 256, 256, 256};
        int add[4] = {0, 0, 0, 0};
        int ratio = -1;
        QString name;
        int clipDepth = 0;
    };
    void place(const Place& p);
    static QByteArray placePayload(const Place& p);
    void remove(int depth);
    void label(const QString& name);
    // Actions: raw action bytes (see the helpers below).
    void doAction(const QByteArray& actions);
    void sprite(int id, const QByteArray& tags, int frames);
    QByteArray file(char compression = 'F') const;
    QByteArray body() const { return m_tags; }

    static QByteArray actStop() { return QByteArray(1, 0x07); }
    static QByteArray actPlay() { return QByteArray(1, 0x06); }
    static QByteArray actNext() { return QByteArray(1, 0x04); }
    static QByteArray actPrev() { return QByteArray(1, 0x05); }
    static QByteArray actGoto(int frame0);
    static QByteArray actGotoLabel(const QString& label);

private:
    int m_width, m_height, m_version;
    QSize m_stageTwips;
    double m_fps;
    QByteArray m_tags;
};

// Tags for a sprite body are written with a second SwfWriter and taken with body().

} // namespace movietest
