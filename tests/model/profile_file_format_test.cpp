// The profile file layout: blank files, the header checks of validation and
// what validation shows the user.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <numeric>

#include "files_test_env.h"
#include "model/ProfileFile.h"
#include "platform/ByteOrder.h"
#include "profile_file_test_util.h"

namespace orvane::test {
namespace {

using ProfileFormatTest = FilesTestEnv;

TEST_F(ProfileFormatTest, BlankFileLayout) {
    const std::string path = home_.Dir().File("blank.fwc");
    ASSERT_EQ(CreateBlankProfile(&path, 0), 1);
    const std::vector<uint8_t> b = AsBytes(ReadText(path));
    ASSERT_EQ(b.size(), 32832u);
    const ProfileFileHeader h = ReadProfileHeader(b.data());
    EXPECT_EQ(h.magic, 0x4446);
    EXPECT_EQ(h.headerSize, 32);
    EXPECT_EQ(h.profileCount, 3);
    EXPECT_EQ(h.version, 1);
    EXPECT_EQ(h.totalSize, 32832u);
    EXPECT_EQ(h.keyRecordCount, 2048);
    EXPECT_EQ(h.macroCount, 0);
    EXPECT_EQ(h.textSize, 0u);
    EXPECT_EQ(h.flag, 0);
    EXPECT_EQ(h.checksum, static_cast<uint8_t>(std::accumulate(b.begin(), b.begin() + 31, 0u)));
    const std::vector<uint8_t> device(b.begin() + 32, b.begin() + 64);
    EXPECT_EQ(device, (std::vector<uint8_t>{0x4B, 0x48, 0x20, 0x00, 0x20, 0x80, 0x00, 0x00, 0x04, 0x00, 0x00,
                                            0x02, 0x00, 0x00, 0x00, 0x00, 0x45, 0x0C, 0x04, 0x50, 0x4F, 0x1C,
                                            0x0E, 0x00, 0,    0,    0,    0,    0,    0,    0,    0}));
    // The records are the fresh table: only block 0's G keys carry their codes.
    CConfigStore records;
    ASSERT_TRUE(records.SetWorkingImage(b.data(), b.size()));
    EXPECT_EQ(records.Records(), FreshKeyFunctionTable());
    EXPECT_EQ(ValidateProfileFile(path), kProfileValid);
    EXPECT_TRUE(prompt_.shown.empty());

    // A blank with flag 1 still validates; the flag is part of the checksum.
    ASSERT_EQ(CreateBlankProfile(&path, 1), 1);
    const std::vector<uint8_t> flagged = AsBytes(ReadText(path));
    EXPECT_EQ(flagged[30], 1);
    EXPECT_EQ(flagged[31], static_cast<uint8_t>(h.checksum + 1));
    EXPECT_EQ(ValidateProfileFile(path), kProfileValid);
}

TEST_F(ProfileFormatTest, BlankWithoutPathBecomesTheWorkingCopy) {
    auto store = std::make_unique<CConfigStore>();
    ASSERT_TRUE(store->SetKeyString(3, u"left over"));
    store->SetMacros(MacroList(2));
    ASSERT_EQ(CreateBlankProfile(nullptr, 0, *store), 1);
    EXPECT_EQ(store->Records(), FreshKeyFunctionTable());
    EXPECT_EQ(store->MacroCount(), 0u);
    EXPECT_EQ(store->KeyStringTotal(), 0u);
    const std::vector<uint8_t> image = store->WorkingImage();
    EXPECT_TRUE(IsWellFormedProfile(image.data(), image.size()));
}

TEST_F(ProfileFormatTest, EveryHeaderFieldIsChecked) {
    struct Change {
        const char* what;
        std::function<void(std::vector<uint8_t>&)> apply;
    };
    const std::vector<Change> changes = {
        {"magic", [](auto& b) { b[0] = 0x47; }},
        {"header size", [](auto& b) { b[2] = 33; }},
        {"profile count", [](auto& b) { b[4] = 4; }},
        {"version", [](auto& b) { b[6] = 2; }},
        {"total size", [](auto& b) { PutLE32(b.data() + 8, 32833); }},
        {"total size below the image", [](auto& b) { PutLE32(b.data() + 8, 100); }},
        {"key record count", [](auto& b) { PutLE16(b.data() + 12, 2047); }},
        {"flag", [](auto& b) { b[30] = 2; }},
        {"macro count without macros", [](auto& b) { PutLE16(b.data() + 14, 1); }},
        {"101 macros",
         [](auto& b) {
             PutLE16(b.data() + 14, 101);
             PutLE32(b.data() + 8, static_cast<uint32_t>(ProfileBodySize(101, 0)));
             b.resize(ProfileBodySize(101, 0));
         }},
        // Header consistent, but the file ends before the text area it describes.
        {"cut short",
         [](auto& b) {
             PutLE32(b.data() + 16, 40);
             PutLE32(b.data() + 8, 32832 + 40);
         }},
    };
    const std::string path = home_.Dir().File("changed.fwc");
    for (const Change& c : changes) {
        std::vector<uint8_t> b = ProfileBytes(0, 0);
        c.apply(b);
        FixChecksum(b);
        EXPECT_FALSE(IsWellFormedProfile(b.data(), b.size())) << c.what;
        WriteText(path, AsString(b));
        prompt_.shown.clear();
        EXPECT_EQ(ValidateProfileFile(path), kProfileMalformed) << c.what;
        EXPECT_EQ(prompt_.shown, std::vector<std::string>{"Bad profile: " + path}) << c.what;
    }
    // The same file with 100 macros is fine.
    std::vector<uint8_t> hundred = ProfileBytes(100, 6);
    EXPECT_TRUE(IsWellFormedProfile(hundred.data(), hundred.size()));
}

TEST_F(ProfileFormatTest, ChecksumOffByOneIsRefusedButATailIsNot) {
    const std::string path = home_.Dir().File("p.fwc");
    std::vector<uint8_t> b = ProfileBytes(1, 10);
    b[31] = static_cast<uint8_t>(b[31] + 1);
    WriteText(path, AsString(b));
    EXPECT_EQ(ValidateProfileFile(path), kProfileMalformed);
    EXPECT_EQ(prompt_.shown.size(), 1u);

    // Bytes past the total size are not looked at.
    b[31] = static_cast<uint8_t>(b[31] - 1);
    b.resize(b.size() + 1000, 0xAB);
    WriteText(path, AsString(b));
    EXPECT_EQ(ValidateProfileFile(path), kProfileValid);
    EXPECT_EQ(prompt_.shown.size(), 1u);
}

TEST_F(ProfileFormatTest, MissingShortAndUnreadableFiles) {
    const std::string path = home_.Dir().File("p.fwc");
    EXPECT_EQ(ValidateProfileFile(path), kProfileMalformed);
    EXPECT_EQ(ValidateProfileFile(""), kProfileMalformed);
    EXPECT_TRUE(prompt_.shown.empty()); // nothing to name as malformed

    std::vector<uint8_t> b = ProfileBytes(0, 0);
    b.pop_back();
    WriteText(path, AsString(b));
    EXPECT_EQ(ValidateProfileFile(path), kProfileMalformed);
    EXPECT_EQ(prompt_.shown.size(), 1u);

    EXPECT_EQ(ValidateProfileFile(home_.Dir().Path()), kProfileCannotOpen);
    // A pipe is refused without blocking on it.
    const std::string pipe = home_.Dir().File("pipe.fwc");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0644), 0);
    EXPECT_EQ(ValidateProfileFile(pipe), kProfileCannotOpen);

    WriteText(path, AsString(ProfileBytes(0, 0)));
    ::chmod(path.c_str(), 0);
    EXPECT_EQ(WithoutWriteAccess(home_.Dir().Path(), [&] { return ValidateProfileFile(path); }),
              kProfileCannotOpen);
    ::chmod(path.c_str(), 0644);
}

} // namespace
} // namespace orvane::test
