// Skin layout readers: rectangle values, the unplaced-button rule and the
// "SCREEN" reader.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "app/SkinIniFile.h"
#include "app/SkinKeyLists.h"
#include "app/SkinReaders.h"
#include "support/TempDir.h"

namespace orvane {
namespace {

struct FakeTarget : CSkinTarget {
    SkinRect rect{-5, -5, 30, 20};
    bool repainted = false;
    bool enabled = true;
    int faceX = -1, faceY = -1;
    SkinFaceSet faces{};
    void SkinSetGeometry(const SkinRect& r, bool repaint) override { rect = r, repainted = repaint; }
    void SkinMove(int x, int y, bool repaint) override { rect.x = x, rect.y = y, repainted = repaint; }
    void SkinSetFaces(int x, int y, const SkinFaceSet& f) override { faceX = x, faceY = y, faces = f; }
    void SkinEnable(bool e) override { enabled = e; }
};

class SkinReaders : public ::testing::Test {
  protected:
    void SetUp() override {
        std::ofstream(file) << "[SCREEN]\nMain=bg.jpg\nLink=" << std::string(3000, 'u') << "\n"
                            << "[BUTTONINFO]\n"
                               "CORNER=0,0,40,20\n"
                               "ONEONE=1,1,80,30\n"
                               "TRAILING=12,34,56,78,comment here\n"
                               "SHORT=5,6\n"
                               "PLAIN=100,200,30,40\n"
                               "[BUTTONINFO2]\n"
                               "FACE=700,10,1,1\n";
    }
    testing::CTempDir dir;
    const std::string file = dir.File("Main.ini");
};

TEST_F(SkinReaders, RectangleValues) {
    EXPECT_EQ(ReadSkinRect(file, kSectionButtons, "TRAILING"), (SkinRect{12, 34, 56, 78}));
    EXPECT_EQ(ReadSkinRect(file, kSectionButtons, "MISSING"), (SkinRect{1, 1, 1, 1}));
    EXPECT_EQ(ReadSkinRect(file + ".none", kSectionButtons, "PLAIN"), (SkinRect{1, 1, 1, 1}));
    EXPECT_EQ(ReadSkinRect(file, kSectionButtons, "SHORT"), (SkinRect{1, 1, 1, 1}));
    EXPECT_EQ(ParseSkinRect("-3, 4,5,6"), (SkinRect{-3, 4, 5, 6}));
    // Keys are case-insensitive like every ini key.
    EXPECT_EQ(ReadSkinRect(file, "buttoninfo", "plain"), (SkinRect{100, 200, 30, 40}));
}

TEST_F(SkinReaders, PlaceButtonDisablesOnlyAtOneOne) {
    CSkinFace* const pics[5] = {reinterpret_cast<CSkinFace*>(0x10), reinterpret_cast<CSkinFace*>(0x20),
                                reinterpret_cast<CSkinFace*>(0x30), reinterpret_cast<CSkinFace*>(0x40),
                                reinterpret_cast<CSkinFace*>(0x50)};
    const SkinFaceSet faces{pics[0], pics[1], pics[2], pics[3], pics[4]};

    FakeTarget corner;
    SkinPlaceButton(corner, file, "CORNER", faces);
    EXPECT_TRUE(corner.enabled);
    EXPECT_EQ(corner.rect, (SkinRect{0, 0, 40, 20}));
    EXPECT_EQ(corner.faceX, 0);
    EXPECT_EQ(corner.faces, faces);
    EXPECT_FALSE(corner.repainted);

    FakeTarget oneOne; // another size, same position: still unused
    SkinPlaceButton(oneOne, file, "ONEONE", faces);
    EXPECT_FALSE(oneOne.enabled);
    EXPECT_EQ(oneOne.rect.w, 80);

    FakeTarget missing;
    SkinPlaceButton(missing, file, "NOPE", faces);
    EXPECT_FALSE(missing.enabled);
    EXPECT_EQ(missing.rect, (SkinRect{1, 1, 1, 1}));

    FakeTarget control; // a plain control at (1, 1) stays enabled
    SkinPlaceControl(control, file, "NOPE");
    EXPECT_TRUE(control.enabled);
    EXPECT_EQ(control.faceX, -1);
}

TEST_F(SkinReaders, MoveKeepsSizeAndFaceOriginComesFromSecondSection) {
    FakeTarget moved;
    SkinMoveControl(moved, file, "PLAIN");
    EXPECT_EQ(moved.rect, (SkinRect{100, 200, 30, 20}));
    EXPECT_TRUE(moved.repainted);

    FakeTarget arrow;
    auto* face = reinterpret_cast<CSkinFace*>(0x99);
    SkinPlaceButtonWithFaceOrigin(arrow, file, "PLAIN", "FACE", face);
    EXPECT_EQ(arrow.rect, (SkinRect{100, 200, 30, 40}));
    EXPECT_EQ(arrow.faceX, 700);
    EXPECT_EQ(arrow.faceY, 10);
    for (const CSkinFace* f : arrow.faces)
        EXPECT_EQ(f, face);
}

TEST_F(SkinReaders, IniFileReader) {
    CIniFile ini;
    EXPECT_EQ(ini.GetString("SCREEN", "Main"), nullptr);
    ini.Load(file);
    ASSERT_NE(ini.GetString("SCREEN", "Main"), nullptr);
    EXPECT_EQ(*ini.GetString("SCREEN", "Main"), "bg.jpg");
    EXPECT_EQ(ini.GetString("SCREEN", "Mask"), nullptr);
    auto link = ini.GetString("SCREEN", "Link");
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->size(), CIniFile::kMaxValueChars);

