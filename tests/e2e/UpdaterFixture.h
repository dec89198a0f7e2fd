// What the end-to-end tests of Update.exe share: an installed ザルミナ, a
// delivery folder holding a copy of Update.exe with its Data folder, the
// program's windows, and its windowless labels read off the screen.
#pragma once

#include "Programs.h"
#include "harness/Harness.h"
#include "menureader/SystemMenuReport.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <oleacc.h>

#include <array>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace updater {

constexpr const char* dialogClass = "TForm1";
constexpr const char* ownerClass = "TUpdateApplication";
constexpr const char* applicationTitle = "ザルミナアップデート";
constexpr int button1Id = 1;
constexpr int button2Id = 2;
constexpr int progressBarId = 3;
constexpr DWORD windowTimeoutMs = 10000;
constexpr DWORD exitTimeoutMs = 10000;

// The labels' client rectangles at 96 dpi; they have no windows of their own.
constexpr RECT label1Box{8, 64, 8 + 465, 64 + 12};
constexpr RECT pathLabelBox{8, 96, 8 + 469, 96 + 33};
constexpr RECT label3Box{8, 156, 8 + 453, 156 + 12};
constexpr RECT progressBarBox{8, 136, 8 + 465, 136 + 17}; // its window, frame included
constexpr UINT labelFlags = DT_EXPANDTABS | DT_LEFT;
constexpr UINT pathLabelFlags = DT_EXPANDTABS | DT_LEFT | DT_WORDBREAK;

struct DataFile {
    const char* source; // under the delivery folder
    const char* target; // under the install folder
};
inline const std::array<DataFile, 5> dataFiles = {{
    {"Data\\LData.cxt", "LDATA.CXT"},
    {"Data\\START.dxr", "START.DXR"},
    {"Data\\Train.dxr", "TRAIN.DXR"},
    {"Data\\SHARED.cxt", "SHARED.CXT"},
    {"Data\\END.dxr", "END.DXR"},
}};

using e2e::waitUntil;

// Every file and folder under `folder` by relative path, files with their bytes.
inline void listTree(const std::string& folder, const std::string& relative,
                     std::map<std::string, std::string>& tree) {
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((folder + relative + "\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        const std::string name = entry.cFileName;
        if (name == "." || name == "..") {
            continue;
        }
        const std::string path = relative + "\\" + name;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            tree[path + "\\"] = "";
            listTree(folder, path, tree);
        } else {
            tree[path] = e2e::readFile(folder + path);
        }
    } while (FindNextFileA(find, &entry));
    FindClose(find);
}

inline std::map<std::string, std::string> snapshot(const std::string& folder) {
    std::map<std::string, std::string> tree;
    listTree(folder, "", tree);
    return tree;
}

// A button as the user sees it: visible, with this caption, enabled or not.
inline void expectButton(HWND dialog, int id, const std::string& caption, bool enabled) {
    HWND button = e2e::childById(dialog, id);
    ASSERT_NE(button, nullptr) << "no button " << id;
    EXPECT_TRUE(IsWindowVisible(button)) << "button " << id;
    EXPECT_EQ(e2e::windowText(button), caption) << "button " << id;
    EXPECT_EQ(IsWindowEnabled(button) != FALSE, enabled) << "button " << id;
}

// PBM_GETPOS that tells a reply from a timeout: the program answers only
// between two copies, and a timeout must not read as position 0.
inline std::optional<int> barPosition(HWND bar, DWORD timeoutMs = 20000) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(bar, PBM_GETPOS, 0, 0, SMTO_NORMAL, timeoutMs, &result)) {
        return std::nullopt;
    }
    return static_cast<int>(result);
}

// The labels' font at 96 dpi.
inline LOGFONTA dialogFont() {
    LOGFONTA font = e2e::makeFont("ＭＳ Ｐゴシック", -12);
    font.lfCharSet = SHIFTJIS_CHARSET;
    return font;
}

// What the label at `box` (client coordinates of `dialog`) shows on screen.
inline e2e::Capture labelOnScreen(HWND dialog, const RECT& box) {
    const RECT client = e2e::clientRectOnScreen(dialog);
    return e2e::captureScreen({client.left + box.left, client.top + box.top,
                               client.left + box.right, client.top + box.bottom});
}

// `text` in such a label as the dialog paints it: the dialog font, window
// text colour on button face.
inline e2e::Capture labelRendered(const std::string& text, const RECT& box, UINT flags) {
    return e2e::renderText(dialogFont(), text, box.right - box.left, box.bottom - box.top, flags,
                           GetSysColor(COLOR_WINDOWTEXT), GetSysColor(COLOR_BTNFACE));
}

