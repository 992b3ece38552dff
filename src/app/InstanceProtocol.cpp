#include "app/InstanceProtocol.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "platform/ByteOrder.h"
#include "platform/Paths.h"

namespace orvane {
namespace {

void PutLE64(uint8_t* p, uint64_t v) {
    PutLE32(p, static_cast<uint32_t>(v));
    PutLE32(p + 4, static_cast<uint32_t>(v >> 32));
}
uint64_t GetLE64(const uint8_t* p) {
    return GetLE32(p) | (static_cast<uint64_t>(GetLE32(p + 4)) << 32);
}

class CSocket {
  public:
    CSocket() : fd_(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0)) {}
    ~CSocket() {
        if (fd_ >= 0) ::close(fd_);
    }
    CSocket(const CSocket&) = delete;
    CSocket& operator=(const CSocket&) = delete;
    int Get() const { return fd_; }

  private:
    int fd_;
};

using Clock = std::chrono::steady_clock;

int RemainingMs(Clock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

bool WaitFor(int fd, short events, Clock::time_point deadline) {
    for (;;) {
        pollfd p{fd, events, 0};
        int rc = ::poll(&p, 1, RemainingMs(deadline));
        if (rc > 0) return true;
        if (rc == 0 || errno != EINTR) return false;
    }
}

} // namespace

std::string InstanceSocketPath(pid_t pid) {
    std::string path = RuntimeFilePath("orvane-" + std::to_string(pid), ".sock");
    return path.size() <= kMaxSocketPath ? path : std::string();
}

void EncodeInstanceRequest(const CInstanceRequest& request, uint8_t (&out)[kInstanceRequestSize]) {
    PutLE32(out, request.message);
    PutLE64(out + 4, request.wParam);
    PutLE64(out + 12, static_cast<uint64_t>(request.lParam));
}

CInstanceRequest DecodeInstanceRequest(const uint8_t (&in)[kInstanceRequestSize]) {
    CInstanceRequest request;
    request.message = GetLE32(in);
    request.wParam = GetLE64(in + 4);
    request.lParam = static_cast<int64_t>(GetLE64(in + 12));
    return request;
}

void EncodeInstanceAnswer(int64_t result, uint8_t (&out)[kInstanceAnswerSize]) {
    PutLE64(out, static_cast<uint64_t>(result));
}

int64_t DecodeInstanceAnswer(const uint8_t (&in)[kInstanceAnswerSize]) {
    return static_cast<int64_t>(GetLE64(in));
}

std::optional<int64_t> SendToInstance(pid_t pid, const CInstanceRequest& request, int timeoutMs) {
    const std::string path = InstanceSocketPath(pid);
    if (path.empty() || pid <= 0) return std::nullopt;
    CSocket sock;
    if (sock.Get() < 0) return std::nullopt;
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::memcpy(addr.sun_path, path.c_str(), path.size() + 1);
    // A socket left by a killed instance refuses the connection: nothing is sent.
    int rc;
    do {
        rc = ::connect(sock.Get(), reinterpret_cast<const sockaddr*>(&addr), sizeof addr);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) return std::nullopt;

    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    uint8_t out[kInstanceRequestSize];
    EncodeInstanceRequest(request, out);
    size_t sent = 0;
    while (sent < sizeof out) {
        if (!WaitFor(sock.Get(), POLLOUT, deadline)) return std::nullopt;
        ssize_t n = ::send(sock.Get(), out + sent, sizeof out - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (n <= 0) return std::nullopt;
        sent += static_cast<size_t>(n);
    }
    uint8_t in[kInstanceAnswerSize];
    size_t got = 0;
    while (got < sizeof in) {
        if (!WaitFor(sock.Get(), POLLIN, deadline)) return std::nullopt;
        ssize_t n = ::recv(sock.Get(), in + got, sizeof in - got, MSG_DONTWAIT);
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (n <= 0) return std::nullopt;
        got += static_cast<size_t>(n);
    }
    return DecodeInstanceAnswer(in);
}

} // namespace orvane
