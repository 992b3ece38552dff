#include "device/DeviceCommands.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <mutex>
#include <thread>

#include "platform/ByteOrder.h"
#include "platform/OrderedLock.h"

namespace orvane {
namespace {

// Written by the connection monitor, read everywhere: plain values, atomics
// only so that readers on other threads see whole values.
std::atomic<int> g_KeyCount{126};
std::atomic<int> g_KeyMatrixLength{378};
std::atomic<int> g_CurrentProfile{0};
std::atomic<int> g_ActiveProfileCache{-1};
std::atomic<size_t> g_MacroCapacity{0};

constexpr size_t kMaxChunkedTotal = 0x10000; // offsets are 16-bit

struct Request {
    uint8_t bytes[REPORT_SIZE] = {};
    Request(uint8_t command, uint8_t length, uint16_t offset) {
        bytes[0] = COMMAND_REPORT_ID;
        bytes[3] = command;
        bytes[4] = length;
        PutLE16(bytes + 5, offset);
    }
};

// One request, one reply; `data`, when given, receives the 56 reply data bytes
// only if the keyboard accepted the command.
int Exchange(Request& request, uint8_t* data) {
    SealReport(request.bytes);
    uint8_t reply[REPORT_SIZE] = {};
    uint32_t received = 0;
    int r = TransactReport(request.bytes, REPORT_SIZE, reply, REPORT_SIZE, &received);
    if (r != DEV_OK) return r;
    r = DecodeReplyStatus(reply);
    if (r == DEV_OK && data) std::memcpy(data, reply + 8, REPORT_PAYLOAD);
    return r;
}

int Simple(uint8_t command) {
    Request request(command, 0, 0);
    return Exchange(request, nullptr);
}

// Reads (out non-null) or writes (in non-null) `total` bytes in 56-byte steps.
int Chunked(uint8_t command, uint32_t base, size_t total, uint8_t* out, const uint8_t* in) {
    if (total == 0) return DEV_OK;
    for (size_t c = 0; c < total; c += REPORT_PAYLOAD) {
        size_t length = c + REPORT_PAYLOAD < total ? REPORT_PAYLOAD : total - c;
        Request request(command, static_cast<uint8_t>(length), static_cast<uint16_t>(base + c));
        if (in) std::memcpy(request.bytes + 8, in + c, length);
        uint8_t data[REPORT_PAYLOAD];
        int r = Exchange(request, out ? data : nullptr);
        if (r != DEV_OK) return r;
        if (out) std::memcpy(out + c, data, length);
    }
    return DEV_OK;
}

// One begin/end bracket on the wire at a time: a bracket from one thread
// (a lighting change) must never open while another's (an Apply) is still
// open. The thread that began a bracket owns it until its end; a bracket
// begun inside its own (a colour table write within a larger session) only
// counts deeper. Sits after DriverTableLock and before g_DeviceLock.
class SessionLock {
  public:
    void Enter() {
        const auto self = std::this_thread::get_id();
        {
            std::lock_guard guard(m_state);
            if (m_owner == self) {
                ++m_depth;
                return;
            }
        }
        m_bracket.lock();
        std::lock_guard guard(m_state);
        m_owner = self;
        m_depth = 1;
    }
    // Only the owner's leave counts: an end with no begin of its own (a bare
    // end command) releases nothing another thread holds.
    void Leave() {
        std::lock_guard guard(m_state);
        if (m_owner != std::this_thread::get_id() || --m_depth > 0) return;
        m_owner = std::thread::id();
        m_bracket.unlock();
    }

