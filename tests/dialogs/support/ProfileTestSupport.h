#pragma once
// What the profile tests share: the transfer tests' simulated keyboard, with
// a working profile file for each of its profiles.
#include "dialogs/ProfileSwitch.h"
#include "transfer/ActiveProfile.h"
#include "transfer/SilentProfileSelect.h"
#include "transfer/support/TransferFixture.h"

namespace orvane::test {

class ProfileTest : public TransferTest {
  protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(TransferTest::SetUp());
        for (int p = 0; p < PROFILE_COUNT; ++p)
            CreateWorkingProfile(p);
    }
    void TearDown() override {
        SetSilentProfileSelector(nullptr);
        SetProfileMenuRebuild(nullptr);
        TransferTest::TearDown();
    }
    // The keyboard's own answer, not the cache.
    int KeyboardActive() {
        SetActiveProfileCache(-1);
        return GetActiveProfile();
    }
};

} // namespace orvane::test
