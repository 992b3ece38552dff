#pragma once
// Linux hidraw: nodes listed from sysfs, one interface path per top-level
// collection of each node's report descriptor.
#include <string>

#include "device/HidBackend.h"

namespace orvane {

class CHidrawBackend : public CHidBackend {
  public:
    // Roots default to $ORVANE_SYSFS_ROOT (else /sys) and $ORVANE_DEV_ROOT (else /dev).
    CHidrawBackend();
    CHidrawBackend(std::string sysfsRoot, std::string devRoot);

    bool EnumeratePaths(std::vector<std::string>& paths) override;
    std::unique_ptr<CHidHandle> OpenPath(const std::string& path, bool wantRead, bool wantWrite) override;
    bool IsPresent(const std::string& path) override;
    // A udev monitor of the hidraw nodes; null without a running udev, or
    // when the roots are a tree of our own that udev knows nothing about.
    std::unique_ptr<CHotplugSource> OpenHotplugSource() override;

  protected:
    // Opens the device node; tests stand a socket in for it. Returns an fd or -1.
    virtual int OpenNode(const std::string& nodePath, int flags);

  private:
    struct NodeInfo {
        HidAttributes Attributes;
        std::vector<uint8_t> Descriptor;
    };
    bool ReadNodeInfo(const std::string& name, NodeInfo* info) const;
    std::string SysfsDir(const std::string& name) const;

    std::string m_SysfsRoot;
    std::string m_DevRoot;
};

} // namespace orvane
