// The skinned controls in a real X session (Xvfb with a window manager),
// driven by real key presses: Tab walks every control of the ui-gallery
// window and comes back, Space clicks the focused button.
#include <algorithm>
#include <gtest/gtest.h>
#include <set>

#include "support/Programs.h"
#include "support/TempDir.h"

using orvane::testing::CTempDir;
using orvane::testing::ReadText;

namespace {

const std::string kGallery = ORVANE_BIN_DIR "/../tools/bin/ui-gallery";

class UiGalleryE2eTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(m_x.Ok()) << m_x.Problem(); }
    // Runs xdotool on the session; the first line of its output.
    std::string XDoTool(const std::string& args) {
        const std::string out = orvane::testing::Shell(m_x.DisplayEnv() + " xdotool " + args).out;
        return out.substr(0, out.find('\n'));
    }

    orvane::testing::CXSession m_x{true, "1100x1300x24"};
    CTempDir m_dir;
    std::string m_trace = m_dir.File("trace");
};

TEST_F(UiGalleryE2eTest, TabWalksEveryControlAndSpaceClicks) {
    orvane::testing::CChild gallery({"env", "-u", "WAYLAND_DISPLAY", m_x.DisplayEnv(), "QT_QPA_PLATFORM=xcb",
                                     kGallery, "--show", ORVANE_BIN_DIR, m_trace});
    std::string window;
    ASSERT_TRUE(orvane::testing::WaitFor([&] {
        window = XDoTool("search --onlyvisible --name 'Orvane controls'");
        return !window.empty() || !gallery.Running();
    }));
    ASSERT_TRUE(gallery.Running());
    XDoTool("windowactivate --sync " + window);

    XDoTool("key --delay 20 Tab space");
    std::string tabs;
    for (int i = 0; i < 70; ++i)
        tabs += " Tab";
    XDoTool("key --delay 20" + tabs);
    // The keys are handled a little after xdotool returns: wait until the
    // walk has come round, then judge.
    std::vector<std::string> lines;
    orvane::testing::WaitFor([&] {
        lines = orvane::testing::Lines(ReadText(m_trace));
        return std::count(lines.begin(), lines.end(), "focus A: Macro 1") >= 2;
    });
    ASSERT_GE(lines.size(), 3u);
    // Space clicked the button Tab had just focused (a key of the first group).
    const auto click = std::find_if(lines.begin(), lines.end(),
                                    [](const std::string& l) { return l.rfind("click ", 0) == 0; });
    ASSERT_NE(click, lines.end());
    ASSERT_NE(click, lines.begin());
    EXPECT_EQ("focus " + click->substr(6), *(click - 1));
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& l) { return l.rfind("click ", 0) == 0; }),
              1);
    // The walk passes every kind of control and comes back to the first.
    std::set<std::string> seen(click + 1, lines.end());
    for (const char* name :
         {"focus Space", "focus Profile 1", "focus Default", "focus Apply", "focus Brightness", "focus Speed",
          "focus Colour 1", "focus Colour 2", "focus https://example.org/ (link)",
          "focus https://example.org/ (visited)", "focus Macro actions", "focus A: Macro 1"})
        EXPECT_TRUE(seen.count(name)) << name;
    EXPECT_FALSE(seen.count("focus Colour 3")); // disabled
}

} // namespace
