#include "ui/TrayIcons.h"

#include <QFile>

#include "services/PathTable.h"

namespace orvane {

QString TrayIconPath(const QString& skinFolder, int iconResource) {
    return skinFolder + QStringLiteral("Icon%1.png").arg(iconResource);
}

QIcon LoadTrayIcon(int iconResource) {
    const QString path = TrayIconPath(QString::fromStdString(Paths().SkinFolder), iconResource);
    return QFile::exists(path) ? QIcon(path) : QIcon();
}

} // namespace orvane
