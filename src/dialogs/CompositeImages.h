#pragma once
// The key-assignment dialog's five image sets, made once per dialog: each a
// whole-window picture per button state, from which its image buttons cut
// their faces.
#include <array>
#include <QSize>

#include "app/SkinReaders.h"
#include "ui/SkinFace.h"

namespace orvane {

enum CompositeImageSet { SET_KEY = 0, SET_MACRO, SET_MACRO2, SET_MEDIA, SET_FUNCTION, COMPOSITE_SETS };

class CCompositeImages {
  public:
    // Loads every picture for a window of `clientSize`; a picture that cannot
    // be read leaves its face empty.
    void Load(const QSize& clientSize);
    bool Loaded() const { return m_loaded; }
    // Normal, hover, pressed, disabled, and the pressed picture again as the
    // checked one.
    SkinFaceSet Faces(CompositeImageSet set) const;

  private:
    enum { IMG_NORMAL = 0, IMG_OVER, IMG_DOWN, IMG_DISABLED, IMAGES_PER_SET };
    std::array<std::array<CSkinFace, IMAGES_PER_SET>, COMPOSITE_SETS> m_faces;
    bool m_loaded = false;
};

} // namespace orvane
