// The ready dialog and its owner window as designed: captions, classes,
// styles, where the controls sit at 96 and 120 dpi, centring, system menus.
#include "UpdaterFixture.h"
#include "menureader/SystemMenuReport.h"

#include <algorithm>
#include <iterator>
#include <vector>

using namespace updater;

namespace {

constexpr LONG_PTR dialogStyle =
    WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_VISIBLE;
constexpr LONG_PTR ownerStyle = 0x84CA0000 | WS_VISIBLE;

// {left, top, width, height}, so that a failure reads like the layout.
using Placement = std::vector<LONG>;

Placement placement(const RECT& rect) {
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

// Where a child window sits in its parent's client area, and its size.
Placement placementInClient(HWND parent, HWND child) {
    RECT rect = e2e::windowRect(child);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
    return placement(rect);
}

// Centred on the 1024 x 768 screen, whatever frame the system gave it.
void expectCentred(HWND window) {
    const RECT outer = e2e::windowRect(window);
    const LONG width = outer.right - outer.left;
    const LONG height = outer.bottom - outer.top;
    EXPECT_EQ(outer.left, (1024 - width) / 2) << "outer width " << width;
    EXPECT_EQ(outer.top, (768 - height) / 2) << "outer height " << height;
}

// One of the program's top-level windows as the program itself sees it.
struct SeenInside {
    // Its system menu's commands; separators left out, and Wine's own
    // "about" item that it appends to every system menu.
    std::vector<UINT> commands;
    HICON bigIcon = nullptr;
    HICON classIcon = nullptr;
    HICON classSmallIcon = nullptr;
    e2e::Capture bigIconPicture{menureader::iconSize, menureader::iconSize};
};

// Each of the program's top-level windows, read inside the program by the hook DLL.
std::map<HWND, SeenInside> readInside(HWND window) {
    constexpr UINT wineAboutCommand = SC_SCREENSAVE + 1;
    std::map<HWND, SeenInside> windows;
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    char name[64];
    menureader::mappingName(name, processId);
    HANDLE mapping = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                        sizeof(menureader::Report), name);
    auto* report = static_cast<menureader::Report*>(
        MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(menureader::Report)));
    EXPECT_NE(report, nullptr);
    if (report != nullptr) {
        report->filled = 0;
        {
            const HookInProgram hook(window, WH_GETMESSAGE, menureader::hookProcName);
            EXPECT_TRUE(hook.set());
            PostMessageA(window, WM_NULL, 0, 0);
            EXPECT_TRUE(waitUntil([&] { return report->filled != 0; }, windowTimeoutMs))
                << "the hook did not report";
        }
        for (int w = 0; report->filled != 0 && w < report->windowCount; ++w) {
            const menureader::WindowMenu& menu = report->windows[w];
            SeenInside& seen = windows[menureader::fromWire<HWND>(menu.window)];
            std::vector<UINT>& commands = seen.commands;
            for (int i = 0; i < menu.itemCount; ++i) {
                if ((menu.items[i].type & MFT_SEPARATOR) == 0) {
                    commands.push_back(menu.items[i].id);
                }
            }
            if (!commands.empty() && commands.back() == wineAboutCommand) {
                commands.pop_back();
            }
            seen.bigIcon = menureader::fromWire<HICON>(menu.bigIcon);
            seen.classIcon = menureader::fromWire<HICON>(menu.classIcon);
            seen.classSmallIcon = menureader::fromWire<HICON>(menu.classSmallIcon);
            std::copy(std::begin(menu.bigIconPixels), std::end(menu.bigIconPixels),
                      seen.bigIconPicture.pixels().begin());
        }
    }
    if (report != nullptr) {
        UnmapViewOfFile(report);
    }
    if (mapping != nullptr) {
        CloseHandle(mapping);
    }
    return windows;
}

