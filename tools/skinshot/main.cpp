// Renders the skinned windows from the shipped skin files the way the
// program's image buttons cut them, so the artwork can be reviewed without
// running the program. Usage: skinshot <program folder> <output folder>
#include <cstdio>
#include <functional>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "app/SkinKeyLists.h"
#include "app/SkinReaders.h"
#include "platform/IniFile.h"

using namespace orvane;

namespace {

struct Window {
    QString skinFile;
    QImage background;
    QImage mask;
};

bool Load(const QString& programFolder, const QString& ini, Window& w) {
    w.skinFile = programFolder + "Skins/" + ini;
    const std::string file = w.skinFile.toStdString();
    const QString main = QString::fromStdString(IniReadString(file, kSectionScreen, "Main", ""));
    const QString mask =
        QString::fromStdString(IniReadString(file, kSectionScreen, "Mask", main.toStdString()));
    w.background = QImage(programFolder + "Skins/" + main);
    w.mask = QImage(programFolder + "Skins/" + mask);
    if (w.background.isNull() || w.mask.isNull()) {
        std::fprintf(stderr, "skinshot: cannot load the pictures of %s\n", qPrintable(w.skinFile));
        return false;
    }
    return true;
}

// Cuts the button's face exactly as an image button does: from (x - 1, y - 1).
void Blit(QPainter& p, const QImage& face, const SkinRect& at, int srcX, int srcY) {
    if (!face.isNull()) p.drawImage(QPoint(at.x, at.y), face, QRect(srcX - 1, srcY - 1, at.w, at.h));
}

QImage Compose(const Window& w, const std::vector<SkinKeyUse>& keys,
               const std::function<const QImage*(const std::string& key)>& faceFor, bool outlineControls) {
    QImage out = w.background.convertToFormat(QImage::Format_ARGB32);
    QPainter p(&out);
    const std::string file = w.skinFile.toStdString();
    for (const SkinKeyUse& use : keys) {
        const SkinRect r = ReadSkinRect(file, kSectionButtons, use.key);
        if (use.reader == SkinReader::PlaceButton) {
            if (const QImage* face = faceFor(use.key)) Blit(p, *face, r, r.x, r.y);
        } else if (use.reader == SkinReader::FaceOrigin) {
            if (const QImage* face = faceFor(use.faceKey)) {
                const SkinRect o = ReadSkinRect(file, kSectionFaceOrigins, use.faceKey);
                Blit(p, *face, r, o.x, o.y);
            }
        } else if (outlineControls) {
            p.setPen(QPen(QColor(80, 200, 255, 150), 1, Qt::DashLine));
            p.setBrush(Qt::NoBrush);
            p.drawRect(QRect(r.x, r.y, r.w - 1, r.h - 1));
        }
    }
    p.end();
    // Outside the outline is transparent, as on screen.
    for (int y = 0; y < out.height() && y < w.mask.height(); ++y)
        for (int x = 0; x < out.width() && x < w.mask.width(); ++x)
            if ((w.mask.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF) out.setPixel(x, y, 0);
    return out;
}

// The lighting panel as mode 1 shows it: the panel's own pictures at their
// places, sample labels where the language texts go, frames for the widgets.
QImage PanelPreview(const QImage& base, const QString& programFolder, const std::string& skinFile) {
    QImage out = base;
    QPainter p(&out);
    auto at = [&](const char* key) {
        const SkinRect r = ReadSkinRect(skinFile, kSectionButtons, key);
        return QRect(r.x, r.y, r.w, r.h);
    };
    auto bmp = [&](const char* key, const QString& file) {
        p.drawImage(at(key).topLeft(), QImage(programFolder + "Skins/" + file));
    };
    auto label = [&](const char* key, const QString& text) {
        p.setPen(QColor(0xe4, 0xe4, 0xe4));
        p.setFont(QFont("DejaVu Sans", 10));
        p.drawText(at(key), Qt::AlignVCenter | Qt::AlignLeft, text);
    };
    auto frame = [&](const char* key, const QString& text) {
        const QRect r = at(key);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QColor(0x3a, 0x3e, 0x46));
        p.setBrush(QColor(0x0f, 0x11, 0x14));
        p.drawRoundedRect(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
        p.setPen(QColor(0xe4, 0xe4, 0xe4));
        p.drawText(r.adjusted(8, 0, -8, 0), Qt::AlignVCenter | Qt::AlignLeft, text);
    };
    label("CONTROL_DengStatic", "Lighting");
    bmp("CONTROL_DengStaPic", "dengdown.bmp");
    bmp("CONTROL_JDTStatic", "jdt4.bmp");
    frame("CONTROL_XGcombox", "Wave  \u25BE");
    label("CONTROL_LightStatic", "Brightness");
    bmp("CONTROL_LightSlider", "4.bmp");
    label("CONTROL_SpeedStatic", "Speed");
    bmp("CONTROL_SpeedSlider", "8.bmp");
    label("CONTROL_HXysStatic", "Colour");
    frame("CONTROL_HXysButton", "");
    p.fillRect(at("CONTROL_HXysButton").adjusted(3, 3, -40, -3), QColor(255, 130, 0));
    label("CONTROL_HXsjsStatic", "Colourful");
    bmp("CONTROL_HXsjsStaPic", "sjsdown.bmp");
    label("CONTROL_BLFXStatic2", "Direction");
    bmp("CONTROL_BLFXLStaPic2", "leftdown.bmp");
    bmp("CONTROL_BLFXRStaPic2", "rightup.bmp");
    label("CONTROL_RGBStatic", "RGB");
    frame("COLOR_R", "255");
    frame("COLOR_G", "130");
    frame("COLOR_B", "0");
    for (int i = 1; i <= 8; ++i) {
        const std::string key = "CONTROL_Color" + std::to_string(i);
        p.drawImage(at(key.c_str()).topLeft(), QImage(programFolder + QString("Skins/Color%1.bmp").arg(i)));
    }
    label("CONTROL_UsbStatic", "Report rate");
    return out;
}

} // namespace

int main(int argc, char** argv) {
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: skinshot <program folder> <output folder>\n");
        return 2;
    }
    QString programFolder = QString::fromLocal8Bit(argv[1]);
    if (!programFolder.endsWith('/')) programFolder += '/';
    const QString outDir = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(outDir);
    bool ok = true;
    auto save = [&](const QImage& img, const QString& name) {
        if (!img.save(outDir + '/' + name)) {
            std::fprintf(stderr, "skinshot: cannot write %s\n", qPrintable(name));
            ok = false;
        }
    };

