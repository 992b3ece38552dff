#include "app/gui/ReportTrace.h"

#include <cstdio>
#include <memory>
#include <mutex>
#include <vector>

#include "device/HidBackend.h"

namespace orvane {
namespace {

constexpr uint8_t kCommandReportId = 0x04;

class CTraceFile {
  public:
    bool Open(const std::string& path) {
        m_file.reset(std::fopen(path.c_str(), "w"));
        return m_file != nullptr;
    }
    void Line(char direction, const uint8_t* bytes, size_t n) {
        if (n == 0 || bytes[0] != kCommandReportId)
            return; // consumer and keyboard reports are not the program's talk
        std::string line(1, direction);
        char hex[4];
        for (size_t i = 0; i < n; ++i) {
            std::snprintf(hex, sizeof hex, " %02x", bytes[i]);
            line += hex;
        }
        line += '\n';
        std::lock_guard lock(m_mutex);
        std::fputs(line.c_str(), m_file.get());
        std::fflush(m_file.get()); // a run that is killed still leaves its trace
    }

  private:
    struct Closer {
        void operator()(std::FILE* f) const { std::fclose(f); }
    };
    std::mutex m_mutex;
    std::unique_ptr<std::FILE, Closer> m_file;
};

class CTracedHandle final : public CHidHandle {
  public:
    CTracedHandle(std::unique_ptr<CHidHandle> inner, CTraceFile& trace)
        : m_inner(std::move(inner)), m_trace(trace) {}
    int TryRead(uint8_t* buffer, size_t capacity) override {
        const int n = m_inner->TryRead(buffer, capacity);
        if (n > 0) m_trace.Line('<', buffer, static_cast<size_t>(n));
        return n;
    }
    int TryWrite(const uint8_t* report, size_t length) override {
        const int n = m_inner->TryWrite(report, length);
        if (n > 0) m_trace.Line('>', report, length);
        return n;
    }
    int WaitFd() const override { return m_inner->WaitFd(); }
    short WriteEvents() const override { return m_inner->WriteEvents(); }
    bool IsAlive() const override { return m_inner->IsAlive(); }
    HidAttributes Attributes() const override { return m_inner->Attributes(); }
    const std::vector<uint8_t>& ReportDescriptor() const override { return m_inner->ReportDescriptor(); }
    unsigned CollectionIndex() const override { return m_inner->CollectionIndex(); }

  private:
    std::unique_ptr<CHidHandle> m_inner;
    CTraceFile& m_trace;
};

class CTracingBackend final : public CHidBackend {
  public:
    explicit CTracingBackend(CHidBackend& inner) : m_inner(inner) {}
    CTraceFile& Trace() { return m_trace; }
    bool EnumeratePaths(std::vector<std::string>& paths) override { return m_inner.EnumeratePaths(paths); }
    std::unique_ptr<CHidHandle> OpenPath(const std::string& path, bool wantRead, bool wantWrite) override {
        auto handle = m_inner.OpenPath(path, wantRead, wantWrite);
        if (!handle) return nullptr;
        return std::make_unique<CTracedHandle>(std::move(handle), m_trace);
    }
    bool IsPresent(const std::string& path) override { return m_inner.IsPresent(path); }

  private:
    CHidBackend& m_inner;
    CTraceFile m_trace;
};

} // namespace

bool InstallReportTrace(const std::string& path) {
    // Every backend installed lives as long as the process (the device
    // threads are never stopped, so none is ever destroyed); the list keeps
    // them reachable, so a leak checker sees they are meant to stay.
    static auto& installed = *new std::vector<std::unique_ptr<CTracingBackend>>();
    auto backend = std::make_unique<CTracingBackend>(HidBackend());
    if (!backend->Trace().Open(path)) return false;
    SetHidBackend(backend.get());
    installed.push_back(std::move(backend));
    return true;
}

} // namespace orvane
