// A failed update must leave a working installation: every target holds
// either its old bytes or its new ones, whatever goes wrong, and odd
// registry values get a defined answer.
#include "UpdaterFixture.h"

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

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
    std::vector<std::string> temporaryCopies() const {
        std::vector<std::string> paths;
        for (const DataFile& file : dataFiles) {
            paths.push_back(temporaryCopy(file));
        }
        return paths;
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

    // The next run clears away what the killed one left and finishes the job
    // (with a small END.dxr, to be quick about it).
    e2e::writeFile(delivery + "\\Data\\END.dxr", newBytes(4, 64));
    ASSERT_NE(RunToTheEnd(), nullptr);
    EXPECT_EQ(e2e::readFile(install + "\\END.DXR"), newBytes(4, 64));
    EXPECT_EQ(snapshot(install).size(), dataFiles.size() + 1);
    ExpectNoTemporaryFile(install);
}

// Under Wine a flush is an fsync made by the program's own process and a
// rename a rename(2) made by wineserver; ctest has wine-run trace both for
// this case.
TEST_F(FailedUpdate, EachNewFileReachesTheDiskBeforeItReplacesTheOldOne) {
    const char* log = std::getenv("E2E_SYSCALL_LOG");
    if (log == nullptr) {
        GTEST_SKIP() << "no trace of flushes and renames (E2E_SYSCALL_LOG); ctest makes one";
    }
    makeInstall();
    registerInstall();
    makeDelivery();
    ASSERT_NE(RunToTheEnd(), nullptr);
    std::vector<std::string> calls;
    std::istringstream trace(e2e::readFile(e2e::windowsPath(log)));
    for (std::string line; std::getline(trace, line);) {
        calls.push_back(line);
    }
    const auto firstCall = [&](const char* call, const std::string& naming) {
        size_t i = 0;
        while (i < calls.size() && (calls[i].find(call) == std::string::npos ||
                                    calls[i].find(naming) == std::string::npos)) {
            ++i;
        }
        return i;
    };
    for (const DataFile& file : dataFiles) {
        const std::string name = "/" + temporaryCopy(file).substr(install.size() + 1);
        const size_t flushed =
            std::min(firstCall("fsync(", name + ">"), firstCall("fdatasync(", name + ">"));
        const size_t renamed = firstCall("rename", name + "\",");
        EXPECT_LT(renamed, calls.size()) << file.target << ": no rename of its new copy";
        EXPECT_LT(flushed, renamed) << file.target << ": not flushed before the rename";
    }
}

// A virus scanner holds the new copy open without FILE_SHARE_DELETE right
// after it is written. Copies of this size take their flush long enough for
// the stand-in to catch them.
constexpr size_t scannedSize = 4u << 20;

TEST_F(FailedUpdate, ANewFileThatAScannerHoldsForAMomentIsStillPutInPlace) {
    makeInstall();
    registerInstall();
    makeDelivery(scannedSize);
    e2e::ScannerStandIn scanner(temporaryCopies(), 300);
    start();
    HWND dialog = focusedDialog();
    ASSERT_NE(dialog, nullptr);
    // The installed LDATA.CXT is being scanned as the run reaches it.
    e2e::ScannerStandIn installedScanner({install + "\\LDATA.CXT"}, 800);
    startRun(dialog);
    waitForRunEnd(dialog);
    const std::vector<bool> held = scanner.stop();
    EXPECT_NE(std::count(held.begin(), held.end(), true), 0) << "no new copy was caught";
    for (size_t i = 0; i < dataFiles.size(); ++i) {
        EXPECT_TRUE(e2e::readFile(install + "\\" + dataFiles[i].target) == newBytes(i, scannedSize))
            << dataFiles[i].target << (held[i] ? ", held a moment," : "") << " was not updated";
    }
    EXPECT_EQ(barPosition(button(dialog, progressBarId)), 5);
    ExpectNoTemporaryFile(install);
}

TEST_F(FailedUpdate, ANewFileHeldLongerThanTheRunWaitsIsCountedAndTheOldOneKept) {
    makeInstall();
    registerInstall();
    makeDelivery(scannedSize);
    e2e::ScannerStandIn scanner(temporaryCopies(), INFINITE);
    HWND dialog = RunToTheEnd();
    ASSERT_NE(dialog, nullptr);
    const std::vector<bool> held = scanner.stop();
    const int heldCount = static_cast<int>(std::count(held.begin(), held.end(), true));
    EXPECT_NE(heldCount, 0) << "no new copy was caught";
    for (size_t i = 0; i < dataFiles.size(); ++i) {
        EXPECT_TRUE(e2e::readFile(install + "\\" + dataFiles[i].target) ==
                    (held[i] ? oldBytes(i) : newBytes(i, scannedSize)))
            << dataFiles[i].target << (held[i] ? ", held," : "") << " has the wrong bytes";
    }
    EXPECT_EQ(barPosition(button(dialog, progressBarId)), 5 - heldCount);
    EXPECT_TRUE(labelShows(dialog, label3Box,
                           "5個中" + std::to_string(heldCount) +
                               "個のファイルがアップデートできませんでした。",
                           labelFlags));
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
