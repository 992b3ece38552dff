#pragma once
// The tray icons (resources 128, 141, 142) ship as PNG files in the skin
// folder, drawn with the rest of the artwork.
#include <QIcon>
#include <QString>

namespace orvane {

// "<skin folder>Icon<id>.png"; a null icon when the file is missing.
QString TrayIconPath(const QString& skinFolder, int iconResource);
QIcon LoadTrayIcon(int iconResource);

} // namespace orvane
