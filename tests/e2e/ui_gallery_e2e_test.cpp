// The skinned controls in a real X session (Xvfb with a window manager),
// driven by real key presses: Tab walks every control of the ui-gallery
// window and comes back, Space clicks the focused button.
#include <algorithm>
#include <gtest/gtest.h>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <set>

#include "support/TempDir.h"

using orvane::testing::CTempDir;
using orvane::testing::ReadText;

namespace {

const QString kGallery = QStringLiteral(ORVANE_BIN_DIR "/../tools/bin/ui-gallery");

// One process of the session, ended when the test ends.
class CChild {
  public:
    ~CChild() {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.terminate();
            if (!m_process.waitForFinished(3000)) m_process.kill();
            m_process.waitForFinished(3000);
        }
    }
    QProcess& operator*() { return m_process; }
    QProcess* operator->() { return &m_process; }

  private:
    QProcess m_process;
};

class UiGalleryE2eTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* tool : {"Xvfb", "openbox", "xdotool"})
            if (QStandardPaths::findExecutable(tool).isEmpty()) GTEST_SKIP() << tool << " is not installed";
        // -displayfd: the server picks a free display and tells it, so
        // parallel runs never share one.
        m_xvfb->start("Xvfb", {"-displayfd", "1", "-screen", "0", "1100x1300x24", "-nolisten", "tcp"});
        ASSERT_TRUE(m_xvfb->waitForReadyRead(15000));
        m_display = ":" + QString::fromLatin1(m_xvfb->readLine()).trimmed();
        m_env = QProcessEnvironment::systemEnvironment();
        m_env.insert("DISPLAY", m_display);
        m_env.remove("QT_QPA_PLATFORM");
        m_env.remove("WAYLAND_DISPLAY");
        m_wm->setProcessEnvironment(m_env);
        m_wm->start("openbox", {"--sm-disable"});
        ASSERT_TRUE(m_wm->waitForStarted(5000));
    }
    // Runs xdotool on the session; its output.
    QString XDoTool(const QStringList& args) {
        QProcess x;
        x.setProcessEnvironment(m_env);
        x.start("xdotool", args);
        EXPECT_TRUE(x.waitForFinished(15000));
        return QString::fromLatin1(x.readAllStandardOutput()).trimmed();
    }
    std::vector<std::string> TraceLines() {
        std::vector<std::string> lines;
        std::string text = ReadText(m_trace), line;
        for (char c : text) {
            if (c == '\n') {
                lines.push_back(line);
                line.clear();
            } else {
                line += c;
            }
        }
        return lines;
    }

    CChild m_xvfb, m_wm, m_gallery;
    QString m_display;
    QProcessEnvironment m_env;
    CTempDir m_dir;
    std::string m_trace = m_dir.File("trace");
};

TEST_F(UiGalleryE2eTest, TabWalksEveryControlAndSpaceClicks) {
    m_gallery->setProcessEnvironment(m_env);
    m_gallery->start(kGallery, {"--show", ORVANE_BIN_DIR, QString::fromStdString(m_trace)});
    ASSERT_TRUE(m_gallery->waitForStarted(5000));
    const QString window = XDoTool({"search", "--sync", "--name", "Orvane controls"}).section('\n', 0, 0);
    ASSERT_FALSE(window.isEmpty());
    XDoTool({"windowactivate", "--sync", window});

    XDoTool({"key", "--delay", "20", "Tab", "space"});
    QStringList tabs;
    for (int i = 0; i < 70; ++i)
        tabs << "Tab";
    XDoTool(QStringList{"key", "--delay", "20"} + tabs);
    // The keys are handled a little after xdotool returns: wait until the
    // walk has come round (at most a few seconds), then judge.
    std::vector<std::string> lines;
    for (int i = 0; i < 100; ++i) {
        lines = TraceLines();
        if (std::count(lines.begin(), lines.end(), "focus A: Macro 1") >= 2) break;
        QProcess::execute("sleep", {"0.1"});
    }
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
