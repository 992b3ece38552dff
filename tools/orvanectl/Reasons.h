#pragma once
// The words orvanectl adds after a failure code, so a person reading a
// failure line learns why without looking the number up.
#include <string>

namespace orvanectl {

// A device command's status code (1 needs no words).
const char* DeviceStatusReason(int status);
// Why a profile file got the code it did from the profile file check.
std::string ProfileFileReason(int code, const std::string& path);
// Why a file that could not be read was refused: "cannot open PATH: <the
// system's words>", or "cannot read PATH: not a regular file".
std::string CannotRead(const std::string& path);
// The line printed when no keyboard can be opened.
extern const char* const kNoKeyboard;

} // namespace orvanectl
