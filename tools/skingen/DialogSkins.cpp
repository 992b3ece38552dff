// The composite key-assignment dialog and the profile manager.
#include <QPainterPath>

#include "Scene.h"

namespace skingen {

namespace {

enum CompositeSet { SET_KEY = 0, SET_MEDIA, SET_FUNCTION, SET_MACRO, SET_MACRO2 };

constexpr int kCompW = 640, kCompH = 520;
const QRect kTabPanel(20, 126, 600, 326);

void DialogBackground(QPainter& p, const QSize& size, const QString& title) {
    DrawWindowBody(p, size, 16);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient line(20, 0, size.width() - 20, 0);
    line.setColorAt(0, QColor(255, 130, 0, 0));
    line.setColorAt(0.25, QColor(255, 130, 0, 150));
    line.setColorAt(0.75, QColor(255, 130, 0, 150));
    line.setColorAt(1, QColor(255, 130, 0, 0));
    p.fillRect(QRectF(20, 48, size.width() - 40, 1.5), line);
    if (!title.isEmpty()) {
        p.setFont(UiFont(16, true));
        p.setPen(pal::kText);
        p.drawText(QRectF(24, 10, 400, 34), Qt::AlignVCenter | Qt::AlignLeft, title);
    }
    p.restore();
}

// Tabs: the pressed face doubles as the checked (selected) one.
void DrawTab(QPainter& p, const QRectF& r0, Face f, bool dim) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QRectF r = r0.adjusted(1, 1, -1, 0);
    QPainterPath path;
    path.addRoundedRect(r.adjusted(0, 0, 0, 8), 8, 8);
    p.setClipRect(r0);
    QColor fill = QColor(0x23, 0x26, 0x2c), edge = QColor(0x38, 0x3c, 0x45);
    if (dim)
        fill = QColor(0x1a, 0x1c, 0x20), edge = QColor(0x26, 0x29, 0x2e);
    else if (f == Face::Over)
        fill = QColor(0x30, 0x34, 0x3c), edge = QColor(0x5a, 0x60, 0x6b);
    else if (f == Face::Down)
        fill = pal::kPanel, edge = pal::kAccent;
    p.setBrush(fill);
    p.setPen(QPen(edge, 1));
    p.drawPath(path);
    if (f == Face::Down && !dim) {
        p.setPen(Qt::NoPen);
        p.setBrush(pal::kAccent);
        p.drawRoundedRect(QRectF(r.left() + 10, r.top() + 1, r.width() - 20, 3), 1.5, 1.5);
    }
    p.restore();
}

void DrawTabPanel(QPainter& p, const QRectF& r, int set) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(pal::kPanel);
    p.setPen(QPen(QColor(0x2c, 0x30, 0x38), 1));
    p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 10, 10);
    p.restore();
    switch (set) {
    case SET_KEY:
        DrawField(p, QRectF(40, 210, 560, 44), 6);
        DrawField(p, QRectF(40, 300, 560, 34), 6);
        break;
    case SET_MEDIA:
    case SET_FUNCTION:
        DrawField(p, QRectF(40, 180, 560, 34), 6);
        break;
    case SET_MACRO:
    case SET_MACRO2:
        DrawField(p, QRectF(40, 174, 420, 230), 6);
        break;
    }
}

using DrawFn = std::function<void(QPainter&, const QRectF&, Face, int)>;

DrawFn PlainButton(IconFn icon) {
    return [=](QPainter& p, const QRectF& r, Face f, int set) {
        // The macro pictures' disabled face is a real disabled look; the other
        // sets use their normal picture there.
        Face shown = f;
        if (f == Face::Disable && set != SET_MACRO && set != SET_MACRO2) shown = Face::Normal;
        DrawButton(p, r, shown, icon, 7);
    };
}

// Macro tab buttons exist only in the macro pictures: the other tabs' panel
// pictures must not show them.
DrawFn MacroButton(IconFn icon) {
    DrawFn plain = PlainButton(std::move(icon));
    return [plain](QPainter& p, const QRectF& r, Face f, int set) {
        if (set == SET_MACRO || set == SET_MACRO2) plain(p, r, f, set);
    };
}

IconFn KeyboardIcon() {
    return [](QPainter& p, const QRectF& r, const QColor& c) {
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(c, 1.4));
        p.setBrush(Qt::NoBrush);
        QRectF body(r.center().x() - 11, r.center().y() - 7, 22, 14);
        p.drawRoundedRect(body, 2.5, 2.5);
        for (int row = 0; row < 2; ++row)
            for (int i = 0; i < 5; ++i)
                p.drawPoint(QPointF(body.left() + 3.5 + i * 3.8, body.top() + 3.5 + row * 3.5));
        p.drawLine(QPointF(body.left() + 6, body.bottom() - 3), QPointF(body.right() - 6, body.bottom() - 3));
    };
}

IconFn RecordDot() {
    return [](QPainter& p, const QRectF& r, const QColor&) {
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0xe0, 0x3c, 0x31));
        p.drawEllipse(QPointF(r.left() + 14, r.center().y()), 4.5, 4.5);
    };
}

} // namespace

