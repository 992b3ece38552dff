#pragma once
// Loading and preparing skin pictures, and turning a mask picture into a
// window outline.
#include <memory>
#include <QImage>
#include <QRegion>
#include <QSize>
#include <QString>

#include "ui/SkinFace.h"

namespace orvane {

// Loads a background or mask picture. These pictures are what a window is
// made of, so a missing or undecodable one ends the process: the file and
// the reason go to standard error and the exit code is kFatalPictureExit.
constexpr int kFatalPictureExit = 3;
QImage LoadPictureFile(const QString& path);
// The checking half of LoadPictureFile, for callers that want to decide
// themselves: an empty image and `error` set on failure.
QImage TryLoadPictureFile(const QString& path, QString* error);

// program folder + relativePath. Always returns an object; when the file
// cannot be read the image inside is null and draws nothing.
std::unique_ptr<QImage> LoadSkinImage(const QString& relativePath);
std::unique_ptr<QImage> LoadSkinImageFrom(const QString& programFolder, const QString& relativePath);

// Prepares a face: `image` unscaled at (0,0) on a black field 100 pixels
// wider and taller than `clientSize`; what lies outside is cut off. Only the
// picture's own pixels are stored; the field's black is drawn when used.
// Pass the image by move when it is not needed afterwards: the face then
// takes its pixels without a copy.
void RenderImageToDC(CSkinFace& target, QImage image, const QSize& clientSize);

// Pixels whose three channels each lie within [transparent, transparent +
// tolerance] (per channel, capped at 255) are outside; every run of other
// pixels in a row becomes a rectangle, one pixel high or as tall as the rows
// below repeat the same runs. Rectangles are joined into the result 2000 at
// a time. An empty region when nothing is opaque.
// Colours are 0x00BBGGRR.
QRegion BitmapToRegion(const QImage& mask, uint32_t transparent, uint32_t tolerance);
constexpr int kRegionBatch = 2000;

} // namespace orvane
