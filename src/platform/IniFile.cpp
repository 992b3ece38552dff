#include "platform/IniFile.h"

#include <cerrno>
#include <climits>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/AtomicFile.h"
#include "platform/IniCache.h"
#include "platform/StringUtil.h"

namespace orvane {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// One read-modify-write at a time inside the process, so two threads writing
// different keys of one file never lose each other's change.
std::mutex& WriteLock() {
    static std::mutex lock;
    return lock;
}

struct CIniText {
    bool hasBom = false;
    bool crlf = false;
    bool endsWithNewline = true;
    std::vector<std::string> lines;
};

CIniText SplitIni(std::string_view text) {
    CIniText ini;
    if (text.substr(0, kUtf8Bom.size()) == kUtf8Bom) {
        ini.hasBom = true;
        text.remove_prefix(kUtf8Bom.size());
    }
    size_t firstNewline = text.find('\n');
    ini.crlf = firstNewline != std::string_view::npos && firstNewline > 0 && text[firstNewline - 1] == '\r';
    ini.endsWithNewline = text.empty() || text.back() == '\n';
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        // Every carriage return at the end goes, so a rewrite in either line
        // style reads back the same values.
        while (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        ini.lines.emplace_back(line);
        pos = end + 1;
    }
    return ini;
}

std::string JoinIni(const CIniText& ini) {
    const char* eol = ini.crlf ? "\r\n" : "\n";
    std::string out;
    if (ini.hasBom) out += kUtf8Bom;
    for (size_t i = 0; i < ini.lines.size(); ++i) {
        out += ini.lines[i];
        if (i + 1 < ini.lines.size() || ini.endsWithNewline) out += eol;
    }
    return out;
}

// The name of a "[section]" line, or nullopt for any other line.
std::optional<std::string_view> SectionName(std::string_view line) {
    line = TrimBlanks(line);
    if (line.empty() || line.front() != '[') return std::nullopt;
    size_t close = line.find(']');
    if (close == std::string_view::npos) close = line.size();
    return TrimBlanks(line.substr(1, close - 1));
}

bool IsComment(std::string_view line) {
    line = TrimBlanks(line);
    return !line.empty() && (line.front() == ';' || line.front() == '#');
}

// Splits a "key=value" line; nullopt for lines that are not one.
std::optional<std::pair<std::string_view, std::string_view>> KeyValue(std::string_view line) {
    if (IsComment(line) || SectionName(line)) return std::nullopt;
    size_t eq = line.find('=');
    if (eq == std::string_view::npos) return std::nullopt;
    return std::make_pair(TrimBlanks(line.substr(0, eq)), TrimBlanks(line.substr(eq + 1)));
}

struct CLocation {
    std::optional<size_t> sectionLine; // the "[section]" line
    size_t sectionEnd = 0;             // first line after the section
    std::optional<size_t> keyLine;
};

// Only the first section of a name counts, and in it the first key of a name.
CLocation Find(const CIniText& ini, std::string_view section, std::string_view key) {
    CLocation loc;
    for (size_t i = 0; i < ini.lines.size(); ++i) {
        auto name = SectionName(ini.lines[i]);
        if (!loc.sectionLine) {
            if (name && EqualsNoCase(*name, section)) loc.sectionLine = i;
            continue;
        }
        if (name) {
            loc.sectionEnd = i;
            return loc;
        }
        if (!loc.keyLine) {
            auto kv = KeyValue(ini.lines[i]);
            if (kv && EqualsNoCase(kv->first, key)) loc.keyLine = i;
        }
    }
    loc.sectionEnd = ini.lines.size();
    return loc;
}

// Cuts to at most `maxChars - 1` characters without splitting a UTF-8 sequence.
std::string CutToBuffer(std::string_view s, size_t maxChars) {
    if (maxChars == 0) return {};
    size_t chars = 0;
    size_t i = 0;
    while (i < s.size()) {
        if (chars == maxChars - 1) break;
        size_t next = i + 1;
        while (next < s.size() && (static_cast<unsigned char>(s[next]) & 0xC0) == 0x80)
            ++next;
        i = next;
        ++chars;
    }
    return std::string(s.substr(0, i));
}

std::string_view Unquote(std::string_view v) {
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        return v.substr(1, v.size() - 2);
    return v;
}

bool HasLineBreakOrNul(std::string_view s) {
    return s.find_first_of(std::string_view("\r\n\0", 3)) != s.npos;
}

// Loads the file for a rewrite. A file that exists but cannot be read must not
// be replaced by one holding only the new value. 0, or the errno value.
int LoadForWrite(const std::string& path, CIniText& ini) {
    if (path.empty() || path.size() >= PATH_MAX) return ENAMETOOLONG;
    std::string text;
    if (ReadWholeFile(path, text)) {
        ini = SplitIni(text);
        return 0;
    }
    if (const int error = ReadFailureReason(path); error != ENOENT) return error;
    ini = CIniText{};
    return 0;
}

// Sets one value in the loaded text; false when it already held it.
bool SetValue(CIniText& ini, const std::string& section, const std::string& key, const std::string& value) {
    std::string line = std::string(TrimBlanks(key)) + "=" + value;
    CLocation loc = Find(ini, section, key);
    if (loc.keyLine) {
        auto kv = KeyValue(ini.lines[*loc.keyLine]);
        // Keep the key as the file spells it.
        line = std::string(kv->first) + "=" + value;
        if (ini.lines[*loc.keyLine] == line) return false;
        ini.lines[*loc.keyLine] = line;
    } else if (loc.sectionLine) {
        size_t insertAt = loc.sectionEnd;
        while (insertAt > *loc.sectionLine + 1 && TrimBlanks(ini.lines[insertAt - 1]).empty())
            --insertAt;
        ini.lines.insert(ini.lines.begin() + static_cast<std::ptrdiff_t>(insertAt), line);
    } else {
        ini.endsWithNewline = true;
        ini.lines.push_back("[" + std::string(TrimBlanks(section)) + "]");
        ini.lines.push_back(line);
    }
    return true;
}

std::optional<std::string> LookUp(const std::string& path, const std::string& section,
                                  const std::string& key) {
    if (path.empty() || path.size() >= PATH_MAX || path.find('\0') != std::string::npos) return std::nullopt;
    std::shared_ptr<const CIniIndex> index = CachedIniIndex(path);
    if (!index) return std::nullopt;
    return index->Value(section, key);
}

WriteResult WriteAndForget(const std::string& path, const CIniText& ini) {
    WriteResult written = WriteFileAtomically(path, JoinIni(ini));
    ForgetIniFile(path);
    return written;
}

} // namespace

