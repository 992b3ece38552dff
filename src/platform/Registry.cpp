#include "platform/Registry.h"

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <mutex>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "platform/AtomicFile.h"
#include "platform/Paths.h"
#include "platform/StringUtil.h"

// The store is a text file in the layout of an exported registry file:
//   [Software\Brislane ]
//   "dwLanguageId"=dword:00000409
//   "Name"="text with \" and \\ escaped"
// Lines that do not parse (a truncated or damaged store) are skipped, so the
// values around them survive.

namespace orvane {
namespace {

constexpr size_t kMaxKeyPath = 512;
constexpr size_t kMaxValueName = 16383;

struct CValue {
    std::string name;
    bool isDword = false;
    uint32_t dword = 0;
    std::string text;
};

struct CKey {
    std::string path;
    std::vector<CValue> values;
};

struct CStore {
    std::vector<CKey> keys;

    CKey* FindKey(std::string_view path) {
        for (CKey& key : keys)
            if (EqualsNoCase(key.path, path)) return &key;
        return nullptr;
    }
    CKey& KeyCreated(const std::string& path) {
        if (CKey* key = FindKey(path)) return *key;
        keys.push_back(CKey{path, {}});
        return keys.back();
    }
};

std::mutex& StoreMutex() {
    static std::mutex lock;
    return lock;
}

std::string Quote(std::string_view s) {
    static const char* hex = "0123456789abcdef";
    std::string out = "\"";
    for (char c : s) {
        unsigned char u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\n') {
            out += "\\n";
        } else if (u < 0x20 || u == 0x7F) {
            out += "\\x";
            out += hex[u >> 4];
            out += hex[u & 15];
        } else {
            out += c;
        }
    }
    return out + "\"";
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Parses a quoted string starting at s[pos]; advances pos past it.
bool Unquote(std::string_view s, size_t& pos, std::string& out) {
    out.clear();
    if (pos >= s.size() || s[pos] != '"') return false;
    for (++pos; pos < s.size(); ++pos) {
        char c = s[pos];
        if (c == '"') {
            ++pos;
            return true;
        }
        if (c != '\\') {
            out += c;
            continue;
        }
        if (++pos >= s.size()) return false;
        switch (s[pos]) {
        case '"':
        case '\\':
            out += s[pos];
            break;
        case 'n':
            out += '\n';
            break;
        case 'x': {
            if (pos + 2 >= s.size()) return false;
            int hi = HexDigit(s[pos + 1]), lo = HexDigit(s[pos + 2]);
            if (hi < 0 || lo < 0) return false;
            out += static_cast<char>(hi * 16 + lo);
            pos += 2;
            break;
        }
        default:
            return false;
        }
    }
    return false;
}

bool ParseValueLine(std::string_view line, CValue& value) {
    size_t pos = 0;
    if (!Unquote(line, pos, value.name) || pos >= line.size() || line[pos] != '=') return false;
    std::string_view rest = line.substr(pos + 1);
    if (rest.substr(0, 6) == "dword:") {
        rest.remove_prefix(6);
        if (rest.size() != 8) return false;
        uint32_t v = 0;
        for (char c : rest) {
            int d = HexDigit(c);
            if (d < 0) return false;
            v = v * 16 + static_cast<uint32_t>(d);
        }
        value.isDword = true;
        value.dword = v;
        return true;
    }
    size_t textPos = 0;
    if (!Unquote(rest, textPos, value.text) || textPos != rest.size()) return false;
    value.isDword = false;
    return true;
}

CStore Parse(std::string_view text) {
    CStore store;
    CKey* current = nullptr;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line.front() == ';') continue;
        if (line.front() == '[') {
            current = nullptr;
            if (line.size() >= 2 && line.back() == ']') {
                std::string path(line.substr(1, line.size() - 2));
                if (!path.empty() && path.size() <= kMaxKeyPath) current = &store.KeyCreated(path);
            }
            continue;
        }
        CValue value;
        if (current && ParseValueLine(line, value)) {
            bool replaced = false;
            for (CValue& old : current->values)
                if (EqualsNoCase(old.name, value.name)) {
                    old = value;
                    replaced = true;
                }
            if (!replaced) current->values.push_back(value);
        }
    }
    return store;
}

