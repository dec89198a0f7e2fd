// A registry value the program cannot use is reported in a message box before
// the dialog shows; after OK the dialog comes up as it was built. An error in
// a handler is reported the same way, and the program goes on.
#include "UpdaterFixture.h"
#include "menureader/SystemMenuReport.h"

#include <vector>

using namespace updater;

namespace {

std::vector<HWND> childrenOfClass(HWND parent, const char* wanted) {
    std::vector<HWND> found;
    for (HWND child : e2e::childWindows(parent)) {
        if (e2e::className(child) == wanted) {
            found.push_back(child);
        }
    }
    return found;
}

class ErrorBox : public UpdaterTest {};

class HandlerError : public DrivenUpdaterTest {};

} // namespace

TEST_F(ErrorBox, PathOfWrongTypeIsReportedBeforeTheDialogShows) {
    makeInstall();
    e2e::setAppPath(REG_DWORD, std::string("\x01\x00\x00\x00", 4));
    makeDelivery();
    start();

    HWND box = e2e::waitForVisibleWindow(process->id(), "#32770", windowTimeoutMs);
    ASSERT_NE(box, nullptr) << "no message box";
    // The box's own loop answers: whatever came before it is done.
    ASSERT_TRUE(e2e::settled(box));
    HWND hidden = nullptr;
    for (HWND window : e2e::topLevelWindows(process->id(), dialogClass)) {
        hidden = window;
        EXPECT_FALSE(IsWindowVisible(window)) << "the dialog is shown behind the box";
    }
    EXPECT_NE(hidden, nullptr) << "the dialog is made before the box";
    EXPECT_EQ(e2e::windowText(box), applicationTitle);
    EXPECT_EQ(GetWindow(box, GW_OWNER), ownerWindow());

    const std::vector<HWND> buttons = childrenOfClass(box, "Button");
    ASSERT_EQ(buttons.size(), 1u);
    EXPECT_EQ(e2e::windowText(buttons[0]), "OK");
    EXPECT_NE(e2e::findChild(box, "Static", "'Path' のデータ型が不正です."), nullptr)
        << "the message, with its full stop";

    // The stop sign: the system's hand icon, and not the information one.
    HWND icon = nullptr;
    for (HWND child : childrenOfClass(box, "Static")) {
        if ((e2e::style(child) & SS_TYPEMASK) == SS_ICON) {
            icon = child;
        }
    }
    ASSERT_NE(icon, nullptr) << "the box shows no icon";
    ASSERT_TRUE(e2e::bringToFront(box));
    e2e::Capture shown, hand, information;
    const bool painted = waitUntil([&] {
        shown = e2e::captureScreen(e2e::clientRectOnScreen(icon));
        const COLORREF background = shown.at(0, 0);
        hand =
            e2e::drawIcon(LoadIconA(nullptr, IDI_HAND), shown.width(), shown.height(), background);
        information = e2e::drawIcon(LoadIconA(nullptr, IDI_ASTERISK), shown.width(), shown.height(),
                                    background);
        return shown == hand || shown == information;
    });
    EXPECT_TRUE(painted) << "the box shows neither icon";
    EXPECT_TRUE(shown == hand);
    EXPECT_FALSE(shown == information);
    if (!(shown == hand)) {
        shown.saveBmp("C:\\e2e\\error-icon-screen.bmp");
        hand.saveBmp("C:\\e2e\\error-icon-expected.bmp");
    }

    ASSERT_TRUE(e2e::clickCenter(buttons[0])) << "OK";
    HWND dialog = waitForDialog();
    ASSERT_NE(dialog, nullptr) << "no dialog after OK";
    ASSERT_TRUE(waitUntil([&] { return !IsWindow(box); }, windowTimeoutMs));
    ASSERT_TRUE(e2e::bringToFront(dialog));
    expectButton(dialog, button1Id, "実　行", true);
    expectButton(dialog, button2Id, "キャンセル", true);
    EXPECT_FALSE(IsWindowVisible(e2e::childById(dialog, progressBarId)));
    EXPECT_TRUE(labelShows(dialog, pathLabelBox, "PathLabel", pathLabelFlags));
    expectClickEnds(dialog, button2Id);
}

// Enter runs Execute from inside the focused button's window procedure, which
// must catch what the handler raises: here the system refuses the progress
// bar's window, so Execute fails where it first shows the bar.
TEST_F(HandlerError, IsShownAndTheDialogStaysAsTheHandlerLeftIt) {
    HWND dialog = startReady();
    ASSERT_NE(dialog, nullptr);
    const auto before = snapshot(folder);
    const HookInProgram refusal(dialog, WH_CBT, menureader::refuseProcName);
    ASSERT_TRUE(refusal.set());
    press(dialog, VK_RETURN);
    HWND box = e2e::waitForVisibleWindow(process->id(), "#32770", windowTimeoutMs);
    ASSERT_NE(box, nullptr) << (keepsRunning(0) ? "the error went unreported"
                                                : "the error ended the program");
    EXPECT_EQ(e2e::windowText(box), applicationTitle);
    EXPECT_NE(e2e::findChild(box, "Static", "プログレスバーの作成に失敗しました."), nullptr);
    EXPECT_FALSE(IsWindowEnabled(dialog)) << "the dialog takes input behind the box";

    press(box, VK_RETURN);
    ASSERT_TRUE(waitUntil([&] { return !IsWindow(box); }, windowTimeoutMs));
    ASSERT_TRUE(keepsRunning(300)) << "the program ended after the box";
    EXPECT_TRUE(IsWindowEnabled(dialog));
    expectButton(dialog, button1Id, "実行中", false);
    expectButton(dialog, button2Id, "キャンセル", false);
    EXPECT_EQ(snapshot(folder), before);
    PostMessageA(dialog, WM_CLOSE, 0, 0);
    expectEnds();
}
