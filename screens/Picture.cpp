#include "Picture.h"

#include <QCache>
#include <QFile>
#include <QHash>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QSvgRenderer>
#include <atomic>
#include <deque>
#include <cmath>
#include <cstdio>
#include <mutex>

namespace screens {

namespace {
// Pictures are small; anything larger than this is refused rather than decoded.
constexpr int kMaxPictureSide = 4096;
constexpr qint64 kMaxPictureFileBytes = 16 * 1024 * 1024;

std::atomic<Picture::Handle> g_nextHandle{1};
} // namespace

// The decoded contents of one picture file, shared by every picture object made from it.
class PictureData {
public:
    explicit PictureData(const QString& source)
    {
        if (source.isEmpty())
            return;
        QFile file(source);
        if (!file.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "picture: cannot read %s\n", qPrintable(source));
            return;
        }
        if (file.size() > kMaxPictureFileBytes) {
            std::fprintf(stderr, "picture: %s is too large\n", qPrintable(source));
            return;
        }
        const QByteArray bytes = file.readAll();
        if (source.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)) {
            m_svg = std::make_unique<QSvgRenderer>(bytes);
            if (!m_svg->isValid()) {
                std::fprintf(stderr, "picture: %s is not a valid SVG picture\n", qPrintable(source));
                m_svg.reset();
                return;
            }
            m_size = m_svg->defaultSize();
            m_svg->setAspectRatioMode(Qt::IgnoreAspectRatio);
        } else {
            QImageReader reader(source);
            const QSize declared = reader.size();
            if (declared.width() > kMaxPictureSide || declared.height() > kMaxPictureSide) {
                std::fprintf(stderr, "picture: %s is too large\n", qPrintable(source));
                return;
            }
            QImage image;
            if (!reader.read(&image)) {
                std::fprintf(stderr, "picture: %s: %s\n", qPrintable(source),
                             qPrintable(reader.errorString()));
                return;
            }
            m_image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
            m_size = m_image.size();
        }
        if (m_size.width() <= 0 || m_size.height() <= 0 || m_size.width() > kMaxPictureSide ||
            m_size.height() > kMaxPictureSide) {
            std::fprintf(stderr, "picture: %s has an unusable size\n", qPrintable(source));
            m_svg.reset();
            m_image = QImage();
            m_size = QSize();
        }
    }

    bool isNull() const { return m_size.isEmpty(); }
    QSize size() const { return m_size; }

    // Rasterised at exactly the device size asked for, so scaled pictures stay sharp. A
    // non-empty `part` (in the picture's own pixels) renders that part alone to `size`.
    QPixmap render(const QSize& size, const QRect& part = {}) const
    {
        const QString key = QStringLiteral("%1x%2 %3,%4,%5,%6").arg(size.width()).arg(size.height())
                                .arg(part.x()).arg(part.y()).arg(part.width()).arg(part.height());
        std::lock_guard lock(m_cacheMutex);
        if (QPixmap* cached = m_cache.object(key))
            return *cached;
        QImage out(size, QImage::Format_ARGB32_Premultiplied);
        out.fill(Qt::transparent);
        {
            QPainter p(&out);
            p.setRenderHint(QPainter::Antialiasing);
            p.setRenderHint(QPainter::SmoothPixmapTransform);
            const QRect from = part.isEmpty() ? QRect(QPoint(0, 0), m_size) : part;
            const double sx = double(size.width()) / from.width();
            const double sy = double(size.height()) / from.height();
            // The whole picture, placed so that `from` lands on the output.
            const QRectF whole(-from.x() * sx, -from.y() * sy, m_size.width() * sx, m_size.height() * sy);
            if (m_svg)
                m_svg->render(&p, whole);
            else
                p.drawImage(whole, m_image);
        }
        QPixmap pixmap = QPixmap::fromImage(std::move(out));
        m_cache.insert(key, new QPixmap(pixmap), std::max(1, int(qint64(size.width()) * size.height() * 4 / 1024)));
        return pixmap;
    }

private:
    std::unique_ptr<QSvgRenderer> m_svg;
    QImage m_image;
    QSize m_size;
    mutable std::mutex m_cacheMutex;
    // The sizes and parts drawn last, up to 4 MiB a file: a puzzle's model is shown whole and
    // in twenty parts or more, and coming back to its screen should draw none of them again.
    mutable QCache<QString, QPixmap> m_cache{4096};
};

namespace {
// Files are decoded once; the entries stay while any picture object uses them.
std::shared_ptr<const PictureData> dataFor(const QString& source)
{
    static std::mutex mutex;
    static QHash<QString, std::weak_ptr<const PictureData>> files;
    std::lock_guard lock(mutex);
    if (auto existing = files.value(source).lock())
        return existing;
    auto data = std::make_shared<const PictureData>(source);
    files.insert(source, data);
    // The files of the last screens stay decoded, so going back to a screen is instant.
    static std::deque<std::shared_ptr<const PictureData>> recent;
    recent.push_back(data);
    if (recent.size() > 256)
        recent.pop_front();
    return data;
}
} // namespace

Picture::Picture(QString source, std::shared_ptr<const PictureData> data, QRect crop)
    : m_handle(g_nextHandle++), m_source(std::move(source)), m_data(std::move(data)), m_crop(crop)
{
}

std::shared_ptr<Picture> Picture::fromFile(const QString& source, const QRect& crop)
{
    auto data = dataFor(source);
    QRect part = crop;
    if (!crop.isEmpty() && !QRect(QPoint(0, 0), data->size()).contains(crop)) {
        std::fprintf(stderr, "picture: crop %d,%d %dx%d lies outside %s\n", crop.x(), crop.y(), crop.width(),
                     crop.height(), qPrintable(source));
        data = dataFor(QString()); // shows nothing, but is still an object of its own
        part = QRect();
    }
    return std::shared_ptr<Picture>(new Picture(source, std::move(data), part));
}

bool Picture::isNull() const { return m_data->isNull(); }

QSize Picture::pixelSize() const { return m_crop.isEmpty() ? m_data->size() : m_crop.size(); }

void Picture::paint(QPainter& painter, const QRectF& target) const
{
    if (m_data->isNull() || target.width() < 0.5 || target.height() < 0.5)
        return;
    const qreal dpr = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    const QRect device = QRectF(target.topLeft() * dpr, target.size() * dpr).toAlignedRect();
    const QSize size(std::min(device.width(), kMaxPictureSide), std::min(device.height(), kMaxPictureSide));
    QPixmap pixmap = m_data->render(size, m_crop);
    painter.drawPixmap(target, pixmap, QRectF(QPointF(0, 0), QSizeF(pixmap.size())));
}

QPixmap Picture::pixmap(const QSize& size) const
{
    if (m_data->isNull() || size.isEmpty())
        return {};
    return m_data->render(size, m_crop);
}

} // namespace screens
