#include "Gallery.h"

#include <functional>
#include <QApplication>
#include <QEnterEvent>
#include <QLabel>

#include "app/SkinKeyLists.h"
#include "app/SkinReaders.h"
#include "services/WindowMessages.h"
#include "ui/BitmapSlider.h"
#include "ui/ColorStatic.h"
#include "ui/ControlMessages.h"
#include "ui/HyperLink.h"
#include "ui/KeyFocusGroup.h"
#include "ui/MessageBridge.h"
#include "ui/PngButton.h"
#include "ui/ReportCtrl.h"
#include "ui/SkinColorBtn.h"
#include "ui/SkinImage.h"

namespace orvane {

struct CGallery::Faces {
    CSkinFace face[MAIN_FACES];
};

namespace {

void Hover(QWidget* w) {
    QEnterEvent e(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(w, &e);
}

QLabel* Caption(QWidget* parent, const QString& text, int x, int y) {
    auto* label = new QLabel(text, parent);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, QColor(0x9a, 0xa0, 0xa8));
    label->setPalette(p);
    label->move(x, y);
    return label;
}

// One row: the same skin key in each state, placed side by side. Returns
// the row's buttons.
std::vector<CPngButton*> ButtonRow(QWidget* canvas, CSkinFace* f, const QString& program,
                                   const std::string& key, const QString& title, int& y,
                                   const std::function<void(CPngButton*)>& style = nullptr) {
    const std::string skin = (program + "Skins/Main.ini").toStdString();
    const SkinRect r = ReadSkinRect(skin, kSectionButtons, key);
    const auto faceSlots = MainButtonFaces(key);
    const char* states[] = {"normal",  "hover",       "pressed",   "disabled",
                            "checked", "mark: unlit", "mark: lit", "outline"};
    Caption(canvas, title, 20, y);
    std::vector<CPngButton*> row;
    int x = 20;
    const int step = std::max(r.w + 16, 96);
    for (int s = 0; s < 8; ++s) {
        if (x + r.w > 980) { // wide buttons wrap, so that every one can be seen
            x = 20;
            y += r.h + 26;
        }
        auto* b = new CPngButton(canvas, 0);
        b->setGeometry(x, y + 18, r.w, r.h);
        b->SetPicturesAt(r.x, r.y, &f[faceSlots[0]], &f[faceSlots[1]], &f[faceSlots[2]], &f[faceSlots[3]],
                         &f[faceSlots[4]], false);
        b->SetTooltipText(title + QStringLiteral(" (") + states[s] + QStringLiteral(")"), true);
        if (style) style(b);
        switch (s) {
        case 1:
            Hover(b);
            break;
        case 2:
            b->setDown(true);
            break;
        case 3:
            b->setEnabled(false);
            break;
        case 4:
            b->SetChecked(true, false);
            break;
        case 5:
            b->SetMarkPictures(&f[MAIN_COLOR0], &f[MAIN_COLOR1], true, false, false);
            break;
        case 6:
            b->SetMarkPictures(&f[MAIN_COLOR0], &f[MAIN_COLOR1], true, true, false);
            break;
        case 7:
            b->SetOutline(0x00A5FF, true);
            break;
        }
        Caption(canvas, states[s], x, y + 22 + r.h);
        row.push_back(b);
        x += step;
    }
    y += r.h + 48;
    return row;
}

// The key rows behave as the keyboard picture does: one Tab stop, walked
// with the arrow keys, each key named for screen readers (the window names
// them with GetKeyName, which needs the language file; the gallery has none).
void KeyGroup(QWidget* canvas, const std::vector<CPngButton*>& keys, const QString& name,
              const QString& assigned) {
    auto* group = new CKeyFocusGroup(canvas);
    for (CPngButton* key : keys) {
        key->SetAccessibleKey(name, assigned);
        group->Add(key);
    }
}

} // namespace

CGallery::CGallery() : m_faces(std::make_unique<Faces>()) {}

CGallery::~CGallery() = default;

std::unique_ptr<CGallery> CGallery::Build(const QString& program) {
    const QImage bg(program + "Skins/main_bg.jpg");
    if (bg.isNull()) return nullptr;
    std::unique_ptr<CGallery> gallery(new CGallery);
    CSkinFace* f = gallery->m_faces->face;
    for (int i = 0; i < MAIN_FACES; ++i) {
        auto img = LoadSkinImageFrom(program, MainFaceFile(MainFace(i)));
        RenderImageToDC(f[i], *img, bg.size());
    }

    gallery->m_window = std::make_unique<QWidget>();
    QWidget* canvas = gallery->m_window.get();
    canvas->setWindowTitle(QStringLiteral("Orvane controls"));
    QPalette dark = canvas->palette();
    dark.setColor(QPalette::Window, QColor(0x10, 0x12, 0x16));
    canvas->setPalette(dark);
    canvas->setAutoFillBackground(true);
    canvas->resize(1000, 1180);
    int y = 16;
    KeyGroup(canvas, ButtonRow(canvas, f, program, SkinKeyName(0x01E), "Key button (A)", y), "A", "Macro 1");
    KeyGroup(canvas, ButtonRow(canvas, f, program, SkinKeyName(0x039), "Key button (Space)", y), "Space",
             QString());
    ButtonRow(canvas, f, program, SkinGKeyName(1), "G key", y);
    ButtonRow(canvas, f, program, "FUNC_PROFILE1", "Profile button with caption", y, [](CPngButton* b) {
        b->setText("Profile 1");
        b->SetTextStyle(true, 10, "DejaVu Sans", 0xFFFFFF, 0x0082FF, 0x049BFF, 0x7F7F7F, 0xFFFFFF, 0x25);
    });
    ButtonRow(canvas, f, program, "FUNC_PROFILES", "Profiles button, turned caption", y, [](CPngButton* b) {
        b->setText("Default");
        b->SetTextStyle(true, 10, "DejaVu Sans", 0xFFFFFF, 0x0082FF, 0x049BFF, 0x7F7F7F, 0xFFFFFF, 0x28);
        b->SetTextAngle(268, true);
    });
    ButtonRow(canvas, f, program, "CONTROL2_APPLY", "Apply", y, [](CPngButton* b) {
        b->setText("Apply");
        b->SetTextStyle(true, 8, "DejaVu Sans", 0xFFFFFF, 0x0082FF, 0x049BFF, 0x7F7F7F, 0xFFFFFF, 0x25);
    });
    ButtonRow(canvas, f, program, "FUNC_REPORT1", "Report rate", y);
    ButtonRow(canvas, f, program, "LOCK_CAPS", "Lock indicator", y);
    ButtonRow(canvas, f, program, "CONTROL_CLOSE", "Close", y);

    // Sliders: the pictures the lighting panel hands them, one per position.
    Caption(canvas, "Brightness slider at 0, 2, 5; speed slider at 3", 20, y);
    const int positions[] = {0, 2, 5, 3};
    for (int i = 0; i < 4; ++i) {
        auto* s = new CBitmapSlider(canvas, i < 3 ? 1178 + 2 * i : 1179);
        s->SetRange(0, 5);
        s->SetPageSize(10);
        s->SetPos(positions[i]);
        const int picture = i < 3 ? positions[i] : 6 + positions[i];
        s->SetBitmap(QPixmap(program + QString("Skins/%1.bmp").arg(picture)));
        s->setAccessibleName(i < 3 ? QStringLiteral("Brightness") : QStringLiteral("Speed"));
        s->move(20 + i * 240, y + 18);
    }
    y += 70;
    // Like the lighting panel, the window hands each slider the picture of its new position.
    auto* bridge = new CMessageBridge(canvas);
    bridge->OnMessage(UM_SLIDER, [canvas, program](uintptr_t id, intptr_t pos) -> intptr_t {
        for (auto* s : canvas->findChildren<CBitmapSlider*>())
            if (uintptr_t(ControlIdOf(s)) == id)
                s->SetImage(QPixmap(program + QString("Skins/%1.bmp").arg(id == 1179 ? 6 + pos : pos)));
        return 0;
    });

    Caption(canvas, "Colour pickers: chosen, hot, disabled", 20, y);
    for (int i = 0; i < 3; ++i) {
        auto* p = new CSkinColorBtn(canvas, 1152 + i);
        p->setGeometry(20 + i * 110, y + 18, 80, 28);
        p->SetColor(i == 0 ? 0x0082FF : 0xFFC800);
        p->setToolTip(QStringLiteral("Colour %1").arg(i + 1));
        if (i == 1) Hover(p);
        if (i == 2) p->setEnabled(false);
    }
    auto* label = new ColorStatic(canvas);
    label->setText("Colour label");
    label->SetFontHeight(14);
    label->setGeometry(380, y + 22, 140, 20);
    const char* linkStates[] = {"link", "hover", "visited"};
    for (int i = 0; i < 3; ++i) {
        auto* link = new CHyperLink(canvas);
        link->setText(QString("https://example.org/ (%1)").arg(linkStates[i]));
        link->move(530 + (i % 2) * 230, y + 16 + (i / 2) * 24);
        link->Attach();
        link->SetOpener([](const QString&) { return kLinkOpened; });
        if (i == 2) link->SetVisited(true);
    }
    y += 70;

    Caption(canvas, "Report list with per-cell colours and an open cell edit", 20, y);
    auto* list = new CReportCtrl(canvas);
    list->setObjectName(QStringLiteral("report"));
    list->setAccessibleName(QStringLiteral("Macro actions"));
    list->setGeometry(20, y + 18, 480, 150);
    list->InsertColumn(0, "Action", Qt::AlignLeft, 200);
    list->InsertColumn(1, "Delay (ms)", Qt::AlignRight, 120);
    list->SetGridLines(true);
    list->setStyleSheet("QTableWidget{background:#1a1d22;color:#e8eaee;gridline-color:#30343c;}"
                        "QHeaderView::section{background:#23262c;color:#9aa0a8;border:0;padding:3px;}");
    const char* actions[] = {"A down", "A up", "Delay", "Shift down"};
    for (int i = 0; i < 4; ++i) {
        list->InsertItem(i, actions[i]);
        list->SetItemText(i, 1, QString::number(50 * (i + 1)));
    }
    list->SetItemTextColor(2, -1, 0x0082FF);
    list->SetEditable(true);
    y += 180;
    canvas->resize(1000, y);
    return gallery;
}

void CGallery::OpenCellEdit() {
    if (auto* list = m_window->findChild<CReportCtrl*>(QStringLiteral("report"))) list->BeginEdit(1, 1);
}

} // namespace orvane
