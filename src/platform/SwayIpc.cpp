#include "platform/SwayIpc.h"

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "platform/ByteOrder.h"

namespace orvane {

namespace {

constexpr char kMagic[] = {'i', '3', '-', 'i', 'p', 'c'};
constexpr size_t kMagicSize = sizeof(kMagic);

using Clock = std::chrono::steady_clock;

// Milliseconds left until `deadline`, never negative.
int LeftMs(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

// True when `fd` becomes ready for `events` before `deadline`.
bool WaitReady(int fd, short events, Clock::time_point deadline) {
    for (;;) {
        pollfd p{fd, events, 0};
        const int rc = ::poll(&p, 1, LeftMs(deadline));
        if (rc > 0) return true; // errors and hang-ups show in the read or write itself
        if (rc == 0 || errno != EINTR) return false;
    }
}

} // namespace

std::string SwayFrame(uint32_t type, std::string_view payload) {
    // sway reads the numbers in the host's byte order; the machines we
    // target are little-endian, so they are written that way explicitly.
    std::string frame(kSwayHeaderSize + payload.size(), '\0');
    auto* bytes = reinterpret_cast<uint8_t*>(frame.data());
    std::memcpy(bytes, kMagic, kMagicSize);
    PutLE32(bytes + kMagicSize, static_cast<uint32_t>(payload.size()));
    PutLE32(bytes + kMagicSize + 4, type);
    if (!payload.empty()) std::memcpy(bytes + kSwayHeaderSize, payload.data(), payload.size());
    return frame;
}

bool CSwayIpc::Connect(const std::string& path) {
    Close();
    std::string where = path;
    if (where.empty()) {
        const char* env = std::getenv("SWAYSOCK");
        if (!env) return false;
        where = env;
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (where.empty() || where.size() >= sizeof(address.sun_path)) return false;
    std::memcpy(address.sun_path, where.data(), where.size());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    // A local socket connects at once or not at all: nobody listening is a
    // refusal, not a wait.
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}

void CSwayIpc::Adopt(int fd) {
    Close();
    fd_ = fd;
}

void CSwayIpc::Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    events_.clear();
}

std::optional<SwayMessage> CSwayIpc::Fail() {
    Close();
    return std::nullopt;
}

bool CSwayIpc::SendAll(const std::string& bytes) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs_);
    size_t sent = 0;
    while (sent < bytes.size()) {
        if (!WaitReady(fd_, POLLOUT, deadline)) return false;
        // MSG_NOSIGNAL: a compositor that went away must not end this program.
        const ssize_t n = ::send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (n <= 0) return false;
        sent += static_cast<size_t>(n);
    }
    return true;
}

bool CSwayIpc::ReadExactly(char* into, size_t count, int waitMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(waitMs);
    size_t got = 0;
    while (got < count) {
        if (!WaitReady(fd_, POLLIN, deadline)) return false;
        const ssize_t n = ::recv(fd_, into + got, count - got, MSG_DONTWAIT);
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (n <= 0) return false; // closed mid-message, or an error
        got += static_cast<size_t>(n);
    }
    return true;
}

std::optional<SwayMessage> CSwayIpc::Receive(int firstByteWaitMs) {
    if (fd_ < 0) return std::nullopt;
    // The wait for a message to start may be long, and ending it leaves the
    // stream as it was; once a message has started, the rest must follow
    // within the usual time.
    if (!WaitReady(fd_, POLLIN, Clock::now() + std::chrono::milliseconds(firstByteWaitMs)))
        return std::nullopt;
    char header[kSwayHeaderSize];
    if (!ReadExactly(header, kSwayHeaderSize, timeoutMs_)) return Fail();
    if (std::memcmp(header, kMagic, kMagicSize) != 0) return Fail();
    const auto* numbers = reinterpret_cast<const uint8_t*>(header + kMagicSize);
    const uint32_t length = GetLE32(numbers);
    if (length > maxPayload_) return Fail();
    SwayMessage message;
    message.type = GetLE32(numbers + 4);
    message.payload.resize(length);
    if (length > 0 && !ReadExactly(message.payload.data(), length, timeoutMs_)) return Fail();
    return message;
}

std::optional<std::string> CSwayIpc::Request(uint32_t type, std::string_view payload) {
    if (fd_ < 0) return std::nullopt;
    if (payload.size() > maxPayload_ || !SendAll(SwayFrame(type, payload))) {
        Fail();
        return std::nullopt;
    }
    for (;;) {
        std::optional<SwayMessage> message = Receive(timeoutMs_);
        if (!message) {
            Fail(); // a reply that comes late would be taken for the next one's
            return std::nullopt;
        }
        if (message->type & kSwayEventBit) {
            message->type &= ~kSwayEventBit;
            events_.push_back(std::move(*message));
            continue;
        }
        if (message->type != type) {
            Fail();
            return std::nullopt;
        }
        return std::move(message->payload);
    }
}

bool CSwayIpc::Subscribe(std::string_view eventsJson) {
    const std::optional<std::string> reply = Request(kSwaySubscribe, eventsJson);
    if (!reply) return false;
    std::string compact;
    for (const char c : *reply)
        if (c != ' ' && c != '\n' && c != '\t' && c != '\r') compact += c;
    return compact == R"({"success":true})";
}

std::optional<SwayMessage> CSwayIpc::NextEvent(int waitMs) {
    if (!events_.empty()) {
        SwayMessage event = std::move(events_.front());
        events_.pop_front();
        return event;
    }
    std::optional<SwayMessage> message = Receive(waitMs);
    if (!message) return std::nullopt;
    // Only a request has a reply: anything else here breaks the exchange.
    if (!(message->type & kSwayEventBit)) return Fail();
    message->type &= ~kSwayEventBit;
    return message;
}

} // namespace orvane
