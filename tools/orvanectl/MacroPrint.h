#pragma once
// How orvanectl prints macros, shared by the commands that show them so
// scripts can parse one format.
#include <iosfwd>

#include "model/MacroRecord.h"

namespace orvanectl {

// One line per macro ("macro I id N repeat R name NAME actions A"), each
// followed by one indented line per action ("  delay D scan SSS dir T").
void PrintMacroList(const orvane::MacroList& list, std::ostream& out);

} // namespace orvanectl
