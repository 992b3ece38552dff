// Every keyboard command's reports on the wire, chunking, status decoding and
// argument checks, against the simulated keyboard.
#include <algorithm>
#include <gtest/gtest.h>

#include <chrono>
#include <numeric>

#include "device/DeviceCommands.h"
#include "device/support/SimFixture.h"
#include "platform/ByteOrder.h"

namespace orvane::test {
namespace {

class DeviceCommandsTest : public SimKeyboardTest {
  protected:
    // (length, offset) of each recorded request, checked to be sealed.
    std::vector<std::pair<int, int>> Chunks(uint8_t command) {
        std::vector<std::pair<int, int>> out;
        for (const auto& r : TakeRequests()) {
            EXPECT_EQ(r[0], 0x04);
            EXPECT_EQ(GetLE16(r.data() + 1), ReportChecksum(r.data()));
            EXPECT_EQ(r[3], command);
            EXPECT_EQ(r[7], 0);
            out.emplace_back(r[4], GetLE16(r.data() + 5));
        }
        return out;
    }
};

TEST_F(DeviceCommandsTest, KeyMatricesAreChunkedPerModelAndProfile) {
    for (int model : {126, 128}) {
        Connect(model);
        const int length = model == 126 ? 378 : 512;
        EXPECT_EQ(KeyCount(), model);
        EXPECT_EQ(KeyMatrixLength(), length);
        for (int p = 0; p < 3; ++p) {
            std::vector<uint8_t> m(static_cast<size_t>(length));
            std::iota(m.begin(), m.end(), static_cast<uint8_t>(p * 7));
            ASSERT_EQ(DevWriteKeyMatrix(m, p), 1);
            auto chunks = Chunks(CMD_WRITE_KEY_MATRIX);
            ASSERT_EQ(chunks.size(), model == 126 ? 7u : 10u);
            for (size_t i = 0; i < chunks.size(); ++i) {
                EXPECT_EQ(chunks[i].second, p * length + static_cast<int>(i) * 56);
                EXPECT_EQ(chunks[i].first, i + 1 < chunks.size() ? 56 : (model == 126 ? 42 : 8));
            }
            std::vector<uint8_t> back(static_cast<size_t>(length));
            ASSERT_EQ(DevReadKeyMatrix(back, p), 1);
            EXPECT_EQ(back, m);
            EXPECT_EQ(Chunks(CMD_READ_KEY_MATRIX).size(), chunks.size());
        }
        // The keyboard holds exactly what was written, profile by profile.
        sim->WithFirmware([&](CSimFirmware& f) {
            EXPECT_EQ(f.Matrices[static_cast<size_t>(2 * length)], 14);
            return 0;
        });
        std::vector<uint8_t> factory(static_cast<size_t>(length));
        ASSERT_EQ(DevReadDefaultKeyMatrix(factory), 1);
        EXPECT_EQ(Chunks(CMD_READ_DEFAULT_KEY_MATRIX).front(), std::make_pair(56, 0));
        EXPECT_EQ(factory[24], 0x02); // position 8: Esc
        EXPECT_EQ(factory[26], 0x29);
    }
}

TEST_F(DeviceCommandsTest, BadProfilesAndBuffersAreRefusedUnsent) {
    std::vector<uint8_t> m(512);
    EXPECT_EQ(DevReadKeyMatrix(m, 3), -201);
    EXPECT_EQ(DevWriteKeyMatrix(m, 3), -201);
    std::vector<uint8_t> shortMatrix(511);
    EXPECT_EQ(DevWriteKeyMatrix(shortMatrix, 0), DEV_BAD_ARGUMENT);
    EXPECT_EQ(DevReadKeyMatrix(shortMatrix, 0), DEV_BAD_ARGUMENT);
    EXPECT_EQ(DevReadDefaultKeyMatrix(shortMatrix), DEV_BAD_ARGUMENT);
    uint8_t small[43];
    EXPECT_EQ(DevReadInfo(small), DEV_BAD_ARGUMENT);
    EXPECT_EQ(DevWriteInfo(small), DEV_BAD_ARGUMENT);
    std::vector<uint8_t> lighting(57);
    EXPECT_EQ(DevWriteLighting(lighting, 0), DEV_BAD_ARGUMENT);
    EXPECT_EQ(DevWriteLighting({}, 0), DEV_BAD_ARGUMENT);
    EXPECT_EQ(DevReadLighting(small, 4, 0), DEV_BAD_ARGUMENT);
    EXPECT_EQ(DevWriteKeyColours(lighting, 0), DEV_BAD_ARGUMENT);
    EXPECT_EQ(DevWriteKeyColours(std::span(lighting).first(6), 169),
              DEV_BAD_ARGUMENT); // into the next profile
    SetMacroCapacity(6144);
    std::vector<uint8_t> macros(6145);
    EXPECT_EQ(DevWriteMacroMemory(macros), DEV_BAD_ARGUMENT);
    SetMacroCapacity(0);
    EXPECT_EQ(DevReadMacroMemory({}), 1); // nothing to move, nothing sent
    EXPECT_EQ(sim->RequestCount(), 0u);
}

TEST_F(DeviceCommandsTest, FailureStatusStopsAChunkedTransferThere) {
    std::vector<uint8_t> m(512, 0x11);
    sim->AddFault({SimFault::Status, 4, 4, 0xFE});
    EXPECT_EQ(DevWriteKeyMatrix(m, 0), -103);
    EXPECT_EQ(Chunks(CMD_WRITE_KEY_MATRIX).size(), 4u);
    // Chunks before the failure reached the keyboard, the rest did not.
    sim->WithFirmware([&](CSimFirmware& f) {
        EXPECT_EQ(f.Matrices[167], 0x11);
        EXPECT_NE(f.Matrices[168], 0x11);
        return 0;
    });

    // A read keeps only the chunks that were accepted.
    std::vector<uint8_t> back(512, 0xAB);
    sim->AddFault({SimFault::Status, 7, 7, 0xFF});
    EXPECT_EQ(DevReadKeyMatrix(back, 0), -102);
    EXPECT_EQ(back[111], 0x11);
    EXPECT_EQ(back[112], 0xAB);

    uint8_t info[44];
    std::fill(std::begin(info), std::end(info), 0x5A);
    sim->AddFault({SimFault::Status, 8, 8, 0xFE});
    EXPECT_EQ(DevReadInfo(info), -103);
    EXPECT_EQ(info[10], 0x5A);
    // Other status values are accepted.
    sim->AddFault({SimFault::Status, 9, 9, 0x01});
    EXPECT_EQ(DevReadInfo(info), 1);
    EXPECT_EQ(info[11], 48);
}

TEST_F(DeviceCommandsTest, SingleReportCommandsAndTheirRoundTrips) {
    uint8_t info[44];
    ASSERT_EQ(DevReadInfo(info), 1);
    info[10] = 2;
    ASSERT_EQ(DevWriteInfo(info), 1);
    uint8_t again[44] = {};
    ASSERT_EQ(DevReadInfo(again), 1);
    EXPECT_EQ(again[10], 2);
    auto requests = TakeRequests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[1][4], 44);
    EXPECT_EQ(requests[1][8 + 10], 2);

