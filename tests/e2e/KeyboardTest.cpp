// The dialog's keys, pressed for real: Tab and the arrows move the focus,
// Enter clicks the button the heavy border marks, Escape the cancel button,
// each only while that button can be clicked.
#include "UpdaterFixture.h"
#include "menureader/SystemMenuReport.h"

using namespace updater;

namespace {

class Keys : public DrivenUpdaterTest {
  protected:
    // Presses `key` and expects the focus to land on `expected`: waited for
    // when it moves there; when it is there already, the key is given a
    // moment to move it away, a check that nothing happens.
    void expectFocusAfter(HWND dialog, WORD key, HWND expected, unsigned modifiers = 0) {
        const bool moves = e2e::focusOf(dialog) != expected;
        press(dialog, key, modifiers);
        if (moves) {
            waitUntil([&] { return e2e::focusOf(dialog) == expected; });
        } else {
            expectNothingHappensFor(dialog, 300);
        }
        EXPECT_EQ(e2e::focusOf(dialog), expected) << "after key " << key << " with " << modifiers;
    }

    // Ready, then a run of small files to its end: the finished dialog.
    HWND startFinished() {
        HWND dialog = startReady();
        if (dialog != nullptr) {
            startRun(dialog);
            waitForRunEnd(dialog);
        }
        return dialog;
    }
};

class KeysNotInstalled : public Keys {
  protected:
    // Only Button2 (閉じる) is left: it has the focus, and Enter and Escape both click it.
    void expectKeyEnds(WORD key) {
        makeInstall();
        makeDelivery();
        start();
        HWND dialog = focusedDialog();
        ASSERT_NE(dialog, nullptr);
        EXPECT_FALSE(IsWindowVisible(button(dialog, button1Id)));
        EXPECT_EQ(e2e::focusOf(dialog), button(dialog, button2Id));
        expectDefault(dialog, button2Id);
        press(dialog, key);
        expectEnds();
    }
};

class KeysAfterErrorBox : public Keys {
  protected:
    // A Path value of the wrong type: the error box, dismissed with Enter, then
    // the dialog as built, with no install folder behind it.
    HWND startPastTheBox() {
        makeInstall();
        e2e::setAppPath(REG_DWORD, std::string("\x01\x00\x00\x00", 4));
        makeDelivery();
        start();
        HWND box = e2e::waitForVisibleWindow(process->id(), "#32770", windowTimeoutMs);
        if (box == nullptr) {
            return nullptr;
        }
        press(box, VK_RETURN);
        return focusedDialog();
    }
};

} // namespace

TEST_F(Keys, EnterInReadyRunsTheUpdate) {
    HWND dialog = startReady();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(e2e::focusOf(dialog), button(dialog, button1Id));
    expectDefault(dialog, button1Id);
    press(dialog, VK_RETURN);
    waitForRunEnd(dialog);
    expectAllUpdated();
    EXPECT_TRUE(keepsRunning(500));
}

TEST_F(Keys, TabCarriesTheFocusAndTheDefaultBorder) {
    HWND dialog = startReady();
    ASSERT_NE(dialog, nullptr);
    HWND button1 = button(dialog, button1Id);
    HWND button2 = button(dialog, button2Id);
    expectFocusAfter(dialog, VK_TAB, button2);
    expectDefault(dialog, button2Id);
    expectFocusAfter(dialog, VK_TAB, button1, e2e::Shift);
    expectDefault(dialog, button1Id);
    // Both ways round, past the bar, which is no tab stop (and hidden yet).
    expectFocusAfter(dialog, VK_TAB, button2, e2e::Shift);
    expectFocusAfter(dialog, VK_TAB, button1);
    expectFocusAfter(dialog, VK_TAB, button2);
    EXPECT_TRUE(button1Shows(dialog, "実　行"));
}

TEST_F(Keys, EnterAfterTabCancelsWithoutWriting) {
    HWND dialog = startReady();
    ASSERT_NE(dialog, nullptr);
    const auto before = snapshot(folder);
    press(dialog, VK_TAB);
    press(dialog, VK_RETURN);
    expectEnds();
    EXPECT_EQ(snapshot(folder), before);
}