// Whether the label shows `text`, once painted: a slow machine paints late.
// Keeps both pictures beside the case folder when it never does.
inline bool labelShows(HWND dialog, const RECT& box, const std::string& text, UINT flags) {
    const e2e::Capture rendered = labelRendered(text, box, flags);
    e2e::Capture onScreen;
    if (waitUntil([&] { return (onScreen = labelOnScreen(dialog, box)) == rendered; },
                  windowTimeoutMs)) {
        return true;
    }
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string stem = std::string("C:\\e2e\\") + test->test_suite_name() + "." +
                             test->name() + "-" + std::to_string(box.top);
    onScreen.saveBmp(stem + "-screen.bmp");
    rendered.saveBmp(stem + "-expected.bmp");
    return false;
}

// One of the hook DLL's procedures set in the thread of `window`, for as
// long as this lives. The system's rundll32 of the DLL's width sets it: a DLL
// loads only into programs of its own width, and the DLL is the program's.
class HookInProgram {
  public:
    HookInProgram(HWND window, int type, const char* procName) {
        static int count = 0;
        const std::string name =
            "e2e-hook-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++count);
        set_ = CreateEventA(nullptr, TRUE, FALSE, (name + "-set").c_str());
        release_ = CreateEventA(nullptr, TRUE, FALSE, (name + "-release").c_str());
        const std::string arguments = '"' + menuReaderDll() + "\"," + menureader::hookSetterName +
                                      " " + std::to_string(type) + " " + procName + " " +
                                      std::to_string(GetWindowThreadProcessId(window, nullptr)) +
                                      " " + name;
        setter_.emplace(
            e2e::Process::start(rundll32For(menuReaderDll()), e2e::withArguments(arguments)));
        const HANDLE waits[] = {set_, setter_->handle()};
        hooked_ = WaitForMultipleObjects(2, waits, FALSE, windowTimeoutMs) == WAIT_OBJECT_0;
        EXPECT_TRUE(hooked_) << procName << " was not set from " << menuReaderDll();
    }
    ~HookInProgram() {
        SetEvent(release_);
        if (setter_) {
            setter_->waitForExit(windowTimeoutMs);
        }
        CloseHandle(set_);
        CloseHandle(release_);
    }
    HookInProgram(const HookInProgram&) = delete;
    HookInProgram& operator=(const HookInProgram&) = delete;
    bool set() const { return hooked_; }

  private:
    // The system's rundll32 of the DLL's width.
    static std::string rundll32For(const std::string& dll) {
        char folder[MAX_PATH] = "";
        if (e2e::peMachine(dll) == IMAGE_FILE_MACHINE_I386) {
            GetSystemWow64DirectoryA(folder, MAX_PATH);
        } else {
            GetSystemDirectoryA(folder, MAX_PATH);
        }
        return std::string(folder) + "\\rundll32.exe";
    }

    HANDLE set_ = nullptr;
    HANDLE release_ = nullptr;
    std::optional<e2e::Process> setter_;
    bool hooked_ = false;
};

inline std::wstring utf16(const std::string& cp932) {
    std::wstring wide(cp932.size(), L'\0');
    wide.resize(MultiByteToWideChar(932, 0, cp932.data(), static_cast<int>(cp932.size()), &wide[0],
                                    static_cast<int>(wide.size())));
    return wide;
}

// One child of the dialog's client area as a screen reader is told it.
struct Told {
    std::wstring name;
    LONG role;
    LONG state;
};

// The children of the dialog's client area, read as a client in another
// process reads them. Wine leaves a child window's window object blank: its
// client object is asked instead.
inline std::vector<Told> toldOf(HWND dialog) {
    std::vector<Told> told;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IAccessible* client = nullptr;
    VARIANT children[16] = {};
    LONG count = 0;
    if (SUCCEEDED(AccessibleObjectFromWindow(dialog, OBJID_CLIENT, __uuidof(IAccessible),
                                             reinterpret_cast<void**>(&client)))) {
        AccessibleChildren(client, 0, 16, children, &count);
    }
    for (LONG i = 0; i < count; ++i) {
        IAccessible* object = client;
        VARIANT id = children[i], role = {}, state = {};
        HWND window = nullptr;
        if (id.vt == VT_DISPATCH && SUCCEEDED(WindowFromAccessibleObject(
                                        static_cast<IAccessible*>(id.pdispVal), &window))) {
            AccessibleObjectFromWindow(window, OBJID_CLIENT, __uuidof(IAccessible),
                                       reinterpret_cast<void**>(&object));
            id.vt = VT_I4;
            id.lVal = CHILDID_SELF;
        }
        BSTR name = nullptr;
        if (object != nullptr && object->get_accName(id, &name) == S_OK) {
            object->get_accRole(id, &role);
            object->get_accState(id, &state);
            told.push_back({name, role.lVal, state.lVal});
        }
        SysFreeString(name);
        if (object != nullptr && object != client) {
            object->Release();
        }
        VariantClear(&children[i]);
    }
    if (client != nullptr) {
        client->Release();
    }
    CoUninitialize();
    return told;
}

