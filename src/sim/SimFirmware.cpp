#include "sim/SimFirmware.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "platform/ByteOrder.h"

namespace orvane {
namespace {

constexpr uint8_t kAccepted = 0x00;
constexpr uint8_t kBadChecksum = 0xFF;
constexpr uint8_t kRefused = 0xFE;
constexpr size_t kPayload = 56;

// A default lighting record: mode, brightness, speed, direction, colourful,
// colour; the other fields start at zero.
void PutRecord(uint8_t* r, uint8_t mode, uint8_t red, uint8_t green, uint8_t blue) {
    r[0] = mode;
    r[1] = 4; // brightness
    r[2] = 2; // speed
    r[3] = 0; // direction
    r[4] = 1; // colourful
    r[5] = red;
    r[6] = green;
    r[7] = blue;
}

bool IsWrite(uint8_t command) {
    return command == 0x06 || command == 0x08 || command == 0x0A || command == 0x11;
}

} // namespace

CSimFirmware::CSimFirmware(int keyCount) {
    Reset(keyCount);
}

void CSimFirmware::Reset(int keyCount) {
    m_KeyCount = keyCount == 126 ? 126 : 128;
    Info.fill(0);
    Info[0] = 0x01; // firmware version, never read by the program
    Info[1] = 0x07;
    Info[10] = 0;  // active profile
    Info[11] = 48; // 6 KiB of macro memory
    const uint8_t modes[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 20};
    std::copy(std::begin(modes), std::end(modes), Info.begin() + 12);
    Lighting.fill(0);
    PutRecord(Lighting.data(), 1, 0xFF, 0x00, 0x00);
    PutRecord(Lighting.data() + 42, 2, 0x00, 0xFF, 0x00);
    PutRecord(Lighting.data() + 84, 3, 0x00, 0x00, 0xFF);
    const auto& factory = SimFactoryMatrix();
    FactoryMatrix.assign(factory.begin(), factory.begin() + static_cast<ptrdiff_t>(KeyMatrixLength()));
    Matrices.clear();
    for (int p = 0; p < 3; ++p)
        Matrices.insert(Matrices.end(), FactoryMatrix.begin(), FactoryMatrix.end());
    KeyColours.fill(0xFF);
    MacroMemory.fill(0xFF); // erased flash: no 0x55AA header, so no macros
    InSession = false;
    SessionsBegun = 0;
    WritesOutsideSession = 0;
}

void CSimFirmware::HandleRequest(const uint8_t* request, uint8_t* reply) {
    std::memset(reply, 0, 64);
    std::memcpy(reply, request, 7);
    uint16_t sum = 0;
    for (size_t i = 3; i < 64; ++i)
        sum = static_cast<uint16_t>(sum + request[i]);
    if (request[0] != 0x04 || GetLE16(request + 1) != sum) {
        reply[7] = kBadChecksum;
        return;
    }
    const uint8_t command = request[3];
    const size_t length = request[4];
    const size_t offset = GetLE16(request + 5);
    const uint8_t* payload = request + 8;
    uint8_t* data = reply + 8;

    // clang-format off
    // The addressable area of each read or write command.
    uint8_t* area = nullptr;
    size_t size = 0;
    bool write = false;
    switch (command) {
    case 0x01:
        InSession = true;
        ++SessionsBegun;
        reply[7] = kAccepted;
        return;
    case 0x02:
        InSession = false;
        reply[7] = kAccepted;
        return;
    case 0x03: area = Info.data(); size = Info.size(); break;
    case 0x04: area = Info.data(); size = Info.size(); write = true; break;
    case 0x05: area = Lighting.data(); size = Lighting.size(); break;
    case 0x06: area = Lighting.data(); size = Lighting.size(); write = true; break;
    case 0x07: area = Matrices.data(); size = Matrices.size(); break;
    case 0x08: area = Matrices.data(); size = Matrices.size(); write = true; break;
    case 0x09: area = MacroMemory.data(); size = MacroCapacity(); break;
    case 0x0A: area = MacroMemory.data(); size = MacroCapacity(); write = true; break;
    case 0x0F: area = FactoryMatrix.data(); size = FactoryMatrix.size(); break;
    case 0x11: area = KeyColours.data(); size = KeyColours.size(); write = true; break;
    default: reply[7] = kRefused; return;
    }
    // clang-format on
    // A read may run past the end of its area (the program reads the last
    // lighting record as a whole 56-byte chunk); only the bytes inside the
    // area come back, the rest stay zero. Writes must fit exactly.
    const size_t inside = offset < size ? std::min<size_t>(length, size - offset) : 0;
    if (length > kPayload || (write ? !RangeFits(size, offset, length) : inside == 0)) {
        reply[7] = kRefused;
        return;
    }
    if (write) {
        // The active profile can only name one of the three profiles.
        if (command == 0x04 && offset <= 10 && offset + length > 10 && payload[10 - offset] > 2) {
            reply[7] = kRefused;
            return;
        }
        std::memcpy(area + offset, payload, length);
        if (IsWrite(command) && !InSession) ++WritesOutsideSession;
    } else {
        std::memcpy(data, area + offset, inside);
    }
    reply[7] = kAccepted;
}

namespace {
constexpr char kStateMagic[8] = {'O', 'R', 'V', 'S', 'I', 'M', '1', 0};
}

bool CSimFirmware::SaveState(const std::string& path) const {
    std::vector<uint8_t> out(kStateMagic, kStateMagic + 8);
    out.push_back(static_cast<uint8_t>(m_KeyCount));
    auto add = [&](const uint8_t* p, size_t n) { out.insert(out.end(), p, p + n); };
    add(Info.data(), Info.size());
    add(Lighting.data(), Lighting.size());
    add(Matrices.data(), Matrices.size());
    add(KeyColours.data(), KeyColours.size());
    add(MacroMemory.data(), MacroMemory.size());
    std::string tmp = path + ".tmp";
    {
        std::ofstream f(tmp, std::ios::binary | std::ios::trunc);
        if (!f.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size())))
            return false;
    }
    return std::rename(tmp.c_str(), path.c_str()) == 0;
}

bool CSimFirmware::LoadState(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    if (!f) return false;
    std::vector<uint8_t> in((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    const size_t matrices = 3 * KeyMatrixLength();
    const size_t want = 9 + Info.size() + Lighting.size() + matrices + KeyColours.size() + MacroMemory.size();
    if (in.size() != want || std::memcmp(in.data(), kStateMagic, 8) != 0 || in[8] != m_KeyCount) return false;
    const uint8_t* p = in.data() + 9;
    auto take = [&](uint8_t* dst, size_t n) {
        std::memcpy(dst, p, n);
        p += n;
    };
    take(Info.data(), Info.size());
    take(Lighting.data(), Lighting.size());
    take(Matrices.data(), matrices);
    take(KeyColours.data(), KeyColours.size());
    take(MacroMemory.data(), MacroMemory.size());
    return true;
}

} // namespace orvane
