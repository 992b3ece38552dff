// The shipped skin files against their pictures: every key a window reads is
// there, lies inside the window's picture, and does not cover another control
// the window shows at the same time.
#include <gtest/gtest.h>

#include <map>
#include <QGuiApplication>
#include <QImage>
#include <set>

#include "app/SkinKeyLists.h"
#include "app/SkinReaders.h"
#include "platform/IniFile.h"
#include "support/TestApp.h"
#include "ui/SkinImage.h"

namespace orvane {
namespace {

const std::string kSkins = std::string(ORVANE_BIN_DIR) + "/Skins/";

struct Placed {
    std::string key;
    SkinRect rect;
    std::string group; // controls of one group may share space (see callers)
};

bool Overlap(const SkinRect& a, const SkinRect& b) {
    return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

// Reads every key of the list; checks presence and bounds; returns the placed rectangles.
std::vector<Placed> CheckKeys(const std::string& ini, const std::vector<SkinKeyUse>& keys) {
    const std::string file = kSkins + ini;
    const std::string main = IniReadString(file, kSectionScreen, "Main", "");
    const QImage bg(QString::fromStdString(kSkins + main));
    EXPECT_FALSE(bg.isNull()) << ini << ": background " << main;
    const QImage mask(QString::fromStdString(kSkins + IniReadString(file, kSectionScreen, "Mask", main)));
    const QRegion outline = BitmapToRegion(mask, 0xFFFFFF, 0);
    std::vector<Placed> placed;
    std::set<std::string> seen;
    for (const SkinKeyUse& use : keys) {
        const std::string value = IniReadString(file, kSectionButtons, use.key, "");
        EXPECT_FALSE(value.empty()) << ini << " lacks " << use.key;
        const SkinRect r = ParseSkinRect(value);
        EXPECT_FALSE(r.IsUnplaced()) << ini << ": " << use.key << " is at (1, 1)";
        EXPECT_GT(r.w, 1) << use.key;
        EXPECT_GT(r.h, 1) << use.key;
        EXPECT_TRUE(QRect(0, 0, bg.width(), bg.height()).contains(QRect(r.x, r.y, r.w, r.h)))
            << ini << ": " << use.key << " leaves the picture";
        // Corners of the window are cut away; no control may sit in them.
        EXPECT_TRUE(outline.contains(QRect(r.x, r.y, r.w, r.h)))
            << ini << ": " << use.key << " leaves the outline";
        if (use.reader == SkinReader::FaceOrigin) {
            const std::string origin = IniReadString(file, kSectionFaceOrigins, use.faceKey, "");
            EXPECT_FALSE(origin.empty()) << ini << " lacks face origin " << use.faceKey;
        }
        if (seen.insert(use.key).second) placed.push_back({use.key, r, {}});
    }
    return placed;
}

// The lighting modes in which each panel control is shown; an empty set is a
// control no mode shows. Controls not listed are always shown.
std::map<std::string, std::set<int>> PanelModes() {
    auto range = [](int a, int b) {
        std::set<int> s;
        for (int i = a; i <= b; ++i)
            s.insert(i);
        return s;
    };
    std::set<int> all = range(1, 18);
    all.insert(20);
    std::set<int> speed = range(1, 5);
    for (int m = 7; m <= 15; ++m)
        speed.insert(m);
    const std::set<int> hx = {1, 2, 3, 5, 7, 8, 9, 10, 13, 14, 15};
    std::map<std::string, std::set<int>> m;
    for (const char* k :
         {"CONTROL_XGcombox", "CONTROL_LightStatic", "CONTROL_LightSlider", "CONTROL_LightValue"})
        m[k] = all;
    for (const char* k : {"CONTROL_SpeedStatic", "CONTROL_SpeedSlider", "CONTROL_SpeedValue"})
        m[k] = speed;
    // The direction group: the plain set for mode 18, set 2 for modes 1-3, set 3 for mode 12.
    for (const std::string& k : SkinDirectionGroupKeys(1))
        m[k] = {18};
    for (const std::string& k : SkinDirectionGroupKeys(2))
        m[k] = {1, 2, 3};
    for (const std::string& k : SkinDirectionGroupKeys(3))
        m[k] = {12};
    for (const char* k : {"CONTROL_HONGPIC", "CONTROL_HUANGPIC", "CONTROL_LVPIC", "CONTROL_LANPIC"})
        m[k] = {17};
    for (const char* k :
         {"CONTROL_FYYSStatic", "CONTROL_FYYSButton", "CONTROL_FYSJSStaPic", "CONTROL_FYSJSStatic"})
        m[k] = {6, 16};
    for (const char* k :
         {"CONTROL_HXysStatic", "CONTROL_HXysButton", "CONTROL_HXsjsStatic", "CONTROL_HXsjsStaPic"})
        m[k] = hx;
    for (const char* k :
         {"CONTROL_USERysStatic", "CONTROL_USERysButton", "CONTROL_USERjsStatic", "CONTROL_USERjsButton",
          "CONTROL_USERgjStatic", "CONTROL_USERgjStaPic1", "CONTROL_USERgjStaPic2", "CONTROL_umCombo"})
        m[k] = {20};
    for (const char* k :
         {"CONTROL_JTysStatic", "CONTROL_JTysButton", "CONTROL_TSysStatic", "CONTROL_TSysButton",
          "CONTROL_TSsjsStatic", "CONTROL_TSsjsStaPic", "CONTROL_CDysStatic", "CONTROL_CDysButton",
          "CONTROL_CDsjsStatic", "CONTROL_CDsjsStaPic", "CONTROL_FYCFStatic", "CONTROL_FYdjcfStatic",
          "CONTROL_FYggcfStatc", "CONTROL_FYdjcfStaPic", "CONTROL_FYggcfStaPic"})
        m[k] = {};
    return m;
}

TEST(SkinLayout, MainWindow) {
    orvane::testing::TestApp();
    std::vector<Placed> placed = CheckKeys("Main.ini", MainSkinKeys());
    const auto modes = PanelModes();
    std::set<int> always;
    for (int i = 1; i <= 20; ++i)
        always.insert(i);
    auto modesOf = [&](const std::string& k) {
        auto it = modes.find(k);
        return it == modes.end() ? always : it->second;
    };
    // Plates that the keys of their group are drawn over.
    std::set<std::string> fRow, gKeys;
    for (uint16_t sc : {0x03B, 0x03C, 0x03D, 0x03E})
        fRow.insert(SkinKeyName(sc));
    for (int n = 1; n <= 9; ++n)
        gKeys.insert(SkinGKeyName(n));
    auto plateHolds = [&](const std::string& plate, const std::string& key) {
        return (plate == "FLIP_0" && fRow.count(key)) || (plate == "LOCK_AB" && gKeys.count(key));
    };
    auto sameGroup = [](const std::string& a, const std::string& b) {
        for (int set = 1; set <= 3; ++set) {
            const auto k = SkinDirectionGroupKeys(set);
            for (int s2 = 1; s2 <= 3; ++s2)
                for (int i = 0; i < 3; ++i)
                    if (a == k[i] && b == SkinDirectionGroupKeys(s2)[i]) return true;
        }
        return false;
    };
    for (size_t i = 0; i < placed.size(); ++i)
        for (size_t j = i + 1; j < placed.size(); ++j) {
            const Placed& a = placed[i];
            const Placed& b = placed[j];
            if (!Overlap(a.rect, b.rect)) continue;
            if (plateHolds(a.key, b.key) || plateHolds(b.key, a.key) || sameGroup(a.key, b.key)) continue;
            std::set<int> common;
            const auto ma = modesOf(a.key), mb = modesOf(b.key);
            std::set_intersection(ma.begin(), ma.end(), mb.begin(), mb.end(),
                                  std::inserter(common, common.end()));
            EXPECT_TRUE(common.empty())
                << a.key << " overlaps " << b.key << " (shown together in mode " << *common.begin() << ")";
        }
}

TEST(SkinLayout, DirectionGroupKeepsItsShape) {
    const std::string file = kSkins + "Main.ini";
    for (int i = 0; i < 3; ++i) {
        const SkinRect plain = ReadSkinRect(file, kSectionButtons, SkinDirectionGroupKeys(1)[i]);
        for (int set = 2; set <= 3; ++set) {
            const SkinRect other = ReadSkinRect(file, kSectionButtons, SkinDirectionGroupKeys(set)[i]);
            EXPECT_EQ(other.w, plain.w);
            EXPECT_EQ(other.h, plain.h);
        }
    }
}

TEST(SkinLayout, DialogWindows) {
    orvane::testing::TestApp();
    // Composite dialog: controls of one tab may lie where another tab's are;
    // everything on the tab panel lies on the panel picture.
    auto tabOf = [](const std::string& k) -> std::string {
        if (k.rfind("FUNC_MACRO", 0) == 0 || k == "MARCO_NAME_SETTING") return "macro";
        if (k.rfind("FUNC_KEY_", 0) == 0 || k == "TISHI_SINGLE_STATIC") return "key";
        if (k == "FUNC_MEDIA_SELECT" || k == "MEDIA_SETTING_TISHI") return "media";
        if (k == "FUNC_FUNCTION_SELECT" || k == "FUNCTION_KEY_SETTING_TISHI") return "function";
        return {};
    };
    const auto composite = CheckKeys("Composite.ini", CompositeSkinKeys());
    SkinRect panel;
    for (const Placed& p : composite)
        if (p.key == "CONTROL_MASK") panel = p.rect;
    for (size_t i = 0; i < composite.size(); ++i) {
        const Placed& a = composite[i];
        const std::string ta = tabOf(a.key);
        if (!ta.empty()) {
            EXPECT_TRUE(QRect(panel.x, panel.y, panel.w, panel.h)
                            .contains(QRect(a.rect.x, a.rect.y, a.rect.w, a.rect.h)))
                << a.key << " is off the tab panel";
        }
        for (size_t j = i + 1; j < composite.size(); ++j) {
            const Placed& b = composite[j];
            if (a.key == "CONTROL_MASK" || b.key == "CONTROL_MASK" || !Overlap(a.rect, b.rect)) continue;
            const std::string tb = tabOf(b.key);
            EXPECT_TRUE(!ta.empty() && !tb.empty() && ta != tb) << a.key << " overlaps " << b.key;
        }
    }

    const auto profile = CheckKeys("Profile.ini", ProfileSkinKeys());
    for (size_t i = 0; i < profile.size(); ++i)
        for (size_t j = i + 1; j < profile.size(); ++j)
            EXPECT_FALSE(Overlap(profile[i].rect, profile[j].rect))
                << profile[i].key << " / " << profile[j].key;
}

TEST(SkinLayout, EveryPictureIsShipped) {
    orvane::testing::TestApp();
    std::vector<std::string> files;
    for (int f = 0; f < MAIN_FACES; ++f)
        files.push_back(std::string(MainFaceFile(MainFace(f))).substr(6)); // drop "Skins/"
    for (const char* set : {"key", "media", "function", "macro", "macro2"})
        for (const char* state : {"normal", "over", "down"})
            files.push_back(std::string(set) + "_" + state + ".jpg");
    files.push_back("macro_disable.jpg");
    files.push_back("macro2_disable.jpg");
    for (const char* state : {"normal", "over", "down"})
        files.push_back(std::string("Profile_") + state + ".jpg");
    for (const char* name :
         {"dengup", "dengdown", "leftup",   "leftdown", "rightup",    "rightdown", "upup",
          "updown", "downup",   "downdown", "julong",   "julongdown", "kuosan",    "kuosandown",
          "hong",   "hongok",   "huang",    "huangok",  "lv",         "lvok",      "lan",
          "lanok",  "sjsup",    "sjsdown",  "user1up",  "user1down",  "user2up",   "user2down"})
        files.push_back(std::string(name) + ".bmp");
    for (int i = 1; i <= 10; ++i)
        files.push_back("jdt" + std::to_string(i) + ".bmp");
    for (int i = 0; i <= 25; ++i)
        files.push_back(std::to_string(i) + ".bmp");
    for (int i = 1; i <= 8; ++i)
        files.push_back("Color" + std::to_string(i) + ".bmp");
    for (const char* icon : {"Icon128.png", "Icon141.png", "Icon142.png"})
        files.push_back(icon);

    // Whole-window faces share the size of their window's background.
    const QImage mainBg(
        QString::fromStdString(kSkins + IniReadString(kSkins + "Main.ini", "SCREEN", "Main", "")));
    for (const std::string& f : files) {
        QImage img(QString::fromStdString(kSkins + f));
        EXPECT_FALSE(img.isNull()) << f;
        if (f.rfind("main_", 0) == 0) {
            EXPECT_EQ(img.size(), mainBg.size()) << f;
        }
    }
}

TEST(SkinLayout, UserDataTemplateCoversEveryLed) {
    const std::string file = kSkins + "UserDengColor_3.userd";
    std::set<int> leds = {110, 125};
    // Every key slot's LED: the lighting matrix positions that carry a key.
    const std::set<int> noKey = {13, 17, 18,  19,  20,  75,  77,  78,  79,
                                 83, 98, 100, 114, 115, 116, 117, 118, 122};
    for (int led = 0; led < 125; ++led)
        if (!noKey.count(led) && led != 110) leds.insert(led);
    ASSERT_EQ(leds.size(), 106u + 2u);
    for (int set = 0; set < 3; ++set) {
        const std::string section = "Mode" + std::to_string(set);
        for (int led : leds) {
            const std::string v = IniReadString(file, section, std::to_string(led), "");
            int r = -1, g = -1, b = -1, flag = -1;
            EXPECT_EQ(std::sscanf(v.c_str(), "%d,%d,%d,%d", &r, &g, &b, &flag), 4)
                << section << " LED " << led;
            EXPECT_TRUE(r >= 0 && r <= 255 && g >= 0 && g <= 255 && b >= 0 && b <= 255) << v;
        }
        EXPECT_EQ(IniReadString(file, section, "tool", ""), "0");
        EXPECT_FALSE(IniReadString(file, section, "jcolor", "").empty());
        EXPECT_FALSE(IniReadString(file, section, "color", "").empty());
        EXPECT_FALSE(IniReadString(file, "MODENAME", std::to_string(set), "").empty());
    }
    EXPECT_EQ(IniReadString(file, "PRESENTMODE", "mode", ""), "0");
}

} // namespace
} // namespace orvane
