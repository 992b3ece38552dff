// Draws every skinned control in each of its states on the shipped skin
// pictures, into PNG files for review. Usage: ui-gallery <program folder> <output folder>
#include <QApplication>
#include <QDir>
#include <QEnterEvent>
#include <QLabel>
#include <QPainter>
#include <cstdio>
#include <memory>
#include <vector>

#include "app/SkinKeyLists.h"
#include "app/SkinReaders.h"
#include "ui/BitmapSlider.h"
#include "ui/ColorStatic.h"
#include "ui/HyperLink.h"
#include "ui/PngButton.h"
#include "ui/ReportCtrl.h"
#include "ui/SkinColorBtn.h"
#include "ui/SkinImage.h"

using namespace orvane;

namespace {

QString g_program;

struct Faces {
    CSkinFace face[MAIN_FACES];
    QSize client;
};

void Hover(QWidget* w)
{
    QEnterEvent e(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
    QApplication::sendEvent(w, &e);
}

QLabel* Caption(QWidget* parent, const QString& text, int x, int y)
{
    auto* label = new QLabel(text, parent);
    label->setStyleSheet("color:#9aa0a8; font: 11px 'DejaVu Sans';");
    label->move(x, y);
    return label;
}

// One row: the same skin key in each state, placed side by side.
int ButtonRow(QWidget* canvas, Faces& f, const std::string& key, const QString& title, int y,
              const std::function<void(CPngButton*)>& style = nullptr)
{
    const std::string skin = (g_program + "Skins/Main.ini").toStdString();
    const SkinRect r = ReadSkinRect(skin, kSectionButtons, key);
    const auto faceSlots = MainButtonFaces(key);
    const char* states[] = {"normal", "hover", "pressed", "disabled", "checked", "mark: unlit", "mark: lit", "outline"};
    Caption(canvas, title, 20, y);
    int x = 20;
    const int step = std::max(r.w + 16, 96);
    for (int s = 0; s < 8; ++s) {
        auto* b = new CPngButton(canvas, 0);
        b->setGeometry(x, y + 18, r.w, r.h);
        b->SetPicturesAt(r.x, r.y, &f.face[faceSlots[0]], &f.face[faceSlots[1]], &f.face[faceSlots[2]], &f.face[faceSlots[3]],
                         &f.face[faceSlots[4]], false);
        if (style)
            style(b);
        switch (s) {
        case 1: Hover(b); break;
        case 2: b->setDown(true); break;
        case 3: b->setEnabled(false); break;
        case 4: b->SetChecked(true, false); break;
        case 5: b->SetMarkPictures(&f.face[MAIN_COLOR0], &f.face[MAIN_COLOR1], true, false, false); break;
        case 6: b->SetMarkPictures(&f.face[MAIN_COLOR0], &f.face[MAIN_COLOR1], true, true, false); break;
        case 7: b->SetOutline(0x00A5FF, true); break;
        }
        Caption(canvas, states[s], x, y + 22 + r.h);
        x += step;
    }
    return y + r.h + 48;
}

} // namespace

int main(int argc, char** argv)
{
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: ui-gallery <program folder> <output folder>\n");
        return 2;
    }
    g_program = QString::fromLocal8Bit(argv[1]);
    if (!g_program.endsWith('/'))
        g_program += '/';
    const QString out = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(out);

    Faces faces;
    const QImage bg(g_program + "Skins/main_bg.jpg");
    if (bg.isNull()) {
        std::fprintf(stderr, "ui-gallery: no skin pictures under %s\n", argv[1]);
        return 1;
    }
    faces.client = bg.size();
    for (int i = 0; i < MAIN_FACES; ++i) {
        auto img = LoadSkinImageFrom(g_program, MainFaceFile(MainFace(i)));
        RenderImageToDC(faces.face[i], *img, faces.client);
    }

