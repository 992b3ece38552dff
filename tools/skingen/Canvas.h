#pragma once
// Drawing vocabulary shared by every skin picture: one palette, one key cap,
// one button, so states look alike across the three windows.
#include <functional>
#include <QColor>
#include <QFont>
#include <QPainter>
#include <QRect>
#include <QString>

namespace skingen {

// The state a face picture shows. Color0/Color1 are the keyboard view's
// unlit and lit key pictures.
enum class Face { Normal, Over, Down, Disable, Color0, Color1 };

namespace pal {
const QColor kWindowTop(0x1b, 0x1e, 0x24);
const QColor kWindowBottom(0x10, 0x12, 0x16);
const QColor kWindowEdge(0x34, 0x39, 0x42);
const QColor kCase(0x17, 0x19, 0x1e);
const QColor kCaseEdge(0x2c, 0x30, 0x38);
const QColor kPanel(0x1a, 0x1d, 0x22);
const QColor kStrip(0x14, 0x16, 0x1a);
const QColor kAccent(0xff, 0x82, 0x00);
const QColor kAccentSoft(0xff, 0x9b, 0x04);
const QColor kText(0xe8, 0xea, 0xee);
const QColor kTextDim(0x7f, 0x84, 0x8c);
const QColor kField(0x0f, 0x11, 0x14);
} // namespace pal

QFont UiFont(int pixelSize, bool bold = false);

// A key cap with its legend (a legend may hold "\n" for two lines).
void DrawKeyCap(QPainter& p, const QRectF& r, const QString& legend, Face face, bool small = false);
// A rounded button; `icon` draws the content in the given colour (may be null).
using IconFn = std::function<void(QPainter&, const QRectF&, const QColor&)>;
void DrawButton(QPainter& p, const QRectF& r, Face face, const IconFn& icon, double radius = 7.0);
// A button that is checked rather than pressed, for the accent face.
void DrawCheckedButton(QPainter& p, const QRectF& r, const IconFn& icon, double radius = 7.0);
IconFn TextIcon(const QString& text, int pixelSize, bool bold = true);
// An inset field (edit box, list, drop-down frame).
void DrawField(QPainter& p, const QRectF& r, double radius = 5.0);
// The window body: gradient, hairline edge, rounded corners.
void DrawWindowBody(QPainter& p, const QSize& size, double radius);

} // namespace skingen