class DialogLayout : public DrivenUpdaterTest {
  protected:
    // The ready dialog and its owner window, as the program itself sees them.
    struct ReadyWindows {
        HWND dialog = nullptr;
        HWND owner = nullptr;
        SeenInside dialogInside;
        SeenInside ownerInside;
    };
    void readReadyWindows(ReadyWindows& ready) {
        ready.dialog = startReady();
        ASSERT_NE(ready.dialog, nullptr) << "the dialog did not appear";
        ready.owner = ownerWindow();
        ASSERT_NE(ready.owner, nullptr);
        const auto windows = readInside(ready.dialog);
        ASSERT_EQ(windows.count(ready.dialog), 1u) << "the dialog was not read";
        ASSERT_EQ(windows.count(ready.owner), 1u) << "the owner was not read";
        ready.dialogInside = windows.at(ready.dialog);
        ready.ownerInside = windows.at(ready.owner);
    }
};

} // namespace

TEST_F(DialogLayout, ReadyDialogShowsItsCaptionsAndTitles) {
    HWND dialog = startReady();
    ASSERT_NE(dialog, nullptr) << "the dialog did not appear";
    expectButton(dialog, button1Id, "\x8E\xC0\x81\x40\x8D\x73", true); // 実　行, ideographic space
    expectButton(dialog, button2Id, "キャンセル", true);
    EXPECT_EQ(e2e::windowText(dialog), "「ザルミナ」アップデート");
    HWND owner = ownerWindow();
    ASSERT_NE(owner, nullptr);
    EXPECT_EQ(e2e::windowText(owner), applicationTitle);
}

