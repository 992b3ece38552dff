#pragma once
// Skin layout files: where each control of a window sits and which rectangles
// of the window's face pictures it shows. Values are "x,y,w,h" in the
// window's client coordinates, read by key at every layout.
#include <array>
#include <string>

namespace orvane {

// A face picture of a window; defined by the widget layer (it wraps a
// pixmap). Readers only pass pointers along.
class CSkinFace;

enum SkinFaceSlot { FACE_NORMAL = 0, FACE_HOVER, FACE_PRESSED, FACE_DISABLED, FACE_CHECKED, FACE_SLOTS };
using SkinFaceSet = std::array<const CSkinFace*, FACE_SLOTS>;

struct SkinRect {
    int x = 1;
    int y = 1;
    int w = 1;
    int h = 1;
    // Only the position tells a missing key: a button left at (1, 1) is unused.
    bool IsUnplaced() const { return x == 1 && y == 1; }
    bool operator==(const SkinRect&) const = default;
};

constexpr const char* kSkinDefaultRect = "1,1,1,1,x";
constexpr const char* kSectionButtons = "BUTTONINFO";
constexpr const char* kSectionFaceOrigins = "BUTTONINFO2";
constexpr const char* kSectionScreen = "SCREEN";

// Parses "x,y,w,h"; anything after the fourth number is ignored. A value
// with fewer than four numbers counts as the default rectangle.
SkinRect ParseSkinRect(const std::string& value);
// Reads section/key of a skin file; a missing file or key gives (1, 1, 1, 1).
SkinRect ReadSkinRect(const std::string& skinFile, const std::string& section, const std::string& key);

// What the readers need from a control. The widget layer adapts its widgets.
class CSkinTarget {
  public:
    virtual ~CSkinTarget() = default;
    virtual void SkinSetGeometry(const SkinRect& rect, bool repaint) = 0;
    virtual void SkinMove(int x, int y, bool repaint) = 0;
    // Faces cut at origin (x, y) of the given pictures. Plain controls ignore it.
    virtual void SkinSetFaces(int x, int y, const SkinFaceSet& faces) {
        (void)x;
        (void)y;
        (void)faces;
    }
    virtual void SkinEnable(bool enabled) = 0;
};

// Place button: geometry and five faces from one origin; a button left at
// (1, 1) is disabled. Returns the rectangle read.
SkinRect SkinPlaceButton(CSkinTarget& button, const std::string& skinFile, const std::string& key,
                         const SkinFaceSet& faces);
// Place control: geometry only, no repaint.
SkinRect SkinPlaceControl(CSkinTarget& control, const std::string& skinFile, const std::string& key);
// Move control: position only, size kept, repainted.
SkinRect SkinMoveControl(CSkinTarget& control, const std::string& skinFile, const std::string& key);
// Place button with face origin: geometry from BUTTONINFO/key, the origin of
// all five faces from BUTTONINFO2/faceKey, every face cut from `face`.
SkinRect SkinPlaceButtonWithFaceOrigin(CSkinTarget& button, const std::string& skinFile,
                                       const std::string& key, const std::string& faceKey,
                                       const CSkinFace* face);

} // namespace orvane
