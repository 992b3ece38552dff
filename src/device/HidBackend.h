#pragma once
// The operating-system side of a HID interface, kept behind an interface so
// the same CHidDevice runs on hidraw and on the simulated keyboard.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace orvane {

struct HidAttributes {
    uint16_t VendorID = 0;
    uint16_t ProductID = 0;
    uint16_t VersionNumber = 0;
};
static_assert(sizeof(HidAttributes) == 6);

// One opened interface. Reads and writes never block: CHidDevice waits on
// WaitFd() together with its stop event.
class CHidHandle {
  public:
    virtual ~CHidHandle() = default;

    // Number of bytes of one whole report (report id first), 0 when nothing
    // is waiting, -1 when the device is gone or failed.
    virtual int TryRead(uint8_t* buffer, size_t capacity) = 0;
    // Bytes written, 0 when the device cannot take a report now, -1 on failure.
    virtual int TryWrite(const uint8_t* report, size_t length) = 0;
    // Becomes readable when TryRead may have something (or the device went away).
    virtual int WaitFd() const = 0;
    // poll() events that mean "TryWrite may proceed" on WaitFd(); 0 when writes
    // never have to wait.
    virtual short WriteEvents() const = 0;
    // An fd that poll() reports with POLLHUP or POLLERR once the device has
    // gone; -1 when the backend tells removals only through its hotplug source.
    virtual int HangupFd() const { return -1; }

    // False once the device behind this handle has gone, even if a device
    // has since appeared under the same name.
    virtual bool IsAlive() const = 0;

    virtual HidAttributes Attributes() const = 0;
    // The whole report descriptor of the node and which of its top-level
    // collections (0-based) this handle stands for.
    virtual const std::vector<uint8_t>& ReportDescriptor() const = 0;
    virtual unsigned CollectionIndex() const = 0;
};

// Arrivals and removals of interfaces, as the system announces them.
class CHotplugSource {
  public:
    virtual ~CHotplugSource() = default;
    // Readable while an announcement waits to be taken.
    virtual int Fd() const = 0;
    // Takes every waiting announcement; never blocks.
    virtual void Drain() = 0;
};

class CHidBackend {
  public:
    virtual ~CHidBackend() = default;
    // Paths of every present interface, one per top-level collection, in a
    // stable order. False when the interfaces cannot be listed at all.
    virtual bool EnumeratePaths(std::vector<std::string>& paths) = 0;
    // Null on failure.
    virtual std::unique_ptr<CHidHandle> OpenPath(const std::string& path, bool wantRead, bool wantWrite) = 0;
    // The cheap presence check: the path could still be opened.
    virtual bool IsPresent(const std::string& path) = 0;
    // A new source of hotplug announcements for one waiting thread; null where
    // the system makes none, and the caller has to look for changes itself.
    virtual std::unique_ptr<CHotplugSource> OpenHotplugSource() { return nullptr; }
};

// The backend every CHidDevice uses: hidraw unless another is installed
// (the simulated keyboard, a test's fake). Not owned.
CHidBackend& HidBackend();
void SetHidBackend(CHidBackend* backend);

} // namespace orvane
