#include "platform/IniCache.h"

#include <algorithm>
#include <atomic>
#include <ctime>
#include <list>
#include <mutex>
#include <sys/stat.h>

#include "platform/AtomicFile.h"
#include "platform/StringUtil.h"

namespace orvane {
namespace {

// A handful of files are read by key (language, skins, user data); more
// than this many means something reads files once, which need no cache.
constexpr size_t kMaxCachedFiles = 32;
// File times tick coarsely (a few ms on Linux, 2 s on FAT), so two writes of
// the same size inside one tick leave the same stamp. A parse is kept only
// for a file whose last change is older than that.
constexpr int64_t kSettledNs = 2'000'000'000;
std::atomic<int64_t> g_SettledNs{kSettledNs};

struct CFileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    timespec changed{};

    bool operator==(const CFileStamp& o) const {
        return device == o.device && inode == o.inode && size == o.size &&
               modified.tv_sec == o.modified.tv_sec && modified.tv_nsec == o.modified.tv_nsec &&
               changed.tv_sec == o.changed.tv_sec && changed.tv_nsec == o.changed.tv_nsec;
    }
};

int64_t Nanoseconds(const timespec& t) {
    return int64_t(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

bool Settled(const CFileStamp& stamp) {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    const int64_t last = std::max(Nanoseconds(stamp.modified), Nanoseconds(stamp.changed));
    return Nanoseconds(now) - last >= g_SettledNs.load();
}

std::optional<CFileStamp> Stamp(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    return CFileStamp{st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim};
}

struct CCacheEntry {
    std::string path;
    CFileStamp stamp;
    std::shared_ptr<const CIniIndex> index;
};

// Most recently used first.
std::mutex g_CacheLock;
std::list<CCacheEntry> g_Cache;

std::list<CCacheEntry>::iterator FindEntry(const std::string& path) {
    for (auto it = g_Cache.begin(); it != g_Cache.end(); ++it)
        if (it->path == path) return it;
    return g_Cache.end();
}

} // namespace

std::optional<std::string> CIniIndex::Value(std::string_view section, std::string_view key) const {
    auto s = m_sections.find(ToLowerAscii(section));
    if (s == m_sections.end()) return std::nullopt;
    auto k = s->second.find(ToLowerAscii(key));
    if (k == s->second.end()) return std::nullopt;
    return k->second;
}

std::shared_ptr<const CIniIndex> CachedIniIndex(const std::string& path) {
    const std::optional<CFileStamp> before = Stamp(path);
    if (!before) return nullptr;
    {
        std::lock_guard guard(g_CacheLock);
        auto it = FindEntry(path);
        if (it != g_Cache.end()) {
            if (it->stamp == *before) {
                g_Cache.splice(g_Cache.begin(), g_Cache, it);
                return it->index;
            }
            g_Cache.erase(it);
        }
    }
    std::string text;
    if (!ReadWholeFile(path, text)) return nullptr;
    auto index = std::make_shared<const CIniIndex>(text);
    // A file that changed while it was read is not kept: its stamp may not
    // describe the text we hold. Nor is one changed a moment ago, whose next
    // change could leave the same stamp.
    if (Stamp(path) != before || !Settled(*before)) return index;
    std::lock_guard guard(g_CacheLock);
    auto it = FindEntry(path);
    if (it != g_Cache.end()) g_Cache.erase(it);
    g_Cache.push_front(CCacheEntry{path, *before, index});
    if (g_Cache.size() > kMaxCachedFiles) g_Cache.pop_back();
    return index;
}

void ForgetIniFile(const std::string& path) {
    std::lock_guard guard(g_CacheLock);
    auto it = FindEntry(path);
    if (it != g_Cache.end()) g_Cache.erase(it);
}

void SetIniSettleTimeForTests(int64_t nanoseconds) {
    g_SettledNs = nanoseconds < 0 ? kSettledNs : nanoseconds;
}

size_t IniCacheSize() {
    std::lock_guard guard(g_CacheLock);
    return g_Cache.size();
}

} // namespace orvane
