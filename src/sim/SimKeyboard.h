#pragma once
// The simulated keyboard as a HID backend: the collections a real keyboard
// shows, under "sim:" paths, the firmware behind the command collection,
// consumer reports on request, faults, plugging, pacing and a wire trace.
#include <cstdint>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "device/HidBackend.h"
#include "sim/SimFaults.h"
#include "sim/SimFirmware.h"
#include "sim/SimLateReplies.h"

namespace orvane {

struct SimEndpoint;
struct SimHotplugFeed;

// One report as it crossed the wire: '>' request, '<' reply, '!' failed write.
struct SimWireReport {
    char Direction = '>';
    std::vector<uint8_t> Bytes;
};

class CSimKeyboard : public CHidBackend {
  public:
    explicit CSimKeyboard(int keyCount = 128);
    ~CSimKeyboard() override;

    // Model and factory state; the keyboard must be unplugged to change model.
    void SetModel(int keyCount);
    int Model() const;
    uint16_t VendorID() const;
    uint16_t ProductID() const;

    void Plug();
    void Unplug(); // every open handle fails its waiting transfer at once

    void AddFault(const SimFault& fault);
    void ClearFaults();
    void SetPacing(bool paced); // 1 ms per report, as a full-speed device
    bool SetTraceFile(const std::string& path);
    // Keeps every report in memory for tests (off by default).
    void SetRecording(bool on);
    std::vector<SimWireReport> Recorded() const;
    void ClearRecorded();
    uint32_t RequestCount() const; // requests seen so far (failed writes included)
    // Replies a late fault holds back that have not arrived yet.
    size_t HeldReplyCount() const;

    // How often `path` was opened, and how many handles are open now.
    int OpenCount(const std::string& path) const;
    int OpenHandleCount() const;

    // A consumer-control report with this usage to every open consumer handle.
    void SendConsumerUsage(uint16_t usage);

    // Runs f(CSimFirmware&) under the keyboard's lock.
    template <class F> auto WithFirmware(F&& f) {
        std::lock_guard<std::mutex> lock(m_Mutex);
        return f(m_Firmware);
    }

    // The descriptor of each sim node: node 0 the keyboard, node 1 consumer
    // control then the command interface.
    static const std::vector<uint8_t>& NodeDescriptor(unsigned node);

    bool EnumeratePaths(std::vector<std::string>& paths) override;
    std::unique_ptr<CHidHandle> OpenPath(const std::string& path, bool wantRead, bool wantWrite) override;
    bool IsPresent(const std::string& path) override;
    // Plug and Unplug announce themselves here, as udev does for a real keyboard.
    std::unique_ptr<CHotplugSource> OpenHotplugSource() override;

    // Called by the command handle: -1 failed write, otherwise 64.
    int HandleCommandWrite(SimEndpoint& endpoint, const uint8_t* report, size_t length);
    bool Paced() const;

  private:
    void TraceLocked(char direction, const uint8_t* bytes, size_t n);
    void AnnounceLocked();
    bool ParsePath(const std::string& path, unsigned* node, unsigned* collection) const;

    mutable std::mutex m_Mutex;
    CSimFirmware m_Firmware;
    bool m_Plugged = true;
    bool m_Paced = false;
    uint32_t m_Requests = 0;
    std::vector<SimFault> m_Faults;
    std::vector<std::weak_ptr<SimEndpoint>> m_Endpoints;
    std::vector<std::weak_ptr<SimHotplugFeed>> m_HotplugFeeds;
    std::map<std::string, int> m_OpenCounts;
    std::ofstream m_Trace;
    bool m_Recording = false;
    std::vector<SimWireReport> m_Recorded;
    // Last, so it is gone (its thread ended) before anything it delivers to.
    CSimLateReplies m_Late;
};

} // namespace orvane
