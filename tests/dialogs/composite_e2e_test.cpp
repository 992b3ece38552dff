// The key-assignment dialog with real windows and real input: a key of the
// picture is clicked, the dialog opens beside it, a key is pressed or a
// choice made, OK and Apply send it, and the keyboard's key matrix carries
// it; reopening shows what was stored, and no key stays grabbed.
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <span>
#include <sstream>

#include "device/DefaultKeyMatrix.h"
#include "device/DeviceCommands.h"
#include "model/KeyTables.h"
#include "model/MacroBlock.h"
#include "model/MacroRecord.h"
#include "support/Programs.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace orvane::test {
namespace {

struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
    int cx() const { return x + w / 2; }
    int cy() const { return y + h / 2; }
};

std::vector<std::string> Lines(const std::string& path) {
    return testing::Lines(testing::ReadText(path));
}

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;)
        words.push_back(w);
    return words;
}

Rect RectAt(const std::vector<std::string>& w, size_t first) {
    return {std::stoi(w.at(first)), std::stoi(w.at(first + 1)), std::stoi(w.at(first + 2)),
            std::stoi(w.at(first + 3))};
}

// The host's status file: lines appear as the host acts.
class CStatusFile {
  public:
    explicit CStatusFile(std::string path) : m_path(std::move(path)) {}
    // The n-th (1-based) line starting with `prefix`, waiting for it; empty
    // when it does not come.
    std::string Wait(const std::string& prefix, int n = 1) const {
        std::string found;
        testing::WaitFor([&] {
            int seen = 0;
            for (const std::string& line : Lines(m_path))
                if (line.rfind(prefix, 0) == 0 && ++seen == n) return !(found = line).empty();
            return false;
        });
        return found;
    }
    int Count(const std::string& prefix) const {
        int seen = 0;
        for (const std::string& line : Lines(m_path))
            seen += line.rfind(prefix, 0) == 0;
        return seen;
    }
    // The controls of the last described dialog.
    std::map<int, Rect> Controls() const {
        std::map<int, Rect> controls;
        for (const std::string& line : Lines(m_path))
            if (line.rfind("control ", 0) == 0) {
                const auto w = Words(line);
                controls[std::stoi(w[1])] = RectAt(w, 2);
            }
        return controls;
    }

  private:
    std::string m_path;
};

// Calls `take(offset, bytes)` for each write of `command` in the wire trace, in order.
template <class Take> void ForEachWrite(const std::string& trace, uint8_t command, Take take) {
    for (const std::string& line : Lines(trace)) {
        if (line.rfind("> ", 0) != 0) continue;
        std::vector<uint8_t> r;
        for (const std::string& hex : Words(line.substr(2)))
            r.push_back(static_cast<uint8_t>(std::stoi(hex, nullptr, 16)));
        if (r.size() != 64 || r[3] != command) continue;
        take(static_cast<size_t>(r[5] | r[6] << 8), std::span(r).subspan(8, std::min<size_t>(r[4], 56)));
    }
}

// The key matrix the keyboard last received for `profile`.
std::vector<uint8_t> SentMatrix(const std::string& trace, int profile) {
    constexpr size_t kLength = 512; // the 128-key model
    const size_t first = static_cast<size_t>(profile) * kLength;
    std::vector<uint8_t> matrix(kLength, 0);
    ForEachWrite(trace, CMD_WRITE_KEY_MATRIX, [&](size_t offset, std::span<const uint8_t> bytes) {
        for (size_t at = offset; at < offset + bytes.size(); ++at)
            if (at >= first && at < first + kLength) matrix[at - first] = bytes[at - offset];
    });
    return matrix;
}

// The macro memory image the keyboard last received.
std::vector<uint8_t> SentMacroMemory(const std::string& trace) {
    std::vector<uint8_t> image;
    ForEachWrite(trace, CMD_WRITE_MACRO_MEMORY, [&](size_t offset, std::span<const uint8_t> bytes) {
        if (image.size() < offset + bytes.size()) image.resize(offset + bytes.size());
        std::copy(bytes.begin(), bytes.end(), image.begin() + static_cast<std::ptrdiff_t>(offset));
    });
    return image;
}

DeviceKeyCode CodeAtKey(const std::vector<uint8_t>& matrix, ScanCode key) {
    const KeyMatrixBuffer& factory = BuiltInDefaultKeyMatrix();
    for (size_t p = 0; p + 2 < matrix.size(); p += 3)
        if (DeviceKeyCodeToScanCode(factory[p], factory[p + 1], factory[p + 2]) == key)
            return {matrix[p], matrix[p + 1], matrix[p + 2]};
    ADD_FAILURE() << "no position for key " << key;
    return {};
}

