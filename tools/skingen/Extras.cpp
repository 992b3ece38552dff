// Tray icons and the factory per-key colour template.
#include <cmath>
#include <QPainterPath>
#include <QSaveFile>
#include <QTextStream>

#include "KeyboardLayout.h"
#include "Scene.h"

namespace skingen {

namespace {

// A small keyboard glyph; `dot` marks the state in the corner.
QImage TrayIcon(const QColor& body, const QColor& keys, const QColor& dot) {
    const int s = 64;
    QImage img(s, s, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(keys, 2.5));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(4, 16, 56, 34), 7, 7);
    p.setPen(Qt::NoPen);
    p.setBrush(keys);
    for (int row = 0; row < 2; ++row)
        for (int i = 0; i < 6; ++i)
            p.drawRoundedRect(QRectF(10 + i * 8, 22 + row * 8, 5.5, 5.5), 1.2, 1.2);
    p.drawRoundedRect(QRectF(16, 39, 32, 5), 1.5, 1.5);
    if (dot.alpha() > 0) {
        p.setBrush(dot);
        p.setPen(QPen(QColor(0x10, 0x12, 0x16), 2.5));
        p.drawEllipse(QPointF(50, 16), 9, 9);
    }
    return img;
}

QString Rgb(const QColor& c) {
    return QStringLiteral("%1,%2,%3").arg(c.red()).arg(c.green()).arg(c.blue());
}

} // namespace

bool WriteTrayIcons(const QString& folder) {
    bool ok = true;
    // 128: no keyboard (grey), 141: connected (accent), 142: signal from the keyboard.
    ok &= SaveImage(TrayIcon(QColor(0x2a, 0x2d, 0x33), QColor(0x8a, 0x8f, 0x98), QColor(0, 0, 0, 0)),
                    folder + "/Icon128.png", "png");
    ok &= SaveImage(TrayIcon(QColor(0x2a, 0x2d, 0x33), pal::kAccent, QColor(0, 0, 0, 0)),
                    folder + "/Icon141.png", "png");
    ok &= SaveImage(TrayIcon(QColor(0x2a, 0x2d, 0x33), pal::kAccent, QColor(0x34, 0xc7, 0x59)),
                    folder + "/Icon142.png", "png");
    return ok;
}

bool WriteUserDataTemplate(const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text)) return false;
    QTextStream out(&file);
    out << "[PRESENTMODE]\nmode=0\n\n[MODENAME]\n0=Ember\n1=Glacier\n2=Daylight\n";
    // Each set colours the keys by lighting column: a gentle sweep left to right.
    auto sweep = [](int set, int led) {
        const int column = led % 21;
        const double t = column / 20.0;
        switch (set) {
        case 0: // orange to magenta
            return QColor::fromHsvF(std::fmod(0.08 - 0.18 * t + 1.0, 1.0), 1.0, 1.0);
        case 1: // cyan to deep blue
            return QColor::fromHsvF(0.50 + 0.16 * t, 0.9, 1.0);
        default:
            return QColor(255, 244, 230);
        }
    };
    std::vector<int> leds;
    for (const KeyCap& c : KeyboardCaps())
        leds.push_back(c.led);
    leds.push_back(125); // the G keys share one entry
    std::sort(leds.begin(), leds.end());
    for (int set = 0; set < 3; ++set) {
        out << "\n[Mode" << set << "]\n";
        for (int led : leds) {
            const QColor c = led == 125 ? QColor(255, 130, 0) : sweep(set, led);
            out << led << '=' << Rgb(c) << ",0\n";
        }
        out << "tool=0\n";
        out << "jcolor=" << Rgb(set == 1 ? QColor(0, 200, 255) : QColor(255, 130, 0)) << '\n';
        out << "color=255,255,255\n";
    }
    out.flush();
    return file.commit();
}

} // namespace skingen