    const uint8_t colour[3] = {0x10, 0x20, 0x30};
    ASSERT_EQ(DevWriteLighting(colour, 2 * 42 + 5), 1);
    uint8_t back[56];
    ASSERT_EQ(DevReadLighting(back, 3, 2 * 42 + 5), 1);
    EXPECT_EQ(back[0], 0x10);
    EXPECT_EQ(back[2], 0x30);
    EXPECT_EQ(back[3], 0); // beyond the requested length the reply carries zeros

    std::vector<uint8_t> image(200);
    std::iota(image.begin(), image.end(), 1);
    ASSERT_EQ(DevWriteMacroMemory(image), 1);
    std::vector<uint8_t> read(200);
    ASSERT_EQ(DevReadMacroMemory(read), 1);
    EXPECT_EQ(read, image);

    // A write past the end of an area is refused. A read that starts inside
    // runs on as the last lighting record is read back (a 56-byte chunk at
    // 84): the bytes past the area come back as zeros.
    EXPECT_EQ(DevWriteLighting(colour, 125), -103);
    std::fill(std::begin(back), std::end(back), 0xEE);
    ASSERT_EQ(DevReadLighting(back, 56, 84), 1);
    EXPECT_EQ(back[5], 0x10);
    EXPECT_EQ(back[7], 0x30);
    EXPECT_TRUE(std::all_of(back + 42, back + 56, [](uint8_t b) { return b == 0; }));
    EXPECT_EQ(DevReadLighting(back, 56, 126), -103);
}

TEST_F(DeviceCommandsTest, KeyColoursAddressTheCurrentProfile) {
    std::vector<uint8_t> colours(54, 0x7C);
    SetCurrentProfile(1);
    ASSERT_EQ(DevWriteKeyColours(colours, 90), 1);
    auto c = Chunks(CMD_WRITE_KEY_COLOURS);
    ASSERT_EQ(c.size(), 1u);
    EXPECT_EQ(c[0], std::make_pair(54, 782));

    std::vector<uint8_t> table(512);
    std::iota(table.begin(), table.end(), 0);
    SetCurrentProfile(2);
    EXPECT_EQ(DevWriteProfileKeyColours(table), 1);
    auto requests = TakeRequests();
    ASSERT_EQ(requests.size(), 10u); // begin, 8 colour chunks, end
    EXPECT_EQ(requests.front()[3], CMD_BEGIN_SESSION);
    EXPECT_EQ(requests.back()[3], CMD_END_SESSION);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(GetLE16(requests[1 + i].data() + 5), 1024 + i * 54);
        EXPECT_EQ(requests[1 + i][8], static_cast<uint8_t>(i * 54));
    }
    sim->WithFirmware([](CSimFirmware& f) {
        EXPECT_EQ(f.KeyColours[1024 + 431], static_cast<uint8_t>(431));
        EXPECT_EQ(f.WritesOutsideSession, 1u); // only the single write above
        return 0;
    });
}