// A case folder with an install folder and a delivery folder; Japanese names
// with a 0x5C trail byte (表, ソ) in both, as users' folders have. Leaves no
// registry value, process or folder behind.
class UpdaterTest : public ::testing::Test {
  protected:
    void SetUp() override {
        e2e::deleteAppPathsKey();
        e2e::setAppPathsView(updateExeView());
        folder = e2e::makeCaseFolder();
        install = folder + "\\ザルミナ表";
        delivery = folder + "\\ソフト表";
    }
    void TearDown() override {
        process.reset(); // kills it when still running, so its files can go
        e2e::deleteAppPathsKey();
        e2e::removeTree(folder);
    }

    static std::string oldBytes(size_t i) { return "old " + std::string(dataFiles[i].target); }
    // `size` bytes unlike any other file's.
    static std::string newBytes(size_t i, size_t size) {
        std::string bytes(size, static_cast<char>('a' + i));
        bytes.replace(0, 4, "new" + std::to_string(i));
        return bytes;
    }

    // RZB52.exe and the five files with their old contents.
    void makeInstall() {
        makeFolder(install);
        e2e::writeFile(install + "\\RZB52.exe", "MZ");
        for (size_t i = 0; i < dataFiles.size(); ++i) {
            e2e::writeFile(install + "\\" + dataFiles[i].target, oldBytes(i));
        }
    }
    void registerInstall() { e2e::setAppPath(REG_SZ, install + '\0'); }
    // Where the program writes its new copy of a target before putting it in place.
    std::string temporaryCopy(const DataFile& file) const {
        return install + "\\" + file.target + ".upd.tmp";
    }

    // A copy of Update.exe, with Data\ holding every source but `leftOut`.
    void makeDelivery(size_t size = 64, const char* leftOut = nullptr) {
        makeDeliveryWithoutData();
        makeFolder(delivery + "\\Data");
        for (size_t i = 0; i < dataFiles.size(); ++i) {
            if (leftOut == nullptr || std::string(leftOut) != dataFiles[i].source) {
                e2e::writeFile(delivery + "\\" + dataFiles[i].source, newBytes(i, size));
            }
        }
    }
    void makeDeliveryWithoutData() {
        makeFolder(delivery);
        ASSERT_TRUE(CopyFileA(updateExe().c_str(), (delivery + "\\Update.exe").c_str(), FALSE))
            << updateExe();
    }

    // Started from the case folder, so that nothing is found by accident
    // relative to the working directory.
    void start(int showCommand = -1) {
        e2e::LaunchOptions options;
        options.workingDirectory = folder;
        options.showCommand = showCommand;
        process.emplace(e2e::Process::start(delivery + "\\Update.exe", options));
    }
    HWND waitForDialog() {
        return e2e::waitForVisibleWindow(process->id(), dialogClass, windowTimeoutMs);
    }
    HWND ownerWindow() {
        const auto windows = e2e::topLevelWindows(process->id(), ownerClass);
        return windows.empty() ? nullptr : windows.front();
    }

    // Clicks a button as the user would and expects the program to end with 0.
    void expectClickEnds(HWND dialog, int buttonId) {
        ASSERT_TRUE(e2e::bringToFront(dialog));
        ASSERT_TRUE(e2e::clickCenter(e2e::childById(dialog, buttonId))) << "button " << buttonId;
        const e2e::ExitResult result = process->waitForExit(exitTimeoutMs);
        EXPECT_TRUE(result.exited) << "still running after the click";
        EXPECT_EQ(result.code, 0u);
    }

    // The process has kept running for `ms`.
    bool keepsRunning(DWORD ms) const {
        return WaitForSingleObject(process->handle(), ms) == WAIT_TIMEOUT;
    }

    static void makeFolder(const std::string& path) {
        ASSERT_TRUE(CreateDirectoryA(path.c_str(), nullptr)) << path;
    }

    std::string folder;
    std::string install;
    std::string delivery;
    std::optional<e2e::Process> process;
};

// The dialog driven by keys and closes: an installed ザルミナ, the dialog
// ready, and what the process does after each key.
class DrivenUpdaterTest : public UpdaterTest {
  protected:
    // A run of sources this big lasts long enough to act on it while it copies.
    static constexpr size_t bigSource = 80u << 20;
    static constexpr DWORD runTimeoutMs = 40000;