std::string Serialise(const CStore& store) {
    static const char* hex = "0123456789abcdef";
    std::string out = "; Orvane per-user settings\n";
    for (const CKey& key : store.keys) {
        out += "\n[" + key.path + "]\n";
        for (const CValue& v : key.values) {
            out += Quote(v.name) + "=";
            if (v.isDword) {
                out += "dword:";
                for (int shift = 28; shift >= 0; shift -= 4)
                    out += hex[(v.dword >> shift) & 15];
            } else {
                out += Quote(v.text);
            }
            out += '\n';
        }
    }
    return out;
}

enum class LoadResult { Loaded, Missing, Unreadable };

// `error` receives the reason a store that exists could not be read.
LoadResult Load(const std::string& storePath, CStore& store, int* error = nullptr) {
    std::string text;
    if (ReadWholeFile(storePath, text)) {
        store = Parse(text);
        return LoadResult::Loaded;
    }
    store = CStore{};
    struct stat st {};
    if (::lstat(storePath.c_str(), &st) != 0 && errno == ENOENT) return LoadResult::Missing;
    if (error) *error = ReadFailureReason(storePath);
    return LoadResult::Unreadable;
}

// Serialises read-modify-write cycles between processes (the program and
// orvanectl) with a lock file beside the store; the store itself is replaced
// by rename, so it cannot carry the lock.
class CStoreLock {
  public:
    explicit CStoreLock(const std::string& storePath) {
        fd_ = ::open((storePath + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        if (fd_ >= 0)
            while (::flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
            }
    }
    ~CStoreLock() {
        if (fd_ >= 0) ::close(fd_); // releases the lock
    }
    CStoreLock(const CStoreLock&) = delete;
    CStoreLock& operator=(const CStoreLock&) = delete;

  private:
    int fd_ = -1;
};

bool ValidKeyPath(const std::string& path) {
    return !path.empty() && path.size() <= kMaxKeyPath && path.front() != '\\' && path.back() != '\\' &&
           path.find_first_of(std::string_view("]\r\n\0", 4)) == std::string::npos;
}

template <typename Change> WriteResult ModifyStore(const std::string& keyPath, Change change) {
    std::lock_guard guard(StoreMutex());
    std::string storePath = RegistryStorePath();
    if (storePath.size() >= PATH_MAX) return WriteFailed(storePath, ENAMETOOLONG);
    if (WriteResult folder = MakeFolders(ProgramFolderOf(storePath)); !folder) return folder;
    CStoreLock fileLock(storePath);
    CStore store;
    int error = 0;
    if (Load(storePath, store, &error) == LoadResult::Unreadable)
        return WriteFailed(storePath, error); // rewriting would drop every value we could not read
    CKey& key = store.KeyCreated(keyPath);
    if (!change(key)) return Written(storePath);
    return WriteFileAtomically(storePath, Serialise(store));
}

const CValue* FindValue(const CKey& key, std::string_view name) {
    for (const CValue& v : key.values)
        if (EqualsNoCase(v.name, name)) return &v;
    return nullptr;
}

template <typename Reader>
auto ReadValue(const std::string& keyPath, const std::string& name, Reader reader)
    -> decltype(reader(CValue{})) {
    std::lock_guard guard(StoreMutex());
    CStore store;
    if (Load(RegistryStorePath(), store) != LoadResult::Loaded) return std::nullopt;
    const CKey* key = store.FindKey(keyPath);
    const CValue* value = key ? FindValue(*key, name) : nullptr;
    if (!value) return std::nullopt;
    return reader(*value);
}

CValue StringValue(const std::string& name, const std::string& text) {
    CValue v;
    v.name = name;
    v.text = text;
    return v;
}

void Store(CKey& key, const CValue& value) {
    for (CValue& old : key.values)
        if (EqualsNoCase(old.name, value.name)) {
            std::string keepName = old.name;
            old = value;
            old.name = keepName;
            return;
        }
    key.values.push_back(value);
}

WriteResult SetValues(const std::string& keyPath, std::span<const CValue> values) {
    for (const CValue& value : values)
        if (value.name.size() > kMaxValueName) return WriteFailed(RegistryStorePath(), EINVAL);
    return ModifyStore(keyPath, [&](CKey& key) {
        for (const CValue& value : values)
            Store(key, value);
        return true;
    });
}

WriteResult SetValue(const std::string& keyPath, const CValue& value) {
    return SetValues(keyPath, std::span(&value, 1));
}

std::string g_SettingsRoot;
std::string g_SettingsTitle;

std::string ProfileKeyPath(const std::string& section) {
    std::lock_guard guard(StoreMutex());
    return "Software\\" + g_SettingsRoot + "\\" + g_SettingsTitle + "\\" + section;
}

} // namespace

std::string RegistryStorePath() {
    return UserConfigFolder() + "/orvane/registry";
}

bool CRegistryKey::OpenOrCreate(const std::string& keyPath) {
    open_ = false;
    path_.clear();
    if (!ValidKeyPath(keyPath)) return false;
    bool exists = false;
    {
        std::lock_guard guard(StoreMutex());
        CStore store;
        exists = Load(RegistryStorePath(), store) == LoadResult::Loaded && store.FindKey(keyPath);
    }
    if (!exists && !ModifyStore(keyPath, [](CKey&) { return true; })) return false;
    path_ = keyPath;
    open_ = true;
    return true;
}

std::optional<uint32_t> CRegistryKey::ReadDword(const std::string& name) const {
    if (!open_) return std::nullopt;
    return ReadValue(path_, name, [](const CValue& v) {
        return v.isDword ? std::optional<uint32_t>(v.dword) : std::nullopt;
    });
}

std::optional<std::string> CRegistryKey::ReadString(const std::string& name) const {
    if (!open_) return std::nullopt;
    return ReadValue(path_, name, [](const CValue& v) {
        return v.isDword ? std::nullopt : std::optional<std::string>(v.text);
    });
}

WriteResult CRegistryKey::WriteDword(const std::string& name, uint32_t value) {
    if (!open_) return WriteFailed(RegistryStorePath(), EBADF);
    CValue v;
    v.name = name;
    v.isDword = true;
    v.dword = value;
    return SetValue(path_, v);
}

WriteResult CRegistryKey::WriteString(const std::string& name, const std::string& value) {
    if (!open_) return WriteFailed(RegistryStorePath(), EBADF);
    return SetValue(path_, StringValue(name, value));
}

void SetRegistrySettingsRoot(const std::string& root, const std::string& title) {
    std::lock_guard guard(StoreMutex());
    g_SettingsRoot = root;
    g_SettingsTitle = title;
}

std::string GetProfileString(const std::string& section, const std::string& entry,
                             const std::string& defaultValue) {
    std::string keyPath = ProfileKeyPath(section);
    auto text = ReadValue(keyPath, entry, [](const CValue& v) {
        return v.isDword ? std::optional<std::string>(std::to_string(v.dword))
                         : std::optional<std::string>(v.text);
    });
    return text.value_or(defaultValue);
}

int GetProfileInt(const std::string& section, const std::string& entry, int defaultValue) {
    std::string keyPath = ProfileKeyPath(section);
    auto number = ReadValue(keyPath, entry, [](const CValue& v) -> std::optional<int> {
        if (v.isDword) return static_cast<int>(v.dword);
        // A number kept as a string (written by WriteProfileString) counts too.
        std::string_view t = TrimBlanks(v.text);
        if (t.empty()) return std::nullopt;
        size_t i = (t[0] == '-' || t[0] == '+') ? 1 : 0;
        if (i >= t.size() || t[i] < '0' || t[i] > '9') return std::nullopt;
        long long n = 0;
        for (; i < t.size() && t[i] >= '0' && t[i] <= '9' && n <= INT_MAX; ++i)
            n = n * 10 + (t[i] - '0');
        if (t[0] == '-') n = -n;
        if (n > INT_MAX || n < INT_MIN) return std::nullopt;
        return static_cast<int>(n);
    });
    return number.value_or(defaultValue);
}

WriteResult WriteProfileString(const std::string& section, const std::string& entry,
                               const std::string& value) {
    const std::pair<std::string, std::string> one[] = {{entry, value}};
    return WriteProfileStrings(section, one);
}

WriteResult WriteProfileStrings(const std::string& section,
                                std::span<const std::pair<std::string, std::string>> values) {
    std::string keyPath = ProfileKeyPath(section);
    if (!ValidKeyPath(keyPath)) return WriteFailed(RegistryStorePath(), EINVAL);
    std::vector<CValue> stored;
    for (const auto& [entry, text] : values)
        stored.push_back(StringValue(entry, text));
    return SetValues(keyPath, stored);
}

WriteResult WriteProfileInt(const std::string& section, const std::string& entry, int value) {
    std::string keyPath = ProfileKeyPath(section);
    if (!ValidKeyPath(keyPath)) return WriteFailed(RegistryStorePath(), EINVAL);
    CValue v;
    v.name = entry;
    v.isDword = true;
    v.dword = static_cast<uint32_t>(value);
    return SetValue(keyPath, v);
}

} // namespace orvane
