#pragma once
// The simulated keyboard's firmware: its storage areas and its answer to
// every command report. Not thread-safe; CSimKeyboard serialises access.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace orvane {

class CSimFirmware {
  public:
    explicit CSimFirmware(int keyCount = 128);
    // Factory state for a model (126 or 128 keys).
    void Reset(int keyCount);

    // Answers one 64-byte request into a 64-byte reply: bytes 0-6 echoed,
    // status in byte 7 (0 accepted, 0xFF bad checksum, 0xFE refused), data
    // from byte 8. A refused command changes nothing.
    void HandleRequest(const uint8_t* request, uint8_t* reply);

    int KeyCount() const { return m_KeyCount; }
    size_t KeyMatrixLength() const { return m_KeyCount == 126 ? 378 : 512; }
    size_t MacroCapacity() const { return static_cast<size_t>(Info[11]) * 128; }

    // Keyboard persistence between runs, like its flash: false when the file
    // cannot be read or written, or belongs to the other model.
    bool SaveState(const std::string& path) const;
    bool LoadState(const std::string& path);

    // The areas, open to tests.
    std::array<uint8_t, 44> Info{};
    std::array<uint8_t, 126> Lighting{};
    std::vector<uint8_t> Matrices;      // 3 x key matrix length
    std::vector<uint8_t> FactoryMatrix; // key matrix length, read-only to commands
    std::array<uint8_t, 3 * 512> KeyColours{};
    std::array<uint8_t, 255 * 128> MacroMemory{}; // the first MacroCapacity() bytes are addressable

    bool InSession = false;
    uint32_t SessionsBegun = 0;
    uint32_t WritesOutsideSession = 0;

  private:
    int m_KeyCount = 128;
};

// The factory key matrix of the 128-key model (512 bytes); the 126-key model
// uses its first 378.
const std::array<uint8_t, 512>& SimFactoryMatrix();

} // namespace orvane