Scene BuildCompositeScene() {
    Scene s;
    s.size = QSize(kCompW, kCompH);
    s.radius = 16;
    s.background = [](QPainter& p, int) { DialogBackground(p, QSize(kCompW, kCompH), QString()); };
    s.screen = {{"Main", "composite_bg.jpg"}, {"Mask", "composite_mask.bmp"}};
    auto& b = s.buttons;
    b.push_back({"CONTROL_TITLE", QRect(20, 10, 360, 36), [](QPainter& p, const QRectF& r, Face, int set) {
                     p.save();
                     p.setFont(UiFont(16, true));
                     p.setPen(pal::kText);
                     p.drawText(r.adjusted(4, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft,
                                set == SET_MACRO2 ? QStringLiteral("Macro editor")
                                                  : QStringLiteral("Key assignment"));
                     p.restore();
                 }});
    b.push_back({"CONTROL_OSK", QRect(584, 12, 36, 32), PlainButton(KeyboardIcon())});
    b.push_back({"CONTROL_MASK", kTabPanel,
                 [](QPainter& p, const QRectF& r, Face, int set) { DrawTabPanel(p, r, set); }});
    const char* tabs[4] = {"CONTROL_KEY", "CONTROL_MACRO", "CONTROL_MEDIA", "CONTROL_FUNCTION"};
    for (int i = 0; i < 4; ++i)
        b.push_back(
            {tabs[i], QRect(24 + i * 148, 90, 144, 36), [](QPainter& p, const QRectF& r, Face f, int set) {
                 DrawTab(p, r, f, set == SET_MACRO2 && f == Face::Disable);
             }});
    b.push_back({"CONTROL_CLEAR", QRect(20, 468, 100, 34), PlainButton(TextIcon("Clear", 12))});
    b.push_back({"CONTROL_OK", QRect(412, 468, 100, 34), PlainButton(nullptr)});
    b.push_back({"CONTROL_CANCEL", QRect(520, 468, 100, 34), PlainButton(nullptr)});
    // Macro tab.
    b.push_back({"FUNC_MACRO_ADD", QRect(426, 134, 84, 30), MacroButton(TextIcon("+", 18))});
    b.push_back({"FUNC_MACRO_DELETE", QRect(516, 134, 84, 30), MacroButton(TextIcon("\u2212", 18))});
    b.push_back({"FUNC_MACRO_RECORD", QRect(470, 174, 130, 30), MacroButton(RecordDot())});
    const char* moves[6] = {"FUNC_MACRO_UP_TOP",      "FUNC_MACRO_UP",      "FUNC_MACRO_DOWN",
                            "FUNC_MACRO_DOWN_BOTTOM", "FUNC_MACRO_DELETE2", "FUNC_MACRO_CLEAR"};
    for (int i = 0; i < 6; ++i)
        b.push_back({moves[i], QRect(470, 212 + i * 32, 130, 28), MacroButton(nullptr)});

    s.controls = {
        {"KEY_SETTING", QRect(24, 58, 592, 24)},
        {"TISHI_SINGLE_STATIC", QRect(40, 142, 560, 24)},
        {"FUNC_KEY_RADIO_KB", QRect(40, 180, 20, 20)},
        {"FUNC_KEY_RADIO_KB_STATIC", QRect(66, 180, 240, 22)},
        {"FUNC_KEY_INPUT", QRect(44, 214, 552, 36)},
        {"FUNC_KEY_RADIO_MOU", QRect(40, 270, 20, 20)},
        {"FUNC_KEY_RADIO_MOU_STATIC", QRect(66, 270, 240, 22)},
        {"FUNC_KEY_DISABLE", QRect(40, 354, 20, 20)},
        {"FUNC_KEY_DISABLE_STATIC", QRect(66, 354, 300, 22)},
        {"MEDIA_SETTING_TISHI", QRect(40, 142, 560, 24)},
        {"FUNC_MEDIA_SELECT", QRect(42, 182, 556, 30)},
        {"FUNCTION_KEY_SETTING_TISHI", QRect(40, 142, 560, 24)},
        {"FUNC_FUNCTION_SELECT", QRect(42, 182, 556, 30)},
        {"MARCO_NAME_SETTING", QRect(40, 138, 120, 22)},
        {"FUNC_MACRO_LIST", QRect(166, 134, 252, 30)},
        {"FUNC_MACRO_LIST2", QRect(42, 176, 416, 226)},
        {"FUNC_MACRO_CYCLES_PROMPT", QRect(40, 416, 120, 24)},
        {"FUNC_MACRO_CYCLES", QRect(166, 414, 64, 28)},
        {"FUNC_MACRO_RECORD_DELAY", QRect(250, 418, 20, 20)},
        {"FUNC_MACRO_RECORD_DELAY2", QRect(276, 416, 200, 24)},
    };
    return s;
}

Scene BuildProfileScene() {
    constexpr int w = 560, h = 372;
    Scene s;
    s.size = QSize(w, h);
    s.radius = 16;
    s.background = [](QPainter& p, int) {
        DialogBackground(p, QSize(w, h), QStringLiteral("Profiles"));
        DrawField(p, QRectF(20, 64, 520, 236), 8);
    };
    s.screen = {{"Main", "profile_bg.jpg"}, {"Mask", "profile_mask.bmp"}};
    const std::pair<const char*, const char*> buttons[6] = {
        {"FUNC_ADD", "Add"},         {"FUNC_LOAD", "Load"}, {"FUNC_DELETE", "Delete"},
        {"CONTROL2_APPLY", "Apply"}, {"CONTROL_OK", "OK"},  {"CONTROL_CANCEL", "Cancel"},
    };
    for (int i = 0; i < 6; ++i) {
        const int x = i < 3 ? 20 + i * 86 : 290 + (i - 3) * 86;
        const QString text = QString::fromUtf8(buttons[i].second);
        s.buttons.push_back({buttons[i].first, QRect(x, 318, 80, 34), PlainButton(TextIcon(text, 12))});
    }
    s.controls = {{"PROGRAM_LIST", QRect(22, 66, 516, 232)}};
    return s;
}

} // namespace skingen