    Window mainWnd;
    if (!Load(programFolder, "Main.ini", mainWnd)) return 1;
    QImage faces[MAIN_FACES];
    for (int f = 0; f < MAIN_FACES; ++f)
        faces[f] = QImage(programFolder + MainFaceFile(MainFace(f)));
    const auto keys = MainSkinKeys();
    auto slotFace = [&](int slot) {
        return [&, slot](const std::string& key) -> const QImage* {
            if (key.find("ARROW") != std::string::npos)
                return key.rfind(slot == FACE_CHECKED ? "UP_" : "DOWN_", 0) == 0 ? &faces[MAIN_ARROW]
                                                                                 : nullptr;
            return &faces[MainButtonFaces(key)[slot]];
        };
    };
    save(Compose(mainWnd, keys, slotFace(FACE_NORMAL), false), "main_normal.png");
    save(Compose(mainWnd, keys, slotFace(FACE_HOVER), false), "main_hover.png");
    save(Compose(mainWnd, keys, slotFace(FACE_PRESSED), false), "main_pressed.png");
    save(Compose(mainWnd, keys, slotFace(FACE_CHECKED), false), "main_checked.png");
    save(Compose(mainWnd, keys, slotFace(FACE_DISABLED), true), "main_layout.png");
    save(PanelPreview(Compose(mainWnd, keys, slotFace(FACE_NORMAL), false), programFolder,
                      mainWnd.skinFile.toStdString()),
         "main_mode1.png");
    // Key view's second mode: alternate keys unlit and lit.
    int n = 0;
    save(Compose(
             mainWnd, keys,
             [&](const std::string& key) -> const QImage* {
                 if (key.rfind("KEY_", 0) == 0 || key.rfind("FUNC_G", 0) == 0)
                     return &faces[(n++ % 3) ? MAIN_COLOR1 : MAIN_COLOR0];
                 return slotFace(FACE_NORMAL)(key);
             },
             false),
         "main_color.png");

    Window composite;
    if (!Load(programFolder, "Composite.ini", composite)) return 1;
    const char* sets[5] = {"key", "media", "function", "macro", "macro2"};
    for (const char* set : sets) {
        QImage normal(programFolder + QString("Skins/%1_normal.jpg").arg(set));
        QImage down(programFolder + QString("Skins/%1_down.jpg").arg(set));
        QImage over(programFolder + QString("Skins/%1_over.jpg").arg(set));
        QImage disable(programFolder + QString("Skins/%1_disable.jpg").arg(set));
        const QImage& dis = disable.isNull() ? normal : disable;
        save(Compose(
                 composite, CompositeSkinKeys(),
                 [&](const std::string& key) -> const QImage* {
                     if (key == "CONTROL_MASK" || key == "CONTROL_TITLE") return &dis;
                     if (key == "CONTROL_KEY" || key == "CONTROL_MACRO") return &down;
                     if (key == "CONTROL_OK") return &over;
                     return &normal;
                 },
                 true),
             QString("composite_%1.png").arg(set));
    }

    Window profile;
    if (!Load(programFolder, "Profile.ini", profile)) return 1;
    QImage pn(programFolder + "Skins/Profile_normal.jpg"), po(programFolder + "Skins/Profile_over.jpg");
    save(Compose(
             profile, ProfileSkinKeys(),
             [&](const std::string& key) -> const QImage* { return key == "FUNC_LOAD" ? &po : &pn; }, true),
         "profile.png");
    return ok ? 0 : 1;
}
