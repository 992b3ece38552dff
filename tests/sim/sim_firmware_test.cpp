// The simulated keyboard's firmware: what it stores, what it refuses, and
// the faults and trace of its transport.
#include <gtest/gtest.h>

#include <fstream>

#include "device/ReportExchange.h"
#include "platform/ByteOrder.h"
#include "sim/SimFaults.h"
#include "sim/SimFirmware.h"
#include "support/TempDir.h"

namespace orvane::test {
namespace {

std::vector<uint8_t> Request(uint8_t command, uint8_t length, uint16_t offset,
                             std::vector<uint8_t> data = {}) {
    std::vector<uint8_t> r(64, 0);
    r[0] = 4;
    r[3] = command;
    r[4] = length;
    PutLE16(r.data() + 5, offset);
    std::copy(data.begin(), data.end(), r.begin() + 8);
    SealReport(r.data());
    return r;
}

std::vector<uint8_t> Answer(CSimFirmware& f, const std::vector<uint8_t>& request) {
    std::vector<uint8_t> reply(64);
    f.HandleRequest(request.data(), reply.data());
    return reply;
}

TEST(SimFirmware, EveryAreaRoundTripsWithinItsBoundsOnBothModels) {
    struct Area {
        uint8_t read, write;
        size_t size;
    };
    for (int model : {126, 128}) {
        CSimFirmware f(model);
        const size_t kml = model == 126 ? 378 : 512;
        EXPECT_EQ(f.FactoryMatrix.size(), kml);
        EXPECT_EQ(f.Matrices.size(), 3 * kml);
        // Device info last: writing it changes the macro capacity.
        const Area areas[] = {{0x05, 0x06, 126},
                              {0x07, 0x08, 3 * kml},
                              {0x09, 0x0A, f.MacroCapacity()},
                              {0x00, 0x11, 3 * 512},
                              {0x03, 0x04, 44}};
        for (const Area& a : areas) {
            // The last whole chunk of the area, written then read back.
            size_t n = std::min<size_t>(a.size, 40);
            uint16_t at = static_cast<uint16_t>(a.size - n);
            std::vector<uint8_t> data(n);
            for (size_t i = 0; i < n; ++i)
                data[i] = static_cast<uint8_t>(i % 3); // active profile stays valid
            EXPECT_EQ(Answer(f, Request(a.write, static_cast<uint8_t>(n), at, data))[7], 0) << int{a.write};
            if (a.read) {
                auto reply = Answer(f, Request(a.read, static_cast<uint8_t>(n), at));
                EXPECT_EQ(reply[7], 0);
                EXPECT_EQ(
                    std::vector<uint8_t>(reply.begin() + 8, reply.begin() + 8 + static_cast<ptrdiff_t>(n)),
                    data);
            }
            // One byte past the end, or a length over 56: refused, nothing stored.
            auto before = f.Matrices;
            auto info = f.Info;
            EXPECT_EQ(
                Answer(f, Request(a.write, static_cast<uint8_t>(n), static_cast<uint16_t>(at + 1), data))[7],
                0xFE);
            EXPECT_EQ(Answer(f, Request(a.write, 57, 0, data))[7], 0xFE);
            EXPECT_EQ(f.Matrices, before);
            EXPECT_EQ(f.Info, info);
        }
        // The factory matrix is read-only and unknown commands are refused. A
        // read that starts inside the area but runs past it is answered with
        // the bytes inside and zeros after; one that starts past it is refused.
        EXPECT_EQ(Answer(f, Request(0x0F, 56, static_cast<uint16_t>(kml - 56)))[7], 0);
        auto tail = Answer(f, Request(0x0F, 56, static_cast<uint16_t>(kml - 55)));
        EXPECT_EQ(tail[7], 0);
        EXPECT_EQ(tail[8 + 55], 0);
        EXPECT_EQ(tail[8], f.FactoryMatrix[kml - 55]);
        EXPECT_EQ(Answer(f, Request(0x0F, 1, static_cast<uint16_t>(kml)))[7], 0xFE);
        EXPECT_EQ(Answer(f, Request(0x10, 0, 0))[7], 0xFE);
    }
}

TEST(SimFirmware, ChecksumAndActiveProfileAreGuarded) {
    CSimFirmware f(128);
    auto r = Request(0x04, 44, 0, std::vector<uint8_t>(44, 0));
    r[8 + 10] = 1; // changed after sealing
    auto reply = Answer(f, r);
    EXPECT_EQ(reply[7], 0xFF);
    EXPECT_EQ(std::vector<uint8_t>(reply.begin(), reply.begin() + 7),
              std::vector<uint8_t>(r.begin(), r.begin() + 7));
    std::vector<uint8_t> info(f.Info.begin(), f.Info.end());
    info[10] = 3;
    EXPECT_EQ(Answer(f, Request(0x04, 44, 0, info))[7], 0xFE);
    EXPECT_EQ(f.Info[10], 0);
    info[10] = 2;
    EXPECT_EQ(Answer(f, Request(0x04, 44, 0, info))[7], 0);
    EXPECT_EQ(f.Info[10], 2);
}

TEST(SimFirmware, SessionsAreTracked) {
    CSimFirmware f(128);
    Answer(f, Request(0x06, 1, 0, {5}));
    Answer(f, Request(0x01, 0, 0));
    EXPECT_TRUE(f.InSession);
    Answer(f, Request(0x06, 1, 0, {5}));
    Answer(f, Request(0x02, 0, 0));
    EXPECT_FALSE(f.InSession);
    EXPECT_EQ(f.SessionsBegun, 1u);
    EXPECT_EQ(f.WritesOutsideSession, 1u);
}

TEST(SimFirmware, FactoryMatrixStartsWithTheKnownPositions) {
    const auto& m = SimFactoryMatrix();
    auto code = [&](int p) { return m[p * 3] << 16 | m[p * 3 + 1] << 8 | m[p * 3 + 2]; };
    EXPECT_EQ(code(0), 0x050000);
    EXPECT_EQ(code(8), 0x020229);
    EXPECT_EQ(code(13), 0x020101);
    EXPECT_EQ(code(53), 0x050202);
    EXPECT_EQ(code(62), 0x020248);
    EXPECT_EQ(code(63), 0);
    // Every key code appears once: no key sits at two positions.
    std::vector<int> seen;
    for (int p = 0; p < 128; ++p)
        if (m[p * 3] == 0x02) seen.push_back(code(p));
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(std::adjacent_find(seen.begin(), seen.end()), seen.end());
}

TEST(SimFirmware, StateFileKeepsTheMemoryAndRefusesTheOtherModel) {
    testing::CTempDir dir;
    const std::string path = dir.File("state");
    CSimFirmware a(126);
    a.Lighting[5] = 0x42;
    a.Matrices[700] = 0x99;
    a.MacroMemory[0] = 0x55;
    ASSERT_TRUE(a.SaveState(path));
    CSimFirmware b(126);
    ASSERT_TRUE(b.LoadState(path));
    EXPECT_EQ(b.Lighting[5], 0x42);
    EXPECT_EQ(b.Matrices[700], 0x99);
    EXPECT_EQ(b.MacroMemory[0], 0x55);
    CSimFirmware c(128);
    EXPECT_FALSE(c.LoadState(path));
    EXPECT_EQ(c.Lighting[5], 0xFF); // untouched: still the default red of profile 0
    std::ofstream(path, std::ios::binary | std::ios::trunc) << "short";
    EXPECT_FALSE(b.LoadState(path));
}

TEST(SimFaults, DescriptionsParseAndMalformedOnesAreRefused) {
    SimFault f;
    ASSERT_TRUE(ParseSimFault("noreply:3-5", &f));
    EXPECT_EQ(f.What, SimFault::NoReply);
    EXPECT_EQ(f.From, 3u);
    EXPECT_EQ(f.To, 5u);
    ASSERT_TRUE(ParseSimFault("noreply:7-", &f));
    EXPECT_EQ(f.To, UINT32_MAX);
    ASSERT_TRUE(ParseSimFault("status:2:fe", &f));
    EXPECT_EQ(f.What, SimFault::Status);
    EXPECT_EQ(f.StatusByte, 0xFE);
    ASSERT_TRUE(ParseSimFault("failwrite:1", &f));
    ASSERT_TRUE(ParseSimFault("unplug:4", &f));
    EXPECT_EQ(f.What, SimFault::Unplug);
    EXPECT_EQ(f.DelayMs, 0u);
    ASSERT_TRUE(ParseSimFault("unplug:4:1500", &f));
    EXPECT_EQ(f.DelayMs, 1500u);
    ASSERT_TRUE(ParseSimFault("late:3:450", &f));
    EXPECT_EQ(f.What, SimFault::Late);
    EXPECT_EQ(f.From, 3u);
    EXPECT_EQ(f.To, 3u);
    EXPECT_EQ(f.DelayMs, 450u);
    for (const char* bad : {"noreply:5-3", "noreply:0", "status:1", "status:1:100", "status:1:zz",
                            "failwrite:", "failwrite:2x", "unplug:-1", "unplug:4:", "unplug:4:0", "explode:1",
                            "noreply", "", "late:3", "late:3:", "late:0:100", "late:3:-5", "late:3:10ms"})
        EXPECT_FALSE(ParseSimFault(bad, &f)) << bad;
}

} // namespace
} // namespace orvane::test