TEST_F(Keys, EscapeCancelsOnlyWithoutModifiers) {
    HWND dialog = startReady();
    ASSERT_NE(dialog, nullptr);
    const auto before = snapshot(folder);
    press(dialog, VK_ESCAPE, e2e::Shift);
    press(dialog, VK_ESCAPE, e2e::Ctrl);
    press(dialog, VK_RETURN, e2e::Shift);
    press(dialog, VK_RETURN, e2e::Ctrl);
    ASSERT_TRUE(keepsRunning(300)) << "a key with a modifier held clicked a button";
    EXPECT_TRUE(button1Shows(dialog, "実　行")) << "a key with a modifier held started the run";
    press(dialog, VK_ESCAPE);
    expectEnds();
    EXPECT_EQ(snapshot(folder), before);
}

TEST_F(Keys, ArrowsWrapRoundTheButtons) {
    HWND dialog = startReady();
    ASSERT_NE(dialog, nullptr);
    HWND button1 = button(dialog, button1Id);
    HWND button2 = button(dialog, button2Id);
    expectFocusAfter(dialog, VK_RIGHT, button2);
    expectDefault(dialog, button2Id);
    expectFocusAfter(dialog, VK_RIGHT, button1);
    expectDefault(dialog, button1Id);
    expectFocusAfter(dialog, VK_LEFT, button2);
    expectFocusAfter(dialog, VK_DOWN, button1);
    expectFocusAfter(dialog, VK_UP, button2);
    expectFocusAfter(dialog, VK_UP, button1);
}

TEST_F(KeysNotInstalled, EnterEnds) {
    expectKeyEnds(VK_RETURN);
}

TEST_F(KeysNotInstalled, EscapeEnds) {
    expectKeyEnds(VK_ESCAPE);
}

TEST_F(KeysAfterErrorBox, EnterRunsAndWritesNowhere) {
    HWND dialog = startPastTheBox();
    ASSERT_NE(dialog, nullptr);
    const auto before = snapshot(folder);
    EXPECT_EQ(e2e::focusOf(dialog), button(dialog, button1Id));
    press(dialog, VK_RETURN);
    waitForRunEnd(dialog);
    EXPECT_TRUE(labelShows(dialog, label3Box, "5個中5個のファイルがアップデートできませんでした。",
                           labelFlags));
    EXPECT_EQ(snapshot(folder), before);
    // Nor at the root of the drive, where an empty folder would put them.
    for (const DataFile& file : dataFiles) {
        EXPECT_FALSE(e2e::fileExists(std::string("C:\\") + file.target)) << file.target;
    }
}

TEST_F(KeysAfterErrorBox, EscapeEnds) {
    HWND dialog = startPastTheBox();
    ASSERT_NE(dialog, nullptr);
    press(dialog, VK_ESCAPE);
    expectEnds();
}

TEST_F(Keys, EnterEscapeAndSpaceDoNothingWhileRunning) {
    HWND dialog = startReady(bigSource / 4, 4 * bigSource);
    ASSERT_NE(dialog, nullptr);
    const RECT button1 = e2e::windowRect(button(dialog, button1Id));
    const POINT onButton1{(button1.left + button1.right) / 2, (button1.top + button1.bottom) / 2};
    startRun(dialog, enter().key(VK_RETURN).key(VK_ESCAPE).key(VK_SPACE));
    // Again during the last file, which no file's pump follows; and a click.
    ASSERT_NO_FATAL_FAILURE(waitForTheLastCopy());
    e2e::InputBatch().key(VK_RETURN).click(onButton1).send();
    EXPECT_TRUE(copyUnderWay()) << "the last copy ended before the input came";
    waitForRunEnd(dialog);
    // Taken after the run instead, Enter or the click would have closed the program.
    EXPECT_TRUE(keepsRunning(1000)) << "input given during the run ended the program";
    expectAllUpdated();
    // Nor did they click a disabled button and leave a trace of that.
    expectButton(dialog, button1Id, "閉じる", true);
    expectButton(dialog, button2Id, "キャンセル", false);
    ASSERT_TRUE(e2e::bringToFront(dialog));
    EXPECT_TRUE(labelShows(dialog, label3Box, "完了しました。", labelFlags));
}

