// Saving and loading profile files: round trips of records, texts and macros,
// a loader that never trusts the file, working profile files, import and
// export, and failed writes that keep the previous file.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "files_test_env.h"
#include "model/MacroRecord.h"
#include "model/ProfileFile.h"
#include "platform/AtomicFile.h"
#include "platform/ByteOrder.h"
#include "profile_file_test_util.h"

namespace orvane::test {
namespace {

constexpr uint16_t kProgram = static_cast<uint16_t>(KeyFunctionKind::Program);
constexpr uint16_t kText = static_cast<uint16_t>(KeyFunctionKind::Text);

class ProfileIoTest : public FilesTestEnv {
  protected:
    void SetUp() override {
        FilesTestEnv::SetUp();
        std::filesystem::create_directories(UserFolder());
        ASSERT_EQ(CreateBlankProfile(nullptr, 0, *store_), 1);
    }

    // Program and Text keys in all three profiles, plus `macros` macros.
    void Fill(size_t macros) {
        const std::u16string path = u"/usr/bin/gedit";
        const std::u16string text = u"Grüße, \U0001F600 and more";
        ASSERT_TRUE(store_->StoreKeyFunction(0, 0x1E, KeyFunctionKind::Program, 0, 1, &path));
        ASSERT_TRUE(store_->StoreKeyFunction(1, 0x30, KeyFunctionKind::Text, 0, 1, &text));
        ASSERT_TRUE(store_->StoreKeyFunction(2, 0x10, KeyFunctionKind::Program, 0, 1, &text));
        ASSERT_TRUE(store_->StoreKeyFunction(2, 257, KeyFunctionKind::Text, 0, 1, &path)); // a G key
        ASSERT_TRUE(store_->StoreKeyFunction(1, 0x11, KeyFunctionKind::Key, 0x1F));
        MacroList list;
        for (size_t i = 0; i < macros; ++i) {
            MacroRecord m = NewMacroRecord(u"Macro " + std::u16string(1, char16_t(u'A' + i % 26)), list);
            m.newFlag = 0;
            m.reserved504 = static_cast<uint16_t>(i);
            for (uint32_t a = 0; a < i % 7 + 1; ++a)
                AddMacroAction(
                    m, MacroAction{a * 10, static_cast<uint16_t>(0x1E + a), static_cast<uint16_t>(a & 1)});
            list.push_back(m);
        }
        ASSERT_TRUE(store_->SetMacros(list));
    }

    void ExpectSameConfiguration(const CConfigStore& a, const CConfigStore& b) {
        EXPECT_EQ(a.Records(), b.Records());
        EXPECT_EQ(a.KeyStringTotal(), b.KeyStringTotal());
        for (int i = 0; i < kKeyRecordCount; ++i)
            EXPECT_EQ(a.KeyString(i), b.KeyString(i)) << "record " << i;
        EXPECT_TRUE(a.Macros() == b.Macros());
    }

    // A store holding something recognisable, to see that a refused load left it alone.
    void Mark(CConfigStore& s) {
        const std::u16string note = u"keep me";
        ASSERT_TRUE(s.StoreKeyFunction(0, 0x20, KeyFunctionKind::Text, 0, 1, &note));
        s.SetMacros(MacroList(1));
    }
    void ExpectMarked(const CConfigStore& s) {
        EXPECT_EQ(s.KeyString(0x20), u"keep me");
        EXPECT_EQ(s.MacroCount(), 1u);
    }