  private:
    // Locked and unlocked on the owner's thread only, as the order
    // checker's record of what each thread holds needs.
    COrderedLock m_bracket{kDeviceSessionRank, "DeviceSessionLock"};
    std::mutex m_state;
    std::thread::id m_owner;
    int m_depth = 0;
};

SessionLock& DeviceSessionLock() {
    static SessionLock lock;
    return lock;
}

} // namespace

int KeyCountForIds(uint16_t vendorId, uint16_t productId) {
    if (vendorId == 0x0C45 && productId == 0x5004) return 126;
    if (vendorId == 0x320F && productId == 0x5000) return 128;
    return 0;
}

int KeyCount() {
    return g_KeyCount.load();
}
int KeyMatrixLength() {
    return g_KeyMatrixLength.load();
}

bool SetModelParameters(uint16_t vendorId, uint16_t productId) {
    int keys = KeyCountForIds(vendorId, productId);
    if (keys == 0) return false;
    g_KeyCount.store(keys);
    g_KeyMatrixLength.store(keys == 126 ? 378 : 512);
    return true;
}

int GetCurrentProfile() {
    return g_CurrentProfile.load();
}
void SetCurrentProfile(int profile) {
    if (profile >= 0 && profile < PROFILE_COUNT) g_CurrentProfile.store(profile);
}

size_t MacroCapacity() {
    return g_MacroCapacity.load();
}
void SetMacroCapacity(size_t bytes) {
    g_MacroCapacity.store(bytes);
}

int GetActiveProfileCache() {
    return g_ActiveProfileCache.load();
}
void SetActiveProfileCache(int profile) {
    g_ActiveProfileCache.store(profile);
}

int DevBeginSession() {
    DeviceSessionLock().Enter();
    const int r = Simple(CMD_BEGIN_SESSION);
    // A bracket the keyboard did not open gets no end: nothing holds it.
    if (r != DEV_OK) DeviceSessionLock().Leave();
    return r;
}

int DevEndSession() {
    // The keyboard needs a moment after the last write of a session.
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    const int r = Simple(CMD_END_SESSION);
    DeviceSessionLock().Leave();
    return r;
}

int DevReadInfo(std::span<uint8_t> info) {
    if (info.size() < DEVICE_INFO_SIZE) return DEV_BAD_ARGUMENT;
    Request request(CMD_READ_INFO, DEVICE_INFO_SIZE, 0);
    uint8_t data[REPORT_PAYLOAD];
    int r = Exchange(request, data);
    if (r == DEV_OK) std::memcpy(info.data(), data, DEVICE_INFO_SIZE);
    return r;
}

int DevWriteInfo(std::span<const uint8_t> info) {
    if (info.size() < DEVICE_INFO_SIZE) return DEV_BAD_ARGUMENT;
    Request request(CMD_WRITE_INFO, DEVICE_INFO_SIZE, 0);
    std::memcpy(request.bytes + 8, info.data(), DEVICE_INFO_SIZE);
    return Exchange(request, nullptr);
}

int DevReadLighting(std::span<uint8_t> out, uint8_t length, uint16_t offset) {
    if (out.size() < REPORT_PAYLOAD) return DEV_BAD_ARGUMENT;
    Request request(CMD_READ_LIGHTING, length, offset);
    return Exchange(request, out.data());
}

int DevWriteLighting(std::span<const uint8_t> data, uint16_t offset) {
    if (data.empty() || data.size() > REPORT_PAYLOAD) return DEV_BAD_ARGUMENT;
    Request request(CMD_WRITE_LIGHTING, static_cast<uint8_t>(data.size()), offset);
    std::memcpy(request.bytes + 8, data.data(), data.size());
    return Exchange(request, nullptr);
}

int DevReadKeyMatrix(std::span<uint8_t> out, int profile) {
    if (profile > 2) return DEV_BAD_PROFILE;
    const size_t length = static_cast<size_t>(KeyMatrixLength());
    if (profile < 0 || out.size() < length) return DEV_BAD_ARGUMENT;
    return Chunked(CMD_READ_KEY_MATRIX, static_cast<uint32_t>(profile * length), length, out.data(), nullptr);
}

int DevWriteKeyMatrix(std::span<const uint8_t> matrix, int profile) {
    if (profile > 2) return DEV_BAD_PROFILE;
    const size_t length = static_cast<size_t>(KeyMatrixLength());
    if (profile < 0 || matrix.size() < length) return DEV_BAD_ARGUMENT;
    return Chunked(CMD_WRITE_KEY_MATRIX, static_cast<uint32_t>(profile * length), length, nullptr,
                   matrix.data());
}

int DevReadMacroMemory(std::span<uint8_t> out) {
    if (out.size() > kMaxChunkedTotal) return DEV_BAD_ARGUMENT;
    return Chunked(CMD_READ_MACRO_MEMORY, 0, out.size(), out.data(), nullptr);
}

int DevWriteMacroMemory(std::span<const uint8_t> image) {
    const size_t capacity = MacroCapacity();
    if (image.size() > kMaxChunkedTotal || (capacity && image.size() > capacity)) return DEV_BAD_ARGUMENT;
    return Chunked(CMD_WRITE_MACRO_MEMORY, 0, image.size(), nullptr, image.data());
}

int DevReadDefaultKeyMatrix(std::span<uint8_t> out) {
    const size_t length = static_cast<size_t>(KeyMatrixLength());
    if (out.size() < length) return DEV_BAD_ARGUMENT;
    return Chunked(CMD_READ_DEFAULT_KEY_MATRIX, 0, length, out.data(), nullptr);
}

int DevWriteKeyColours(std::span<const uint8_t> colours, int firstLed) {
    // Colours that would run into the next profile's table are refused.
    if (colours.size() > KEY_COLOURS_PER_COMMAND * 3 || firstLed < 0 ||
        !RangeFits(KEY_COLOUR_PROFILE_SIZE, static_cast<size_t>(firstLed) * 3, colours.size()))
        return DEV_BAD_ARGUMENT;
    uint32_t offset = static_cast<uint32_t>(GetCurrentProfile()) * KEY_COLOUR_PROFILE_SIZE +
                      static_cast<uint32_t>(firstLed) * 3;
    Request request(CMD_WRITE_KEY_COLOURS, static_cast<uint8_t>(colours.size()),
                    static_cast<uint16_t>(offset));
    if (!colours.empty()) std::memcpy(request.bytes + 8, colours.data(), colours.size());
    return Exchange(request, nullptr);
}

int DevWriteProfileKeyColours(std::span<const uint8_t> table) {
    if (table.size() < KEY_COLOUR_PROFILE_SIZE) return DEV_BAD_ARGUMENT;
    const size_t chunk = KEY_COLOURS_PER_COMMAND * 3;
    return DevInSession([&] {
        for (int i = 0; i <= KeyCount() / static_cast<int>(KEY_COLOURS_PER_COMMAND); ++i) {
            size_t from = static_cast<size_t>(i) * chunk;
            // The last chunk runs past the keys; it sends what the table holds
            // there, never past the table's end.
            size_t n = std::min(chunk, table.size() - from);
            const int r =
                DevWriteKeyColours(table.subspan(from, n), i * static_cast<int>(KEY_COLOURS_PER_COMMAND));
            if (r != DEV_OK) return r;
        }
        return DEV_OK;
    });
}

} // namespace orvane
