// The least a live keyboard preview can cost: one frameless window the size
// of the main window's picture. Every 50 ms the program's own preview model
// steps a frame, and each key whose light changed is repainted whole, its
// part of one cached picture with its coloured frame over it. No widget per
// key, nothing else. preview_cpu_bench runs it beside the program, with the
// same lighting settings, and divides the program's CPU time by its own.
// Usage: preview_floor [--skin MAIN_INI] [--at X,Y] [--title TEXT]
//        [--mode N] [--brightness 0-5] [--speed 0-5] [--direction 0|255]
//        [--colourful 0|1] [--colour RRGGBB]
// Prints "shown" on stdout once the first frame is on the screen.
#include <array>
#include <cstdio>
#include <QApplication>
#include <QGuiApplication>
#include <QImageReader>
#include <QPainter>
#include <QPaintEvent>
#include <QTimer>
#include <QWidget>
#include <string>

#include "app/SkinKeyLists.h"
#include "app/SkinReaders.h"
#include "model/KeyTables.h"
#include "model/Preview.h"
#include "platform/IniFile.h"

namespace {

using namespace orvane;

constexpr int kFrameMs = 50; // the preview timer's period

// The skin key that places each button of the preview, by button number.
std::array<std::string, kKeyButtonCount> SkinKeys() {
    std::array<std::string, kKeyButtonCount> keys;
    for (int n = 0; n < kKeyButtonCount; ++n) {
        const KeyButton b = KeyButtonAt(n);
        keys[static_cast<size_t>(n)] = b.kind == KeyButtonKind::Slot
                                           ? SkinKeyName(KeySlotAt(b.index)->scanCode)
                                       : b.kind == KeyButtonKind::GKey ? SkinGKeyName(b.index + 1)
                                                                       : std::string("KEY_FN");
    }
    return keys;
}

class CFloorWindow final : public QWidget, public CKeyLights {
  public:
    CFloorWindow(QPixmap picture, const std::string& skin, const PreviewParams& params)
        : m_picture(std::move(picture)), m_params(params) {
        const auto keys = SkinKeys();
        for (size_t n = 0; n < keys.size(); ++n) {
            const SkinRect r = ReadSkinRect(skin, kSectionButtons, keys[n]);
            if (!r.IsUnplaced()) m_keys[n].rect = QRect(r.x, r.y, r.w, r.h);
        }
        setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAttribute(Qt::WA_NoSystemBackground);
        // As the program's window: translucent where a mask cannot shape it.
        if (QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
            setAttribute(Qt::WA_TranslucentBackground);
        setFixedSize(m_picture.size());
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] { m_preview.TimerTick(m_params, *this); });
        m_timer.start(kFrameMs);
    }

    void SetKeyLight(const KeyButton& button, Colour colour, bool lit) override {
        const int n = KeyButtonNumber(button);
        if (n < 0) return;
        Key& key = m_keys[static_cast<size_t>(n)];
        colour &= 0xFFFFFF;
        if (key.colour == colour && key.lit == lit) return;
        key.colour = colour;
        key.lit = lit;
        if (!key.rect.isEmpty()) update(key.rect);
    }

  protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        if (!m_shown) painter.drawPixmap(0, 0, m_picture);
        for (const Key& key : m_keys) {
            const QRect& k = key.rect;
            if (k.isEmpty() || !event->region().intersects(k)) continue;
            painter.drawPixmap(k, m_picture, k);
            if (!key.lit) continue;
            const QColor c(RedOf(key.colour), GreenOf(key.colour), BlueOf(key.colour));
            const int w = k.width(), h = k.height();
            painter.fillRect(k.x(), k.y(), w, 2, c);
            painter.fillRect(k.x(), k.bottom() - 1, w, 2, c);
            painter.fillRect(k.x(), k.y() + 2, 2, h - 4, c);
            painter.fillRect(k.right() - 1, k.y() + 2, 2, h - 4, c);
        }
        if (!m_shown) {
            m_shown = true;
            std::puts("shown");
            std::fflush(stdout);
        }
    }

  private:
    struct Key {
        QRect rect; // empty: the skin does not place it
        Colour colour = 0;
        bool lit = false;
    };
    QPixmap m_picture;
    PreviewParams m_params;
    CPreview m_preview;
    std::array<Key, kKeyButtonCount> m_keys{};
    QTimer m_timer;
    bool m_shown = false;
};

int Fail(const std::string& what) {
    std::fprintf(stderr, "preview_floor: %s\n", what.c_str());
    return 2;
}

bool ReadNumber(const QString& text, int low, int high, int& value) {
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok || v < low || v > high) return false;
    value = v;
    return true;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    std::string skin = (QCoreApplication::applicationDirPath() + "/../bin/Skins/Main.ini").toStdString();
    QString title = QStringLiteral("Preview floor");
    QPoint at(0, 0);
    PreviewParams params;
    const QStringList args = QCoreApplication::arguments();
    for (qsizetype i = 1; i < args.size(); i += 2) {
        const QString& option = args[i];
        if (i + 1 >= args.size()) return Fail("missing value of " + option.toStdString());
        const QString& value = args[i + 1];
        bool ok = true;
        int number = 0;
        if (option == "--skin") {
            skin = value.toStdString();
        } else if (option == "--title") {
            title = value;
        } else if (option == "--at") {
            const QStringList xy = value.split(',');
            bool okY = false;
            ok = xy.size() == 2;
            if (ok) at = QPoint(xy[0].toInt(&ok), xy[1].toInt(&okY));
            ok = ok && okY;
        } else if (option == "--mode") {
            ok = ReadNumber(value, 1, 20, params.mode);
        } else if (option == "--brightness") {
            ok = ReadNumber(value, 0, kPreviewFullBrightness, params.brightness);
        } else if (option == "--speed") {
            ok = ReadNumber(value, 0, 5, params.speed);
        } else if (option == "--direction") {
            ok = (value == "0" || value == "255") && ReadNumber(value, 0, 255, number);
            params.direction = static_cast<uint8_t>(number);
        } else if (option == "--colourful") {
            ok = ReadNumber(value, 0, 1, number);
            params.colourful = number == 1;
        } else if (option == "--colour") {
            const uint rgb = value.toUInt(&ok, 16);
            ok = ok && value.size() == 6;
            params.colour = MakeColour(static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8),
                                       static_cast<uint8_t>(rgb));
        } else {
            return Fail("unknown option " + option.toStdString());
        }
        if (!ok) return Fail("bad value of " + option.toStdString() + ": " + value.toStdString());
    }

    const std::string pictureName = IniReadString(skin, kSectionScreen, "Main", "");
    const std::string folder = skin.substr(0, skin.find_last_of('/') + 1);
    QImage picture;
    if (pictureName.empty() || !QImageReader(QString::fromStdString(folder + pictureName)).read(&picture))
        return Fail("no main picture in " + skin);

    CFloorWindow window(QPixmap::fromImage(picture), skin, params);
    window.setWindowTitle(title);
    window.move(at);
    window.show();
    return app.exec();
}
