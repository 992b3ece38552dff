#pragma once
// The one look of the whole program: the dark colours and the font family
// of the skin, given to every plain Qt control (message boxes, drop-down
// lists, edit fields, the colour and file dialogs) so none shows Qt's light
// defaults on the dark skin. Set once on the application.
#include <QFont>
#include <QPalette>
#include <QString>

class QApplication;

namespace orvane {

// The family every text of the program is drawn in.
QString ProgramFontFamily();
// That family at `points`.
QFont ProgramFont(double points);
QPalette ProgramPalette();
// Style, palette and font; no style sheet, which would override the
// palettes the skinned controls set for themselves.
void ApplyProgramLook(QApplication& app);

} // namespace orvane
