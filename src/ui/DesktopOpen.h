#pragma once
// Opening the help page and web addresses with the desktop. Where nothing on
// this system opens them the user is told what is missing, instead of a
// click that does nothing.
#include <QString>

namespace orvane {

// The help page beside the program, as a file path.
QString HelpPagePath();
// Opens the help page; says what is missing, with the page's path, when
// nothing opens it. True when it was opened.
bool OpenHelpPage();
// Opens a web address; says what is missing when nothing opens it.
bool OpenWebAddress(const QString& address);

} // namespace orvane
