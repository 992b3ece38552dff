#pragma once
// A client of sway's IPC socket ($SWAYSOCK): requests with their replies and
// the events a subscription delivers. A message is "i3-ipc", a u32 payload
// length, a u32 type and the payload. Every failure (no socket, a timeout, a
// message that breaks the framing) comes back as an empty result, so a
// caller never hangs on the compositor.
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

namespace orvane {

constexpr uint32_t kSwayRunCommand = 0;
constexpr uint32_t kSwaySubscribe = 2;
constexpr uint32_t kSwayGetTree = 4;
// Set in the type of an event a subscription delivers.
constexpr uint32_t kSwayEventBit = 0x80000000u;
constexpr size_t kSwayHeaderSize = 14;
// A whole tree of a busy desktop stays far below this.
constexpr uint32_t kSwayMaxPayload = 8u << 20;

struct SwayMessage {
    uint32_t type = 0;
    std::string payload;
};

// One message as sway reads it.
std::string SwayFrame(uint32_t type, std::string_view payload);

class CSwayIpc {
  public:
    explicit CSwayIpc(int timeoutMs = 500, uint32_t maxPayload = kSwayMaxPayload)
        : timeoutMs_(timeoutMs), maxPayload_(maxPayload) {}
    ~CSwayIpc() { Close(); }
    CSwayIpc(const CSwayIpc&) = delete;
    CSwayIpc& operator=(const CSwayIpc&) = delete;

    // Connects to the socket at `path`, or at $SWAYSOCK when empty.
    bool Connect(const std::string& path = {});
    // Takes over a connected stream socket (a test's fake server).
    void Adopt(int fd);
    void Close();
    bool Connected() const { return fd_ >= 0; }

    // Sends a request and gives its reply's payload. Events that arrive
    // first are kept for NextEvent. A failed exchange closes the connection:
    // what follows on it could not be told apart from the rest of a message.
    std::optional<std::string> Request(uint32_t type, std::string_view payload);
    // Subscribes to the events named in `eventsJson` (a JSON array); true
    // when sway confirmed it.
    bool Subscribe(std::string_view eventsJson);
    // The next event (its type without kSwayEventBit), waiting at most
    // `waitMs` for its start; nothing on a timeout (the connection stays) or
    // a failure (it is closed).
    std::optional<SwayMessage> NextEvent(int waitMs);

  private:
    bool SendAll(const std::string& bytes);
    std::optional<SwayMessage> Receive(int firstByteWaitMs);
    bool ReadExactly(char* into, size_t count, int waitMs);
    std::optional<SwayMessage> Fail();

    int fd_ = -1;
    int timeoutMs_;
    uint32_t maxPayload_;
    std::deque<SwayMessage> events_;
};

} // namespace orvane
