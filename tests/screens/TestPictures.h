#pragma once

#include <QColor>
#include <QImage>
#include <QString>
#include <QTemporaryDir>

// Solid-colour pictures written to a temporary folder, so tests can tell by a pixel's
// colour which control was painted where.
class TestPictures {
public:
    QString solid(const QString& name, QColor color, int w = 32, int h = 32)
    {
        QImage image(w, h, QImage::Format_ARGB32);
        image.fill(color);
        const QString path = m_dir.filePath(name + QStringLiteral(".png"));
        image.save(path);
        return path;
    }
    QString missing() const { return m_dir.filePath(QStringLiteral("nothing-here.png")); }
    QString garbage(const QString& name)
    {
        const QString path = m_dir.filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write("this is not a picture at all");
        return path;
    }

private:
    QTemporaryDir m_dir;
};