    std::unique_ptr<CConfigStore> store_ = std::make_unique<CConfigStore>();
    std::unique_ptr<CConfigStore> loaded_ = std::make_unique<CConfigStore>();
};

TEST_F(ProfileIoTest, RoundTripWithTextsAndMacros) {
    for (size_t macros : {size_t{0}, size_t{100}}) {
        SCOPED_TRACE(macros);
        ASSERT_EQ(CreateBlankProfile(nullptr, 0, *store_), 1);
        Fill(macros);
        const std::string path = home_.Dir().File("round.fwc");
        ASSERT_EQ(SaveProfileFile(path, *store_), 1);
        ASSERT_EQ(ValidateProfileFile(path), kProfileValid);

        const std::vector<uint8_t> b = AsBytes(ReadText(path));
        const ProfileFileHeader h = ReadProfileHeader(b.data());
        EXPECT_EQ(h.macroCount, macros);
        EXPECT_EQ(h.textSize, store_->KeyStringTotal());
        EXPECT_EQ(h.totalSize, b.size());
        EXPECT_EQ(b.size(), 32832 + macros * 32512 + h.textSize);
        EXPECT_EQ(h.checksum, ProfileHeaderChecksum(b.data()));
        // Texts are packed in record order; the first one starts the area.
        const KeyFunction first = store_->Record(0, 0x1E);
        EXPECT_EQ(first.value, 0);
        EXPECT_EQ(GetLE16(b.data() + 32832 + macros * 32512), u'/');

        ASSERT_EQ(LoadProfileFile(path, *loaded_), 1);
        ExpectSameConfiguration(*store_, *loaded_);
        EXPECT_EQ(loaded_->Record(2, 257).value, store_->Record(2, 257).value);
        EXPECT_EQ(loaded_->KeyString(RecordIndex(1, 0x30)), u"Grüße, \U0001F600 and more");

        // Saving what was loaded gives the same bytes.
        const std::string again = home_.Dir().File("again.fwc");
        ASSERT_EQ(SaveProfileFile(again, *loaded_), 1);
        EXPECT_EQ(ReadText(again), ReadText(path));
    }
}

TEST_F(ProfileIoTest, SavingRewritesTheHeaderAndCarriesTheRest) {
    std::vector<uint8_t> b = ProfileBytes(0, 0);
    b[30] = 1;                          // flag
    PutLE32(b.data() + 20, 0x01020304); // reserved
    b[28] = 0x77;
    for (size_t i = 32; i < 64; ++i)
        b[i] = static_cast<uint8_t>(i);
    FixChecksum(b);
    ASSERT_EQ(LoadProfileBytes(b.data(), b.size(), *store_), 1);
    Fill(2);

    const std::vector<uint8_t> saved = BuildProfileFileBytes(*store_);
    ASSERT_TRUE(IsWellFormedProfile(saved.data(), saved.size()));
    EXPECT_EQ(saved[30], 0);
    EXPECT_EQ(GetLE32(saved.data() + 20), 0x01020304u);
    EXPECT_EQ(saved[28], 0x77);
    EXPECT_TRUE(std::equal(b.begin() + 32, b.begin() + 64, saved.begin() + 32));
    EXPECT_EQ(GetLE16(saved.data() + 14), 2);
}

TEST_F(ProfileIoTest, LoaderRefusesWhatDoesNotFitAndKeepsTheWorkingCopy) {
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
    };
    std::vector<Case> cases;
    {
        std::vector<uint8_t> b = ProfileBytes(0, 0);
        PutLE16(b.data() + 14, 1); // one macro that is not there
        cases.push_back({"macro past the end", b});
        PutLE16(b.data() + 14, 0xFFFF);
        PutLE32(b.data() + 16, 0xFFFFFFFF);
        cases.push_back({"huge counts", b});
    }
    {
        std::vector<uint8_t> b = ProfileBytes(1, 100);
        b.resize(b.size() - 50);
        cases.push_back({"text area past the end", b});
    }
    {
        std::vector<uint8_t> b = ProfileBytes(0, 0);
        PutLE16(b.data() + 14, 101);
        b.resize(ProfileBodySize(101, 0));
        cases.push_back({"101 macros", b});
    }
    cases.push_back({"shorter than the image", std::vector<uint8_t>(32831, 0)});
    cases.push_back({"empty", {}});