// The host window over the simulated keyboard on a private X server, with
// its program folder, home, wire trace and status file; up, with the key
// buttons of A S D F and the keyboard's active profile known.
class CompositeEndToEnd : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(x.Ok()) << x.Problem();
        fs::create_directory_symlink(std::string(ORVANE_BIN_DIR) + "/Skins", program.File("Skins"));
        fs::copy_file(std::string(ORVANE_SOURCE_DIR) + "/assets/Lang0409.ini", program.File("Lang0409.ini"));
        host = std::make_unique<testing::CChild>(
            std::vector<std::string>{COMPOSITE_HOST, program.Path(), trace, program.File("status")},
            std::vector<std::string>{x.DisplayEnv(), "QT_QPA_PLATFORM=xcb", "XDG_DATA_HOME=" + home.Data(),
                                     "XDG_CONFIG_HOME=" + home.Config(),
                                     "XDG_RUNTIME_DIR=" + home.Runtime()});
        ASSERT_FALSE(status.Wait("ready").empty()) << "the host window did not come up";
        for (ScanCode code : {0x1E, 0x1F, 0x20, 0x21}) {
            const int id = KeySlotAt(KeySlotOfScanCode(code))->controlId;
            for (int n = 1; n <= 4; ++n) {
                const auto w = Words(status.Wait("button ", n));
                if (std::stoi(w[1]) == id) keys[code] = RectAt(w, 2);
            }
        }
        ASSERT_EQ(keys.size(), 4u);
        profile = std::stoi(Words(status.Wait("profile"))[1]);
        ASSERT_GE(profile, 0);
    }

    testing::CXSession x;
    testing::CTempDir program;
    testing::CTempHome home;
    const std::string trace = program.File("wire.trace");
    CStatusFile status{program.File("status")};
    std::unique_ptr<testing::CChild> host;
    std::map<ScanCode, Rect> keys;
    int profile = -1;
};

TEST_F(CompositeEndToEnd, RemapsReachTheKeyboardAndNoKeyStaysGrabbed) {
    int opened = 0;
    auto open = [&](ScanCode key) {
        x.Click(keys[key].cx(), keys[key].cy());
        const auto w = Words(status.Wait("dialog ", ++opened));
        EXPECT_FALSE(w.empty()) << "no dialog for key " << key;
        status.Wait("described", opened);
        return w;
    };
    int closed = 0;
    auto close = [&](int button) {
        const Rect r = status.Controls()[button];
        x.Click(r.cx(), r.cy());
        const std::string line = status.Wait("closed ", ++closed);
        EXPECT_EQ(line, "closed free") << "a key stays grabbed";
    };
    auto wheel = [&](int control, int steps) {
        const Rect r = status.Controls()[control];
        x.Click(r.cx(), r.cy(), 5, steps);
    };

    // A: press B. The dialog opens right-below A's button and holds the keyboard.
    auto w = open(0x1E);
    ASSERT_FALSE(w.empty());
    const Rect dialog = RectAt(w, 1);
    EXPECT_EQ(dialog.x, keys[0x1E].x + keys[0x1E].w);
    EXPECT_EQ(dialog.y, keys[0x1E].y + keys[0x1E].h);
    EXPECT_EQ(w.back(), "1") << "the Key tab holds the keyboard";
    // Keys the desktop would take for itself are captured too; the window
    // manager does not switch windows on Alt+Tab. Each captured key moves the
    // focus on; Shift+Tab goes back into the key field.
    x.Xdo({"key", "alt+Tab"});
    EXPECT_EQ(status.Wait("captured Tab"), "captured Tab");
    x.Xdo({"key", "shift+Tab"});
    x.Xdo({"key", "super"});
    EXPECT_EQ(status.Wait("captured Win"), "captured Win");
    x.Xdo({"key", "shift+Tab"});
    x.Xdo({"key", "b"});
    EXPECT_EQ(status.Wait("captured B"), "captured B");
    close(1);

    // S: the right mouse button.
    open(0x1F);
    auto c = status.Controls();
    x.Click(c[1186].cx(), c[1186].cy());
    wheel(1187, 1);
    close(1);

    // D: the seventh media key; F: the fourth keyboard function.
    open(0x20);
    c = status.Controls();
    x.Click(c[1030].cx(), c[1030].cy());
    wheel(1128, 6);
    close(1);
    open(0x21);
    c = status.Controls();
    x.Click(c[1031].cx(), c[1031].cy());
    wheel(1129, 3);
    close(1);

    // The window's Apply sends the active profile's key matrix.
    const auto apply = Words(status.Wait("apply "));
    x.Click(RectAt(apply, 1).cx(), RectAt(apply, 1).cy());
    EXPECT_EQ(status.Wait("applied"), "applied 1 1");
    const std::vector<uint8_t> matrix = SentMatrix(trace, profile);
    EXPECT_EQ(CodeAtKey(matrix, 0x1E), ScanCodeToDeviceKeyCode(0x30));
    EXPECT_EQ(CodeAtKey(matrix, 0x1F), (DeviceKeyCode{1, 1, 2}));
    EXPECT_EQ(CodeAtKey(matrix, 0x20), MediaNumberToDeviceKeyCode(6));
    EXPECT_EQ(CodeAtKey(matrix, 0x21), (DeviceKeyCode{5, 5, 3}));

    // Reopened, each key shows what it got.
    open(0x1E);
    EXPECT_EQ(status.Wait("edit ", opened), "edit B");
    close(2);
    // The tab (Key, Media, Function) and the row of its list: the status
    // line's words after "tab", and after "mouse", "media" or "function".
    struct Shown {
        ScanCode key;
        const char* tab;
        size_t rowWord;
        const char* row;
    };
    for (const Shown& shown :
         {Shown{0x1F, "2", 10, "1"}, Shown{0x20, "7", 12, "6"}, Shown{0x21, "8", 14, "3"}}) {
        SCOPED_TRACE(shown.key);
        w = open(shown.key);
        EXPECT_EQ(w.at(8), shown.tab);
        EXPECT_EQ(w.at(shown.rowWord), shown.row);
        close(2);
    }

    // S disabled on its Key tab: the next Apply sends no code for it.
    open(0x1F);
    c = status.Controls();
    x.Click(c[1204].cx(), c[1204].cy());
    close(1);
    x.Click(RectAt(apply, 1).cx(), RectAt(apply, 1).cy());
    EXPECT_EQ(status.Wait("applied", 2), "applied 1 1");
    EXPECT_EQ(CodeAtKey(SentMatrix(trace, profile), 0x1F), (DeviceKeyCode{0, 0, 0}));

    // Typed keys go to whatever has the focus again.
    const auto notes = Words(status.Wait("notes "));
    x.Click(RectAt(notes, 1).cx(), RectAt(notes, 1).cy());
    x.Xdo({"type", "--delay", "20", "ok"});
    EXPECT_EQ(status.Wait("typed ok"), "typed ok");
}

