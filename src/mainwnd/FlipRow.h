#pragma once
// The six extra buttons of the keyboard picture (1016-1021). The skin places
// no picture for them: they share the F1-F4 group's place, and "Flip" decides
// which of the two groups stands there. Their faces are drawn here, once.
#include <array>
#include <QRect>
#include <span>

#include "ui/SkinFace.h"

namespace orvane {

class CPngButton;

class CFlipRowFaces {
  public:
    // Faces for one button of `slot` size: normal, hover, pressed, disabled, checked.
    explicit CFlipRowFaces(QSize slot);
    const CSkinFace* Face(int face) const { return &m_faces[static_cast<size_t>(face)]; }

  private:
    std::array<CSkinFace, 5> m_faces;
};

// The slot of button `index` (0-based) of `count` across `area`, left to
// right, with a small gap between neighbours; empty for an index outside.
QRect FlipRowSlot(const QRect& area, int count, int index);

// Puts `row` side by side across `area` with `faces` (sized by FlipRowSlot).
void PlaceFlipRow(std::span<CPngButton* const> row, const QRect& area, const CFlipRowFaces& faces);

} // namespace orvane