    const std::string path = home_.Dir().File("bad");
    for (const Case& c : cases) {
        Mark(*loaded_);
        EXPECT_EQ(LoadProfileBytes(c.bytes.data(), c.bytes.size(), *loaded_), 0) << c.what;
        ExpectMarked(*loaded_);
        WriteText(path, AsString(c.bytes));
        EXPECT_EQ(LoadProfileFile(path, *loaded_), 0) << c.what;
        ExpectMarked(*loaded_);
    }
    EXPECT_EQ(LoadProfileFile(home_.Dir().File("missing"), *loaded_), 0);
    EXPECT_EQ(LoadProfileFile(home_.Dir().Path(), *loaded_), 0);
    ExpectMarked(*loaded_);
}

TEST_F(ProfileIoTest, TextOffsetsFromTheFileStayInsideTheTextArea) {
    // Text area: "ab\0" at 0, "c" without terminator at the very end.
    std::vector<uint8_t> b = ProfileBytes(0, 8);
    const size_t area = 32832;
    PutLE16(b.data() + area, u'a');
    PutLE16(b.data() + area + 2, u'b');
    PutLE16(b.data() + area + 6, u'c');
    PutRecord(b, 1, kProgram, 0); // "ab"
    PutRecord(b, 2, kText, 3);    // odd: rounded down to 2, "b"
    PutRecord(b, 3, kText, 6);    // "c", ended by the area
    PutRecord(b, 4, kProgram, 8); // at the end: empty
    PutRecord(b, 5, kText, -2);   // far outside: empty
    PutRecord(b, 6, 2, 0);        // not a text kind: no string
    ASSERT_EQ(LoadProfileBytes(b.data(), b.size(), *loaded_), 1);
    EXPECT_EQ(loaded_->KeyString(1), u"ab");
    EXPECT_EQ(loaded_->KeyString(2), u"b");
    EXPECT_EQ(loaded_->KeyString(3), u"c");
    EXPECT_EQ(loaded_->KeyString(4), u"");
    EXPECT_EQ(loaded_->KeyString(5), u"");
    EXPECT_EQ(loaded_->KeyStringSize(6), 0u);
    EXPECT_EQ(loaded_->KeyStringTotal(), 6u + 4u + 4u + 2u + 2u);
    EXPECT_EQ(loaded_->MacroCount(), 0u);
}

TEST_F(ProfileIoTest, WorkingProfileIsSavedOnlyWhenItsFileExists) {
    Fill(1);
    EXPECT_EQ(WorkingProfilePath(1), UserFolder() + "/$Profile1");
    EXPECT_EQ(WorkingProfilePath(3), "");
    EXPECT_EQ(SaveWorkingProfile(1, *store_), 0);
    EXPECT_FALSE(std::filesystem::exists(WorkingProfilePath(1)));
    EXPECT_EQ(SaveWorkingProfile(-1, *store_), 0);

    const std::string working = WorkingProfilePath(1);
    ASSERT_EQ(CreateBlankProfile(&working, 0), 1);
    EXPECT_EQ(SaveWorkingProfile(1, *store_), 1);
    EXPECT_EQ(ReadText(working), AsString(BuildProfileFileBytes(*store_)));
    EXPECT_FALSE(std::filesystem::exists(WorkingProfilePath(0)));
}

TEST_F(ProfileIoTest, FailedWritesKeepThePreviousFile) {
    Fill(3);
    const std::string path = home_.Dir().File("keep.fwc");
    ASSERT_EQ(CreateBlankProfile(&path, 0), 1);
    const std::string before = ReadText(path);

    SetAtomicWriteFailureForTests(true);
    EXPECT_EQ(SaveProfileFile(path, *store_), 0);
    SetAtomicWriteFailureForTests(true);
    EXPECT_EQ(CreateBlankProfile(&path, 1), 0);
    SetAtomicWriteFailureForTests(false);
    EXPECT_EQ(ReadText(path), before);

    EXPECT_EQ(WithoutWriteAccess(home_.Dir().Path(), [&] { return SaveProfileFile(path, *store_); }), 0);
    EXPECT_EQ(ReadText(path), before);
    // No temporary file is left beside it.
    for (const auto& entry : std::filesystem::directory_iterator(home_.Dir().Path()))
        EXPECT_EQ(entry.path().string().find("keep.fwc.tmp"), std::string::npos) << entry.path();
}

TEST_F(ProfileIoTest, ImportLoadsOnlyValidFilesAndExportWritesOne) {
    Fill(2);
    const std::string exported = home_.Dir().File("out.fwc");
    ASSERT_TRUE(ExportProfileFile(exported, *store_));
    EXPECT_EQ(ValidateProfileFile(exported), kProfileValid);

    const std::string working = WorkingProfilePath(0);
    ASSERT_EQ(CreateBlankProfile(&working, 0), 1);
    Mark(*loaded_);
    EXPECT_EQ(ImportProfileFile(exported, 0, *loaded_), 1);
    ExpectSameConfiguration(*store_, *loaded_);
    EXPECT_EQ(ReadText(working), ReadText(exported));
    EXPECT_TRUE(prompt_.shown.empty());

    // A malformed file is named once, with the reason; nothing changes.
    std::string bad = ReadText(exported);
    bad[31] = static_cast<char>(bad[31] + 1);
    const std::string badPath = home_.Dir().File("bad.fwc");
    WriteText(badPath, bad);
    Mark(*loaded_);
    EXPECT_EQ(ImportProfileFile(badPath, 0, *loaded_), 0);
    ExpectMarked(*loaded_);
    EXPECT_EQ(prompt_.shown, (std::vector<std::string>{"Bad profile: " + badPath}));
    EXPECT_EQ(ReadText(working), ReadText(exported));

    prompt_.shown.clear();
    EXPECT_EQ(ImportProfileFile(home_.Dir().File("none.fwc"), 0, *loaded_), 0);
    EXPECT_EQ(prompt_.shown, std::vector<std::string>{"Import failed"});
}

} // namespace
} // namespace orvane::test