// A macro recorded from real key presses in the Macro tab reaches the
// keyboard's macro memory, and the key plays it.
TEST_F(CompositeEndToEnd, RecordedMacroReachesTheKeyboard) {
    x.Click(keys[0x1E].cx(), keys[0x1E].cy());
    ASSERT_NE(status.Wait("described"), "");
    auto c = status.Controls();
    x.Click(c[1029].cx(), c[1029].cy()); // Macro tab
    x.Click(c[1017].cx(), c[1017].cy()); // add
    x.Click(c[1020].cx(), c[1020].cy()); // record
    x.Xdo({"type", "--delay", "30", "abc"});
    x.Click(c[1020].cx(), c[1020].cy()); // stop
    x.Click(c[1125].cx(), c[1125].cy());
    x.Xdo({"key", "ctrl+a"});
    x.Xdo({"type", "3"});
    x.Click(c[1].cx(), c[1].cy()); // OK
    EXPECT_EQ(status.Wait("closed "), "closed free") << "a key stays grabbed";

    const auto apply = Words(status.Wait("apply "));
    x.Click(RectAt(apply, 1).cx(), RectAt(apply, 1).cy());
    EXPECT_EQ(status.Wait("applied"), "applied 1 1");

    const std::vector<uint8_t> image = SentMacroMemory(trace);
    MacroList macros;
    ASSERT_GT(DecodeMacroBlock(image.data(), image.size(), macros), 0);
    ASSERT_EQ(macros.size(), 1u);
    EXPECT_EQ(macros[0].repeat, 3);
    std::vector<std::pair<ScanCode, uint16_t>> actions;
    for (size_t i = 0; i < MacroActionCount(macros[0]); ++i)
        actions.emplace_back(macros[0].actions[i].scanCode, macros[0].actions[i].transition);
    const std::vector<std::pair<ScanCode, uint16_t>> typed{{0x1E, kActionPress}, {0x1E, kActionRelease},
                                                           {0x30, kActionPress}, {0x30, kActionRelease},
                                                           {0x2E, kActionPress}, {0x2E, kActionRelease}};
    EXPECT_EQ(actions, typed);
    // A plays the first macro of the list.
    EXPECT_EQ(CodeAtKey(SentMatrix(trace, profile), 0x1E), (DeviceKeyCode{5, 1, 0}));
}

} // namespace
} // namespace orvane::test
