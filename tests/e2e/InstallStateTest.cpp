// Without an installed ザルミナ the dialog only says so and closes, whatever
// the registry or the install folder holds instead.
#include "UpdaterFixture.h"

using namespace updater;

namespace {

class NotInstalled : public UpdaterTest {
  protected:
    // Button1 gone, Button2 closes; the two notices on screen; the close ends
    // the program with 0 and nothing under the case folder has changed.
    void expectNoticeAndCleanClose() {
        const auto before = snapshot(folder);
        start();
        HWND dialog = waitForDialog();
        ASSERT_NE(dialog, nullptr) << "the dialog did not appear";
        ASSERT_TRUE(waitUntil([&] { return !IsWindowVisible(e2e::childById(dialog, button1Id)); },
                              windowTimeoutMs))
            << "Button1 is still shown";
        expectButton(dialog, button2Id, "閉じる", true);
        ASSERT_TRUE(e2e::bringToFront(dialog));
        EXPECT_TRUE(labelShows(dialog, label1Box, "「ザルミナ」がインストールされていません。",
                               labelFlags));
        EXPECT_TRUE(labelShows(dialog, pathLabelBox,
                               "「ザルミナ」をインストールしてから実行してください。",
                               pathLabelFlags));
        expectClickEnds(dialog, button2Id);
        EXPECT_EQ(snapshot(folder), before);
    }
};

} // namespace

TEST_F(NotInstalled, WithoutTheAppPathsKey) {
    makeInstall();
    makeDelivery();
    expectNoticeAndCleanClose();
}

TEST_F(NotInstalled, WhenTheRegisteredFolderLacksTheProgram) {
    makeInstall();
    ASSERT_TRUE(DeleteFileA((install + "\\RZB52.exe").c_str()));
    registerInstall();
    makeDelivery();
    expectNoticeAndCleanClose();
}

TEST_F(NotInstalled, WhenTheProgramIsAFolder) {
    makeInstall();
    ASSERT_TRUE(DeleteFileA((install + "\\RZB52.exe").c_str()));
    makeFolder(install + "\\RZB52.exe");
    registerInstall();
    makeDelivery();
    expectNoticeAndCleanClose();
}
