#include "dialogs/CompositeImages.h"

#include <cstring>
#include <QString>

#include "ui/SkinImage.h"

namespace orvane {

namespace {

// Files of each set in the order normal, over, down, disabled; the sets
// without a disabled picture use their normal one.
constexpr const char* kSetFiles[COMPOSITE_SETS][4] = {
    {"Skins/key_normal.jpg", "Skins/key_over.jpg", "Skins/key_down.jpg", "Skins/key_normal.jpg"},
    {"Skins/macro_normal.jpg", "Skins/macro_over.jpg", "Skins/macro_down.jpg", "Skins/macro_disable.jpg"},
    {"Skins/macro2_normal.jpg", "Skins/macro2_over.jpg", "Skins/macro2_down.jpg", "Skins/macro2_disable.jpg"},
    {"Skins/media_normal.jpg", "Skins/media_over.jpg", "Skins/media_down.jpg", "Skins/media_normal.jpg"},
    {"Skins/function_normal.jpg", "Skins/function_over.jpg", "Skins/function_down.jpg",
     "Skins/function_normal.jpg"},
};

} // namespace

void CCompositeImages::Load(const QSize& clientSize) {
    for (int set = 0; set < COMPOSITE_SETS; ++set)
        for (int image = 0; image < IMAGES_PER_SET; ++image) {
            // A set without a picture of its own shares the one it reuses.
            if (image > 0 && std::strcmp(kSetFiles[set][image], kSetFiles[set][IMG_NORMAL]) == 0) {
                m_faces[set][image] = m_faces[set][IMG_NORMAL];
                continue;
            }
            const auto picture = LoadSkinImage(QString::fromLatin1(kSetFiles[set][image]));
            RenderImageToDC(m_faces[set][image], std::move(*picture), clientSize);
        }
    m_loaded = true;
}

SkinFaceSet CCompositeImages::Faces(CompositeImageSet set) const {
    const auto& f = m_faces[set];
    return {&f[IMG_NORMAL], &f[IMG_OVER], &f[IMG_DOWN], &f[IMG_DISABLED], &f[IMG_DOWN]};
}

} // namespace orvane