TEST_F(Keys, FinishedFocusesTheDialogWhereOnlyEnterCloses) {
    HWND dialog = startFinished();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(e2e::focusOf(dialog), dialog);
    expectDefault(dialog, button1Id);
    // No control has the focus, so the arrows have nothing to move.
    expectFocusAfter(dialog, VK_RIGHT, dialog);
    expectFocusAfter(dialog, VK_UP, dialog);
    press(dialog, VK_ESCAPE); // Button2 is disabled
    EXPECT_TRUE(keepsRunning(500)) << "Escape closed the finished dialog";
    press(dialog, VK_RETURN);
    expectEnds();
}

TEST_F(Keys, ArrowsVisitTheShownBarButTabDoesNot) {
    HWND dialog = startFinished();
    ASSERT_NE(dialog, nullptr);
    HWND button1 = button(dialog, button1Id);
    HWND bar = e2e::childById(dialog, progressBarId);
    // Button2 is disabled: Button1 is the only tab stop.
    expectFocusAfter(dialog, VK_TAB, button1);
    expectFocusAfter(dialog, VK_TAB, button1);
    expectFocusAfter(dialog, VK_RIGHT, bar);
    expectDefault(dialog, button1Id);
    expectFocusAfter(dialog, VK_RIGHT, button1);
    expectFocusAfter(dialog, VK_LEFT, bar);
    expectFocusAfter(dialog, VK_UP, button1);
    expectFocusAfter(dialog, VK_DOWN, bar);
    // The focus on the bar gives the default back to Button1 (閉じる).
    press(dialog, VK_RETURN);
    expectEnds();
}

TEST_F(Keys, RestoreFromTheTaskbarFocusesTheDialogsControl) {
    HWND dialog = startReady();
    ASSERT_NE(dialog, nullptr);
    HWND owner = ownerWindow();
    ASSERT_NE(owner, nullptr);
    // Waited for: a message posted now would be handled before the key.
    expectFocusAfter(dialog, VK_TAB, button(dialog, button2Id));
    PostMessageA(owner, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(waitUntil([&] { return IsIconic(owner) != FALSE; }, windowTimeoutMs));
    PostMessageA(owner, WM_SYSCOMMAND, SC_RESTORE, 0);
    ASSERT_TRUE(
        waitUntil([&] { return !IsIconic(owner) && IsWindowVisible(dialog); }, windowTimeoutMs));
    // The focus comes back a moment after the window: on a slow machine, long after.
    EXPECT_TRUE(waitUntil([&] { return e2e::focusOf(dialog) == button(dialog, button2Id); },
                          windowTimeoutMs))
        << "the focus did not come back to Button2";
    EXPECT_NE(e2e::focusOf(dialog), owner);
}

// The pump offers the keyboard messages 0x0100 to 0x0108 to the control
// before dispatch; WM_UNICHAR (0x0109), which newer headers count in, goes to
// its window unoffered.
TEST_F(Keys, WmUnicharIsNotOfferedBeforeDispatch) {
    HWND dialog = startReady();
    ASSERT_NE(dialog, nullptr);
    char name[64];
    menureader::keyOffersName(name, process->id());
    HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                        menureader::keyOffersSize, name);
    ASSERT_NE(mapping, nullptr);
    auto* offers = static_cast<volatile LONG*>(
        MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, menureader::keyOffersSize));
    ASSERT_NE(offers, nullptr);
    {
        const HookInProgram counter(dialog, WH_CALLWNDPROC, menureader::countKeyOffersProcName);
        ASSERT_TRUE(counter.set());
        // Neither does anything on a button; the last one offered comes last.
        constexpr UINT lastOffered = 0x0108;
        HWND button1 = button(dialog, button1Id);
        PostMessageA(button1, WM_UNICHAR, UNICODE_NOCHAR, 0);
        PostMessageA(button1, lastOffered, 0, 0);
        EXPECT_TRUE(
            waitUntil([&] { return offers[lastOffered - WM_KEYDOWN] != 0; }, windowTimeoutMs))
            << "message 0x0108 was not offered";
        EXPECT_EQ(offers[WM_UNICHAR - WM_KEYDOWN], 0) << "WM_UNICHAR was offered";
    }
    UnmapViewOfFile(const_cast<LONG*>(offers));
    CloseHandle(mapping);
    EXPECT_TRUE(button1Shows(dialog, "実　行"));
}
