#include "Canvas.h"

#include <QLinearGradient>
#include <QPainterPath>

namespace skingen {

QFont UiFont(int pixelSize, bool bold) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferFullHinting);
    return f;
}

void DrawKeyCap(QPainter& p, const QRectF& r, const QString& legend, Face face, bool small) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const double rad = 5.0;
    QColor top0(0x33, 0x37, 0x40), top1(0x27, 0x2a, 0x31), skirt(0x0b, 0x0c, 0x0f);
    QColor legendColour = pal::kText;
    QColor edge(0x40, 0x45, 0x4f);
    double inset = 0; // the top face sinks when pressed
    switch (face) {
    case Face::Normal:
        break;
    case Face::Over:
        top0 = QColor(0x45, 0x4a, 0x55), top1 = QColor(0x35, 0x39, 0x42);
        legendColour = Qt::white, edge = QColor(0x5e, 0x64, 0x70);
        break;
    case Face::Down:
        top0 = QColor(0x1d, 0x1f, 0x24), top1 = QColor(0x22, 0x25, 0x2b);
        edge = pal::kAccent, inset = 2;
        break;
    case Face::Disable: // the checked look of a key
        top0 = QColor(0x3b, 0x2c, 0x1c), top1 = QColor(0x2c, 0x22, 0x18);
        legendColour = pal::kAccentSoft, edge = pal::kAccent;
        break;
    case Face::Color0:
        top0 = QColor(0x22, 0x24, 0x29), top1 = QColor(0x1d, 0x1f, 0x23);
        legendColour = QColor(0x5c, 0x61, 0x69), edge = QColor(0x2c, 0x2f, 0x35);
        break;
    case Face::Color1:
        top0 = QColor(0x2f, 0x33, 0x3b), top1 = QColor(0x26, 0x29, 0x30);
        legendColour = Qt::white, edge = QColor(0xd8, 0xdc, 0xe2);
        break;
    }
    // Skirt (the cap's sides), then the top face.
    QRectF body = r.adjusted(1, 1 + inset, -1, -1);
    p.setPen(Qt::NoPen);
    p.setBrush(skirt);
    p.drawRoundedRect(body, rad, rad);
    QRectF topFace = body.adjusted(2, 1, -2, inset > 0 ? -2 : -4);
    QLinearGradient g(topFace.topLeft(), topFace.bottomLeft());
    g.setColorAt(0, top0);
    g.setColorAt(1, top1);
    p.setBrush(g);
    p.setPen(QPen(edge, face == Face::Disable || face == Face::Down ? 1.5 : 1.0));
    p.drawRoundedRect(topFace, rad - 1, rad - 1);
    if (face == Face::Color1) {
        // Light leaking under the cap.
        QLinearGradient glow(body.bottomLeft() - QPointF(0, 4), body.bottomLeft());
        glow.setColorAt(0, QColor(255, 255, 255, 0));
        glow.setColorAt(1, QColor(255, 255, 255, 120));
        p.setPen(Qt::NoPen);
        p.setBrush(glow);
        p.drawRoundedRect(body.adjusted(0, body.height() - 5, 0, 0), 2, 2);
    }
    if (!legend.isEmpty()) {
        // Letters and F keys centred and bold; two-line legends and words at
        // the top left, the way printed caps carry them.
        const bool twoLine = legend.contains('\n');
        const bool fKey =
            legend.size() <= 3 && legend.startsWith('F') && legend.size() > 1 && legend[1].isDigit();
        const bool glyph = legend.size() <= 2 || fKey;
        QRectF text = topFace.adjusted(5, 3, -3, -3);
        p.setPen(legendColour);
        if (glyph) {
            p.setFont(UiFont(small || fKey ? 12 : 14, true));
            p.drawText(text, Qt::AlignCenter, legend);
        } else if (twoLine) {
            p.setFont(UiFont(11, true));
            p.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, legend);
        } else {
            p.setFont(UiFont(small ? 12 : 9, !small ? false : true));
            if (small)
                p.drawText(text, Qt::AlignCenter, legend);
            else
                p.drawText(text, Qt::AlignLeft | Qt::AlignTop, legend);
        }
    }
    p.restore();
}

static void ButtonBody(QPainter& p, const QRectF& r, const QColor& c0, const QColor& c1, const QColor& edge,
                       double edgeWidth, double radius) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, c0);
    g.setColorAt(1, c1);
    p.setBrush(g);
    p.setPen(QPen(edge, edgeWidth));
    p.drawRoundedRect(r, radius, radius);
}

void DrawButton(QPainter& p, const QRectF& r0, Face face, const IconFn& icon, double radius) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QRectF r = r0.adjusted(1, 1, -1, -1);
    QColor ink = pal::kText;
    switch (face) {
    case Face::Over:
        ButtonBody(p, r, QColor(0x3d, 0x42, 0x4c), QColor(0x30, 0x34, 0x3c), QColor(0x6a, 0x70, 0x7c), 1,
                   radius);
        ink = Qt::white;
        break;
    case Face::Down:
        ButtonBody(p, r, QColor(0x17, 0x19, 0x1d), QColor(0x1f, 0x22, 0x27), pal::kAccent, 1.2, radius);
        r.translate(0, 1);
        ink = pal::kAccentSoft;
        break;
    case Face::Disable:
        ButtonBody(p, r, QColor(0x1e, 0x20, 0x24), QColor(0x1b, 0x1d, 0x21), QColor(0x2a, 0x2d, 0x33), 1,
                   radius);
        ink = QColor(0x5a, 0x5e, 0x66);
        break;
    default:
        ButtonBody(p, r, QColor(0x2f, 0x33, 0x3b), QColor(0x25, 0x28, 0x2e), QColor(0x45, 0x4a, 0x54), 1,
                   radius);
        break;
    }
    if (icon) icon(p, r, ink);
    p.restore();
}

void DrawCheckedButton(QPainter& p, const QRectF& r0, const IconFn& icon, double radius) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QRectF r = r0.adjusted(1, 1, -1, -1);
    ButtonBody(p, r, QColor(0x3a, 0x2a, 0x18), QColor(0x2b, 0x20, 0x15), pal::kAccent, 1.6, radius);
    p.setPen(Qt::NoPen);
    p.setBrush(pal::kAccent);
    p.drawRoundedRect(QRectF(r.left() + radius, r.bottom() - 4, r.width() - 2 * radius, 2.5), 1.2, 1.2);
    if (icon) icon(p, r, pal::kAccentSoft);
    p.restore();
}

IconFn TextIcon(const QString& text, int pixelSize, bool bold) {
    return [=](QPainter& p, const QRectF& r, const QColor& c) {
        p.setFont(UiFont(pixelSize, bold));
        p.setPen(c);
        p.drawText(r, Qt::AlignCenter, text);
    };
}

void DrawField(QPainter& p, const QRectF& r, double radius) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(pal::kField);
    p.setPen(QPen(QColor(0x30, 0x34, 0x3c), 1));
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
    p.restore();
}

void DrawWindowBody(QPainter& p, const QSize& size, double radius) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(QRect(QPoint(0, 0), size), pal::kWindowBottom);
    QLinearGradient g(0, 0, 0, size.height());
    g.setColorAt(0, pal::kWindowTop);
    g.setColorAt(1, pal::kWindowBottom);
    p.setBrush(g);
    p.setPen(QPen(pal::kWindowEdge, 1));
    p.drawRoundedRect(QRectF(0.5, 0.5, size.width() - 1, size.height() - 1), radius, radius);
    p.restore();
}

} // namespace skingen
