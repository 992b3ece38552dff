// Renders the skinned windows from the shipped skin files the way the
// program's image buttons cut them, so the artwork can be reviewed without
// running the program. Usage: skinshot <program folder> <output folder>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <functional>

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

bool Load(const QString& programFolder, const QString& ini, Window& w)
{
    w.skinFile = programFolder + "Skins/" + ini;
    const std::string file = w.skinFile.toStdString();
    const QString main = QString::fromStdString(IniReadString(file, kSectionScreen, "Main", ""));
    const QString mask = QString::fromStdString(IniReadString(file, kSectionScreen, "Mask", main.toStdString()));
    w.background = QImage(programFolder + "Skins/" + main);
    w.mask = QImage(programFolder + "Skins/" + mask);
    if (w.background.isNull() || w.mask.isNull()) {
        std::fprintf(stderr, "skinshot: cannot load the pictures of %s\n", qPrintable(w.skinFile));
        return false;
    }
    return true;
}

// Cuts the button's face exactly as an image button does: from (x - 1, y - 1).
void Blit(QPainter& p, const QImage& face, const SkinRect& at, int srcX, int srcY)
{
    if (!face.isNull())
        p.drawImage(QPoint(at.x, at.y), face, QRect(srcX - 1, srcY - 1, at.w, at.h));
}

QImage Compose(const Window& w, const std::vector<SkinKeyUse>& keys,
               const std::function<const QImage*(const std::string& key)>& faceFor, bool outlineControls)
{
    QImage out = w.background.convertToFormat(QImage::Format_ARGB32);
    QPainter p(&out);
    const std::string file = w.skinFile.toStdString();
    for (const SkinKeyUse& use : keys) {
        const SkinRect r = ReadSkinRect(file, kSectionButtons, use.key);
        if (use.reader == SkinReader::PlaceButton) {
            if (const QImage* face = faceFor(use.key))
                Blit(p, *face, r, r.x, r.y);
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
            if ((w.mask.pixel(x, y) & 0xFFFFFF) == 0xFFFFFF)
                out.setPixel(x, y, 0);
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: skinshot <program folder> <output folder>\n");
        return 2;
    }
    QString programFolder = QString::fromLocal8Bit(argv[1]);
    if (!programFolder.endsWith('/'))
        programFolder += '/';
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
    if (!Load(programFolder, "Main.ini", mainWnd))
        return 1;
    QImage faces[MAIN_FACES];
    for (int f = 0; f < MAIN_FACES; ++f)
        faces[f] = QImage(programFolder + MainFaceFile(MainFace(f)));
    const auto keys = MainSkinKeys();
    auto slotFace = [&](int slot) {
        return [&, slot](const std::string& key) -> const QImage* {
            if (key.find("ARROW") != std::string::npos)
                return key.rfind(slot == FACE_CHECKED ? "UP_" : "DOWN_", 0) == 0 ? &faces[MAIN_ARROW] : nullptr;
            return &faces[MainButtonFaces(key)[slot]];
        };
    };
    save(Compose(mainWnd, keys, slotFace(FACE_NORMAL), false), "main_normal.png");
    save(Compose(mainWnd, keys, slotFace(FACE_HOVER), false), "main_hover.png");
    save(Compose(mainWnd, keys, slotFace(FACE_PRESSED), false), "main_pressed.png");
    save(Compose(mainWnd, keys, slotFace(FACE_CHECKED), false), "main_checked.png");
    save(Compose(mainWnd, keys, slotFace(FACE_DISABLED), true), "main_layout.png");
    // Key view's second mode: alternate keys unlit and lit.
    int n = 0;
    save(Compose(mainWnd, keys,
                 [&](const std::string& key) -> const QImage* {
                     if (key.rfind("KEY_", 0) == 0 || key.rfind("FUNC_G", 0) == 0)
                         return &faces[(n++ % 3) ? MAIN_COLOR1 : MAIN_COLOR0];
                     return slotFace(FACE_NORMAL)(key);
                 }, false),
         "main_color.png");

    Window composite;
    if (!Load(programFolder, "Composite.ini", composite))
        return 1;
    const char* sets[5] = {"key", "media", "function", "macro", "macro2"};
    for (const char* set : sets) {
        QImage normal(programFolder + QString("Skins/%1_normal.jpg").arg(set));
        QImage down(programFolder + QString("Skins/%1_down.jpg").arg(set));
        QImage over(programFolder + QString("Skins/%1_over.jpg").arg(set));
        QImage disable(programFolder + QString("Skins/%1_disable.jpg").arg(set));
        const QImage& dis = disable.isNull() ? normal : disable;
        save(Compose(composite, CompositeSkinKeys(),
                     [&](const std::string& key) -> const QImage* {
                         if (key == "CONTROL_MASK" || key == "CONTROL_TITLE")
                             return &dis;
                         if (key == "CONTROL_KEY" || key == "CONTROL_MACRO")
                             return &down;
                         if (key == "CONTROL_OK")
                             return &over;
                         return &normal;
                     }, true),
             QString("composite_%1.png").arg(set));
    }

    Window profile;
    if (!Load(programFolder, "Profile.ini", profile))
        return 1;
    QImage pn(programFolder + "Skins/Profile_normal.jpg"), po(programFolder + "Skins/Profile_over.jpg");
    save(Compose(profile, ProfileSkinKeys(),
                 [&](const std::string& key) -> const QImage* { return key == "FUNC_LOAD" ? &po : &pn; }, true),
         "profile.png");
    return ok ? 0 : 1;
}
