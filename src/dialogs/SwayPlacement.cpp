#include "dialogs/SwayPlacement.h"

#include <chrono>
#include <cstdlib>
#include <functional>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QWidget>
#include <thread>

#include "dialogs/CompositePlacement.h"
#include "platform/SwayIpc.h"

namespace orvane {

namespace {

// How long sway may take to map the dialog after it was shown.
constexpr auto kMapWait = std::chrono::seconds(2);

QRect RectOf(const QJsonValue& value) {
    const QJsonObject r = value.toObject();
    return {r.value("x").toInt(), r.value("y").toInt(), r.value("width").toInt(), r.value("height").toInt()};
}

SwayWindow WindowOf(const QJsonObject& node) {
    const QRect rect = RectOf(node.value("rect"));
    SwayWindow window;
    window.id = node.value("id").toInteger();
    if (node.contains("window_rect")) {
        const QRect inner = RectOf(node.value("window_rect"));
        window.inset = inner.topLeft();
        window.content = inner.translated(rect.topLeft());
    } else {
        window.content = rect;
    }
    return window;
}

// Calls `visit` for `node` and every node below it, with the area of the
// workspace it is on (empty above the workspaces). An event's container
// counts as a node below the event.
void Walk(const QJsonObject& node, QRect area, const std::function<void(const QJsonObject&, QRect)>& visit) {
    if (node.value("type").toString() == QLatin1String("workspace")) area = RectOf(node.value("rect"));
    visit(node, area);
    for (const char* key : {"nodes", "floating_nodes"})
        for (const QJsonValue& child : node.value(key).toArray())
            Walk(child.toObject(), area, visit);
    if (node.contains("container")) Walk(node.value("container").toObject(), area, visit);
}

QJsonObject Parse(const QByteArray& json) {
    return QJsonDocument::fromJson(json).object();
}

bool OfProcess(const QJsonObject& node, qint64 pid) {
    return node.value("pid").toInteger(-1) == pid;
}

void Place(const SwayPlacementRequest& request) {
    CSwayIpc commands;
    CSwayIpc events;
    if (!commands.Connect(request.socket)) return;
    // Subscribed before the tree is read, so the dialog is either in the
    // tree or announced by an event.
    const bool following = events.Connect(request.socket) && events.Subscribe(R"(["window"])");
    const std::optional<std::string> tree = commands.Request(kSwayGetTree, {});
    if (!tree) return;
    const QByteArray treeJson = QByteArray::fromStdString(*tree);
    const std::optional<SwayMainWindow> main = FindSwayMainWindow(treeJson, request.pid, request.mainTitle);
    if (!main) return;
    std::optional<SwayWindow> dialog =
        FindSwayDialog(treeJson, request.pid, main->window.id, request.dialogSize);
    const auto deadline = std::chrono::steady_clock::now() + kMapWait;
    while (!dialog && following && std::chrono::steady_clock::now() < deadline) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        const std::optional<SwayMessage> event = events.NextEvent(static_cast<int>(left.count()));
        if (!event) break;
        dialog = FindSwayDialog(QByteArray::fromStdString(event->payload), request.pid, main->window.id,
                                request.dialogSize);
    }
    if (dialog) commands.Request(kSwayRunCommand, SwayMoveCommand(*main, *dialog, request.keyInWindow));
}

} // namespace

std::optional<SwayMainWindow> FindSwayMainWindow(const QByteArray& tree, qint64 pid, const QString& title) {
    std::optional<SwayMainWindow> found;
    Walk(Parse(tree), QRect(), [&](const QJsonObject& node, QRect area) {
        if (!OfProcess(node, pid) || node.value("name").toString() != title) return;
        const SwayWindow window = WindowOf(node);
        if (!found || window.content.width() > found->window.content.width())
            found = SwayMainWindow{window, area};
    });
    return found;
}

std::optional<SwayWindow> FindSwayDialog(const QByteArray& json, qint64 pid, qint64 exceptId,
                                         const QSize& size) {
    std::optional<SwayWindow> found;
    Walk(Parse(json), QRect(), [&](const QJsonObject& node, QRect) {
        if (!OfProcess(node, pid)) return;
        const SwayWindow window = WindowOf(node);
        // sway numbers containers in the order they were made.
        if (window.id != exceptId && window.content.size() == size && (!found || window.id > found->id))
            found = window;
    });
    return found;
}

std::string SwayMoveCommand(const SwayMainWindow& main, const SwayWindow& dialog, const QRect& keyInWindow) {
    const QRect key = keyInWindow.translated(main.window.content.topLeft());
    const QRect area = main.area.isEmpty() ? main.window.content : main.area;
    const QPoint at = CompositePosition(key, dialog.content.size(), area) - dialog.inset;
    // "absolute": layout coordinates, as the tree gives them.
    return "[con_id=" + std::to_string(dialog.id) + "] move absolute position " + std::to_string(at.x()) +
           " " + std::to_string(at.y());
}

std::optional<SwayPlacementRequest> SwayPlacementFor(const QWidget& mainWindow, const QRect& keyOnScreen,
                                                     const QSize& dialogSize) {
    const char* socket = std::getenv("SWAYSOCK");
    if (!socket || !*socket || QGuiApplication::platformName() != QLatin1String("wayland"))
        return std::nullopt;
    SwayPlacementRequest request;
    request.socket = socket;
    request.pid = QCoreApplication::applicationPid();
    request.mainTitle = mainWindow.windowTitle();
    request.keyInWindow = keyOnScreen.translated(-mainWindow.mapToGlobal(QPoint(0, 0)));
    request.dialogSize = dialogSize;
    return request;
}

void PlaceOnSway(SwayPlacementRequest request) {
    // Never joined: it touches nothing but its own copy of the request and
    // ends within the waits above.
    std::thread([request = std::move(request)] { Place(request); }).detach();
}

} // namespace orvane
