#include "Reasons.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "device/ReportExchange.h"
#include "model/ProfileFile.h"

namespace orvanectl {

const char* const kNoKeyboard =
    "orvanectl: no keyboard found: plug it in, and check that you may open its /dev/hidraw nodes "
    "(install the udev rule, see \"Using it with a real keyboard\" in the README); --simulate uses "
    "the simulated keyboard\n";

const char* DeviceStatusReason(int status) {
    switch (status) {
    case orvane::DEV_OK:
        return "";
    case orvane::DEV_NOT_OPEN_OR_NO_REPLY:
        return "the keyboard did not reply, or is not connected";
    case orvane::DEV_WRITE_FAILED:
        return "the request could not be sent to the keyboard";
    case orvane::DEV_STATUS_FF:
        return "the keyboard refused the request (status ff)";
    case orvane::DEV_STATUS_FE:
        return "the keyboard refused the request (status fe)";
    case orvane::DEV_BAD_PROFILE:
        return "no such profile: the keyboard has profiles 0 to 2";
    case orvane::DEV_BAD_ARGUMENT:
        return "the data does not fit the command; nothing was sent";
    default:
        return "unknown failure";
    }
}

namespace {

// Empty when the file is a regular file that opens.
std::string Unreadable(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return "cannot open " + path + ": " + std::strerror(errno);
    if (!S_ISREG(st.st_mode)) return "not a regular file";
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return "cannot open " + path + ": " + std::strerror(errno);
    ::close(fd);
    return {};
}

} // namespace

std::string CannotRead(const std::string& path) {
    std::string why = Unreadable(path);
    if (why.empty()) return "cannot read " + path;
    if (why.rfind("cannot", 0) == 0) return why;
    return "cannot read " + path + ": " + why;
}

std::string ProfileFileReason(int code, const std::string& path) {
    if (code == orvane::kProfileNoMemory) return "not enough memory to read it";
    if (code != orvane::kProfileCannotOpen && code != orvane::kProfileMalformed) return "unknown failure";
    if (path.empty()) return "no file named";
    // Asked again only to learn what the system says.
    if (std::string why = Unreadable(path); !why.empty()) return why;
    if (code == orvane::kProfileCannotOpen) return "cannot read " + path;
    struct stat st {};
    ::stat(path.c_str(), &st);
    if (static_cast<uint64_t>(st.st_size) < orvane::kProfileImageBytes)
        return "only " + std::to_string(st.st_size) + " bytes, shorter than any profile file (" +
               std::to_string(orvane::kProfileImageBytes) + ")";
    return "not a profile file, or damaged: its header does not match its contents";
}

} // namespace orvanectl
