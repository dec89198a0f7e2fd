// The error box appends "." only after a last character that sorts above it.
#include "ErrorText.h"

#include <gtest/gtest.h>

namespace {

TEST(ErrorBoxText, AppendsAFullStopAfterALetterOrADoubleByteCharacter) {
    EXPECT_EQ(ErrorBoxText("'Path' のデータ型が不正です"), "'Path' のデータ型が不正です.");
    EXPECT_EQ(ErrorBoxText("'Path' の取得に失敗しました"), "'Path' の取得に失敗しました.");
    EXPECT_EQ(ErrorBoxText("完了しました。"), "完了しました。.");
    EXPECT_EQ(ErrorBoxText("Access denied"), "Access denied.");
    EXPECT_EQ(ErrorBoxText("item 7"), "item 7.");
}

TEST(ErrorBoxText, LeavesTextEndingAtOrBelowTheFullStop) {
    EXPECT_EQ(ErrorBoxText("Done."), "Done.");
    EXPECT_EQ(ErrorBoxText("trailing "), "trailing ");
    EXPECT_EQ(ErrorBoxText("(see log)"), "(see log)");
    EXPECT_EQ(ErrorBoxText("a-"), "a-");
    EXPECT_EQ(ErrorBoxText(""), "");
}

TEST(ErrorBoxText, LastCharacterIsFoundInCodePage932) {
    // "ソ" is 83 5C: its trail byte is a backslash, which sorts above "."
    // on its own too; the whole character is what is compared.
    EXPECT_EQ(ErrorBoxText("ソ"), "ソ.");
    // Half-width katakana are single bytes above 0x7F.
    EXPECT_EQ(ErrorBoxText("\xB1"), "\xB1.");
    // A lone lead byte at the end is the last character by itself.
    EXPECT_EQ(ErrorBoxText(std::string("x\x82", 2)), std::string("x\x82.", 3));
}

} // namespace
