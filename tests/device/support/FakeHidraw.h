#pragma once
// A sysfs tree and /dev folder made of plain files, with SOCK_SEQPACKET
// socketpairs standing in for the hidraw nodes: each write is one report
// and a closed peer is an unplugged keyboard.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "device/HidrawBackend.h"
#include "support/TempDir.h"

namespace orvane::test {

class CFakeHidrawTree {
  public:
    CFakeHidrawTree();
    ~CFakeHidrawTree();
    CFakeHidrawTree(const CFakeHidrawTree&) = delete;
    CFakeHidrawTree& operator=(const CFakeHidrawTree&) = delete;

    // Adds hidrawN with these ids and descriptor; returns the node path.
    std::string AddNode(unsigned n, uint16_t vendorId, uint16_t productId,
                        const std::vector<uint8_t>& descriptor);
    // Removes the node's files and closes the keyboard's end.
    void Unplug(unsigned n);
    // The keyboard's end of node n (-1 once unplugged).
    int DeviceEnd(unsigned n) const;
    // Opens the program's end of a node (a dup, as open() would give).
    int OpenProgramEnd(const std::string& nodePath);

    const std::string& Root() const { return m_Dir.Path(); }
    std::string SysfsRoot() const { return m_Dir.File("sys"); }
    std::string DevRoot() const { return m_Dir.File("dev"); }

  private:
    testing::CTempDir m_Dir;
    struct Pair {
        int Program = -1, Device = -1;
    };
    std::map<unsigned, Pair> m_Pairs;
};

class CFakeHidrawBackend : public CHidrawBackend {
  public:
    explicit CFakeHidrawBackend(CFakeHidrawTree& tree)
        : CHidrawBackend(tree.SysfsRoot(), tree.DevRoot()), m_Tree(tree) {}

  protected:
    int OpenNode(const std::string& nodePath, int) override { return m_Tree.OpenProgramEnd(nodePath); }

  private:
    CFakeHidrawTree& m_Tree;
};

} // namespace orvane::test
