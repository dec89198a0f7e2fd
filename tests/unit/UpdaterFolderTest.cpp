#include "UpdaterFolder.h"

#include <gtest/gtest.h>

namespace {

TEST(UpdaterFolder, KeepsEverythingUpToTheLastBackslash) {
    EXPECT_EQ(UpdaterFolder("C:\\Users\\me\\Downloads\\Update.exe"), "C:\\Users\\me\\Downloads\\");
    EXPECT_EQ(UpdaterFolder("\\\\server\\share\\Update.exe"), "\\\\server\\share\\");
    EXPECT_EQ(UpdaterFolder("C:\\Update.exe"), "C:\\");
}

TEST(UpdaterFolder, TrailByte5CIsNotASeparator) {
    // "表", "ソ" and "能" end in 0x5C; none of them may end the folder.
    EXPECT_EQ(UpdaterFolder("C:\\表\\Update.exe"), "C:\\表\\");
    EXPECT_EQ(UpdaterFolder("C:\\ソフト\\能Update.exe"), "C:\\ソフト\\");
    EXPECT_EQ(UpdaterFolder("C:\\dir\\表"), "C:\\dir\\");
    EXPECT_EQ(UpdaterFolder("C:\\dir\\ソ能表.exe"), "C:\\dir\\");
}

TEST(UpdaterFolder, ColonEndsTheFolderWhenItIsTheLastSeparator) {
    EXPECT_EQ(UpdaterFolder("C:Update.exe"), "C:");
    EXPECT_EQ(UpdaterFolder("C:\\dir\\stream:Update.exe"), "C:\\dir\\stream:");
}

TEST(UpdaterFolder, NoSeparatorGivesNothing) {
    EXPECT_EQ(UpdaterFolder("Update.exe"), "");
    EXPECT_EQ(UpdaterFolder("表"), ""); // 95 5C: one character, no separator
    EXPECT_EQ(UpdaterFolder(""), "");
}

TEST(UpdaterFolder, HalfWidthKanaAreSingleBytes) {
    // A0-DF are half-width katakana, not lead bytes: the backslash after one counts.
    EXPECT_EQ(UpdaterFolder("C:\\\xB1\\Update.exe"), "C:\\\xB1\\");
}

TEST(UpdaterFolder, ALeadByteAtTheVeryEndIsNotReadPast) {
    EXPECT_EQ(UpdaterFolder(std::string("C:\\dir\\\x95", 8)), "C:\\dir\\");
}

// The owner window's first text comes from the same path, taken apart the same way.
TEST(ProgramBaseTitle, LowerCasesTheLettersAfterTheFirstCharacter) {
    EXPECT_EQ(ProgramBaseTitle("C:\\Users\\me\\Downloads\\UPDATE.EXE"), "Update");
    EXPECT_EQ(ProgramBaseTitle("C:\\ソフト\\Update.v2.exe"), "Update.v2");
    EXPECT_EQ(ProgramBaseTitle("Update"), "Update");
    // "ザ" is 83 55: its second byte is no "U".
    EXPECT_EQ(ProgramBaseTitle("C:\\表\\ザルミナ更新.exe"), "ザルミナ更新");
    EXPECT_EQ(ProgramBaseTitle("C:\\dir\\ザUPDATE.exe"), "ザupdate");
}

} // namespace
