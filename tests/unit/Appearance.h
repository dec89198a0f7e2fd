// The dialog as the user sees it, control by control, for comparing a state
// of the fake dialog with what that state must look like.
#pragma once

#include "FakePlatform.h"

#include <gtest/gtest.h>

namespace texts {
inline const Text Title = "「ザルミナ」アップデート";
inline const Text Heading = "「ザルミナ」を最新版にアップデートします。";
inline const Text WhatIsUpdated =
    "以下の場所にインストールされている「ザルミナ」をアップデートします。";
inline const Text NotInstalled = "「ザルミナ」がインストールされていません。";
inline const Text InstallHint = "「ザルミナ」をインストールしてから実行してください。";
inline const Text Execute = "実　行";
inline const Text Running = "実行中";
inline const Text Close = "閉じる";
inline const Text Stop = "中　止";
inline const Text Cancel = "キャンセル";
inline const Text Completed = "完了しました。";
inline Text NotUpdated(int count) {
    return "5個中" + std::to_string(count) + "個のファイルがアップデートできませんでした。";
}
} // namespace texts

struct Appearance {
    Text label1;
    Text pathLabel;
    bool label3Visible;
    Text label3; // checked only when visible
    bool barVisible;
    Text button1;
    bool button1Visible;
    bool button1Enabled;
    Text button2;
    bool button2Enabled;
};

inline Appearance InitialAppearance() {
    return {texts::WhatIsUpdated, "PathLabel", false, "", false, texts::Execute, true, true,
            texts::Cancel,        true};
}

inline Appearance NotInstalledAppearance() {
    return {texts::NotInstalled,
            texts::InstallHint,
            false,
            "",
            false,
            texts::Execute,
            false,
            true,
            texts::Close,
            true};
}

inline Appearance ReadyAppearance(const Text& installPath) {
    return {texts::WhatIsUpdated, installPath, false, "", false, texts::Execute, true, true,
            texts::Cancel,        true};
}

inline Appearance FinishedAppearance(const Text& installPath, const Text& outcome) {
    return {texts::WhatIsUpdated, installPath, true, outcome,       true,
            texts::Close,         true,        true, texts::Cancel, false};
}

inline void ExpectAppearance(const FakePlatform& fake, const Appearance& expected) {
    const auto& c = fake.controls;
    EXPECT_EQ(c.at(Control::Label2).caption, texts::Heading);
    EXPECT_TRUE(c.at(Control::Label2).visible);
    EXPECT_TRUE(c.at(Control::Bevel1).visible);
    EXPECT_TRUE(c.at(Control::Label1).visible);
    EXPECT_TRUE(c.at(Control::PathLabel).visible);
    EXPECT_EQ(c.at(Control::Label1).caption, expected.label1);
    EXPECT_EQ(c.at(Control::PathLabel).caption, expected.pathLabel);
    EXPECT_EQ(c.at(Control::Label3).visible, expected.label3Visible);
    if (expected.label3Visible) {
        EXPECT_EQ(c.at(Control::Label3).caption, expected.label3);
    }
    EXPECT_EQ(c.at(Control::ProgressBar1).visible, expected.barVisible);
    EXPECT_EQ(c.at(Control::Button1).caption, expected.button1);
    EXPECT_EQ(c.at(Control::Button1).visible, expected.button1Visible);
    EXPECT_EQ(c.at(Control::Button1).enabled, expected.button1Enabled);
    EXPECT_EQ(c.at(Control::Button2).caption, expected.button2);
    EXPECT_TRUE(c.at(Control::Button2).visible);
    EXPECT_EQ(c.at(Control::Button2).enabled, expected.button2Enabled);
}
