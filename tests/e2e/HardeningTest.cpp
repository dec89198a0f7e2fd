// A failed update must leave a working installation: every target holds
// either its old bytes or its new ones, whatever goes wrong, and odd
// registry values get a defined answer.
#include "UpdaterFixture.h"

using namespace updater;

namespace {

class FailedUpdate : public DrivenUpdaterTest {
  protected:
    // Runs the update with Enter and waits for its outcome.
    HWND RunToTheEnd() {
        start();
        HWND dialog = focusedDialog();
        if (dialog == nullptr)
            return nullptr;
        startRun(dialog);
        waitForRunEnd(dialog);
        return dialog;
    }
    // Nothing in the install folder but the program file and the five targets.
    void ExpectNoTemporaryFile(const std::string& folder) {
        for (const auto& entry : snapshot(folder)) {
            bool known = entry.first == "\\RZB52.exe";
            for (const DataFile& file : dataFiles)
                known = known || entry.first == std::string("\\") + file.target ||
                        entry.first == std::string("\\") + file.target + "\\";
            EXPECT_TRUE(known) << "left behind: " << entry.first;
        }
    }
};

TEST_F(FailedUpdate, ReadOnlyHeldOpenAndFolderTargetsKeepTheirOldState) {
    makeInstall();
    e2e::makeReadOnly(install + "\\START.DXR");
    ASSERT_TRUE(DeleteFileA((install + "\\SHARED.CXT").c_str()));
    makeFolder(install + "\\SHARED.CXT");
    registerInstall();
    makeDelivery();
    HWND dialog = nullptr;
    {
        e2e::HeldOpen held(install + "\\TRAIN.DXR");
        dialog = RunToTheEnd();
        ASSERT_NE(dialog, nullptr);
    }
    EXPECT_EQ(e2e::readFile(install + "\\START.DXR"), oldBytes(1));
    EXPECT_EQ(e2e::readFile(install + "\\TRAIN.DXR"), oldBytes(2));
    EXPECT_TRUE(e2e::folderExists(install + "\\SHARED.CXT"));
    EXPECT_EQ(e2e::readFile(install + "\\LDATA.CXT"), newBytes(0, 64));
    EXPECT_EQ(e2e::readFile(install + "\\END.DXR"), newBytes(4, 64));
    EXPECT_EQ(barPosition(button(dialog, progressBarId)), 2);
    EXPECT_TRUE(labelShows(dialog, label3Box, "5個中3個のファイルがアップデートできませんでした。",
                           labelFlags));
    ExpectNoTemporaryFile(install);
}

TEST_F(FailedUpdate, AFullDriveKeepsTheOldFileAndLeavesNoTemporaryFile) {
    if (!e2e::folderExists("S:\\"))
        GTEST_SKIP() << "no 3 MB drive S: here: the test environment could not mount one "
                        "(it needs root)";
    install = "S:\\" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name());
    e2e::removeTree(install);
    makeInstall();
    registerInstall();
    makeDelivery();
    // END.dxr alone is larger than the whole drive.
    e2e::writeFile(delivery + "\\Data\\END.dxr", newBytes(4, 4u << 20));
    HWND dialog = RunToTheEnd();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(e2e::readFile(install + "\\END.DXR"), oldBytes(4));
    for (size_t i = 0; i < 4; ++i)
        EXPECT_EQ(e2e::readFile(install + "\\" + dataFiles[i].target), newBytes(i, 64));
    EXPECT_EQ(barPosition(button(dialog, progressBarId)), 4);
    ExpectNoTemporaryFile(install);
    process.reset();
    e2e::removeTree(install);
}

TEST_F(FailedUpdate, KillingTheProgramMidCopyLeavesTheTargetWhole) {
    // The last file is large enough to be caught in the middle of its copy.
    HWND dialog = startReady(64, 400u << 20);
    ASSERT_NE(dialog, nullptr);
    startRun(dialog);
    ASSERT_NO_FATAL_FAILURE(waitForTheLastCopy());
    process->kill();
    for (size_t i = 0; i < 4; ++i)
        EXPECT_EQ(e2e::readFile(install + "\\" + dataFiles[i].target), newBytes(i, 64));
    EXPECT_EQ(e2e::readFile(install + "\\END.DXR"), oldBytes(4))
        << "the installed file was touched before its new copy was whole";
}

// The program file cannot be found under such a path: the dialog says so.
void ExpectNotInstalled(HWND dialog) {
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(IsWindowVisible(e2e::childById(dialog, button1Id)));
    expectButton(dialog, button2Id, "閉じる", true);
}

TEST_F(FailedUpdate, AnInstallPathLongerThanMaxPathIsNotAnInstallation) {
    makeDelivery();
    e2e::setAppPath(REG_SZ, folder + "\\" + std::string(300, 'a') + '\0');
    start();
    HWND dialog = focusedDialog();
    ExpectNotInstalled(dialog);
    expectClickEnds(dialog, button2Id);
}

TEST_F(FailedUpdate, AOneMegabytePathValueIsNotAnInstallation) {
    makeDelivery();
    e2e::setAppPath(REG_SZ, std::string(1u << 20, 'x') + '\0');
    start();
    HWND dialog = focusedDialog();
    ExpectNotInstalled(dialog);
    expectClickEnds(dialog, button2Id);
}

} // namespace