TEST_F(DialogLayout, WindowsHaveTheirClassesAndStyles) {
    HWND dialog = startReady();
    ASSERT_NE(dialog, nullptr) << "the dialog did not appear";
    EXPECT_EQ(e2e::className(dialog), dialogClass);
    EXPECT_EQ(e2e::style(dialog), dialogStyle) << std::hex << e2e::style(dialog);
    EXPECT_EQ(e2e::exStyle(dialog), WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE)
        << std::hex << e2e::exStyle(dialog);

    // Button1 is the default button; both are tab stops. Button1 has the
    // focus, which keeps the default border where it is.
    HWND button1 = e2e::childById(dialog, button1Id);
    HWND button2 = e2e::childById(dialog, button2Id);
    ASSERT_NE(button1, nullptr);
    ASSERT_NE(button2, nullptr);
    EXPECT_EQ(e2e::focusOf(dialog), button1);
    EXPECT_EQ(e2e::className(button1), "TButton");
    EXPECT_EQ(e2e::className(button2), "TButton");
    EXPECT_EQ(e2e::style(button1) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    EXPECT_EQ(e2e::style(button2) & BS_TYPEMASK, BS_PUSHBUTTON);
    EXPECT_TRUE(e2e::hasStyle(button1, WS_TABSTOP));
    EXPECT_TRUE(e2e::hasStyle(button2, WS_TABSTOP));

    // The zero-size owner at the screen's centre is the taskbar button.
    HWND owner = ownerWindow();
    ASSERT_NE(owner, nullptr);
    EXPECT_EQ(GetWindow(dialog, GW_OWNER), owner);
    EXPECT_EQ(GetWindow(owner, GW_OWNER), nullptr);
    EXPECT_EQ(e2e::style(owner), ownerStyle) << std::hex << e2e::style(owner);
    EXPECT_EQ(placement(e2e::windowRect(owner)), (Placement{512, 384, 0, 0}));

    // The dialog follows the owner's enabled state, as a box owned by it expects.
    EnableWindow(owner, FALSE);
    EXPECT_TRUE(waitUntil([&] { return !IsWindowEnabled(dialog); }, windowTimeoutMs))
        << "the dialog stays enabled under a disabled owner";
    EnableWindow(owner, TRUE);
    EXPECT_TRUE(waitUntil([&] { return IsWindowEnabled(dialog) != FALSE; }, windowTimeoutMs))
        << "the dialog stays disabled under an enabled owner";
    EXPECT_TRUE(IsWindowEnabled(owner));
}

// The taskbar button shows the program's icon; the dialog's title bar shows none.
TEST_F(DialogLayout, OwnerCarriesTheProgramIconAndTheDialogNone) {
    ReadyWindows ready;
    ASSERT_NO_FATAL_FAILURE(readReadyWindows(ready));
    EXPECT_EQ(ready.dialogInside.bigIcon, nullptr);

    const SeenInside& seen = ready.ownerInside;
    ASSERT_NE(seen.bigIcon, nullptr);
    EXPECT_EQ(seen.classIcon, seen.bigIcon);
    EXPECT_NE(seen.classSmallIcon, nullptr);
    HMODULE image = LoadLibraryExA(updateExe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(image, nullptr) << updateExe();
    const e2e::Capture expected = e2e::drawIcon(LoadIconA(image, "MAINICON"), menureader::iconSize,
                                                menureader::iconSize, menureader::iconBackground);
    FreeLibrary(image);
    EXPECT_GT(expected.countOtherThan(menureader::iconBackground), 100) << "no MAINICON drawn";
    EXPECT_TRUE(seen.bigIconPicture == expected);
    if (!(seen.bigIconPicture == expected)) {
        seen.bigIconPicture.saveBmp("C:\\e2e\\owner-icon.bmp");
        expected.saveBmp("C:\\e2e\\owner-icon-expected.bmp");
    }
}

TEST_F(DialogLayout, ControlsSitAsLaidOutAt96DotsPerInch) {
    HWND dialog = startReady();
    ASSERT_NE(dialog, nullptr) << "the dialog did not appear";
    const SIZE client = e2e::clientSize(dialog);
    EXPECT_EQ(client.cx, 481);
    EXPECT_EQ(client.cy, 214);
    HWND button1 = e2e::childById(dialog, button1Id);
    HWND button2 = e2e::childById(dialog, button2Id);
    EXPECT_EQ(placementInClient(dialog, button1), (Placement{318, 180, 75, 25}));
    EXPECT_EQ(placementInClient(dialog, button2), (Placement{400, 180, 75, 25}));
    EXPECT_TRUE(IsWindowVisible(button1));
    EXPECT_TRUE(IsWindowVisible(button2));
    expectCentred(dialog);
}

// The layout follows the dialog font, 15 pixels high at 120 dpi; so does the
// progress bar that a run shows.
TEST_F(DialogLayout, ScalesWithTheFontAt120DotsPerInch) {
    e2e::ScopedLogPixels dpi(120);
    HWND dialog = startReady();
    ASSERT_NE(dialog, nullptr) << "the dialog did not appear";
    const SIZE client = e2e::clientSize(dialog);
    EXPECT_EQ(client.cx, 601);
    EXPECT_EQ(client.cy, 268);
    EXPECT_EQ(placementInClient(dialog, e2e::childById(dialog, button1Id)),
              (Placement{398, 225, 93, 31}));
    EXPECT_EQ(placementInClient(dialog, e2e::childById(dialog, button2Id)),
              (Placement{500, 225, 94, 31}));
    expectCentred(dialog);

    ASSERT_TRUE(e2e::bringToFront(dialog));
    ASSERT_TRUE(e2e::clickCenter(e2e::childById(dialog, button1Id)));
    waitForRunEnd(dialog);
    HWND bar = e2e::childById(dialog, progressBarId);
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(IsWindowVisible(bar));
    EXPECT_EQ(placementInClient(dialog, bar), (Placement{10, 170, 581, 21}));
}

TEST_F(DialogLayout, SystemMenusOfferOnlyWhatEachWindowCanDo) {
    ReadyWindows ready;
    ASSERT_NO_FATAL_FAILURE(readReadyWindows(ready));
    EXPECT_EQ(ready.dialogInside.commands, (std::vector<UINT>{SC_MOVE, SC_CLOSE}));
    EXPECT_EQ(ready.ownerInside.commands, (std::vector<UINT>{SC_RESTORE, SC_MINIMIZE, SC_CLOSE}));
}
