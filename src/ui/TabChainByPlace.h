#pragma once
// Tab order that follows the window as it reads: row by row from the top,
// left to right within a row. The skinned windows place their controls by
// coordinates, so the order they are created in says nothing about where
// they sit.
class QWidget;

namespace orvane {

// Orders the focus chain of the direct child widgets of `window`. A control
// joins the row of the first control above it whose height spans its middle.
void ChainTabsByPlace(QWidget& window);

} // namespace orvane