    // A skin deep in the file system is read from where it is.
    std::filesystem::path deep = dir.Path();
    while (deep.string().size() < 300)
        deep /= std::string(40, 'd');
    std::filesystem::create_directories(deep);
    std::filesystem::copy_file(file, deep / "Main.ini");
    CIniFile longPath;
    longPath.Load((deep / "Main.ini").string());
    ASSERT_NE(longPath.GetString("SCREEN", "Main"), nullptr);
    EXPECT_EQ(*longPath.GetString("SCREEN", "Main"), "bg.jpg");

    CIniFile tooLong;
    tooLong.Load(std::string(PATH_MAX, 'p'));
    EXPECT_EQ(tooLong.GetString("SCREEN", "Main"), nullptr);
}

TEST(SkinKeyLists, NamesAndFaces) {
    EXPECT_EQ(SkinKeyName(0x01E), "KEY_01E");
    EXPECT_EQ(SkinKeyName(0x137), "KEY_0B7");
    EXPECT_EQ(SkinKeyName(0x11D), "KEY_09D");
    EXPECT_EQ(SkinArrowFaceKey(false, true), "UP_ARROW_LEFT1");
    EXPECT_EQ(SkinArrowFaceKey(true, false), "DOWN_ARROW_RIGHT1");

    // Every key slot has its own skin key and its own control id.
    std::vector<std::string> names;
    std::vector<int> ids;
    for (const SkinKeySlot& s : SkinKeySlots()) {
        names.push_back(SkinKeyName(s.scanCode));
        ids.push_back(s.controlId);
    }
    std::sort(names.begin(), names.end());
    std::sort(ids.begin(), ids.end());
    EXPECT_EQ(std::adjacent_find(names.begin(), names.end()), names.end());
    EXPECT_EQ(std::adjacent_find(ids.begin(), ids.end()), ids.end());

    using F = std::array<MainFace, FACE_SLOTS>;
    EXPECT_EQ(MainButtonFaces("KEY_01E"), (F{MAIN_NORMAL, MAIN_OVER, MAIN_DOWN, MAIN_NORMAL, MAIN_DISABLE}));
    EXPECT_EQ(MainButtonFaces("CONTROL2_APPLY")[FACE_DISABLED], MAIN_DISABLE);
    EXPECT_EQ(MainButtonFaces("LOCK_NUM")[FACE_CHECKED], MAIN_OVER);
    EXPECT_EQ(MainButtonFaces("LOCK_NUM")[FACE_HOVER], MAIN_NORMAL);
    EXPECT_EQ(MainButtonFaces("DAVARU_LINK")[FACE_PRESSED], MAIN_DISABLE);
    EXPECT_EQ(MainButtonFaces("CONTROL_OK"),
              (F{MAIN_NORMAL, MAIN_OVER, MAIN_DOWN, MAIN_NORMAL, MAIN_NORMAL}));
}

} // namespace
} // namespace orvane
