#include "services/PathTable.h"

#include <gtest/gtest.h>

#include "platform/Paths.h"
#include "support/TempDir.h"

using namespace orvane;

namespace {

TEST(PathTable, EveryShippedFileSitsBesideTheExecutable) {
    ASSERT_TRUE(BuildPathTable("/opt/orvane/lib/orvane"));
    const CPathTable& t = Paths();
    EXPECT_EQ(t.ModulePath, "/opt/orvane/lib/orvane");
    EXPECT_EQ(t.ExeFileName, "orvane");
    EXPECT_EQ(t.ProgramFolder, "/opt/orvane/lib/");
    EXPECT_EQ(t.HelpFolder, "/opt/orvane/lib/Help/");
    EXPECT_EQ(t.MainSkinFile, "/opt/orvane/lib/Skins/Main.ini");
    EXPECT_EQ(t.SkinFolder, "/opt/orvane/lib/Skins/");
    EXPECT_EQ(t.DefaultUserDataPrefix, "/opt/orvane/lib/Skins/UserDengColor_");
    EXPECT_EQ(t.ProfileSkinFile, "/opt/orvane/lib/Skins/Profile.ini");
    EXPECT_EQ(t.ProfileSkinFolder, "/opt/orvane/lib/Skins/");
    EXPECT_EQ(t.CompositeSkinFile, "/opt/orvane/lib/Skins/Composite.ini");
    EXPECT_EQ(t.CompositeSkinFolder, "/opt/orvane/lib/Skins/");
    EXPECT_EQ(t.DaemonPath, "/opt/orvane/lib/VuVareze");
}

TEST(PathTable, RefusesPathsThatWouldNotFitAndKeepsTheOldTable) {
    ASSERT_TRUE(BuildPathTable("/opt/orvane/orvane"));
    // Short enough itself, but its skin paths would pass the limit.
    std::string deep = "/" + std::string(kMaxPath - 15, 'd') + "/orvane";
    ASSERT_LT(deep.size(), kMaxPath);
    EXPECT_FALSE(BuildPathTable(deep));
    EXPECT_FALSE(BuildPathTable("/" + std::string(5000, 'x')));
    EXPECT_FALSE(BuildPathTable(""));
    EXPECT_FALSE(BuildPathTable("relative/orvane"));
    EXPECT_EQ(Paths().ModulePath, "/opt/orvane/orvane");
}

TEST(PathTable, UserPathsFollowTheDataFolderAndCreateIt) {
    orvane::testing::CTempDir dir;
    orvane::testing::CScopedEnv data("XDG_DATA_HOME", dir.File("not/yet"));
    BuildUserPaths();
    EXPECT_EQ(Paths().UserSettingsFile, dir.File("not/yet/Brislane/zaru.ini"));
    EXPECT_EQ(Paths().UserDataPrefix, dir.File("not/yet/Brislane/UserDengColor_"));
    EXPECT_TRUE(FolderExists(dir.File("not/yet")));

    // Long paths are kept whole; only what the system refuses turns the files off.
    const std::string longer = dir.File(std::string(120, 'a') + "/" + std::string(120, 'b'));
    orvane::testing::CScopedEnv deep("XDG_DATA_HOME", longer);
    BuildUserPaths();
    EXPECT_EQ(Paths().UserSettingsFile, longer + "/Brislane/zaru.ini");
    orvane::testing::CScopedEnv tooDeep("XDG_DATA_HOME", "/" + std::string(PATH_MAX, 'x'));
    BuildUserPaths();
    EXPECT_EQ(Paths().UserSettingsFile, "");
    EXPECT_EQ(Paths().UserDataPrefix, "");
}

} // namespace
