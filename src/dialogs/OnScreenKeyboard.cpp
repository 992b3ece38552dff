#include "dialogs/OnScreenKeyboard.h"

#include <cstdlib>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

#include "platform/Processes.h"

namespace orvane {

std::string StartOnScreenKeyboard(const std::string& searchPath) {
    static const char* const kKeyboards[] = {"onboard", "florence"};
    for (const char* name : kKeyboards)
        if (ProgramRunning(name)) return name;
    std::string path = searchPath;
    if (path.empty())
        if (const char* env = std::getenv("PATH")) path = env;
    const QStringList folders = QString::fromStdString(path).split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const char* name : kKeyboards) {
        const QString program = QStandardPaths::findExecutable(QString::fromLatin1(name), folders);
        if (!program.isEmpty() && StartProgramDetached(program.toStdString())) return program.toStdString();
    }
    return std::string();
}

} // namespace orvane
