#include "sim/SimKeyboard.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <deque>
#include <thread>

#include "device/HidPath.h"

namespace orvane {

// The keyboard's side of one open handle: the reports waiting to be read.
struct SimEndpoint : std::enable_shared_from_this<SimEndpoint> {
    std::mutex Mutex;
    std::deque<std::vector<uint8_t>> Queue;
    bool Gone = false;
    int EventFd = -1; // readable while Queue holds a report or the keyboard is gone
    unsigned Node = 0, Collection = 0;

    SimEndpoint() { EventFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK); }
    ~SimEndpoint() {
        if (EventFd >= 0) close(EventFd);
    }
    SimEndpoint(const SimEndpoint&) = delete;
    SimEndpoint& operator=(const SimEndpoint&) = delete;

    bool IsCommand() const { return Node == 1 && Collection == 1; }
    bool IsConsumer() const { return Node == 1 && Collection == 0; }

    void Signal() {
        uint64_t one = 1;
        [[maybe_unused]] ssize_t n = write(EventFd, &one, sizeof one);
    }
    void Push(std::vector<uint8_t> report) {
        std::lock_guard<std::mutex> lock(Mutex);
        if (Gone) return;
        Queue.push_back(std::move(report));
        Signal();
    }
    void MarkGone() {
        std::lock_guard<std::mutex> lock(Mutex);
        Gone = true;
        Signal();
    }
};

// One waiting thread's announcements: an eventfd counting plugs and unplugs.
struct SimHotplugFeed : CHotplugSource {
    int EventFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);

    SimHotplugFeed() = default;
    ~SimHotplugFeed() override {
        if (EventFd >= 0) close(EventFd);
    }
    SimHotplugFeed(const SimHotplugFeed&) = delete;
    SimHotplugFeed& operator=(const SimHotplugFeed&) = delete;

    int Fd() const override { return EventFd; }
    void Drain() override {
        uint64_t v;
        [[maybe_unused]] ssize_t n = read(EventFd, &v, sizeof v);
    }
    void Announce() {
        uint64_t one = 1;
        [[maybe_unused]] ssize_t n = write(EventFd, &one, sizeof one);
    }
};

namespace {

// Hands out the feed while the keyboard keeps only a weak reference to it.
class CSimHotplugSource : public CHotplugSource {
  public:
    explicit CSimHotplugSource(std::shared_ptr<SimHotplugFeed> feed) : m_Feed(std::move(feed)) {}
    int Fd() const override { return m_Feed->Fd(); }
    void Drain() override { m_Feed->Drain(); }

  private:
    std::shared_ptr<SimHotplugFeed> m_Feed;
};

constexpr unsigned kNodes = 2;
constexpr unsigned kCollections[kNodes] = {1, 2};

class CSimHandle : public CHidHandle {
  public:
    CSimHandle(CSimKeyboard& keyboard, std::shared_ptr<SimEndpoint> endpoint, HidAttributes attributes)
        : m_Keyboard(keyboard), m_Endpoint(std::move(endpoint)), m_Attributes(attributes) {}

    int TryRead(uint8_t* buffer, size_t capacity) override {
        std::lock_guard<std::mutex> lock(m_Endpoint->Mutex);
        if (m_Endpoint->Queue.empty()) return m_Endpoint->Gone ? -1 : 0;
        std::vector<uint8_t> report = std::move(m_Endpoint->Queue.front());
        m_Endpoint->Queue.pop_front();
        if (m_Endpoint->Queue.empty() && !m_Endpoint->Gone) {
            uint64_t v;
            [[maybe_unused]] ssize_t n = read(m_Endpoint->EventFd, &v, sizeof v);
        }
        size_t n = std::min(capacity, report.size());
        std::memcpy(buffer, report.data(), n);
        return static_cast<int>(n);
    }
    int TryWrite(const uint8_t* report, size_t length) override {
        {
            std::lock_guard<std::mutex> lock(m_Endpoint->Mutex);
            if (m_Endpoint->Gone) return -1;
        }
        if (!m_Endpoint->IsCommand()) return static_cast<int>(length); // LED reports: taken, ignored
        return m_Keyboard.HandleCommandWrite(*m_Endpoint, report, length);
    }
    int WaitFd() const override { return m_Endpoint->EventFd; }
    short WriteEvents() const override { return 0; }
    bool IsAlive() const override {
        std::lock_guard<std::mutex> lock(m_Endpoint->Mutex);
        return !m_Endpoint->Gone;
    }
    HidAttributes Attributes() const override { return m_Attributes; }
    const std::vector<uint8_t>& ReportDescriptor() const override {
        return CSimKeyboard::NodeDescriptor(m_Endpoint->Node);
    }
    unsigned CollectionIndex() const override { return m_Endpoint->Collection; }

