#include "DeviceCtl.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ostream>

#include "CtlCommand.h"
#include "platform/AtomicFile.h"
#include "Reasons.h"

namespace orvanectl {

std::optional<uint32_t> ParseNumber(const std::string& text, uint32_t max) {
    if (text.empty() || text[0] == '-' || text[0] == '+') return std::nullopt;
    int base = 10;
    const char* digits = text.c_str();
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        digits += 2;
    }
    char* end = nullptr;
    errno = 0;
    unsigned long long v = std::strtoull(digits, &end, base);
    if (end == digits || *end || errno || v > max) return std::nullopt;
    return static_cast<uint32_t>(v);
}

std::optional<std::vector<uint8_t>> ParseHexBytes(const std::vector<std::string>& words) {
    std::vector<uint8_t> bytes;
    for (const std::string& w : words) {
        if (w.empty() || w.size() % 2) return std::nullopt;
        for (size_t i = 0; i < w.size(); i += 2) {
            auto nibble = [](char c) -> int {
                if (c >= '0' && c <= '9') return c - '0';
                if (c >= 'a' && c <= 'f') return c - 'a' + 10;
                if (c >= 'A' && c <= 'F') return c - 'A' + 10;
                return -1;
            };
            int hi = nibble(w[i]), lo = nibble(w[i + 1]);
            if (hi < 0 || lo < 0) return std::nullopt;
            bytes.push_back(static_cast<uint8_t>(hi << 4 | lo));
        }
    }
    return bytes;
}

std::optional<std::vector<uint8_t>> ParseDataArgs(const std::vector<std::string>& words, std::ostream& err) {
    if (words.size() == 1 && !words[0].empty() && words[0][0] == '@') {
        // Only a regular file: a folder or a pipe under the name is refused, not read.
        std::string contents;
        if (!orvane::ReadWholeFile(words[0].substr(1), contents)) {
            err << "orvanectl: " << CannotRead(words[0].substr(1)) << "\n";
            return std::nullopt;
        }
        return std::vector<uint8_t>(contents.begin(), contents.end());
    }
    auto bytes = ParseHexBytes(words);
    if (!bytes) err << "orvanectl: malformed hex bytes\n";
    return bytes;
}

std::string HexLine(const uint8_t* bytes, size_t n) {
    std::string s;
    char hex[4];
    for (size_t i = 0; i < n; ++i) {
        std::snprintf(hex, sizeof hex, i ? " %02x" : "%02x", bytes[i]);
        s += hex;
    }
    return s;
}

int FinishCommand(std::ostream& out, int status, const char* reason) {
    out << "status " << status;
    if (status != 1) out << ": " << (reason ? reason : DeviceStatusReason(status));
    out << "\n";
    return status == 1 ? kOk : kFailed;
}

int UsageError(std::ostream& err, const char* name, const char* usage) {
    err << "usage: orvanectl " << name << " " << usage << "\n";
    return kUsage;
}

} // namespace orvanectl
