#include "ui/support/UiTestSupport.h"

#include <QCoreApplication>
#include <QImage>
#include <QPixmap>

namespace orvane::test {

void CRecordingParent::Drain() {
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

bool CRecordingParent::event(QEvent* e) {
    if (e->type() == CControlMessageEvent::Type()) {
        auto* m = static_cast<CControlMessageEvent*>(e);
        messages.push_back({m->Message(), m->WParam(), m->LParam()});
        return true;
    }
    return QWidget::event(e);
}

QRgb FacePixel(int tag, int x, int y) {
    return qRgb(tag * 40, x % 256, y % 256);
}

std::unique_ptr<CSkinFace> MakeFace(int tag, int width, int height) {
    QImage img(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            img.setPixel(x, y, FacePixel(tag, x, y));
    return std::make_unique<CSkinFace>(QPixmap::fromImage(img));
}

} // namespace orvane::test
