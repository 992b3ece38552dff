#pragma once
// A skinned window as the generator sees it: a background, buttons that are
// drawn in every face picture in that picture's state, and plain controls
// whose place the skin file records.
#include <functional>
#include <QImage>
#include <QRect>
#include <QSize>
#include <string>
#include <utility>
#include <vector>

#include "Canvas.h"

namespace skingen {

struct Element {
    std::string key;
    QRect rect;
    // set: which picture set is drawn (windows with several sets of faces).
    std::function<void(QPainter&, const QRectF&, Face, int set)> draw;
};

struct Scene {
    QSize size;
    double radius = 16;
    std::function<void(QPainter&, int set)> background;
    std::vector<Element> buttons;
    std::vector<std::pair<std::string, QRect>> controls;
    std::vector<std::pair<std::string, QRect>> faceOrigins;
    std::vector<std::pair<std::string, std::string>> screen;
};

// A face picture. Buttons cut their faces one pixel up and to the left of
// their own position, so face pictures are drawn shifted by that pixel and
// line up with the background.
QImage RenderScene(const Scene& scene, Face face, int set, bool facePicture);
// White outside, black inside: the window's outline.
QImage RenderMask(const Scene& scene);
bool WriteSkinIni(const Scene& scene, const QString& path);
bool SaveJpeg(const QImage& image, const QString& path);
// Any format, written to a temporary name and renamed into place.
bool SaveImage(const QImage& image, const QString& path, const char* format, int quality = -1);

Scene BuildMainScene();
Scene BuildCompositeScene();
Scene BuildProfileScene();

// The Arrow picture: the four arrow indicator faces at their BUTTONINFO2
// origins, on a picture the size of the main window.
QImage RenderArrowPicture(const Scene& mainScene);

bool WritePanelBitmaps(const QString& folder);
bool WriteTrayIcons(const QString& folder);
bool WriteUserDataTemplate(const QString& path);

} // namespace skingen
