#include "mainwnd/MainSkinFaces.h"

#include <QImageReader>

#include "ui/SkinImage.h"

namespace orvane {

CMainSkinFaces::Decoding CMainSkinFaces::StartDecoding() {
    // Decoding these whole-window pictures is most of the start-up time; they
    // decode side by side (inline where no thread can be had).
    // Qt finds its picture readers once, on the thread that first asks; the
    // GUI thread asks first, so the decoders and the window's own pictures
    // share what it found through the thread starts.
    QImageReader::supportedImageFormats();
    Decoding decoding;
    for (size_t f = 0; f < decoding.size(); ++f)
        decoding[f] = std::async(std::launch::async | std::launch::deferred, [f] {
            return LoadSkinImage(QString::fromUtf8(MainFaceFile(static_cast<MainFace>(f))));
        });
    return decoding;
}

CMainSkinFaces::CMainSkinFaces(const QSize& clientSize, Decoding decoding) {
    // Pixmaps are made here, on the GUI thread.
    for (size_t f = 0; f < decoding.size(); ++f)
        RenderImageToDC(m_faces[f], std::move(*decoding[f].get()), clientSize);
}

SkinFaceSet CMainSkinFaces::ButtonFaces(const std::string& key) const {
    const auto kinds = MainButtonFaces(key);
    SkinFaceSet set{};
    for (size_t slot = 0; slot < set.size(); ++slot)
        set[slot] = Face(kinds[slot]);
    return set;
}

} // namespace orvane
