#pragma once
// How one copy of the program reaches the tagged main window of another: a
// local stream socket per running instance, opened by its main window once
// it carries the window tag. A request is one window message, the answer the
// handler's result:
//   request  20 bytes: message (u32 LE), wParam (u64 LE), lParam (i64 LE)
//   answer    8 bytes: result (i64 LE)
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <sys/types.h>

namespace orvane {

constexpr size_t kInstanceRequestSize = 20;
constexpr size_t kInstanceAnswerSize = 8;
// The longest socket path the platform accepts (sun_path less its terminator).
constexpr size_t kMaxSocketPath = 107;

struct CInstanceRequest {
    uint32_t message = 0;
    uint64_t wParam = 0;
    int64_t lParam = 0;
};

// $XDG_RUNTIME_DIR/orvane-<pid>.sock (or its /tmp fallback); empty when the
// path would be too long for a socket.
std::string InstanceSocketPath(pid_t pid);

void EncodeInstanceRequest(const CInstanceRequest& request, uint8_t (&out)[kInstanceRequestSize]);
CInstanceRequest DecodeInstanceRequest(const uint8_t (&in)[kInstanceRequestSize]);
void EncodeInstanceAnswer(int64_t result, uint8_t (&out)[kInstanceAnswerSize]);
int64_t DecodeInstanceAnswer(const uint8_t (&in)[kInstanceAnswerSize]);

// Sends one message to the instance with process id `pid` and waits up to
// `timeoutMs` for its answer. nullopt when that process has no open socket
// (not started far enough, or gone and its socket stale) or did not answer.
std::optional<int64_t> SendToInstance(pid_t pid, const CInstanceRequest& request, int timeoutMs = 10000);

} // namespace orvane
