// Draws every skin picture and writes the skin files beside them.
// Usage: skingen <Skins folder>
#include <cstdio>
#include <QDir>
#include <QGuiApplication>

#include "Scene.h"

using namespace skingen;

namespace {

bool g_ok = true;

void Check(bool ok, const QString& what) {
    if (!ok) {
        std::fprintf(stderr, "skingen: cannot write %s\n", qPrintable(what));
        g_ok = false;
    }
}

void WriteFaces(const Scene& scene, const QString& dir, const QString& prefix, int set, bool withDisable) {
    const std::pair<Face, const char*> faces[4] = {
        {Face::Normal, "normal"}, {Face::Over, "over"}, {Face::Down, "down"}, {Face::Disable, "disable"}};
    for (int i = 0; i < (withDisable ? 4 : 3); ++i) {
        const QString path = dir + '/' + prefix + '_' + faces[i].second + ".jpg";
        Check(SaveJpeg(RenderScene(scene, faces[i].first, set, true), path), path);
    }
}

void WriteWindow(const Scene& scene, const QString& dir, const QString& ini) {
    for (const auto& [key, value] : scene.screen) {
        const QString path = dir + '/' + QString::fromStdString(value);
        if (key == "Main")
            Check(SaveJpeg(RenderScene(scene, Face::Normal, 0, false), path), path);
        else if (key == "Mask")
            Check(SaveImage(RenderMask(scene), path, "bmp"), path);
    }
    Check(WriteSkinIni(scene, dir + '/' + ini), ini);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: skingen <Skins folder>\n");
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(dir)) {
        std::fprintf(stderr, "skingen: cannot create %s\n", argv[1]);
        return 1;
    }

    const Scene main = BuildMainScene();
    WriteWindow(main, dir, "Main.ini");
    WriteFaces(main, dir, "main", 0, true);
    Check(SaveJpeg(RenderScene(main, Face::Color0, 0, true), dir + "/main_color0.jpg"), "main_color0.jpg");
    Check(SaveJpeg(RenderScene(main, Face::Color1, 0, true), dir + "/main_color1.jpg"), "main_color1.jpg");
    Check(SaveJpeg(RenderArrowPicture(main), dir + "/Arrow.jpg"), "Arrow.jpg");

    const Scene composite = BuildCompositeScene();
    WriteWindow(composite, dir, "Composite.ini");
    WriteFaces(composite, dir, "key", 0, false);
    WriteFaces(composite, dir, "media", 1, false);
    WriteFaces(composite, dir, "function", 2, false);
    WriteFaces(composite, dir, "macro", 3, true);
    WriteFaces(composite, dir, "macro2", 4, true);

    const Scene profile = BuildProfileScene();
    WriteWindow(profile, dir, "Profile.ini");
    WriteFaces(profile, dir, "Profile", 0, false);

    Check(WritePanelBitmaps(dir), "the lighting panel pictures");
    Check(WriteTrayIcons(dir), "the tray icons");
    Check(WriteUserDataTemplate(dir + "/UserDengColor_3.userd"), "UserDengColor_3.userd");
    return g_ok ? 0 : 1;
}