  private:
    CSimKeyboard& m_Keyboard;
    std::shared_ptr<SimEndpoint> m_Endpoint;
    HidAttributes m_Attributes;
};

void Pace() {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

} // namespace

CSimKeyboard::CSimKeyboard(int keyCount) : m_Firmware(keyCount) {}

CSimKeyboard::~CSimKeyboard() {
    Unplug();
}

void CSimKeyboard::SetModel(int keyCount) {
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_Firmware.Reset(keyCount);
}

int CSimKeyboard::Model() const {
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_Firmware.KeyCount();
}

uint16_t CSimKeyboard::VendorID() const {
    return Model() == 126 ? 0x0C45 : 0x320F;
}
uint16_t CSimKeyboard::ProductID() const {
    return Model() == 126 ? 0x5004 : 0x5000;
}

void CSimKeyboard::Plug() {
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_Plugged = true;
    AnnounceLocked();
}

void CSimKeyboard::AnnounceLocked() {
    std::erase_if(m_HotplugFeeds, [](const std::weak_ptr<SimHotplugFeed>& w) { return w.expired(); });
    for (auto& weak : m_HotplugFeeds)
        if (auto feed = weak.lock()) feed->Announce();
}

std::unique_ptr<CHotplugSource> CSimKeyboard::OpenHotplugSource() {
    auto feed = std::make_shared<SimHotplugFeed>();
    if (feed->EventFd < 0) return nullptr;
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_HotplugFeeds.push_back(feed);
    return std::make_unique<CSimHotplugSource>(std::move(feed));
}

void CSimKeyboard::Unplug() {
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_Plugged = false;
    m_Firmware.InSession = false;
    for (auto& weak : m_Endpoints)
        if (auto e = weak.lock()) e->MarkGone();
    m_Endpoints.clear();
    AnnounceLocked();
}

void CSimKeyboard::AddFault(const SimFault& fault) {
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_Faults.push_back(fault);
}

void CSimKeyboard::ClearFaults() {
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_Faults.clear();
}

void CSimKeyboard::SetPacing(bool paced) {
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_Paced = paced;
}

bool CSimKeyboard::Paced() const {
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_Paced;
}

bool CSimKeyboard::SetTraceFile(const std::string& path) {
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_Trace.close();
    m_Trace.clear();
    m_Trace.open(path, std::ios::out | std::ios::trunc);
    return static_cast<bool>(m_Trace);
}

void CSimKeyboard::SetRecording(bool on) {
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_Recording = on;
}

std::vector<SimWireReport> CSimKeyboard::Recorded() const {
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_Recorded;
}

void CSimKeyboard::ClearRecorded() {
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_Recorded.clear();
}

uint32_t CSimKeyboard::RequestCount() const {
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_Requests;
}

size_t CSimKeyboard::HeldReplyCount() const {
    return m_Late.Held();
}

void CSimKeyboard::TraceLocked(char direction, const uint8_t* bytes, size_t n) {
    if (m_Recording) m_Recorded.push_back({direction, std::vector<uint8_t>(bytes, bytes + n)});
    if (!m_Trace.is_open()) return;
    std::string line(1, direction);
    char hex[4];
    for (size_t i = 0; i < n; ++i) {
        std::snprintf(hex, sizeof hex, " %02x", bytes[i]);
        line += hex;
    }
    line += '\n';
    m_Trace << line;
    m_Trace.flush(); // a run that is killed still leaves its trace
}

int CSimKeyboard::HandleCommandWrite(SimEndpoint& endpoint, const uint8_t* report, size_t length) {
    if (Paced()) Pace();
    std::vector<uint8_t> reply(64);
    bool unplugAfter = false;
    uint32_t replugMs = 0;
    bool late = false;
    uint32_t lateMs = 0;
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        if (!m_Plugged) return -1;
        const uint32_t n = ++m_Requests;
        bool failWrite = false, noReply = false, overrideStatus = false;
        uint8_t status = 0;
        for (const SimFault& f : m_Faults) {
            if (n < f.From || n > f.To) continue;
            switch (f.What) {
            case SimFault::FailWrite:
                failWrite = true;
                break;
            case SimFault::NoReply:
                noReply = true;
                break;
            case SimFault::Status:
                overrideStatus = true;
                status = f.StatusByte;
                break;
            case SimFault::Unplug:
                unplugAfter = true;
                replugMs = f.DelayMs;
                break;
            case SimFault::Late:
                late = true;
                lateMs = f.DelayMs;
                break;
            }
        }
        if (failWrite || length != 64) {
            TraceLocked('!', report, length);
            return -1;
        }
        TraceLocked('>', report, length);
        if (noReply) { // lost on the way: never processed
            reply.clear();
        } else if (overrideStatus && (status == 0xFF || status == 0xFE)) {
            std::memset(reply.data(), 0, 64);
            std::memcpy(reply.data(), report, 7);
        } else {
            m_Firmware.HandleRequest(report, reply.data());
        }
        if (!reply.empty()) {
            if (overrideStatus) reply[7] = status;
            if (!late) TraceLocked('<', reply.data(), reply.size());
        }
    }
    if (!reply.empty() && late) {
        // Traced when it arrives, so the trace shows where it really landed.
        std::weak_ptr<SimEndpoint> target = endpoint.weak_from_this();
        m_Late.Hold(std::chrono::milliseconds(lateMs), [this, target, reply = std::move(reply)]() mutable {
            auto e = target.lock();
            if (!e) return;
            {
                std::lock_guard<std::mutex> lock(m_Mutex);
                TraceLocked('<', reply.data(), reply.size());
            }
            e->Push(std::move(reply));
        });
    } else if (!reply.empty()) {
        if (Paced()) Pace();
        endpoint.Push(std::move(reply));
    }
    if (unplugAfter) Unplug();
    if (unplugAfter && replugMs) m_Late.Hold(std::chrono::milliseconds(replugMs), [this] { Plug(); });
    return static_cast<int>(length);
}

