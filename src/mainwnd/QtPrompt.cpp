#include "mainwnd/QtPrompt.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "ui/DialogOwner.h"
#include "ui/GuiThread.h"

namespace orvane {
namespace {

// Without an application there is nobody to ask: the question counts as cancelled.
bool NobodyToAsk() {
    return QCoreApplication::instance() == nullptr;
}

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

std::optional<std::string> WithDefaultExtension(const QString& chosen, const std::string& defaultExt) {
    if (chosen.isEmpty()) return std::nullopt;
    QString path = chosen;
    if (!defaultExt.empty() && QFileInfo(path).suffix().isEmpty()) path += "." + Q(defaultExt);
    return path.toStdString();
}

// A wildcard name ("*.fwc") only says which files to show: the dialog starts
// in its folder instead of offering the pattern as the file name.
QString StartPath(const std::string& initialPath) {
    const QString path = Q(initialPath);
    const QString name = QFileInfo(path).fileName();
    if (!name.contains('*') && !name.contains('?')) return path;
    return path.left(path.size() - name.size());
}

} // namespace

std::string QtFileFilter(const std::string& filter) {
    std::string out;
    size_t pos = 0;
    while (pos < filter.size()) {
        size_t bar = filter.find('|', pos);
        if (bar == std::string::npos || bar == pos) break; // "||" ends the list
        size_t end = filter.find('|', bar + 1);
        if (end == std::string::npos) end = filter.size();
        std::string description = filter.substr(pos, bar - pos);
        std::string patterns = filter.substr(bar + 1, end - bar - 1);
        for (char& c : patterns)
            if (c == ';') c = ' ';
        if (!out.empty()) out += ";;";
        out += description + " (" + patterns + ")";
        pos = end + 1;
    }
    return out;
}

int CQtPrompt::MessageBox(const std::string& text, const std::string& caption, unsigned style) {
    if (NobodyToAsk()) return 0;
    return CallOnGuiThread<int>([&] {
        QMessageBox box(DialogOwner());
        box.setText(Q(text));
        box.setWindowTitle(Q(caption));
        switch (style & 0xF0) {
        case MB_ICONERROR:
            box.setIcon(QMessageBox::Critical);
            break;
        case MB_ICONQUESTION:
            box.setIcon(QMessageBox::Question);
            break;
        case MB_ICONWARNING:
            box.setIcon(QMessageBox::Warning);
            break;
        case MB_ICONINFORMATION:
            box.setIcon(QMessageBox::Information);
            break;
        default:
            break;
        }
        switch (style & 0xF) {
        case MB_OKCANCEL:
            box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
            break;
        case MB_YESNOCANCEL:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            break;
        case MB_YESNO:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
        default:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        }
        if (style & MB_DEFBUTTON2)
            box.setDefaultButton((style & 0xF) == MB_OKCANCEL ? QMessageBox::Cancel : QMessageBox::No);
        switch (box.exec()) {
        case QMessageBox::Yes:
            return IDYES;
        case QMessageBox::No:
            return IDNO;
        case QMessageBox::Ok:
            return IDOK;
        default:
            // Closing the box counts as its way out: Cancel, or No where there is no Cancel.
            return (style & 0xF) == MB_YESNO ? IDNO : ((style & 0xF) == MB_OK ? IDOK : IDCANCEL);
        }
    });
}

std::optional<std::string> CQtPrompt::OpenFileName(const std::string& filter, const std::string& defaultExt,
                                                   const std::string& initialPath) {
    (void)defaultExt; // an opened file exists under the name chosen
    if (NobodyToAsk()) return std::nullopt;
    return CallOnGuiThread<std::optional<std::string>>([&] {
        return WithDefaultExtension(QFileDialog::getOpenFileName(DialogOwner(), QString(),
                                                                 StartPath(initialPath),
                                                                 Q(QtFileFilter(filter))),
                                    std::string());
    });
}

std::optional<std::string> CQtPrompt::SaveFileName(const std::string& filter, const std::string& defaultExt,
                                                   const std::string& initialPath) {
    if (NobodyToAsk()) return std::nullopt;
    return CallOnGuiThread<std::optional<std::string>>([&] {
        // The dialog adds the extension itself, so its question before
        // replacing a file covers the name that is really written.
        QFileDialog dialog(DialogOwner(), QString(), StartPath(initialPath), Q(QtFileFilter(filter)));
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setDefaultSuffix(Q(defaultExt));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::optional<std::string>();
        return WithDefaultExtension(dialog.selectedFiles().first(), defaultExt);
    });
}

std::optional<uint32_t> CQtPrompt::ChooseColour(uint32_t initial) {
    if (NobodyToAsk()) return std::nullopt;
    return CallOnGuiThread<std::optional<uint32_t>>([&]() -> std::optional<uint32_t> {
        QColor start(static_cast<int>(initial & 0xFF), static_cast<int>((initial >> 8) & 0xFF),
                     static_cast<int>((initial >> 16) & 0xFF));
        QColor chosen = QColorDialog::getColor(start, DialogOwner());
        if (!chosen.isValid()) return std::nullopt;
        return static_cast<uint32_t>(chosen.red()) | (static_cast<uint32_t>(chosen.green()) << 8) |
               (static_cast<uint32_t>(chosen.blue()) << 16);
    });
}

} // namespace orvane
