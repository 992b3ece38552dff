// The lighting panel's small pictures: switch, direction, colour choices,
// ticks, paint tools, busy frames, slider positions and colour presets.
#include <cmath>
#include <QDir>
#include <QPainterPath>

#include "model/LightingRecord.h"
#include "Scene.h"

namespace skingen {

namespace {

QImage Canvas(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(pal::kPanel);
    return img;
}

bool Save(const QImage& img, const QString& folder, const QString& name) {
    return SaveImage(img, folder + '/' + name, "bmp");
}

void Chip(QPainter& p, const QRectF& r, bool active) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(active ? QColor(0x3a, 0x2a, 0x18) : QColor(0x26, 0x29, 0x2f));
    p.setPen(QPen(active ? pal::kAccent : QColor(0x40, 0x45, 0x4f), active ? 1.6 : 1));
    p.drawRoundedRect(r.adjusted(1, 1, -1, -1), 7, 7);
}

// Arrow pointing along (dx, dy) through the centre.
void Arrow(QPainter& p, QPointF c, double dx, double dy, double len, const QColor& col) {
    p.setPen(QPen(col, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPointF a = c - QPointF(dx, dy) * len / 2, b = c + QPointF(dx, dy) * len / 2;
    p.drawLine(a, b);
    QPointF n(-dy, dx);
    p.drawLine(b, b - QPointF(dx, dy) * 5 + n * 4);
    p.drawLine(b, b - QPointF(dx, dy) * 5 - n * 4);
}

QImage DirectionPicture(int kind, bool active) {
    QImage img = Canvas(40, 32);
    QPainter p(&img);
    Chip(p, QRectF(0, 0, 40, 32), active);
    const QColor ink = active ? pal::kAccentSoft : pal::kText;
    const QPointF c(20, 16);
    switch (kind) {
    case 0:
        Arrow(p, c, -1, 0, 18, ink);
        break; // left
    case 1:
        Arrow(p, c, 1, 0, 18, ink);
        break; // right
    case 2:
        Arrow(p, c, 0, -1, 16, ink);
        break; // up
    case 3:
        Arrow(p, c, 0, 1, 16, ink);
        break; // down
    case 4:    // converge
        Arrow(p, QPointF(11, 16), 1, 0, 10, ink);
        Arrow(p, QPointF(29, 16), -1, 0, 10, ink);
        break;
    case 5: // spread
        Arrow(p, QPointF(12, 16), -1, 0, 10, ink);
        Arrow(p, QPointF(28, 16), 1, 0, 10, ink);
        break;
    }
    return img;
}

QImage SwitchPicture(bool on) {
    QImage img = Canvas(56, 28);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QRectF track(2, 4, 52, 20);
    p.setPen(QPen(on ? pal::kAccent : QColor(0x45, 0x4a, 0x54), 1));
    p.setBrush(on ? QColor(0xc8, 0x66, 0x00) : QColor(0x26, 0x29, 0x2f));
    p.drawRoundedRect(track, 10, 10);
    p.setPen(Qt::NoPen);
    p.setBrush(on ? QColor(Qt::white) : QColor(0x8a, 0x8f, 0x98));
    p.drawEllipse(QPointF(on ? 44 : 12, 14), 8, 8);
    return img;
}

QImage ColourChoice(const QColor& colour, bool selected) {
    QImage img = Canvas(40, 32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    if (selected) {
        p.setPen(QPen(Qt::white, 2));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(3, 1, 34, 30), 8, 8);
    }
    p.setPen(QPen(colour.darker(160), 1));
    p.setBrush(colour);
    p.drawRoundedRect(QRectF(8, 6, 24, 20), 5, 5);
    if (selected) {
        p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(QPointF(14, 16), QPointF(18.5, 20.5));
        p.drawLine(QPointF(18.5, 20.5), QPointF(26, 11));
    }
    return img;
}

QImage TickBox(bool ticked) {
    QImage img = Canvas(32, 32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(ticked ? pal::kAccent : QColor(0x50, 0x55, 0x60), 1.5));
    p.setBrush(ticked ? pal::kAccent : pal::kField);
    p.drawRoundedRect(QRectF(6, 6, 20, 20), 4, 4);
    if (ticked) {
        p.setPen(QPen(QColor(0x16, 0x12, 0x0c), 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawLine(QPointF(10.5, 16), QPointF(14.5, 20));
        p.drawLine(QPointF(14.5, 20), QPointF(21.5, 11.5));
    }
    return img;
}

QImage ToolPicture(int tool, bool active) {
    QImage img = Canvas(40, 32);
    QPainter p(&img);
    Chip(p, QRectF(0, 0, 40, 32), active);
    const QColor ink = active ? pal::kAccentSoft : pal::kText;
    p.setRenderHint(QPainter::Antialiasing);
    if (tool == 0) { // brush: one key at a time
        p.setPen(QPen(ink, 2.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(26, 8), QPointF(17, 19));
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        QPainterPath tip;
        tip.moveTo(17, 17);
        tip.cubicTo(12, 18, 13, 24, 10, 25);
        tip.cubicTo(16, 26, 20, 23, 19.5, 19.5);
        tip.closeSubpath();
        p.drawPath(tip);
    } else { // linked colour: a chain
        p.setPen(QPen(ink, 2.2));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(QRectF(9, 12, 13, 8), 4, 4);
        p.drawRoundedRect(QRectF(18, 12, 13, 8), 4, 4);
    }
    return img;
}

QImage BusyFrame(int frame) {
    QImage img(140, 12, QImage::Format_RGB32);
    img.fill(pal::kPanel);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(pal::kField);
    p.drawRoundedRect(QRectF(0, 2, 140, 8), 4, 4);
    // A bright segment sweeping from left to right over the ten frames.
    const double x = -30 + frame * 17.0;
    QLinearGradient g(x, 0, x + 40, 0);
    g.setColorAt(0, QColor(255, 130, 0, 0));
    g.setColorAt(0.5, pal::kAccent);
    g.setColorAt(1, QColor(255, 130, 0, 0));
    p.setClipRect(QRectF(0, 2, 140, 8));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(x, 2, 40, 8), 4, 4);
    return img;
}

// Slider pictures: brightness positions 0-5 (files 0-5), speed positions
// 0-5 (files 6-11), the rest a finer brightness scale.
QImage SliderPicture(int n) {
    double fraction;
    QColor fill = pal::kAccent;
    if (n <= 5)
        fraction = n / 5.0;
    else if (n <= 11)
        fraction = (n - 6) / 5.0, fill = QColor(0x2f, 0xb7, 0xe8);
    else
        fraction = (n - 12) / 13.0;
    const int w = 220, h = 32;
    QImage img = Canvas(w, h);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const double left = 10, right = w - 10, cy = h / 2.0;
    p.setPen(Qt::NoPen);
    p.setBrush(pal::kField);
    p.drawRoundedRect(QRectF(left, cy - 3, right - left, 6), 3, 3);
    const double knob = left + fraction * (right - left);
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(left, cy - 3, knob - left, 6), 3, 3);
    // Step marks.
    p.setBrush(QColor(0x50, 0x55, 0x60));
    for (int i = 0; i <= 5; ++i)
        p.drawEllipse(QPointF(left + i * (right - left) / 5, cy + 10), 1.3, 1.3);
    p.setBrush(Qt::white);
    p.setPen(QPen(fill, 2));
    p.drawEllipse(QPointF(knob, cy), 7, 7);
    return img;
}

QImage Preset(const QColor& c) {
    QImage img = Canvas(36, 36);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x45, 0x4a, 0x54), 1));
    p.setBrush(c);
    p.drawEllipse(QRectF(4, 4, 28, 28));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 60));
    p.drawEllipse(QRectF(10, 8, 10, 7));
    return img;
}

} // namespace

