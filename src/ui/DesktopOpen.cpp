#include "ui/DesktopOpen.h"

#include <QUrl>

#include "services/Language.h"
#include "services/PathTable.h"
#include "services/Prompt.h"
#include "ui/HyperLink.h"

namespace orvane {

QString HelpPagePath() {
    return QString::fromStdString(Paths().HelpFolder) + QStringLiteral("index.html");
}

bool OpenHelpPage() {
    const QString page = HelpPagePath();
    if (CHyperLink::OpenWithShell(QUrl::fromLocalFile(page).toString()) == kLinkOpened) return true;
    Prompt().MessageBox(FormatTextString(Text("HELP_OPEN_FAILED"), page.toStdString()), "",
                        MB_OK | MB_ICONWARNING);
    return false;
}

bool OpenWebAddress(const QString& address) {
    if (CHyperLink::OpenWithShell(address) == kLinkOpened) return true;
    Prompt().MessageBox(FormatTextString(Text("LINK_OPEN_FAILED"), address.toStdString()), "",
                        MB_OK | MB_ICONWARNING);
    return false;
}

} // namespace orvane
