#pragma once
// On sway a program's own move() of a top-level window is ignored and a new
// floating window is centred on its output. There the key dialog is moved
// beside its key through sway's IPC, off the GUI thread.
#include <optional>
#include <QByteArray>
#include <QRect>
#include <QString>
#include <string>

class QWidget;

namespace orvane {

// A window in sway's tree: its container's id, its content in layout
// coordinates and the content's offset inside the container (a border).
struct SwayWindow {
    qint64 id = 0;
    QRect content;
    QPoint inset;
};

struct SwayMainWindow {
    SwayWindow window;
    QRect area; // the usable area of its workspace (without bars)
};

// The widest window of process `pid` titled `title` in a tree (GET_TREE's
// reply), with its workspace's area.
std::optional<SwayMainWindow> FindSwayMainWindow(const QByteArray& tree, qint64 pid, const QString& title);

// The newest window of process `pid` other than `exceptId` whose content has
// `size`, in a tree or in a window event (its container).
std::optional<SwayWindow> FindSwayDialog(const QByteArray& json, qint64 pid, qint64 exceptId,
                                         const QSize& size);

// The command that moves `dialog` beside the key at `keyInWindow` (relative
// to the main window's content), on the side where it fits in the area.
std::string SwayMoveCommand(const SwayMainWindow& main, const SwayWindow& dialog, const QRect& keyInWindow);

struct SwayPlacementRequest {
    std::string socket; // $SWAYSOCK
    qint64 pid = 0;
    QString mainTitle;
    QRect keyInWindow;
    QSize dialogSize;
};

// The request when this program runs natively on sway, else nothing.
std::optional<SwayPlacementRequest> SwayPlacementFor(const QWidget& mainWindow, const QRect& keyOnScreen,
                                                     const QSize& dialogSize);

// Moves the dialog once sway has mapped it, on a thread of its own that ends
// by itself; where sway cannot be reached it leaves the dialog as it is.
void PlaceOnSway(SwayPlacementRequest request);

} // namespace orvane
