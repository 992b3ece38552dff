// The key picture is described in three places: the key slot table the
// program works with, the skin's key list the windows lay out, and the
// shipped per-key colour template the generator writes. A slip in any one
// of them lights, names or places the wrong key, so they must agree.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "app/SkinKeyLists.h"
#include "model/KeyTables.h"
#include "platform/IniFile.h"

namespace orvane {
namespace {

TEST(KeyLayoutAgreement, SkinKeyListMatchesTheKeySlotTable) {
    const auto& skin = SkinKeySlots();
    for (int slot = 0; slot < kKeySlotCount; ++slot) {
        const KeySlot* s = KeySlotAt(slot);
        ASSERT_NE(s, nullptr) << slot;
        EXPECT_EQ(skin[slot].controlId, s->controlId) << "slot " << slot;
        EXPECT_EQ(skin[slot].scanCode, s->scanCode) << "slot " << slot;
        EXPECT_EQ(SkinKeyName(s->scanCode), KeySlotSkinName(slot)) << "slot " << slot;
    }
    const auto& gkeys = SkinGKeyControlIds();
    for (int g = 0; g < kGKeyCount; ++g) {
        EXPECT_EQ(gkeys[g], kGKeyControlIds[g]) << "G" << g + 1;
        EXPECT_EQ(SkinGKeyName(g + 1), GKeySkinName(g + 1));
    }
}

TEST(KeyLayoutAgreement, ShippedColourTemplateCoversEveryLitKey) {
    const std::string tmpl = std::string(ORVANE_BIN_DIR) + "/Skins/UserDengColor_3.userd";
    // Colour entries are "r,g,b,flag"; an absent one reads as the default.
    std::set<int> leds;
    for (int slot = 0; slot < kKeySlotCount; ++slot)
        leds.insert(KeySlotAt(slot)->ledIndex);
    leds.insert(kFnLedIndex);
    for (int set = 0; set < 3; ++set) {
        const std::string section = "Mode" + std::to_string(set);
        for (int led : leds) {
            if (led == kLedNone) continue;
            EXPECT_NE(IniReadString(tmpl, section, std::to_string(led), "absent"), "absent")
                << section << " has no colour for LED " << led;
        }
    }
    for (int led = 0; led < static_cast<int>(kLedCount); ++led) {
        if (IsLedWithoutKey(static_cast<uint8_t>(led))) {
            EXPECT_EQ(leds.count(led), 0u) << "LED " << led << " is marked unlit but a key uses it";
        }
    }
}

} // namespace
} // namespace orvane
