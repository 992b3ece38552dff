#pragma once
// The six extra buttons of the keyboard picture (1016-1021). The skin places
// no picture for them: they share the F1-F4 group's place, and "Flip" decides
// which of the two groups stands there. Their faces are drawn here, once.
#include <array>
#include <QRect>
#include <span>
#include <vector>

#include "ui/SkinFace.h"

namespace orvane {

class CPngButton;

// The slot of button `index` (0-based) of `count` across `area`, left to
// right; together they cover the area. Empty for an index outside.
QRect FlipRowSlot(const QRect& area, int count, int index);

class CFlipRowFaces {
  public:
    // Faces for each of `count` slots across `area`.
    CFlipRowFaces(const QRect& area, int count);
    // Face `face` (normal, hover, pressed, disabled, checked) of slot `index`.
    const CSkinFace* Face(int index, int face) const;

  private:
    std::vector<std::array<CSkinFace, 5>> m_slots;
};

// Puts `row` side by side across `area` with `faces` (made for that area and
// the row's length).
void PlaceFlipRow(std::span<CPngButton* const> row, const QRect& area, const CFlipRowFaces& faces);

} // namespace orvane
