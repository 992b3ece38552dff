#include <gtest/gtest.h>

#include "dialogs/SwayPlacement.h"

using namespace orvane;

namespace {

const QString kTitle = QStringLiteral("Orvane Keyboard Settings");
constexpr qint64 kPid = 77;

// Two outputs: on the second another program has a wider window of the same
// title; on the first, below a bar, the main window, a narrower window of
// the same title, the dialog with a border, and another program's window of
// the dialog's size made later.
const QByteArray kTree = R"({"id": 1, "type": "root", "rect": {"x": 0, "y": 0, "width": 3200, "height": 1000},
 "nodes": [
  {"id": 2, "type": "output", "rect": {"x": 1600, "y": 0, "width": 1600, "height": 1000}, "nodes": [
   {"id": 20, "type": "workspace", "rect": {"x": 1600, "y": 0, "width": 1600, "height": 1000}, "nodes": [
    {"id": 3, "type": "con", "pid": 12, "name": "Orvane Keyboard Settings",
     "rect": {"x": 1600, "y": 0, "width": 1600, "height": 1000}}]}]},
  {"id": 4, "type": "output", "rect": {"x": 0, "y": 0, "width": 1600, "height": 1000}, "nodes": [
   {"id": 40, "type": "workspace", "rect": {"x": 0, "y": 0, "width": 1600, "height": 970}, "nodes": [],
    "floating_nodes": [
     {"id": 5, "type": "floating_con", "pid": 77, "name": "Orvane Keyboard Settings",
      "rect": {"x": 40, "y": 30, "width": 1200, "height": 760},
      "window_rect": {"x": 0, "y": 0, "width": 1200, "height": 760}},
     {"id": 6, "type": "floating_con", "pid": 77, "name": "Orvane Keyboard Settings",
      "rect": {"x": 0, "y": 0, "width": 300, "height": 200}},
     {"id": 9, "type": "floating_con", "pid": 77, "name": null,
      "rect": {"x": 478, "y": 223, "width": 644, "height": 524},
      "window_rect": {"x": 2, "y": 2, "width": 640, "height": 520}},
     {"id": 11, "type": "floating_con", "pid": 12, "name": null,
      "rect": {"x": 0, "y": 0, "width": 640, "height": 520}}]}]}]})";

TEST(SwayPlacement, FindsTheMainWindowAndTheDialogInTheTree) {
    const std::optional<SwayMainWindow> main = FindSwayMainWindow(kTree, kPid, kTitle);
    ASSERT_TRUE(main);
    EXPECT_EQ(main->window.id, 5);
    EXPECT_EQ(main->window.content, QRect(40, 30, 1200, 760));
    EXPECT_EQ(main->area, QRect(0, 0, 1600, 970));

    const std::optional<SwayWindow> dialog = FindSwayDialog(kTree, kPid, 5, QSize(640, 520));
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->id, 9);
    EXPECT_EQ(dialog->content, QRect(480, 225, 640, 520));
    EXPECT_EQ(dialog->inset, QPoint(2, 2));

    // A window event names the dialog in its container.
    const QByteArray event = R"({"change": "new", "container": {"id": 14, "type": "floating_con", "pid": 77,
        "rect": {"x": 480, "y": 225, "width": 640, "height": 520}}})";
    ASSERT_TRUE(FindSwayDialog(event, kPid, 5, QSize(640, 520)));
    EXPECT_EQ(FindSwayDialog(event, kPid, 5, QSize(640, 520))->id, 14);

    EXPECT_FALSE(FindSwayDialog(kTree, kPid, 5, QSize(500, 400)));
    EXPECT_FALSE(FindSwayMainWindow(kTree, 99, kTitle));
    EXPECT_FALSE(FindSwayMainWindow("{\"nodes\": [", kPid, kTitle));
    EXPECT_FALSE(FindSwayDialog("[1, 2]", kPid, 5, QSize(640, 520)));
}

TEST(SwayPlacement, MovesTheDialogBesideItsKeyWithinTheWorkspace) {
    const SwayMainWindow main = *FindSwayMainWindow(kTree, kPid, kTitle);
    const SwayWindow dialog = *FindSwayDialog(kTree, kPid, 5, QSize(640, 520));
    // Right-below where it fits; near the bar, above and to the left. The
    // border is taken off so the dialog's content lands there.
    EXPECT_EQ(SwayMoveCommand(main, dialog, QRect(222, 269, 40, 40)),
              "[con_id=9] move absolute position 300 337");
    EXPECT_EQ(SwayMoveCommand(main, dialog, QRect(1100, 700, 40, 40)),
              "[con_id=9] move absolute position 498 208");
}

} // namespace
