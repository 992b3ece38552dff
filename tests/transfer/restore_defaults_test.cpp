// Restoring the keyboard's defaults: the question, then per profile the
// lighting reset in its bracket and the unbracketed default matrix, then
// Apply and profile 0 shown.
#include <gtest/gtest.h>

#include <filesystem>

#include "device/DefaultKeyMatrix.h"
#include "device/DeviceCommands.h"
#include "model/ConfigStore.h"
#include "model/UserData.h"
#include "sim/SimFaults.h"
#include "support/TempDir.h"
#include "transfer/RestoreDefaults.h"
#include "transfer/support/TransferFixture.h"

namespace orvane::test {
namespace {

class RestoreDefaultsTest : public TransferTest {};

TEST_F(RestoreDefaultsTest, AnsweredNoChangesNothing) {
    ASSERT_TRUE(g_ConfigStore.StoreKeyFunction(0, 0x1E, KeyFunctionKind::Disabled, 0));
    prompt.answer = IDNO;
    EXPECT_EQ(RestoreDefaults(), 0);
    EXPECT_TRUE(TakeRequests().empty());
    EXPECT_TRUE(g_ConfigStore.Record(0, 0x1E).Is(KeyFunctionKind::Disabled));
    EXPECT_TRUE(host.Calls().empty());
}

TEST_F(RestoreDefaultsTest, AnsweredYesSendsTheDocumentedSequence) {
    CreateWorkingProfile(0);
    // Something to undo on the keyboard and in the working copy.
    sim->WithFirmware([](CSimFirmware& f) {
        f.Matrices[19 * 3 + 2] = 0x05;
        f.Lighting[42] = 9;
    });
    ASSERT_TRUE(g_ConfigStore.StoreKeyFunction(0, 0x1E, KeyFunctionKind::Disabled, 0));
    prompt.answer = IDYES;

    EXPECT_EQ(RestoreDefaults(), 1);
    const auto requests = TakeRequests();
    // Three times: begin, 35-byte lighting write, end, ten matrix chunks.
    // Then Apply (active profile read, begin, macro image, matrix, end), then
    // profile button 0 reading the lighting back.
    const std::string perProfile = "01 06 02 08 08 08 08 08 08 08 08 08 08";
    EXPECT_EQ(Commands(requests), perProfile + " " + perProfile + " " + perProfile +
                                      " 03 01 0a 08 08 08 08 08 08 08 08 08 08 02 03 01 05 05 05 02");
    int lightingWrites = 0;
    for (const WireRequest& r : requests)
        if (r.command == CMD_WRITE_LIGHTING) {
            EXPECT_EQ(r.length, kLightingResetBytes);
            EXPECT_EQ(r.offset, lightingWrites * LIGHTING_RECORD_SIZE);
            EXPECT_TRUE(
                std::equal(kLightingResetRecord.begin(), kLightingResetRecord.end(), r.bytes.begin() + 8));
            ++lightingWrites;
        }
    EXPECT_EQ(lightingWrites, 3);

    sim->WithFirmware([](CSimFirmware& f) {
        for (int p = 0; p < 3; ++p)
            EXPECT_TRUE(
                std::equal(f.FactoryMatrix.begin(), f.FactoryMatrix.end(), f.Matrices.begin() + p * 512));
        EXPECT_EQ(f.Lighting[42], 1);
    });
    EXPECT_TRUE(g_ConfigStore.Record(0, 0x1E).Is(KeyFunctionKind::Default));
    EXPECT_FALSE(host.pending);
    const auto calls = host.Calls();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "panel defaults"), 3);
    EXPECT_EQ(calls.back(), "press 0");
}

TEST_F(RestoreDefaultsTest, AnyFailedCommandFailsTheRestore) {
    CreateWorkingProfile(0);
    prompt.answer = IDYES;
    // The end of profile 1's lighting session refused: every other command
    // goes through, but the restore is not reported as done.
    const uint32_t base = sim->RequestCount();
    sim->AddFault({SimFault::Status, base + 13 + 3, base + 13 + 3, 0xFE});
    EXPECT_EQ(RestoreDefaults(), -1);
    sim->ClearFaults();
    EXPECT_EQ(RestoreDefaults(), 1);
}

TEST_F(RestoreDefaultsTest, WithoutTheKeyboardsDefaultMatrixNothingIsChanged) {
    CreateWorkingProfile(0);
    ASSERT_TRUE(g_ConfigStore.StoreKeyFunction(0, 0x1E, KeyFunctionKind::Disabled, 0));
    ResetDefaultKeyMatrix(); // the read at connection failed
    TakeRequests();
    sim->AddFault({SimFault::Status, sim->RequestCount() + 1, sim->RequestCount() + 1, 0xFF});
    prompt.answer = IDYES;
    EXPECT_EQ(RestoreDefaults(), -1);
    EXPECT_EQ(Commands(TakeRequests()), "0f"); // read again, and nothing written
    EXPECT_TRUE(g_ConfigStore.Record(0, 0x1E).Is(KeyFunctionKind::Disabled));
    ASSERT_EQ(prompt.shown.size(), 2u);
    EXPECT_NE(prompt.shown[1].find("default key layout"), std::string::npos);

    // Readable again: the keyboard's own matrix is what every profile gets.
    EXPECT_EQ(RestoreDefaults(), 1);
    sim->WithFirmware([](CSimFirmware& f) {
        for (int p = 0; p < 3; ++p)
            EXPECT_TRUE(
                std::equal(f.FactoryMatrix.begin(), f.FactoryMatrix.end(), f.Matrices.begin() + p * 512));
    });
}

TEST_F(RestoreDefaultsTest, LightingResetPutsTheTemplateBackWhenModeTwentyIsOffered) {
    EnsureUserFolder();
    WriteKeyColour(1, 0, 5, MakeColour(9, 9, 9), 0);
    ASSERT_EQ(ResetProfileLighting(1), DEV_OK);
    EXPECT_EQ(testing::ReadText(UserDataFilePath(1)), testing::ReadText(UserDataTemplatePath()));
    EXPECT_EQ(host.Calls(), (std::vector<std::string>{"panel defaults", "colour sets"}));

    EXPECT_EQ(ResetProfileLighting(3), 0);
    EXPECT_EQ(Commands(TakeRequests()), "01 06 02");
}

} // namespace
} // namespace orvane::test
