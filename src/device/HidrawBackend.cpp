#include "device/HidrawBackend.h"

#include <dirent.h>
#include <fcntl.h>
#include <libudev.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

#include "device/HidDescriptor.h"
#include "device/HidPath.h"

namespace orvane {
namespace {

constexpr size_t kMaxDescriptor = 4096; // HID_MAX_DESCRIPTOR_SIZE

std::string EnvOr(const char* name, const char* fallback) {
    const char* v = std::getenv(name);
    return v && *v ? v : fallback;
}

class CHidrawHandle : public CHidHandle {
  public:
    CHidrawHandle(int fd, HidAttributes attributes, std::vector<uint8_t> descriptor, unsigned collection)
        : m_Fd(fd), m_Attributes(attributes), m_Descriptor(std::move(descriptor)), m_Collection(collection) {}
    ~CHidrawHandle() override { close(m_Fd); }
    CHidrawHandle(const CHidrawHandle&) = delete;
    CHidrawHandle& operator=(const CHidrawHandle&) = delete;

    int TryRead(uint8_t* buffer, size_t capacity) override {
        for (;;) {
            ssize_t n = read(m_Fd, buffer, capacity);
            if (n > 0) return static_cast<int>(n);
            if (n == 0) return -1; // end of file: the node is gone
            if (errno == EINTR) continue;
            return errno == EAGAIN || errno == EWOULDBLOCK ? 0 : -1;
        }
    }
    int TryWrite(const uint8_t* report, size_t length) override {
        for (;;) {
            ssize_t n = write(m_Fd, report, length);
            if (n >= 0) return static_cast<int>(n);
            if (errno == EINTR) continue;
            return errno == EAGAIN || errno == EWOULDBLOCK ? 0 : -1;
        }
    }
    int WaitFd() const override { return m_Fd; }
    short WriteEvents() const override { return POLLOUT; }
    int HangupFd() const override { return m_Fd; }
    bool IsAlive() const override {
        pollfd p = {m_Fd, 0, 0}; // errors and hang-ups are reported whatever is asked
        return poll(&p, 1, 0) == 0 || !(p.revents & (POLLERR | POLLHUP | POLLNVAL));
    }
    HidAttributes Attributes() const override { return m_Attributes; }
    const std::vector<uint8_t>& ReportDescriptor() const override { return m_Descriptor; }
    unsigned CollectionIndex() const override { return m_Collection; }

  private:
    int m_Fd;
    HidAttributes m_Attributes;
    std::vector<uint8_t> m_Descriptor;
    unsigned m_Collection;
};

// udev's announcements of hidraw nodes. They come after udev has applied its
// rules, so a node announced as added already carries the user's access.
class CUdevHotplugSource : public CHotplugSource {
  public:
    CUdevHotplugSource(udev* context, udev_monitor* monitor) : m_Udev(context), m_Monitor(monitor) {}
    ~CUdevHotplugSource() override {
        udev_monitor_unref(m_Monitor);
        udev_unref(m_Udev);
    }
    CUdevHotplugSource(const CUdevHotplugSource&) = delete;
    CUdevHotplugSource& operator=(const CUdevHotplugSource&) = delete;

    int Fd() const override { return udev_monitor_get_fd(m_Monitor); }
    void Drain() override {
        while (udev_device* d = udev_monitor_receive_device(m_Monitor))
            udev_device_unref(d);
    }

  private:
    udev* m_Udev;
    udev_monitor* m_Monitor;
};

// Without a udev daemon a monitor opens but never hears anything (containers);
// umockdev's testbed stands in for the daemon and does deliver.
bool UdevDelivers() {
    return access("/run/udev/control", F_OK) == 0 || std::getenv("UMOCKDEV_DIR") != nullptr;
}

// hidrawN names sorted by N, so paths keep the kernel's order.
std::vector<std::string> ListNodes(const std::string& dir) {
    std::vector<std::pair<unsigned long, std::string>> nodes;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d)) {
            if (std::strncmp(e->d_name, "hidraw", 6) != 0) continue;
            char* end = nullptr;
            unsigned long n = std::strtoul(e->d_name + 6, &end, 10);
            if (end == e->d_name + 6 || *end) continue;
            nodes.emplace_back(n, e->d_name);
        }
        closedir(d);
    }
    std::sort(nodes.begin(), nodes.end());
    std::vector<std::string> names;
    for (auto& n : nodes)
        names.push_back(n.second);
    return names;
}

} // namespace

CHidrawBackend::CHidrawBackend()
    : m_SysfsRoot(EnvOr("ORVANE_SYSFS_ROOT", "/sys")), m_DevRoot(EnvOr("ORVANE_DEV_ROOT", "/dev")) {}

