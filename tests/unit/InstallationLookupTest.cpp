// Where the installation is, and whether its program file is really there.
#include "Appearance.h"
#include "Main.h"

#include <gtest/gtest.h>

namespace {

class InstallationLookup : public ::testing::Test {
  protected:
    FakePlatform fake;

    Text Lookup() { return GetInstallPath(fake); }
};

TEST_F(InstallationLookup, ReadsThePathValueOfTheAppPathsKeyWithoutItsLeadingBackslash) {
    fake.RegisterInstallPath(std::string("C:\\Program Files\\Zarumina\0", 27));
    EXPECT_EQ(Lookup(), "C:\\Program Files\\Zarumina");
    EXPECT_EQ(fake.journal, (std::vector<std::string>{
                                "ReadRegistryString \\" + InstallKey + " Path",
                                "RegOpenKey " + InstallKey,
                                "RegQueryTypeAndSize Path",
                                "RegQueryData Path",
                                "RegCloseKey",
                            }));
}

TEST_F(InstallationLookup, AbsentOrRefusedOrEmptyGivesNothingAndNoError) {
    EXPECT_EQ(Lookup(), "") << "key absent";

    fake.RegisterInstallPath("C:\\App");
    fake.refuseOpen = true;
    EXPECT_EQ(Lookup(), "") << "full access refused, though the key exists";
    EXPECT_TRUE(fake.JournalMatching("RegQueryTypeAndSize").empty());
    fake.refuseOpen = false;

    fake.failSizeQuery = true;
    EXPECT_EQ(Lookup(), "") << "value absent";
    fake.failSizeQuery = false;

    fake.RegisterInstallPath("");
    EXPECT_EQ(Lookup(), "") << "size 0";
    EXPECT_TRUE(fake.JournalMatching("RegQueryData").empty());
    EXPECT_EQ(fake.keysOpen, 0);
}

TEST_F(InstallationLookup, UnreadableDataRaisesTheReadErrorAndReleasesTheKey) {
    fake.RegisterInstallPath("C:\\App");
    fake.failDataRead = true;
    try {
        Lookup();
        FAIL() << "no error raised";
    } catch (const RegistryError& error) {
        EXPECT_EQ(std::string(error.what()), "'Path' の取得に失敗しました");
    }
    EXPECT_EQ(fake.keysOpen, 0);
    EXPECT_EQ(fake.journal.back(), "RegCloseKey");
}

TEST_F(InstallationLookup, NonStringTypesRaiseTheTypeErrorAndReleaseTheKey) {
    for (uint32_t type : {0u /* REG_NONE */, 3u /* REG_BINARY */, 4u /* REG_DWORD */,
                          7u /* REG_MULTI_SZ */, 11u /* REG_QWORD */}) {
        fake.RegisterInstallPath(std::string("\x01\x00\x00\x00", 4), type);
        try {
            Lookup();
            ADD_FAILURE() << "no error for type " << type;
        } catch (const RegistryError& error) {
            EXPECT_EQ(std::string(error.what()), "'Path' のデータ型が不正です") << type;
        }
        EXPECT_EQ(fake.keysOpen, 0) << type;
        EXPECT_EQ(fake.journal.back(), "RegCloseKey") << type;
    }
}

TEST_F(InstallationLookup, TheTextIsUsedExactlyAsStored) {
    fake.RegisterInstallPath(std::string("%ProgramFiles%\\App\0", 19),
                             RegistryKeyAccess::TypeExpandString);
    EXPECT_EQ(Lookup(), "%ProgramFiles%\\App") << "REG_EXPAND_SZ is not expanded";

    fake.RegisterInstallPath(std::string("C:\\App\\\0", 8));
    EXPECT_EQ(Lookup(), "C:\\App\\") << "trailing backslash kept";

    fake.RegisterInstallPath(std::string("  C:\\App; \0", 11));
    EXPECT_EQ(Lookup(), "  C:\\App; ") << "blanks and ';' kept";

    fake.RegisterInstallPath(std::string("C:\\ソフト\\表\0", 13));
    EXPECT_EQ(Lookup(), "C:\\ソフト\\表");
}

TEST_F(InstallationLookup, TextIsCutAtTheFirstNulOrTakenWholeWithoutOne) {
    fake.RegisterInstallPath(std::string("C:\\A\0C:\\B\0\0", 11));
    EXPECT_EQ(Lookup(), "C:\\A");

    fake.RegisterInstallPath("C:\\NoTerminator");
    EXPECT_EQ(Lookup(), "C:\\NoTerminator");

    fake.RegisterInstallPath(std::string("\0garbage", 8));
    EXPECT_EQ(Lookup(), "");
}

TEST_F(InstallationLookup, ProgramFileMustBeAFileWithADosTimeStamp) {
    fake.AddFolder("C:\\App");
    EXPECT_FALSE(ProgramFileExists(fake, "C:\\App")) << "absent";

    fake.AddFolder("C:\\App\\RZB52.exe");
    EXPECT_FALSE(ProgramFileExists(fake, "C:\\App")) << "a directory of that name";

    fake.AddFile("C:\\App\\RZB52.exe", "MZ", 1979);
    EXPECT_FALSE(ProgramFileExists(fake, "C:\\App")) << "before 1980";
    fake.AddFile("C:\\App\\RZB52.exe", "MZ", 2108);
    EXPECT_FALSE(ProgramFileExists(fake, "C:\\App")) << "after 2107";

    fake.AddFile("C:\\App\\RZB52.exe", "MZ", 1980);
    EXPECT_TRUE(ProgramFileExists(fake, "C:\\App"));
    EXPECT_EQ(fake.journal.back(), "FilePresent C:\\App\\RZB52.exe");
}

TEST_F(InstallationLookup, ProgramFilePathIsPlainConcatenation) {
    ProgramFileExists(fake, "C:\\App\\");
    EXPECT_EQ(fake.journal.back(), "FilePresent C:\\App\\\\RZB52.exe");
    ProgramFileExists(fake, " C:\\App; ");
    EXPECT_EQ(fake.journal.back(), "FilePresent  C:\\App; \\RZB52.exe");
}

} // namespace