void CSimKeyboard::SendConsumerUsage(uint16_t usage) {
    std::lock_guard<std::mutex> lock(m_Mutex);
    if (!m_Plugged) return;
    std::vector<uint8_t> report = {0x03, static_cast<uint8_t>(usage), static_cast<uint8_t>(usage >> 8)};
    for (auto& weak : m_Endpoints)
        if (auto e = weak.lock(); e && e->IsConsumer()) e->Push(report);
}

bool CSimKeyboard::ParsePath(const std::string& path, unsigned* node, unsigned* collection) const {
    std::string nodeName;
    if (!SplitInterfacePath(path, &nodeName, collection)) return false;
    if (nodeName == "sim:hidraw0")
        *node = 0;
    else if (nodeName == "sim:hidraw1")
        *node = 1;
    else
        return false;
    if (*collection >= kCollections[*node]) return false;
    // The ids in the path must be this keyboard's, as a real node's would be.
    uint16_t vid = m_Firmware.KeyCount() == 126 ? 0x0C45 : 0x320F;
    uint16_t pid = m_Firmware.KeyCount() == 126 ? 0x5004 : 0x5000;
    return MakeInterfacePath(nodeName, vid, pid, *collection) == path;
}

bool CSimKeyboard::EnumeratePaths(std::vector<std::string>& paths) {
    std::lock_guard<std::mutex> lock(m_Mutex);
    paths.clear();
    if (!m_Plugged) return true;
    uint16_t vid = m_Firmware.KeyCount() == 126 ? 0x0C45 : 0x320F;
    uint16_t pid = m_Firmware.KeyCount() == 126 ? 0x5004 : 0x5000;
    for (unsigned node = 0; node < kNodes; ++node)
        for (unsigned c = 0; c < kCollections[node]; ++c)
            paths.push_back(MakeInterfacePath("sim:hidraw" + std::to_string(node), vid, pid, c));
    return true;
}

std::unique_ptr<CHidHandle> CSimKeyboard::OpenPath(const std::string& path, bool, bool) {
    std::lock_guard<std::mutex> lock(m_Mutex);
    if (!m_Plugged) return nullptr;
    ++m_OpenCounts[path];
    auto endpoint = std::make_shared<SimEndpoint>();
    if (endpoint->EventFd < 0 || !ParsePath(path, &endpoint->Node, &endpoint->Collection)) return nullptr;
    // Drop the entries of handles already closed so the list stays short.
    std::erase_if(m_Endpoints, [](const std::weak_ptr<SimEndpoint>& w) { return w.expired(); });
    m_Endpoints.push_back(endpoint);
    HidAttributes a;
    a.VendorID = m_Firmware.KeyCount() == 126 ? 0x0C45 : 0x320F;
    a.ProductID = m_Firmware.KeyCount() == 126 ? 0x5004 : 0x5000;
    a.VersionNumber = 0x0107;
    return std::make_unique<CSimHandle>(*this, std::move(endpoint), a);
}

int CSimKeyboard::OpenCount(const std::string& path) const {
    std::lock_guard<std::mutex> lock(m_Mutex);
    auto it = m_OpenCounts.find(path);
    return it == m_OpenCounts.end() ? 0 : it->second;
}

int CSimKeyboard::OpenHandleCount() const {
    std::lock_guard<std::mutex> lock(m_Mutex);
    int n = 0;
    for (const auto& w : m_Endpoints)
        n += !w.expired();
    return n;
}

bool CSimKeyboard::IsPresent(const std::string& path) {
    std::lock_guard<std::mutex> lock(m_Mutex);
    unsigned node = 0, collection = 0;
    return m_Plugged && ParsePath(path, &node, &collection);
}

} // namespace orvane
