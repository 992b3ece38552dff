#include "device/support/FakeHidraw.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace orvane::test {

namespace fs = std::filesystem;

CFakeHidrawTree::CFakeHidrawTree() {
    fs::create_directories(SysfsRoot() + "/class/hidraw");
    fs::create_directories(DevRoot());
}

CFakeHidrawTree::~CFakeHidrawTree() {
    for (auto& [n, p] : m_Pairs) {
        if (p.Program >= 0) close(p.Program);
        if (p.Device >= 0) close(p.Device);
    }
}

std::string CFakeHidrawTree::AddNode(unsigned n, uint16_t vendorId, uint16_t productId,
                                     const std::vector<uint8_t>& descriptor) {
    std::string name = "hidraw" + std::to_string(n);
    // The real layout: the class entry links into the device tree, and the
    // node's "device" link is its HID device.
    std::string hid = SysfsRoot() + "/devices/usb/" + std::to_string(n) + "/hid";
    fs::create_directories(hid + "/hidraw/" + name);
    fs::create_directory_symlink(hid + "/hidraw/" + name, SysfsRoot() + "/class/hidraw/" + name);
    fs::create_directory_symlink(hid, hid + "/hidraw/" + name + "/device");
    char id[64];
    std::snprintf(id, sizeof id, "HID_ID=0003:%08X:%08X\n", vendorId, productId);
    std::ofstream(hid + "/uevent") << "DRIVER=hid-generic\n" << id << "HID_NAME=Fake\n";
    std::ofstream(hid + "/report_descriptor", std::ios::binary)
        .write(reinterpret_cast<const char*>(descriptor.data()),
               static_cast<std::streamsize>(descriptor.size()));
    std::ofstream(DevRoot() + "/" + name) << "";
    int sv[2];
    if (socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, sv) == 0) m_Pairs[n] = {sv[0], sv[1]};
    return DevRoot() + "/" + name;
}

void CFakeHidrawTree::Unplug(unsigned n) {
    std::string name = "hidraw" + std::to_string(n);
    std::error_code ec;
    fs::remove(SysfsRoot() + "/class/hidraw/" + name, ec);
    fs::remove(DevRoot() + "/" + name, ec);
    auto it = m_Pairs.find(n);
    if (it == m_Pairs.end()) return;
    if (it->second.Device >= 0) {
        shutdown(it->second.Device, SHUT_RDWR); // wakes whoever waits on either end
        close(it->second.Device);
    }
    it->second.Device = -1;
}

int CFakeHidrawTree::DeviceEnd(unsigned n) const {
    auto it = m_Pairs.find(n);
    return it == m_Pairs.end() ? -1 : it->second.Device;
}

int CFakeHidrawTree::OpenProgramEnd(const std::string& nodePath) {
    std::error_code ec;
    if (!fs::exists(nodePath, ec)) return -1;
    unsigned n =
        static_cast<unsigned>(std::strtoul(nodePath.c_str() + nodePath.rfind("hidraw") + 6, nullptr, 10));
    auto it = m_Pairs.find(n);
    if (it == m_Pairs.end() || it->second.Device < 0) return -1;
    int fd = fcntl(it->second.Program, F_DUPFD_CLOEXEC, 0);
    if (fd >= 0) fcntl(fd, F_SETFL, O_NONBLOCK);
    return fd;
}

} // namespace orvane::test