CHidrawBackend::CHidrawBackend(std::string sysfsRoot, std::string devRoot)
    : m_SysfsRoot(std::move(sysfsRoot)), m_DevRoot(std::move(devRoot)) {}

std::string CHidrawBackend::SysfsDir(const std::string& name) const {
    return m_SysfsRoot + "/class/hidraw/" + name;
}

bool CHidrawBackend::ReadNodeInfo(const std::string& name, NodeInfo* info) const {
    // The HID device is the node's "device" link; trees without that link
    // (emulated ones) still have it two levels up the node's own directory.
    std::string parent = SysfsDir(name) + "/device";
    struct stat st;
    if (stat(parent.c_str(), &st) != 0) parent = SysfsDir(name) + "/../..";
    std::ifstream uevent(parent + "/uevent");
    if (!uevent) return false;
    std::string line;
    bool found = false;
    while (std::getline(uevent, line)) {
        unsigned bus = 0, vendor = 0, product = 0;
        if (std::sscanf(line.c_str(), "HID_ID=%x:%x:%x", &bus, &vendor, &product) == 3) {
            info->Attributes.VendorID = static_cast<uint16_t>(vendor);
            info->Attributes.ProductID = static_cast<uint16_t>(product);
            found = true;
        }
    }
    if (!found) return false;
    std::ifstream desc(parent + "/report_descriptor", std::ios::binary);
    if (!desc) return false;
    info->Descriptor.assign(std::istreambuf_iterator<char>(desc), std::istreambuf_iterator<char>());
    return !info->Descriptor.empty() && info->Descriptor.size() <= kMaxDescriptor;
}

bool CHidrawBackend::EnumeratePaths(std::vector<std::string>& paths) {
    paths.clear();
    struct stat st;
    // No hidraw class at all (module not loaded) is an empty list, not a failure.
    if (stat((m_SysfsRoot + "/class").c_str(), &st) != 0) return false;
    for (const std::string& name : ListNodes(m_SysfsRoot + "/class/hidraw")) {
        NodeInfo info;
        if (!ReadNodeInfo(name, &info)) continue;
        std::vector<HidPreparsedData> collections;
        if (ParseReportDescriptor(info.Descriptor, collections) != HID_DESCRIPTOR_OK) continue;
        for (unsigned c = 0; c < collections.size(); ++c)
            paths.push_back(MakeInterfacePath(m_DevRoot + "/" + name, info.Attributes.VendorID,
                                              info.Attributes.ProductID, c));
    }
    return true;
}

int CHidrawBackend::OpenNode(const std::string& nodePath, int flags) {
    return open(nodePath.c_str(), flags | O_CLOEXEC | O_NONBLOCK);
}

std::unique_ptr<CHidHandle> CHidrawBackend::OpenPath(const std::string& path, bool wantRead, bool wantWrite) {
    std::string node;
    unsigned collection = 0;
    if (!SplitInterfacePath(path, &node, &collection)) return nullptr;
    std::string name = node.substr(node.rfind('/') + 1);
    NodeInfo info;
    if (!ReadNodeInfo(name, &info)) return nullptr;
    int flags = wantRead && wantWrite ? O_RDWR : wantWrite ? O_WRONLY : O_RDONLY;
    int fd = OpenNode(node, flags);
    if (fd < 0) return nullptr;
    return std::make_unique<CHidrawHandle>(fd, info.Attributes, std::move(info.Descriptor), collection);
}

std::unique_ptr<CHotplugSource> CHidrawBackend::OpenHotplugSource() {
    if (m_SysfsRoot != "/sys" || !UdevDelivers()) return nullptr;
    udev* context = udev_new();
    if (!context) return nullptr;
    udev_monitor* monitor = udev_monitor_new_from_netlink(context, "udev");
    if (!monitor || udev_monitor_filter_add_match_subsystem_devtype(monitor, "hidraw", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor) < 0 || udev_monitor_get_fd(monitor) < 0) {
        if (monitor) udev_monitor_unref(monitor);
        udev_unref(context);
        return nullptr;
    }
    return std::make_unique<CUdevHotplugSource>(context, monitor);
}

bool CHidrawBackend::IsPresent(const std::string& path) {
    std::string node;
    unsigned collection = 0;
    if (!SplitInterfacePath(path, &node, &collection)) return false;
    std::string name = node.substr(node.rfind('/') + 1);
    struct stat st;
    return stat(node.c_str(), &st) == 0 && stat(SysfsDir(name).c_str(), &st) == 0;
}

} // namespace orvane
