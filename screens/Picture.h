#pragma once

#include <QPixmap>
#include <QRect>
#include <QSize>
#include <QString>
#include <cstdint>
#include <memory>

class QPainter;
class QRectF;

namespace screens {

class PictureData;

// A picture object. Every object has its own numeric handle, unique for the life of the
// program and never 0; controls that share a picture hold the same object. The image
// itself (decoded once per file) is shared by all objects made from the same file.
class Picture {
public:
    using Handle = std::uint64_t;

    // Makes a new picture object from a file (a resource path or a path on disk). A file
    // that cannot be read still gives an object of its own, which shows nothing. A non-empty
    // `crop` (in the file's own pixels) makes a picture of that part of the file alone: a
    // puzzle piece cut from its model. A crop reaching outside the picture shows nothing.
    static std::shared_ptr<Picture> fromFile(const QString& source, const QRect& crop = {});

    Handle handle() const { return m_handle; }
    const QString& source() const { return m_source; }
    bool isNull() const;
    // The picture's own size in pixels (an empty size for a picture that shows nothing).
    QSize pixelSize() const;

    // Paints the picture stretched to `target` (device coordinates), sharp at any scale.
    void paint(QPainter& painter, const QRectF& target) const;
    // The picture rendered at a given pixel size, for cursors and drag icons.
    QPixmap pixmap(const QSize& size) const;

private:
    Picture(QString source, std::shared_ptr<const PictureData> data, QRect crop);

    Handle m_handle;
    QString m_source;
    std::shared_ptr<const PictureData> m_data;
    QRect m_crop; // empty: the whole file
};

using PicturePtr = std::shared_ptr<Picture>;

// The handle of a control's picture: 0 when the control holds none.
inline Picture::Handle handleOf(const PicturePtr& picture) { return picture ? picture->handle() : 0; }

} // namespace screens
