#include "app/SkinReaders.h"

#include <cstdio>

#include "platform/IniFile.h"

namespace orvane {

SkinRect ParseSkinRect(const std::string& value) {
    SkinRect r;
    int x = 0, y = 0, w = 0, h = 0;
    if (std::sscanf(value.c_str(), "%d,%d,%d,%d", &x, &y, &w, &h) == 4) r = SkinRect{x, y, w, h};
    return r;
}

SkinRect ReadSkinRect(const std::string& skinFile, const std::string& section, const std::string& key) {
    return ParseSkinRect(IniReadString(skinFile, section, key, kSkinDefaultRect));
}

SkinRect SkinPlaceButton(CSkinTarget& button, const std::string& skinFile, const std::string& key,
                         const SkinFaceSet& faces) {
    SkinRect r = ReadSkinRect(skinFile, kSectionButtons, key);
    button.SkinSetGeometry(r, false);
    button.SkinSetFaces(r.x, r.y, faces);
    if (r.IsUnplaced()) button.SkinEnable(false);
    return r;
}

SkinRect SkinPlaceControl(CSkinTarget& control, const std::string& skinFile, const std::string& key) {
    SkinRect r = ReadSkinRect(skinFile, kSectionButtons, key);
    control.SkinSetGeometry(r, false);
    return r;
}

SkinRect SkinMoveControl(CSkinTarget& control, const std::string& skinFile, const std::string& key) {
    SkinRect r = ReadSkinRect(skinFile, kSectionButtons, key);
    control.SkinMove(r.x, r.y, true);
    return r;
}

SkinRect SkinPlaceButtonWithFaceOrigin(CSkinTarget& button, const std::string& skinFile,
                                       const std::string& key, const std::string& faceKey,
                                       const CSkinFace* face) {
    SkinRect r = ReadSkinRect(skinFile, kSectionButtons, key);
    SkinRect origin = ReadSkinRect(skinFile, kSectionFaceOrigins, faceKey);
    button.SkinSetGeometry(r, false);
    button.SkinSetFaces(origin.x, origin.y, SkinFaceSet{face, face, face, face, face});
    return r;
}

} // namespace orvane
