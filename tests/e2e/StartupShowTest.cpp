// The show command the program is started with: minimized it is only a
// taskbar button until restored, maximized the dialog comes up zoomed.
#include "UpdaterFixture.h"

using namespace updater;

namespace {

class StartupShow : public UpdaterTest {};

} // namespace

TEST_F(StartupShow, MinimizedReadsTheInstallOnlyWhenRestored) {
    makeInstall();
    makeDelivery();
    start(SW_SHOWMINNOACTIVE);
    HWND owner = nullptr;
    ASSERT_TRUE(waitUntil(
        [&] {
            owner = ownerWindow();
            return owner != nullptr && IsIconic(owner);
        },
        windowTimeoutMs))
        << "the owner window is not minimized";
    // Nothing shows the dialog until a restore: once the program has answered,
    // the pause is the check that it stays hidden.
    ASSERT_TRUE(e2e::settled(owner));
    EXPECT_TRUE(keepsRunning(500));
    for (HWND window : e2e::topLevelWindows(process->id(), dialogClass)) {
        EXPECT_FALSE(IsWindowVisible(window)) << "the dialog is shown while minimized";
    }

    // Registered only now: the dialog must find it when it is first shown.
    registerInstall();
    ASSERT_TRUE(PostMessageA(owner, WM_SYSCOMMAND, SC_RESTORE, 0));
    HWND dialog = waitForDialog();
    ASSERT_NE(dialog, nullptr) << "restoring did not show the dialog";
    ASSERT_TRUE(waitUntil([&] { return !IsIconic(owner); }, windowTimeoutMs));
    ASSERT_TRUE(e2e::bringToFront(dialog));
    expectButton(dialog, button1Id, "実　行", true);
    expectButton(dialog, button2Id, "キャンセル", true);
    EXPECT_TRUE(labelShows(dialog, pathLabelBox, install, pathLabelFlags));
    expectClickEnds(dialog, button2Id);
}

TEST_F(StartupShow, MaximizedZoomsTheDialog) {
    makeInstall();
    registerInstall();
    makeDelivery();
    start(SW_SHOWMAXIMIZED);
    HWND dialog = waitForDialog();
    ASSERT_NE(dialog, nullptr) << "the dialog did not appear";
    // Shown first, zoomed a moment later: on a slow machine that moment is long.
    EXPECT_TRUE(waitUntil([&] { return IsZoomed(dialog) != FALSE; }, windowTimeoutMs));
    // The zoomed state comes before the new place: the click waits for the
    // program to finish the move and for Button2 to be where it goes.
    EXPECT_FALSE(IsIconic(ownerWindow()));
    expectButton(dialog, button1Id, "実　行", true);
    expectClickEnds(dialog, button2Id);
}
