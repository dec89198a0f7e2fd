// The literals must reach Windows as cp932 bytes, whatever the source encoding.
#include "Main.h"
#include "UpdaterFolder.h"

#include <gtest/gtest.h>

namespace {

std::string Hex(const std::string& bytes) {
    static const char digits[] = "0123456789ABCDEF";
    std::string hex;
    for (unsigned char byte : bytes) {
        if (!hex.empty())
            hex += ' ';
        hex += digits[byte >> 4];
        hex += digits[byte & 15];
    }
    return hex;
}

TEST(CaptionBytes, JapaneseLiteralsAreShiftJis) {
    EXPECT_EQ(Hex("実　行"), "8E C0 81 40 8D 73");
    EXPECT_EQ(Hex("　"), "81 40");
    EXPECT_EQ(Hex("表ソ能"), "95 5C 83 5C 94 5C");
    EXPECT_EQ(Hex("閉じる"), "95 C2 82 B6 82 E9");
    EXPECT_EQ(Hex("ザルミナアップデート"),
              "83 55 83 8B 83 7E 83 69 83 41 83 62 83 76 83 66 81 5B 83 67");
}

TEST(CaptionBytes, FixedNamesArePlainAscii) {
    EXPECT_EQ(std::string(AppPathsKey),
              "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\RZB52.exe");
    EXPECT_EQ(std::string(AppPathsValueName), "Path");
    EXPECT_EQ(std::string(ProgramFileName), "RZB52.exe");
}

} // namespace
