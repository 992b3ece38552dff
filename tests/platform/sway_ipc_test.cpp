#include <gtest/gtest.h>
#include <string>
#include <sys/socket.h>
#include <unistd.h>

#include "platform/SwayIpc.h"
#include "support/TempDir.h"

using namespace orvane;

namespace {

// A header spelled out byte by byte, so the framing is checked against the
// wire format rather than against SwayFrame itself.
std::string Header(const char* magic, uint32_t length, uint32_t type) {
    std::string h(magic, 6);
    for (uint32_t v : {length, type})
        for (int i = 0; i < 4; ++i)
            h += static_cast<char>(v >> (8 * i));
    return h;
}
std::string Message(uint32_t type, const std::string& payload) {
    return Header("i3-ipc", uint32_t(payload.size()), type) + payload;
}

// The client's end of a socket pair and the fake compositor's.
struct SwayPair : ::testing::Test {
    void SetUp() override {
        int fds[2];
        ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, fds), 0);
        ipc.Adopt(fds[0]);
        server = fds[1];
    }
    void TearDown() override { ::close(server); }
    void Send(const std::string& bytes) {
        ASSERT_EQ(::write(server, bytes.data(), bytes.size()), ssize_t(bytes.size()));
    }
    std::string Received() {
        char buffer[256];
        const ssize_t n = ::recv(server, buffer, sizeof buffer, MSG_DONTWAIT);
        return n > 0 ? std::string(buffer, size_t(n)) : std::string();
    }
    CSwayIpc ipc{50, 64};
    int server = -1;
};

TEST_F(SwayPair, RequestIsFramedLittleEndianAndGetsItsReply) {
    Send(Message(kSwayGetTree, "{}"));
    EXPECT_EQ(ipc.Request(kSwayGetTree, "abc"), "{}");
    EXPECT_EQ(Received(), Header("i3-ipc", 3, 4) + "abc");
    EXPECT_TRUE(ipc.Connected());
}

TEST_F(SwayPair, BrokenRepliesFailAndCloseTheConnection) {
    struct Case {
        const char* what;
        std::string reply;
        bool hangUp;
    };
    const Case cases[] = {
        {"truncated header", "i3-ip", true},
        {"truncated payload", Header("i3-ipc", 10, kSwayGetTree) + "abc", true},
        {"wrong magic", Header("i3-ipx", 2, kSwayGetTree) + "{}", false},
        {"oversize length", Message(kSwayGetTree, std::string(65, 'x')), false},
        {"reply to another request", Message(kSwayRunCommand, "{}"), false},
        {"no reply in time", "", false},
        {"no reply at all", "", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TearDown();
        SetUp();
        Send(c.reply);
        if (c.hangUp) ::shutdown(server, SHUT_WR);
        EXPECT_EQ(ipc.Request(kSwayGetTree, {}), std::nullopt);
        EXPECT_FALSE(ipc.Connected());
        EXPECT_EQ(ipc.Request(kSwayGetTree, {}), std::nullopt);
    }
}

TEST_F(SwayPair, EventsBeforeAReplyAreKeptAndAWaitForOneEndsQuietly) {
    Send(Message(kSwaySubscribe, "{ \"success\": true }"));
    EXPECT_TRUE(ipc.Subscribe(R"(["window"])"));
    Send(Message(kSwayEventBit | 3, "e1") + Message(kSwayGetTree, "{}") + Message(kSwayEventBit | 3, "e2"));
    EXPECT_EQ(ipc.Request(kSwayGetTree, {}), "{}");
    for (const char* payload : {"e1", "e2"}) {
        const std::optional<SwayMessage> event = ipc.NextEvent(50);
        ASSERT_TRUE(event);
        EXPECT_EQ(event->type, 3u);
        EXPECT_EQ(event->payload, payload);
    }
    EXPECT_EQ(ipc.NextEvent(10), std::nullopt);
    EXPECT_TRUE(ipc.Connected()); // nothing was read, so the stream is still whole

    Send(Message(kSwaySubscribe, "{\"success\": false}"));
    EXPECT_FALSE(ipc.Subscribe(R"(["bogus"])"));
}

TEST(SwayIpc, ConnectFailsWithoutACompositor) {
    orvane::testing::CTempDir dir;
    orvane::testing::CScopedEnv noSway("SWAYSOCK", std::nullopt);
    CSwayIpc ipc;
    EXPECT_FALSE(ipc.Connect());
    EXPECT_FALSE(ipc.Connect(dir.File("sway-ipc.sock")));
    EXPECT_FALSE(ipc.Connect(std::string(200, 'x')));
    EXPECT_EQ(ipc.Request(kSwayGetTree, {}), std::nullopt);
}

} // namespace