TEST_F(DeviceCommandsTest, ProfileKeyColoursFailWhenAnyCommandOfTheirSessionFails) {
    std::vector<uint8_t> table(512, 0x11);
    // Begin, 8 colour chunks, end: a refusal at any of them fails the call.
    for (uint32_t at = 1; at <= 10; ++at) {
        const uint32_t base = sim->RequestCount();
        sim->ClearFaults();
        sim->AddFault({SimFault::Status, base + at, base + at, 0xFE});
        EXPECT_EQ(DevWriteProfileKeyColours(table), DEV_STATUS_FE) << "refused request " << at;
        const auto requests = TakeRequests();
        if (at == 1) {
            EXPECT_EQ(requests.size(), 1u); // nothing after a refused begin
        } else {
            // The steps stop at the refused chunk, and the session is closed.
            EXPECT_EQ(requests.size(), std::min<size_t>(at + 1, 10)) << "refused request " << at;
            EXPECT_EQ(requests.back()[3], CMD_END_SESSION);
        }
    }
    sim->ClearFaults();
    EXPECT_EQ(DevWriteProfileKeyColours(table), DEV_OK);
}

TEST_F(DeviceCommandsTest, EndSessionWaitsBeforeItSends) {
    auto called = std::chrono::steady_clock::now();
    ASSERT_EQ(DevEndSession(), 1);
    // The trace has no clock; the delay is seen from the caller's side.
    EXPECT_GE(std::chrono::steady_clock::now() - called, std::chrono::milliseconds(10));
    EXPECT_EQ(Chunks(CMD_END_SESSION).size(), 1u);
}

TEST_F(DeviceCommandsTest, ModelParametersFollowOnlyAcceptedPairs) {
    EXPECT_TRUE(SetModelParameters(0x0C45, 0x5004));
    EXPECT_EQ(KeyMatrixLength(), 378);
    EXPECT_FALSE(SetModelParameters(0x0C45, 0x5000));
    EXPECT_EQ(KeyCount(), 126);
    EXPECT_TRUE(SetModelParameters(0x320F, 0x5000));
    EXPECT_EQ(KeyMatrixLength(), 512);
}

} // namespace
} // namespace orvane::test
