// Every way of closing ends the program with exit code 0: at once when it is
// idle, and right after the run when one is going on, which it never cuts short.
#include "UpdaterFixture.h"

using namespace updater;

namespace {

enum class CloseBy { CloseBox, AltF4, DialogMessage, OwnerMessage, OwnerMenu };

class Closing : public DrivenUpdaterTest {
  protected:
    // Where the close box is, asked while the program still answers.
    static bool findCloseBox(HWND dialog, POINT& found) {
        const RECT outer = e2e::windowRect(dialog);
        for (LONG y = outer.top + 2; y < outer.top + 40; y += 2) {
            for (LONG x = outer.right - 2; x > outer.right - 60; x -= 2) {
                DWORD_PTR hit = HTNOWHERE;
                SendMessageTimeoutA(dialog, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_NORMAL, 2000,
                                    &hit);
                if (hit == HTCLOSE) {
                    found = POINT{x, y};
                    return true;
                }
            }
        }
        return false;
    }

    // Asks the bar again and again, so that every pump in the run answers one
    // of the questions, until it reaches `wanted`; empty once nothing answers.
    static std::optional<int> positionReaching(HWND bar, int wanted) {
        std::optional<int> position;
        const ULONGLONG deadline = GetTickCount64() + runTimeoutMs;
        do {
            position = barPosition(bar);
        } while (position.has_value() && *position < wanted && GetTickCount64() < deadline);
        return position;
    }

    // `input` followed by the close, for the ways that are input.
    static e2e::InputBatch withClose(e2e::InputBatch input, CloseBy how, POINT closeBox) {
        if (how == CloseBy::CloseBox) {
            input.click(closeBox);
        } else if (how == CloseBy::AltF4) {
            input.key(VK_F4, e2e::Alt);
        }
        return input;
    }
    // The close, for the ways that are messages (posted ones come before any input).
    void postClose(HWND dialog, CloseBy how) {
        if (how == CloseBy::DialogMessage) {
            PostMessageA(dialog, WM_CLOSE, 0, 0);
        } else if (how == CloseBy::OwnerMessage) {
            PostMessageA(ownerWindow(), WM_CLOSE, 0, 0);
        } else if (how == CloseBy::OwnerMenu) { // Close in the taskbar button's menu
            PostMessageA(ownerWindow(), WM_SYSCOMMAND, SC_CLOSE, 0);
        }
    }
    // Ready, with the close box found while the program still answers.
    HWND startReadyToClose(CloseBy how, POINT& closeBox, size_t size = 64) {
        HWND dialog = startReady(size);
        if (dialog != nullptr && how == CloseBy::CloseBox && !findCloseBox(dialog, closeBox)) {
            ADD_FAILURE() << "no close box";
            return nullptr;
        }
        return dialog;
    }

    void expectReadyCloseEnds(CloseBy how) {
        POINT closeBox{};
        HWND dialog = startReadyToClose(how, closeBox);
        ASSERT_NE(dialog, nullptr);
        const auto before = snapshot(folder);
        ASSERT_TRUE(e2e::bringToFront(dialog));
        withClose(e2e::InputBatch(), how, closeBox).send();
        postClose(dialog, how);
        expectEnds();
        EXPECT_EQ(snapshot(folder), before);
    }

    // The close is taken between two copies; the run still copies every file
    // with the dialog on screen, and the program ends by itself after it.
    void expectRunOutlivesClose(CloseBy how) {
        POINT closeBox{};
        HWND dialog = startReadyToClose(how, closeBox, bigSource);
        ASSERT_NE(dialog, nullptr);
        startRun(dialog, withClose(enter(), how, closeBox));
        postClose(dialog, how);
        // The close is waiting by the time the program answers `taken`, so an
        // answer with a higher position comes from a pump after the close.
        // The bar's window is made when the run starts, a moment after Enter.
        HWND bar = nullptr;
        ASSERT_TRUE(
            waitUntil([&] { return (bar = e2e::childById(dialog, progressBarId)) != nullptr; },
                      windowTimeoutMs));
        const auto taken = barPosition(bar);
        ASSERT_TRUE(taken.has_value() && *taken <= 3)
            << "the close came too late in the run (at " << taken.value_or(-1)
            << "): the sources are too small";
        const auto later = positionReaching(bar, *taken + 1);
        ASSERT_TRUE(later.has_value() && *later > *taken) << "the run stopped at the close";
        EXPECT_TRUE(IsWindowVisible(dialog)) << "the dialog went before the run ended";
        expectEnds(runTimeoutMs);
        expectAllUpdated();
    }
};

} // namespace

TEST_F(Closing, Button2InReady) {
    HWND dialog = startReady();
    ASSERT_NE(dialog, nullptr);
    const auto before = snapshot(folder);
    expectClickEnds(dialog, button2Id);
    EXPECT_EQ(snapshot(folder), before);
}

TEST_F(Closing, Button1OnceFinished) {
    HWND dialog = startReady();
    ASSERT_NE(dialog, nullptr);
    startRun(dialog);
    waitForRunEnd(dialog);
    expectClickEnds(dialog, button1Id);
    expectAllUpdated();
}

TEST_F(Closing, CloseBoxInReady) {
    expectReadyCloseEnds(CloseBy::CloseBox);
}

TEST_F(Closing, AltF4InReady) {
    expectReadyCloseEnds(CloseBy::AltF4);
}

TEST_F(Closing, DialogCloseMessageInReady) {
    expectReadyCloseEnds(CloseBy::DialogMessage);
}

TEST_F(Closing, OwnerCloseMessageInReady) {
    expectReadyCloseEnds(CloseBy::OwnerMessage);
}

TEST_F(Closing, TaskbarMenuCloseInReady) {
    expectReadyCloseEnds(CloseBy::OwnerMenu);
}

TEST_F(Closing, CloseBoxWhileRunning) {
    expectRunOutlivesClose(CloseBy::CloseBox);
}

TEST_F(Closing, AltF4WhileRunning) {
    expectRunOutlivesClose(CloseBy::AltF4);
}

TEST_F(Closing, DialogCloseMessageWhileRunning) {
    expectRunOutlivesClose(CloseBy::DialogMessage);
}

TEST_F(Closing, TaskbarMenuCloseWhileRunning) {
    expectRunOutlivesClose(CloseBy::OwnerMenu);
}

TEST_F(Closing, OwnerCloseMessageWhileRunning) {
    expectRunOutlivesClose(CloseBy::OwnerMessage);
}

TEST_F(Closing, DuringTheLastFileIsTakenAfterTheRun) {
    HWND dialog = startReady(bigSource / 4, 4 * bigSource);
    ASSERT_NE(dialog, nullptr);
    startRun(dialog);
    ASSERT_NO_FATAL_FAILURE(waitForTheLastCopy());
    e2e::pressKey(VK_F4, e2e::Alt);
    EXPECT_TRUE(copyUnderWay()) << "the last copy ended before the close came";
    expectEnds(runTimeoutMs);
    expectAllUpdated();
}