    QWidget canvas;
    canvas.setStyleSheet("background:#101216;");
    canvas.resize(1000, 1180);
    int y = 16;
    y = ButtonRow(&canvas, faces, SkinKeyName(0x01E), "Key button (A)", y);
    y = ButtonRow(&canvas, faces, SkinKeyName(0x039), "Key button (Space)", y);
    y = ButtonRow(&canvas, faces, SkinGKeyName(1), "G key", y);
    y = ButtonRow(&canvas, faces, "FUNC_PROFILE1", "Profile button with caption", y, [](CPngButton* b) {
        b->setText("Profile 1");
        b->SetTextStyle(true, 10, "DejaVu Sans", 0xFFFFFF, 0x0082FF, 0x049BFF, 0x7F7F7F, 0xFFFFFF, 0x25);
    });
    y = ButtonRow(&canvas, faces, "FUNC_PROFILES", "Profiles button, turned caption", y, [](CPngButton* b) {
        b->setText("Default");
        b->SetTextStyle(true, 10, "DejaVu Sans", 0xFFFFFF, 0x0082FF, 0x049BFF, 0x7F7F7F, 0xFFFFFF, 0x28);
        b->SetTextAngle(268, true);
    });
    y = ButtonRow(&canvas, faces, "CONTROL2_APPLY", "Apply", y, [](CPngButton* b) {
        b->setText("Apply");
        b->SetTextStyle(true, 8, "DejaVu Sans", 0xFFFFFF, 0x0082FF, 0x049BFF, 0x7F7F7F, 0xFFFFFF, 0x25);
    });
    y = ButtonRow(&canvas, faces, "FUNC_REPORT1", "Report rate", y);
    y = ButtonRow(&canvas, faces, "LOCK_CAPS", "Lock indicator", y);
    y = ButtonRow(&canvas, faces, "CONTROL_CLOSE", "Close", y);

    // Sliders: the pictures the lighting panel hands them, one per position.
    Caption(&canvas, "Brightness slider at 0, 2, 5; speed slider at 3 (focused)", 20, y);
    for (int i = 0; i < 4; ++i) {
        auto* s = new CBitmapSlider(&canvas, 1178);
        const int n = i < 3 ? (i == 0 ? 0 : i == 1 ? 2 : 5) : 6 + 3;
        s->SetBitmap(QPixmap(g_program + QString("Skins/%1.bmp").arg(n)));
        s->move(20 + i * 240, y + 18);
    }
    y += 70;

    Caption(&canvas, "Colour pickers: chosen, hot, disabled", 20, y);
    for (int i = 0; i < 3; ++i) {
        auto* p = new CSkinColorBtn(&canvas);
        p->setGeometry(20 + i * 110, y + 18, 80, 28);
        p->SetColor(i == 0 ? 0x0082FF : 0xFFC800);
        if (i == 1)
            Hover(p);
        if (i == 2)
            p->setEnabled(false);
    }
    auto* label = new ColorStatic(&canvas);
    label->setText("Colour label");
    label->SetTextColor(0xE4E4E4);
    label->SetFontHeight(14);
    label->setGeometry(380, y + 22, 160, 20);
    const char* linkStates[] = {"link", "hover", "visited"};
    for (int i = 0; i < 3; ++i) {
        auto* link = new CHyperLink(&canvas);
        link->setText(QString("https://example.org/ (%1)").arg(linkStates[i]));
        link->move(540 + (i % 2) * 220, y + 16 + (i / 2) * 20);
        link->Attach();
        link->SetOpener([](const QString&) { return kLinkOpened; });
        if (i == 2)
            link->SetVisited(true);
    }
    y += 70;

    Caption(&canvas, "Report list with per-cell colours and an open cell edit", 20, y);
    auto* list = new CReportCtrl(&canvas);
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
    canvas.show();
    list->BeginEdit(1, 1);
    y += 180;

    canvas.resize(1000, y);
    for (int i = 0; i < 10; ++i)
        QCoreApplication::processEvents();
    CHyperLink* hovered = canvas.findChildren<CHyperLink*>().value(1);
    if (hovered) {
        QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), hovered->mapToGlobal(QPointF(3, 3)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(hovered, &move);
    }
    const QString path = out + "/gallery.png";
    if (!canvas.grab().save(path)) {
        std::fprintf(stderr, "ui-gallery: cannot write %s\n", qPrintable(path));
        return 1;
    }
    return 0;
}
