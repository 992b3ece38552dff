// The main window: title bar, keyboard picture, lighting panel, bottom bar.
#include <cmath>
#include <QLinearGradient>
#include <QPainterPath>

#include "app/SkinKeyLists.h"
#include "KeyboardLayout.h"
#include "Scene.h"

namespace skingen {

namespace {

constexpr int kWidth = 1200, kHeight = 760;
constexpr double kUnit = 44;
constexpr int kGx = 66, kBlockX = 143, kBlockY = 124;
const QRect kCase(24, 72, 1152, 348);
const QRect kStrip(36, 80, 1128, 36);
const QRect kPanel(24, 456, 1152, 240);

enum class Checked { Dim, Accent, Pressed };

using DrawFn = std::function<void(QPainter&, const QRectF&, Face, int)>;

DrawFn Button(IconFn icon, Checked disableMeans, double radius = 7) {
    return [=](QPainter& p, const QRectF& r, Face f, int) {
        switch (f) {
        case Face::Over:
        case Face::Down:
            DrawButton(p, r, f, icon, radius);
            break;
        case Face::Disable:
            if (disableMeans == Checked::Accent)
                DrawCheckedButton(p, r, icon, radius);
            else
                DrawButton(p, r, disableMeans == Checked::Pressed ? Face::Down : Face::Disable, icon, radius);
            break;
        default:
            DrawButton(p, r, Face::Normal, icon, radius);
        }
    };
}

DrawFn Key(const QString& legend, bool small = false) {
    return [=](QPainter& p, const QRectF& r, Face f, int) { DrawKeyCap(p, r, legend, f, small); };
}

// Flat title-bar buttons: no body until hovered.
DrawFn TitleButton(IconFn icon, QColor hoverFill = QColor(0x34, 0x38, 0x41)) {
    return [=](QPainter& p, const QRectF& r, Face f, int) {
        p.save();
        p.setRenderHint(QPainter::Antialiasing);
        QColor ink = pal::kTextDim;
        if (f == Face::Over || f == Face::Down) {
            p.setPen(Qt::NoPen);
            p.setBrush(f == Face::Down ? hoverFill.darker(140) : hoverFill);
            p.drawRoundedRect(r.adjusted(1, 1, -1, -1), 7, 7);
            ink = f == Face::Down ? pal::kAccentSoft : Qt::white;
        }
        icon(p, r.translated(0, f == Face::Down ? 1 : 0), ink);
        p.restore();
    };
}

IconFn CloseIcon() {
    return [](QPainter& p, const QRectF& r, const QColor& c) {
        p.setPen(QPen(c, 2, Qt::SolidLine, Qt::RoundCap));
        QPointF m = r.center();
        p.drawLine(m + QPointF(-6, -6), m + QPointF(6, 6));
        p.drawLine(m + QPointF(6, -6), m + QPointF(-6, 6));
    };
}
IconFn MinimiseIcon() {
    return [](QPainter& p, const QRectF& r, const QColor& c) {
        p.setPen(QPen(c, 2, Qt::SolidLine, Qt::RoundCap));
        QPointF m = r.center();
        p.drawLine(m + QPointF(-7, 5), m + QPointF(7, 5));
    };
}
IconFn MenuIcon() {
    return [](QPainter& p, const QRectF& r, const QColor& c) {
        p.setPen(QPen(c, 2, Qt::SolidLine, Qt::RoundCap));
        QPointF m = r.center();
        for (int dy : {-6, 0, 6})
            p.drawLine(m + QPointF(-7, dy), m + QPointF(7, dy));
    };
}
DrawFn LockIndicator(const QString& label) {
    // Lit only in its checked face (main_over); every other state is dark.
    return [=](QPainter& p, const QRectF& r, Face f, int) {
        p.save();
        p.setRenderHint(QPainter::Antialiasing);
        const bool lit = f == Face::Over;
        QPointF dot(r.left() + 10, r.center().y());
        if (lit) {
            QRadialGradient glow(dot, 9);
            glow.setColorAt(0, QColor(255, 150, 40, 200));
            glow.setColorAt(1, QColor(255, 130, 0, 0));
            p.setPen(Qt::NoPen);
            p.setBrush(glow);
            p.drawEllipse(dot, 9, 9);
        }
        p.setPen(Qt::NoPen);
        p.setBrush(lit ? pal::kAccent : QColor(0x3a, 0x3e, 0x46));
        p.drawEllipse(dot, 3.5, 3.5);
        p.setFont(UiFont(10, true));
        p.setPen(lit ? pal::kText : pal::kTextDim);
        p.drawText(r.adjusted(20, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, label);
        p.restore();
    };
}

// A plate behind a group of keys; lights up in its checked picture.
DrawFn Plate(Face litFace) {
    return [=](QPainter& p, const QRectF& r, Face f, int) {
        p.save();
        p.setRenderHint(QPainter::Antialiasing);
        const bool lit = f == litFace;
        p.setBrush(lit ? QColor(0x2a, 0x1f, 0x14) : QColor(0x13, 0x15, 0x19));
        p.setPen(QPen(lit ? pal::kAccent : QColor(0x26, 0x29, 0x30), lit ? 1.5 : 1));
        p.drawRoundedRect(r.adjusted(1, 1, -1, -1), 8, 8);
        p.restore();
    };
}

DrawFn Logo() {
    return [](QPainter& p, const QRectF& r, Face f, int) {
        p.save();
        p.setRenderHint(QPainter::Antialiasing);
        const QColor mark = f == Face::Disable ? pal::kAccentSoft.darker(130)
                            : f == Face::Over  ? pal::kAccentSoft.lighter(115)
                                               : pal::kAccent;
        // A chevron mark, then the word.
        QPainterPath chevron;
        const double cy = r.center().y(), x = r.left() + 6;
        chevron.moveTo(x, cy - 10);
        chevron.lineTo(x + 12, cy);
        chevron.lineTo(x, cy + 10);
        chevron.lineTo(x + 6, cy);
        chevron.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(mark);
        p.drawPath(chevron);
        p.translate(10, 0);
        p.drawPath(chevron);
        p.translate(-10, 0);
        QFont font = UiFont(22, true);
        font.setLetterSpacing(QFont::AbsoluteSpacing, 3);
        p.setFont(font);
        p.setPen(f == Face::Over ? Qt::white : pal::kText);
        p.drawText(r.adjusted(36, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft, QStringLiteral("ORVANE"));
        p.restore();
    };
}

DrawFn FlipButton(bool right) {
    IconFn icon = [right](QPainter& p, const QRectF& r, const QColor& c) {
        p.setPen(QPen(c, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        const QPointF m(r.left() + 16, r.center().y());
        // Two opposed arrows: swap.
        p.drawLine(m + QPointF(-6, -3), m + QPointF(6, -3));
        p.drawLine(m + QPointF(3, -6), m + QPointF(6, -3));
        p.drawLine(m + QPointF(6, 3), m + QPointF(-6, 3));
        p.drawLine(m + QPointF(-3, 6), m + QPointF(-6, 3));
        p.setFont(UiFont(10, true));
        p.drawText(r.adjusted(28, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft,
                   right ? QStringLiteral("FLIP") : QStringLiteral("F1-F4"));
    };
    return Button(icon, Checked::Accent, 6);
}

void DrawArrowBadge(QPainter& p, const QRectF& r, bool up) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(up ? pal::kAccent : QColor(0x3a, 0x3e, 0x46), 1));
    p.setBrush(up ? QColor(0x2a, 0x1f, 0x14) : QColor(0x1c, 0x1f, 0x24));
    p.drawRoundedRect(r.adjusted(1, 1, -1, -1), 6, 6);
    QPainterPath tri;
    const QPointF m = r.center();
    const double d = up ? -1 : 1;
    tri.moveTo(m.x() - 6, m.y() - 3 * d);
    tri.lineTo(m.x() + 6, m.y() - 3 * d);
    tri.lineTo(m.x(), m.y() + 4 * d);
    tri.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(up ? pal::kAccent : pal::kTextDim);
    p.drawPath(tri);
    p.restore();
}

QRect CapRect(const KeyCap& c) {
    const int x = int(std::lround(kBlockX + c.x * kUnit)) + 2;
    const int y = int(std::lround(kBlockY + c.y * kUnit)) + 2;
    const int w = int(std::lround(c.w * kUnit)) - 4;
    const int h = int(std::lround(c.h * kUnit)) - 4;
    return QRect(x, y, w, h);
}

void Background(QPainter& p, int) {
    DrawWindowBody(p, QSize(kWidth, kHeight), 18);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    // Keyboard case with a soft top light.
    QLinearGradient caseFill(kCase.topLeft(), kCase.bottomLeft());
    caseFill.setColorAt(0, QColor(0x1f, 0x22, 0x28));
    caseFill.setColorAt(1, pal::kCase);
    p.setBrush(caseFill);
    p.setPen(QPen(pal::kCaseEdge, 1));
    p.drawRoundedRect(QRectF(kCase).adjusted(0.5, 0.5, -0.5, -0.5), 14, 14);
    p.setPen(Qt::NoPen);
    p.setBrush(pal::kStrip);
    p.drawRoundedRect(QRectF(kStrip), 8, 8);
    // Accent line under the title bar.
    QLinearGradient line(24, 0, kWidth - 24, 0);
    line.setColorAt(0, QColor(255, 130, 0, 0));
    line.setColorAt(0.2, QColor(255, 130, 0, 160));
    line.setColorAt(0.8, QColor(255, 130, 0, 160));
    line.setColorAt(1, QColor(255, 130, 0, 0));
    p.fillRect(QRectF(24, 62, kWidth - 48, 1.5), line);
    // Lighting panel card and its column rules.
    p.setBrush(pal::kPanel);
    p.setPen(QPen(pal::kCaseEdge, 1));
    p.drawRoundedRect(QRectF(kPanel).adjusted(0.5, 0.5, -0.5, -0.5), 14, 14);
    p.setPen(QPen(QColor(0x2a, 0x2e, 0x35), 1));
    p.drawLine(QPointF(420.5, 500), QPointF(420.5, 684));
    p.drawLine(QPointF(760.5, 500), QPointF(760.5, 684));
    p.drawLine(QPointF(40, 500.5), QPointF(1160, 500.5));
    p.restore();
}

} // namespace

Scene BuildMainScene() {
    Scene s;
    s.size = QSize(kWidth, kHeight);
    s.radius = 18;
    s.background = Background;
    s.screen = {{"Main", "main_bg.jpg"}, {"Mask", "main_mask.bmp"}, {"Link", "https://www.kernel.org/"}};
    auto& b = s.buttons;

    // Plates first: the keys they hold are drawn over them.
    const QRect fRow(kBlockX + 2 * int(kUnit) - 4, kBlockY - 4, 4 * int(kUnit) + 8, int(kUnit) + 8);
    b.push_back({"FLIP_0", fRow, Plate(Face::Disable)});
    const QRect gColumn(kGx - 6, kBlockY - 4, 63, 283);
    b.push_back({"LOCK_AB", gColumn, Plate(Face::Over)});

    // Title bar.
    b.push_back({"DAVARU_LINK", QRect(28, 14, 190, 40), Logo()});
    b.push_back({"DAVARU_VER", QRect(222, 26, 70, 20), nullptr});
    // Placed but never shown, so the pictures keep its place empty.
    b.push_back({"FUNC_SWITCH", QRect(300, 20, 60, 30), nullptr});
    for (int i = 0; i < 3; ++i)
        b.push_back({"FUNC_PROFILE" + std::to_string(i + 1), QRect(420 + i * 100, 18, 94, 32),
                     Button(nullptr, Checked::Accent)});
    b.push_back({"FUNC_DEFAULT", QRect(724, 18, 94, 32), Button(nullptr, Checked::Accent)});
    b.push_back({"FUNC_PROFILES", QRect(828, 14, 170, 40), Button(nullptr, Checked::Dim, 10)});
    b.push_back({"CONTROL_MENU", QRect(1030, 18, 32, 32), TitleButton(MenuIcon())});
    b.push_back({"CONTROL_HELP", QRect(1066, 18, 32, 32), TitleButton(TextIcon("?", 16))});
    b.push_back({"CONTROL_MINIMIZE", QRect(1102, 18, 32, 32), TitleButton(MinimiseIcon())});
    b.push_back(
        {"CONTROL_CLOSE", QRect(1138, 18, 32, 32), TitleButton(CloseIcon(), QColor(0xc0, 0x39, 0x2b))});

    // Indicator strip.
    b.push_back({"FLIP_1", QRect(60, 84, 84, 28), FlipButton(false)});
    b.push_back({"FLIP_2", QRect(784, 84, 84, 28), FlipButton(true)});
    b.push_back({"LOCK_CAPS", QRect(957, 86, 58, 24), LockIndicator("CAPS")});
    b.push_back({"LOCK_NUM", QRect(1017, 86, 58, 24), LockIndicator("NUM")});
    b.push_back({"LOCK_SCROLL", QRect(1077, 86, 64, 24), LockIndicator("SCRL")});

    // G keys, then the key slots and Fn.
    for (int i = 0; i < 9; ++i) {
        const int y = kBlockY + int(std::lround(i * 30.5)) + 1;
        b.push_back({orvane::SkinGKeyName(i + 1), QRect(kGx, y, 51, 27),
                     Key(QStringLiteral("G%1").arg(i + 1), true)});
    }
    for (const KeyCap& c : KeyboardCaps()) {
        const std::string key =
            c.scanCode == kFnCap ? std::string("KEY_FN") : orvane::SkinKeyName(c.scanCode);
        b.push_back({key, CapRect(c), Key(c.legend)});
    }

    // Bottom bar.
    // The three link places stay in the layout but show nothing: the
    // program has no web site or social pages to link to.
    const DrawFn nothing = [](QPainter&, const QRectF&, Face, int) {};
    b.push_back({"CONTROL_Network", QRect(40, 710, 36, 36), nothing});
    b.push_back({"CONTROL_Facebook", QRect(80, 710, 36, 36), nothing});
    b.push_back({"CONTROL_twitter", QRect(120, 710, 36, 36), nothing});
    b.push_back({"FUNC_MACRO", QRect(620, 712, 120, 32), Button(nullptr, Checked::Dim)});
    b.push_back({"CONTROL_OK", QRect(860, 712, 96, 32), Button(nullptr, Checked::Dim)});
    b.push_back({"CONTROL_CANCEL", QRect(964, 712, 96, 32), Button(nullptr, Checked::Dim)});
    b.push_back({"CONTROL2_APPLY", QRect(1068, 712, 96, 32), Button(nullptr, Checked::Dim)});

    // Lighting panel: report rate (always shown).
    const char* rates[4] = {"1000", "500", "250", "125"};
    for (int i = 0; i < 4; ++i)
        b.push_back({"FUNC_REPORT" + std::to_string(i + 1), QRect(896 + i * 66, 640, 60, 30),
                     Button(TextIcon(QStringLiteral("%1 Hz").arg(rates[i]), 10), Checked::Accent, 6)});

    auto& c = s.controls;
    c = {
        {"CONTROL_DengStatic", QRect(44, 468, 120, 24)},
        {"CONTROL_DengStaPic", QRect(170, 466, 56, 28)},
        {"CONTROL_JDTStatic", QRect(300, 474, 140, 12)},
        // Column 1: mode, brightness, speed (or the mode 18 direction, or the colour sets).
        {"CONTROL_XGcombox", QRect(44, 512, 330, 28)},
        {"CONTROL_LightStatic", QRect(44, 560, 100, 24)},
        {"CONTROL_LightSlider", QRect(150, 556, 220, 32)},
        {"CONTROL_LightValue", QRect(378, 560, 36, 24)},
        {"CONTROL_SpeedStatic", QRect(44, 604, 100, 24)},
        {"CONTROL_SpeedSlider", QRect(150, 600, 220, 32)},
        {"CONTROL_SpeedValue", QRect(378, 604, 36, 24)},
        {"CONTROL_BLFXStatic", QRect(44, 604, 100, 24)},
        {"CONTROL_BLFXLStaPic", QRect(150, 600, 40, 32)},
        {"CONTROL_BLFXRStaPic", QRect(196, 600, 40, 32)},
        {"CONTROL_umCombo", QRect(44, 648, 330, 28)},
        // Column 2: colours and options; each row serves several modes.
        {"CONTROL_HXysStatic", QRect(440, 514, 110, 24)},
        {"CONTROL_HXysButton", QRect(556, 512, 80, 28)},
        {"CONTROL_FYYSStatic", QRect(440, 514, 110, 24)},
        {"CONTROL_FYYSButton", QRect(556, 512, 80, 28)},
        {"CONTROL_USERysStatic", QRect(440, 514, 110, 24)},
        {"CONTROL_USERysButton", QRect(556, 512, 80, 28)},
        {"CONTROL_JTysStatic", QRect(440, 514, 110, 24)},
        {"CONTROL_JTysButton", QRect(556, 512, 80, 28)},
        {"CONTROL_HONGPIC", QRect(440, 510, 40, 32)},
        {"CONTROL_HUANGPIC", QRect(486, 510, 40, 32)},
        {"CONTROL_LVPIC", QRect(532, 510, 40, 32)},
        {"CONTROL_LANPIC", QRect(578, 510, 40, 32)},
        {"CONTROL_HXsjsStatic", QRect(440, 560, 110, 24)},
        {"CONTROL_HXsjsStaPic", QRect(556, 556, 32, 32)},
        {"CONTROL_FYSJSStatic", QRect(440, 560, 110, 24)},
        {"CONTROL_FYSJSStaPic", QRect(556, 556, 32, 32)},
        {"CONTROL_USERjsStatic", QRect(440, 560, 110, 24)},
        {"CONTROL_USERjsButton", QRect(556, 558, 80, 28)},
        {"CONTROL_TSysStatic", QRect(440, 560, 110, 24)},
        {"CONTROL_TSysButton", QRect(556, 558, 80, 28)},
        {"CONTROL_TSsjsStatic", QRect(640, 560, 70, 24)},
        {"CONTROL_TSsjsStaPic", QRect(716, 556, 32, 32)},
        {"CONTROL_BLFXStatic2", QRect(440, 604, 100, 24)},
        {"CONTROL_BLFXLStaPic2", QRect(556, 600, 40, 32)},
        {"CONTROL_BLFXRStaPic2", QRect(602, 600, 40, 32)},
        {"CONTROL_BLFXStatic3", QRect(440, 514, 100, 24)},
        {"CONTROL_BLFXLStaPic3", QRect(556, 510, 40, 32)},
        {"CONTROL_BLFXRStaPic3", QRect(602, 510, 40, 32)},
        {"CONTROL_USERgjStatic", QRect(440, 604, 110, 24)},
        {"CONTROL_USERgjStaPic1", QRect(556, 600, 40, 32)},
        {"CONTROL_USERgjStaPic2", QRect(602, 600, 40, 32)},
        {"CONTROL_CDysStatic", QRect(440, 604, 110, 24)},
        {"CONTROL_CDysButton", QRect(556, 602, 80, 28)},
        {"CONTROL_CDsjsStatic", QRect(640, 604, 70, 24)},
        {"CONTROL_CDsjsStaPic", QRect(716, 600, 32, 32)},
        {"CONTROL_FYCFStatic", QRect(440, 648, 110, 24)},
        {"CONTROL_FYdjcfStatic", QRect(556, 648, 60, 24)},
        {"CONTROL_FYdjcfStaPic", QRect(616, 644, 32, 32)},
        {"CONTROL_FYggcfStatc", QRect(652, 648, 60, 24)},
        {"CONTROL_FYggcfStaPic", QRect(712, 644, 32, 32)},
        // Column 3: presets and the report rate.
        {"CONTROL_RGBStatic", QRect(780, 514, 40, 24)},
        {"COLOR_R", QRect(826, 512, 56, 28)},
        {"COLOR_G", QRect(888, 512, 56, 28)},
        {"COLOR_B", QRect(950, 512, 56, 28)},
        {"CONTROL_UsbStatic", QRect(780, 644, 110, 24)},
    };
    for (int i = 0; i < 8; ++i)
        c.push_back({"CONTROL_Color" + std::to_string(i + 1), QRect(780 + i * 46, 576, 36, 36)});

    s.buttons.push_back({"LEFT_ARROW", QRect(148, 85, 26, 26), nullptr});
    s.buttons.push_back({"RIGHT_ARROW", QRect(872, 85, 26, 26), nullptr});
    s.faceOrigins = {
        {"UP_ARROW_LEFT1", QRect(20, 20, 26, 26)},
        {"DOWN_ARROW_LEFT1", QRect(60, 20, 26, 26)},
        {"UP_ARROW_RIGHT1", QRect(100, 20, 26, 26)},
        {"DOWN_ARROW_RIGHT1", QRect(140, 20, 26, 26)},
    };
    return s;
}

QImage RenderArrowPicture(const Scene& mainScene) {
    QImage image(mainScene.size, QImage::Format_RGB32);
    image.fill(pal::kStrip);
    QPainter p(&image);
    p.translate(-1, -1);
    for (const auto& [key, r] : mainScene.faceOrigins)
        DrawArrowBadge(p, QRectF(r), key.rfind("UP_", 0) == 0);
    return image;
}

} // namespace skingen