    // Registered, sources of `size` bytes (the last one `lastSize` when
    // given), the dialog up with a control focused.
    HWND startReady(size_t size = 64, size_t lastSize = 0) {
        makeInstall();
        registerInstall();
        makeDelivery(size);
        sourceSizes.fill(size);
        if (lastSize != 0) {
            sourceSizes.back() = lastSize;
            e2e::writeFile(delivery + "\\" + dataFiles.back().source, newBytes(4, lastSize));
        }
        start();
        return focusedDialog();
    }
    // The dialog in front with one of its controls focused, as after start-up.
    HWND focusedDialog() {
        HWND dialog = waitForDialog();
        if (dialog == nullptr || !e2e::bringToFront(dialog) ||
            !waitUntil([&] { return IsChild(dialog, e2e::focusOf(dialog)) != FALSE; },
                       windowTimeoutMs)) {
            return nullptr;
        }
        // The default border follows the focus a moment later: on a slow machine, long after.
        waitUntil(
            [&] {
                HWND focus = e2e::focusOf(dialog);
                HWND button1 = button(dialog, button1Id), button2 = button(dialog, button2Id);
                HWND other = focus == button1 ? button2 : focus == button2 ? button1 : nullptr;
                return other == nullptr || (looksDefault(focus) && !looksDefault(other));
            },
            windowTimeoutMs);
        return dialog;
    }

    // The key as the user presses it, with the dialog in front once the
    // program has handled what came before. What the key does is waited for
    // by the caller: the program handles it after this returns.
    static void press(HWND dialog, WORD key, unsigned modifiers = e2e::NoModifier) {
        ASSERT_TRUE(e2e::settled(dialog));
        ASSERT_TRUE(e2e::bringToFront(dialog));
        e2e::pressKey(key, modifiers);
    }
    // After keys that must change nothing: the program has answered a round
    // trip and then been left `ms` to act on them. The pause is the check
    // that nothing happens; there is no event to wait for.
    void expectNothingHappensFor(HWND dialog, DWORD ms) const {
        EXPECT_TRUE(e2e::settled(dialog)) << "the program stopped answering";
        EXPECT_TRUE(keepsRunning(ms)) << "the program ended";
    }

    static HWND button(HWND dialog, int id) { return e2e::childById(dialog, id); }
    static bool looksDefault(HWND control) {
        return (e2e::style(control) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
    }
    static bool button1Shows(HWND dialog, const char* caption) {
        return e2e::windowText(button(dialog, button1Id)) == caption;
    }
    // Which button Enter would click, as the heavy border shows it: the
    // border follows the focus a moment after it, so it is waited for.
    static void expectDefault(HWND dialog, int id) {
        waitUntil([&] {
            return looksDefault(button(dialog, button1Id)) == (id == button1Id) &&
                   looksDefault(button(dialog, button2Id)) == (id == button2Id);
        });
        EXPECT_EQ(looksDefault(button(dialog, button1Id)), id == button1Id) << "Button1";
        EXPECT_EQ(looksDefault(button(dialog, button2Id)), id == button2Id) << "Button2";
    }

    static e2e::InputBatch enter() { return e2e::InputBatch().key(VK_RETURN); }
    // `input` clicks Button1 (Enter unless given); whatever it holds after
    // that is queued at once, so the run finds it waiting between its files.
    static void startRun(HWND dialog, e2e::InputBatch input = enter()) {
        ASSERT_TRUE(e2e::bringToFront(dialog));
        input.send();
        ASSERT_TRUE(waitUntil([&] { return !button1Shows(dialog, "実　行"); }, windowTimeoutMs))
            << "Enter did not start the run";
    }
    // The run has ended and its handler returned: 閉じる is its last caption,
    // and no pump follows it, so the next round trip is answered after it.
    static void waitForRunEnd(HWND dialog) {
        ASSERT_TRUE(waitUntil([&] { return button1Shows(dialog, "閉じる"); }, runTimeoutMs))
            << "the run did not end";
        ASSERT_TRUE(e2e::settled(dialog)) << "no answer after the run";
    }

    // The last file's copy is under way: its temporary file sits beside the targets.
    bool copyUnderWay() const { return e2e::fileExists(temporaryCopy(dataFiles.back())); }
    // Waits until the run copies its last file, past the last pump before
    // it: END.DXR's own temporary copy is there.
    void waitForTheLastCopy() {
        ASSERT_TRUE(waitUntil([&] { return copyUnderWay(); }, runTimeoutMs))
            << "no copy of END.DXR was seen under way";
    }

    void expectEnds(DWORD timeoutMs = exitTimeoutMs) {
        const e2e::ExitResult result = process->waitForExit(timeoutMs);
        EXPECT_TRUE(result.exited) << "still running";
        EXPECT_EQ(result.code, 0u);
    }

    // Every target holds its new bytes.
    void expectAllUpdated() {
        for (size_t i = 0; i < dataFiles.size(); ++i) {
            EXPECT_TRUE(e2e::readFile(install + "\\" + dataFiles[i].target) ==
                        newBytes(i, sourceSizes[i]))
                << dataFiles[i].target << " was not updated";
        }
    }

    std::array<size_t, 5> sourceSizes{};
};

} // namespace updater
