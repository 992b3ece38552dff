#include "sim/SimFaults.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>

namespace orvane {
namespace {

// A decimal request number >= 1; `end` gets what follows it.
bool Number(const char* s, uint32_t* value, const char** end, int base = 10) {
    if (*s < '0' || *s > '9') {
        if (base != 16) return false;
    }
    char* e = nullptr;
    errno = 0;
    unsigned long long v = std::strtoull(s, &e, base);
    if (e == s || errno || v > UINT32_MAX) return false;
    *value = static_cast<uint32_t>(v);
    *end = e;
    return true;
}

} // namespace

bool ParseSimFault(const std::string& text, SimFault* fault) {
    SimFault f;
    size_t colon = text.find(':');
    if (colon == std::string::npos) return false;
    std::string kind = text.substr(0, colon);
    const char* p = text.c_str() + colon + 1;
    const char* end = nullptr;
    if (!Number(p, &f.From, &end) || f.From == 0) return false;
    f.To = f.From;
    if (kind == "noreply") {
        f.What = SimFault::NoReply;
        if (*end == '-') {
            if (end[1] == 0) {
                f.To = UINT32_MAX;
                end += 1;
            } else if (!Number(end + 1, &f.To, &end) || f.To < f.From) {
                return false;
            }
        }
    } else if (kind == "failwrite") {
        f.What = SimFault::FailWrite;
    } else if (kind == "unplug") {
        f.What = SimFault::Unplug;
        // "unplug:N:MS": plugged back in MS milliseconds later.
        if (*end == ':' && (!Number(end + 1, &f.DelayMs, &end) || f.DelayMs == 0)) return false;
    } else if (kind == "status") {
        f.What = SimFault::Status;
        if (*end != ':') return false;
        const char* hex = end + 1;
        uint32_t v = 0;
        if (!std::isxdigit(static_cast<unsigned char>(*hex)) || !Number(hex, &v, &end, 16) || v > 0xFF ||
            end - hex > 2)
            return false;
        f.StatusByte = static_cast<uint8_t>(v);
    } else if (kind == "late") {
        f.What = SimFault::Late;
        if (*end != ':' || !Number(end + 1, &f.DelayMs, &end)) return false;
    } else {
        return false;
    }
    if (*end != 0) return false;
    *fault = f;
    return true;
}

} // namespace orvane
