#pragma once
// The main window's whole-window face pictures, made once at initialisation
// and shared by every skinned control of the window (the key picture, the
// lighting panel and the window's own buttons).
#include <array>
#include <future>
#include <memory>
#include <QImage>
#include <QSize>
#include <string>

#include "app/SkinKeyLists.h"
#include "ui/SkinFace.h"

namespace orvane {

class CMainSkinFaces {
  public:
    // The face pictures being decoded, side by side, off the GUI thread.
    using Decoding = std::array<std::future<std::unique_ptr<QImage>>, MAIN_FACES>;
    // Starts decoding every face picture from the program folder, so that
    // the window can go on with its other work meanwhile.
    static Decoding StartDecoding();

    // Each face prepared for a window of `clientSize`, once decoded. A
    // missing picture leaves its face blank.
    explicit CMainSkinFaces(const QSize& clientSize, Decoding decoding = StartDecoding());

    const CSkinFace* Face(MainFace face) const { return &m_faces[static_cast<size_t>(face)]; }
    // The five state faces of the main-window button with skin key `key`.
    SkinFaceSet ButtonFaces(const std::string& key) const;

  private:
    std::array<CSkinFace, MAIN_FACES> m_faces;
};

} // namespace orvane