// Built here, beside the line syntax the writers use, so reads and writes
// agree on what a section and a key are.
CIniIndex::CIniIndex(std::string_view text) {
    const CIniText ini = SplitIni(text);
    std::unordered_map<std::string, std::string>* current = nullptr;
    for (const std::string& line : ini.lines) {
        if (auto name = SectionName(line)) {
            auto [it, inserted] = m_sections.try_emplace(ToLowerAscii(*name));
            current = inserted ? &it->second : nullptr;
            continue;
        }
        if (!current) continue;
        if (auto kv = KeyValue(line))
            current->try_emplace(ToLowerAscii(kv->first), std::string(Unquote(kv->second)));
    }
}

std::string IniReadString(const std::string& path, const std::string& section, const std::string& key,
                          const std::string& defaultValue, size_t maxChars) {
    return CutToBuffer(LookUp(path, section, key).value_or(defaultValue), maxChars);
}

int IniReadInt(const std::string& path, const std::string& section, const std::string& key,
               int defaultValue) {
    std::optional<std::string> found = LookUp(path, section, key);
    if (!found) return defaultValue;
    const std::string& text = *found;
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    if (i >= text.size() || text[i] < '0' || text[i] > '9') return defaultValue;
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1)
            value = static_cast<long long>(INT_MAX) + 1; // saturate; keeps going past the digits
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

WriteResult IniWriteString(const std::string& path, const std::string& section, const std::string& key,
                           const std::string& value) {
    const std::pair<std::string, std::string> one[] = {{key, value}};
    return IniWriteStrings(path, section, one);
}

WriteResult IniWriteStrings(const std::string& path, const std::string& section,
                            std::span<const std::pair<std::string, std::string>> values) {
    // A line break in any part would write extra lines (and keys) into the file.
    if (HasLineBreakOrNul(section) || section.find(']') != std::string::npos)
        return WriteFailed(path, EINVAL);
    for (const auto& [key, value] : values)
        if (HasLineBreakOrNul(key) || HasLineBreakOrNul(value) || TrimBlanks(key).empty() ||
            key.find('=') != std::string::npos)
            return WriteFailed(path, EINVAL);
    std::lock_guard guard(WriteLock());
    CIniText ini;
    if (const int error = LoadForWrite(path, ini)) return WriteFailed(path, error);
    bool changed = false;
    for (const auto& [key, value] : values)
        changed = SetValue(ini, section, key, value) || changed;
    return changed ? WriteAndForget(path, ini) : Written(path);
}

WriteResult IniDeleteKey(const std::string& path, const std::string& section, const std::string& key) {
    std::lock_guard guard(WriteLock());
    CIniText ini;
    if (const int error = LoadForWrite(path, ini)) return WriteFailed(path, error);
    CLocation loc = Find(ini, section, key);
    if (!loc.keyLine) return Written(path);
    ini.lines.erase(ini.lines.begin() + static_cast<std::ptrdiff_t>(*loc.keyLine));
    return WriteAndForget(path, ini);
}

} // namespace orvane
