#include "app/InstanceProtocol.h"

#include <cstring>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

#include "support/TempDir.h"

using namespace orvane;

namespace {

int Listen(const std::string& path) {
    int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    std::strncpy(addr.sun_path, path.c_str(), sizeof addr.sun_path - 1);
    EXPECT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
    EXPECT_EQ(listen(fd, 4), 0);
    return fd;
}

bool ReadExactly(int fd, uint8_t* p, size_t n) {
    while (n > 0) {
        ssize_t got = read(fd, p, n);
        if (got <= 0) return false;
        p += got;
        n -= static_cast<size_t>(got);
    }
    return true;
}

TEST(InstanceProtocol, RequestsAndAnswersKeepEveryBit) {
    CInstanceRequest r;
    r.message = 0xDEADBEEF;
    r.wParam = 0x0123456789ABCDEFull;
    r.lParam = -2;
    uint8_t bytes[kInstanceRequestSize];
    EncodeInstanceRequest(r, bytes);
    EXPECT_EQ(bytes[0], 0xEF); // little-endian on the wire
    EXPECT_EQ(bytes[4], 0xEF);
    EXPECT_EQ(bytes[11], 0x01);
    CInstanceRequest back = DecodeInstanceRequest(bytes);
    EXPECT_EQ(back.message, r.message);
    EXPECT_EQ(back.wParam, r.wParam);
    EXPECT_EQ(back.lParam, r.lParam);

    uint8_t answer[kInstanceAnswerSize];
    EncodeInstanceAnswer(INT64_MIN + 3, answer);
    EXPECT_EQ(DecodeInstanceAnswer(answer), INT64_MIN + 3);
}

TEST(InstanceProtocol, SendsToALiveInstanceAndIgnoresStaleOrSilentOnes) {
    orvane::testing::CTempHome home;
    const pid_t pid = 4242;
    const std::string path = InstanceSocketPath(pid);
    EXPECT_EQ(path, home.Runtime() + "/orvane-4242.sock");

    CInstanceRequest request;
    request.message = 0x5350;
    request.wParam = 0x4F50454E;
    EXPECT_FALSE(SendToInstance(pid, request)); // no socket at all

    int server = Listen(path);
    std::thread answerer([&] {
        int conn = accept(server, nullptr, nullptr);
        uint8_t in[kInstanceRequestSize];
        ASSERT_TRUE(ReadExactly(conn, in, sizeof in));
        CInstanceRequest got = DecodeInstanceRequest(in);
        uint8_t out[kInstanceAnswerSize];
        EncodeInstanceAnswer(static_cast<int64_t>(got.message + got.wParam), out);
        EXPECT_EQ(write(conn, out, sizeof out), static_cast<ssize_t>(sizeof out));
        close(conn);
        // The next caller is accepted but never answered.
        int silent = accept(server, nullptr, nullptr);
        ASSERT_TRUE(ReadExactly(silent, in, sizeof in));
        sleep(1);
        close(silent);
    });
    EXPECT_EQ(SendToInstance(pid, request), 0x5350 + 0x4F50454E);
    EXPECT_FALSE(SendToInstance(pid, request, 200));
    answerer.join();

    // The process that listened is gone; its socket file stays behind.
    close(server);
    EXPECT_FALSE(SendToInstance(pid, request));

    orvane::testing::CScopedEnv deep("XDG_RUNTIME_DIR", "/" + std::string(120, 'r'));
    EXPECT_EQ(InstanceSocketPath(pid), "");
    EXPECT_FALSE(SendToInstance(pid, request));
}

} // namespace
