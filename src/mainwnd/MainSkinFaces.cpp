#include "mainwnd/MainSkinFaces.h"

#include "ui/SkinImage.h"

namespace orvane {

CMainSkinFaces::CMainSkinFaces(const QSize& clientSize) {
    for (int f = 0; f < MAIN_FACES; ++f) {
        const auto image = LoadSkinImage(QString::fromUtf8(MainFaceFile(static_cast<MainFace>(f))));
        RenderImageToDC(m_faces[static_cast<size_t>(f)], std::move(*image), clientSize);
    }
}

SkinFaceSet CMainSkinFaces::ButtonFaces(const std::string& key) const {
    const auto kinds = MainButtonFaces(key);
    SkinFaceSet set{};
    for (size_t slot = 0; slot < set.size(); ++slot)
        set[slot] = Face(kinds[slot]);
    return set;
}

} // namespace orvane
