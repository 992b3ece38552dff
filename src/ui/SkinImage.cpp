#include "ui/SkinImage.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QVector>

#include "services/PathTable.h"

namespace orvane {

QImage TryLoadPictureFile(const QString& path, QString* error) {
    QImageReader reader(path);
    QImage image;
    if (!QFile::exists(path)) {
        if (error) *error = QStringLiteral("file not found");
        return {};
    }
    if (!reader.read(&image)) {
        if (error) *error = reader.errorString();
        return {};
    }
    return image;
}

QImage LoadPictureFile(const QString& path) {
    QString error;
    QImage image = TryLoadPictureFile(path, &error);
    if (image.isNull()) {
        std::fprintf(stderr, "orvane: cannot load skin picture %s: %s\n", path.toLocal8Bit().constData(),
                     error.toLocal8Bit().constData());
        std::fflush(stderr);
        std::exit(kFatalPictureExit);
    }
    return image;
}

std::unique_ptr<QImage> LoadSkinImageFrom(const QString& programFolder, const QString& relativePath) {
    auto image = std::make_unique<QImage>();
    QImageReader reader(programFolder + relativePath);
    if (!reader.read(image.get())) *image = QImage();
    return image;
}

std::unique_ptr<QImage> LoadSkinImage(const QString& relativePath) {
    return LoadSkinImageFrom(QString::fromStdString(Paths().ProgramFolder), relativePath);
}

void RenderImageToDC(CSkinFace& target, QImage image, const QSize& clientSize) {
    if (image.isNull()) {
        target.SetPixmap(QPixmap());
        return;
    }
    const QSize extent = clientSize + QSize(100, 100);
    const QRect kept = image.rect() & QRect(QPoint(0, 0), extent);
    QPixmap pixmap;
    if (image.hasAlphaChannel()) {
        // See-through pixels show the black beneath.
        pixmap = QPixmap(kept.size());
        pixmap.fill(Qt::black);
        QPainter painter(&pixmap);
        painter.drawImage(QPoint(0, 0), image, kept);
    } else {
        // Opaque: the picture itself, sharing its pixels where it fits.
        pixmap = QPixmap::fromImage(kept == image.rect() ? std::move(image) : image.copy(kept));
    }
    target.SetPixmap(std::move(pixmap), extent);
}

void CSkinFace::Draw(QPainter& painter, const QPoint& at, const QRect& source) const {
    const QRect stored(QPoint(0, 0), m_pixmap.size());
    if (!stored.contains(source)) {
        const QRect black = source & QRect(QPoint(0, 0), m_extent);
        if (!black.isEmpty()) painter.fillRect(black.translated(at - source.topLeft()), Qt::black);
    }
    painter.drawPixmap(at, m_pixmap, source);
}

QRegion BitmapToRegion(const QImage& mask, uint32_t transparent, uint32_t tolerance) {
    if (mask.isNull()) return {};
    const QImage img = mask.convertToFormat(QImage::Format_RGB32);
    auto channel = [](uint32_t c, int shift) { return int((c >> shift) & 0xFF); };
    // 0x00BBGGRR: red in the low byte.
    const int lo[3] = {channel(transparent, 0), channel(transparent, 8), channel(transparent, 16)};
    const int hi[3] = {std::min(255, lo[0] + channel(tolerance, 0)),
                       std::min(255, lo[1] + channel(tolerance, 8)),
                       std::min(255, lo[2] + channel(tolerance, 16))};
    auto isTransparent = [&](QRgb p) {
        const int r = qRed(p), g = qGreen(p), b = qBlue(p);
        return r >= lo[0] && r <= hi[0] && g >= lo[1] && g <= hi[1] && b >= lo[2] && b <= hi[2];
    };

    QRegion result;
    QVector<QRect> batch;
    batch.reserve(kRegionBatch);
    auto flush = [&] {
        if (batch.isEmpty()) return;
        QRegion part;
        part.setRects(batch.constData(), int(batch.size()));
        result = result.united(part);
        batch.clear();
    };
    // A row whose runs repeat the row above only makes those rectangles
    // taller: the outline is clipped against at every repaint, so it is
    // kept to as few rectangles as the picture allows.
    QVector<QRect> open;
    QVector<QRect> runs;
    auto close = [&] {
        for (const QRect& r : open) {
            batch.append(r);
            if (batch.size() == kRegionBatch) flush();
        }
        open.clear();
    };
    const int w = img.width();
    for (int y = 0; y < img.height(); ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        runs.clear();
        int x = 0;
        while (x < w) {
            while (x < w && isTransparent(row[x]))
                ++x;
            const int start = x;
            while (x < w && !isTransparent(row[x]))
                ++x;
            if (x > start) runs.append(QRect(start, y, x - start, 1));
        }
        const bool same =
            runs.size() == open.size() &&
            std::equal(runs.begin(), runs.end(), open.begin(), [](const QRect& a, const QRect& b) {
                return a.left() == b.left() && a.right() == b.right();
            });
        if (same) {
            for (QRect& r : open)
                r.setBottom(y);
        } else {
            close();
            std::swap(open, runs);
        }
    }
    close();
    flush();
    return result;
}

} // namespace orvane
