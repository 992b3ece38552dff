#pragma once
// Where the key-assignment dialog opens: beside the clicked key, on the side
// where it fits on the key's screen.
#include <QPoint>
#include <QRect>
#include <QSize>

namespace orvane {

// Top-left corner of a dialog of `size` opened for the key button at `button`
// (screen coordinates) on a screen whose usable area is `available`: the first
// of right-below, right-above, left-below and left-above that fits, else
// right-below.
QPoint CompositePosition(const QRect& button, const QSize& size, const QRect& available);

// Top-left corner that centres a dialog of `size` on `available`.
QPoint CentredPosition(const QSize& size, const QRect& available);

} // namespace orvane