bool WritePanelBitmaps(const QString& folder) {
    bool ok = true;
    ok &= Save(SwitchPicture(false), folder, "dengup.bmp");
    ok &= Save(SwitchPicture(true), folder, "dengdown.bmp");
    const char* dirs[6][2] = {{"leftup.bmp", "leftdown.bmp"},   {"rightup.bmp", "rightdown.bmp"},
                              {"upup.bmp", "updown.bmp"},       {"downup.bmp", "downdown.bmp"},
                              {"julong.bmp", "julongdown.bmp"}, {"kuosan.bmp", "kuosandown.bmp"}};
    for (int k = 0; k < 6; ++k) {
        ok &= Save(DirectionPicture(k, false), folder, dirs[k][0]);
        ok &= Save(DirectionPicture(k, true), folder, dirs[k][1]);
    }
    const std::pair<const char*, QColor> choices[4] = {{"hong", QColor(0xe8, 0x3a, 0x30)},
                                                       {"huang", QColor(0xf5, 0xc4, 0x1b)},
                                                       {"lv", QColor(0x34, 0xc7, 0x59)},
                                                       {"lan", QColor(0x2f, 0x7b, 0xf5)}};
    for (const auto& [name, colour] : choices) {
        ok &= Save(ColourChoice(colour, false), folder, QString("%1.bmp").arg(name));
        ok &= Save(ColourChoice(colour, true), folder, QString("%1ok.bmp").arg(name));
    }
    ok &= Save(TickBox(false), folder, "sjsup.bmp");
    ok &= Save(TickBox(true), folder, "sjsdown.bmp");
    ok &= Save(ToolPicture(0, false), folder, "user1up.bmp");
    ok &= Save(ToolPicture(0, true), folder, "user1down.bmp");
    ok &= Save(ToolPicture(1, false), folder, "user2up.bmp");
    ok &= Save(ToolPicture(1, true), folder, "user2down.bmp");
    for (int i = 1; i <= 10; ++i)
        ok &= Save(BusyFrame(i - 1), folder, QString("jdt%1.bmp").arg(i));
    for (int n = 0; n <= 25; ++n)
        ok &= Save(SliderPicture(n), folder, QString("%1.bmp").arg(n));
    // Each dot is drawn in the colour its click writes, from the same table.
    for (int i = 0; i < orvane::kPresetColourCount; ++i) {
        const orvane::Colour c = orvane::kPresetColours[static_cast<size_t>(i)];
        const QColor colour(orvane::RedOf(c), orvane::GreenOf(c), orvane::BlueOf(c));
        ok &= Save(Preset(colour), folder, QString("Color%1.bmp").arg(i + 1));
    }
    return ok;
}

} // namespace skingen
