// The harness's own tests, against the stand-in window program: if these
// pass, a failing end-to-end test is about the program, not the harness.
#include "harness/Harness.h"
#include "Programs.h"
#include "standin/StandIn.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace e2e;

namespace {

constexpr DWORD windowTimeoutMs = 10000;
constexpr DWORD exitTimeoutMs = 10000;

// The stand-in's window, shown; closes it at the end of the test.
class StandInWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        window = waitForVisibleWindow(process.id(), standin::className, windowTimeoutMs);
        ASSERT_NE(window, nullptr) << "the stand-in's window did not appear";
        ASSERT_TRUE(settled(window));
    }
    void TearDown() override {
        if (window) {
            PostMessageA(window, WM_CLOSE, 0, 0);
        }
        process.waitForExit(exitTimeoutMs);
    }

    Process process = Process::start(standInExe());
    HWND window = nullptr;
};

std::string hex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out += {digits[c >> 4], digits[c & 15], ' '};
    }
    return out;
}

} // namespace

TEST(Environment, AnsiCodePageIs932) {
    EXPECT_EQ(GetACP(), 932u);
    // Compiled as cp932: the literal is the code page's bytes.
    EXPECT_EQ(hex("表"), "95 5c ");
}

TEST_F(StandInWindow, FindsTheWindowAndReadsItsJapaneseTitle) {
    EXPECT_EQ(className(window), standin::className);
    EXPECT_EQ(hex(windowText(window)), hex(standin::title));
    EXPECT_EQ(hex(textByMessage(window)), hex(standin::title));
    EXPECT_TRUE(hasStyle(window, WS_CAPTION | WS_SYSMENU));
    EXPECT_EQ(topLevelWindows(process.id(), standin::className).size(), 1u);
    EXPECT_TRUE(topLevelWindows(GetCurrentProcessId(), standin::className).empty());

    HWND label = childById(window, standin::labelId);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(className(label), "Static");
    EXPECT_EQ(hex(textByMessage(label)), hex(standin::labelText));
    EXPECT_EQ(findChild(window, "Button", standin::buttonText),
              childById(window, standin::buttonId));
    EXPECT_EQ(childWindows(window).size(), 5u);

    const RECT client = clientRectOnScreen(window);
    const RECT outer = windowRect(window);
    EXPECT_EQ(outer.left, 100);
    EXPECT_EQ(outer.top, 100);
    EXPECT_GT(client.top, outer.top) << "the caption is above the client area";
    const RECT labelOnScreen = clientRectOnScreen(label);
    EXPECT_EQ(labelOnScreen.left - client.left, standin::labelRect.left);
    EXPECT_EQ(labelOnScreen.top - client.top, standin::labelRect.top);
}

TEST_F(StandInWindow, ReadsTheProgressBar) {
    HWND bar = childById(window, standin::progressId);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(progressPosition(bar), standin::progressPosition);
    EXPECT_EQ(progressRange(bar), std::make_pair(0, standin::progressMaximum));
}

TEST_F(StandInWindow, TypedKeysWithShiftReachTheFocusedControl) {
    HWND edit = childById(window, standin::editId);
    ASSERT_TRUE(bringToFront(window));
    EXPECT_EQ(focusOf(window), edit);
    EXPECT_EQ(activeOf(window), window);

    pressKey('A', Shift);
    pressKey('B');
    pressKey('C', Shift);
    waitUntil([&] { return textByMessage(edit) == "AbC"; });
    EXPECT_EQ(textByMessage(edit), "AbC");

    pressKey(VK_HOME);
    pressKey(VK_END, Shift); // selects all three
    pressKey('X');
    waitUntil([&] { return textByMessage(edit) == "x"; });
    EXPECT_EQ(textByMessage(edit), "x");
}

TEST_F(StandInWindow, ClickPressesTheButton) {
    HWND report = childById(window, standin::reportId);
    ASSERT_TRUE(bringToFront(window));
    EXPECT_EQ(windowText(report), "");
    ASSERT_TRUE(clickCenter(childById(window, standin::buttonId)));
    waitUntil([&] { return windowText(report) == standin::clickedText; });
    EXPECT_EQ(hex(windowText(report)), hex(standin::clickedText));
}

TEST_F(StandInWindow, CapturesTheFilledBackground) {
    ASSERT_TRUE(bringToFront(window));
    ASSERT_TRUE(waitUntil([&] { return painted(window); }));
    const RECT client = clientRectOnScreen(window);
    const RECT patch{client.left + 250, client.top + 150, client.left + 350, client.top + 200};
    const Capture capture = captureScreen(patch);
    ASSERT_EQ(capture.width(), 100);
    ASSERT_EQ(capture.height(), 50);
    EXPECT_EQ(capture.at(0, 0), standin::background);
    EXPECT_EQ(capture.countOtherThan(standin::background), 0);
    // The label, by contrast, is black ink on white.
    const Capture label = captureScreen(clientRectOnScreen(childById(window, standin::labelId)));
    EXPECT_EQ(label.at(0, 0), RGB(255, 255, 255));
    EXPECT_GT(label.countOtherThan(RGB(255, 255, 255)), 20);
}

TEST_F(StandInWindow, SavedCaptureReadsBackWithItsColours) {
    ASSERT_TRUE(bringToFront(window));
    ASSERT_TRUE(waitUntil([&] { return painted(window); }));
    const Capture capture = captureScreen(windowRect(window));
    const std::string path = makeCaseFolder() + "\\window.bmp";
    ASSERT_TRUE(capture.saveBmp(path));

    auto* bitmap = static_cast<HBITMAP>(LoadImageA(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0,
                                                   LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    ASSERT_NE(bitmap, nullptr);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    BITMAP size{};
    GetObjectA(bitmap, sizeof size, &size);
    EXPECT_EQ(size.bmWidth, capture.width());
    EXPECT_EQ(size.bmHeight, capture.height());
    const POINT inside{capture.width() - 20, capture.height() - 20}; // the filled background
    EXPECT_EQ(GetPixel(dc, inside.x, inside.y), standin::background);
    EXPECT_EQ(GetPixel(dc, 0, 0), capture.at(0, 0)); // the frame; checks the rows' order
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
}

TEST_F(StandInWindow, LabelOnScreenMatchesTextRenderedWithItsFont) {
    ASSERT_TRUE(bringToFront(window));
    ASSERT_TRUE(waitUntil([&] { return painted(window); }));
    const RECT labelRect = clientRectOnScreen(childById(window, standin::labelId));
    const Capture onScreen = captureScreen(labelRect);
    // How a static control with SS_LEFT draws its text.
    const Capture rendered =
        renderText(makeFont(standin::labelFontFace, standin::labelFontHeight), standin::labelText,
                   onScreen.width(), onScreen.height(), DT_LEFT | DT_EXPANDTABS | DT_WORDBREAK);
    const bool same = onScreen == rendered;
    EXPECT_TRUE(same);
    if (!same) {
        onScreen.saveBmp("C:\\e2e\\label-on-screen.bmp");
        rendered.saveBmp("C:\\e2e\\label-rendered.bmp");
    }
    // A different font must not match: the comparison can fail.
    const Capture other =
        renderText(makeFont(standin::labelFontFace, -16), standin::labelText, onScreen.width(),
                   onScreen.height(), DT_LEFT | DT_EXPANDTABS | DT_WORDBREAK);
    EXPECT_FALSE(onScreen == other);
}

TEST(Launch, ShowCommandReachesTheProgram) {
    LaunchOptions minimized;
    minimized.showCommand = SW_SHOWMINNOACTIVE;
    Process small = Process::start(standInExe(), minimized);
    HWND window = waitForVisibleWindow(small.id(), standin::className, windowTimeoutMs);
    ASSERT_NE(window, nullptr);
    waitUntil([&] { return IsIconic(window) != FALSE; });
    EXPECT_TRUE(IsIconic(window));
    EXPECT_FALSE(IsZoomed(window));

    LaunchOptions maximized;
    maximized.showCommand = SW_MAXIMIZE;
    Process large = Process::start(standInExe(), maximized);
    HWND largeWindow = waitForVisibleWindow(large.id(), standin::className, windowTimeoutMs);
    ASSERT_NE(largeWindow, nullptr);
    waitUntil([&] { return IsZoomed(largeWindow) != FALSE; });
    EXPECT_TRUE(IsZoomed(largeWindow));
    EXPECT_FALSE(IsIconic(largeWindow));
}

TEST(Launch, WorkingDirectoryIsPassedOn) {
    const std::string folder = makeCaseFolder();
    LaunchOptions options;
    options.arguments = "--write-cwd";
    options.workingDirectory = folder;
    Process process = Process::start(standInExe(), options);
    const ExitResult result = process.waitForExit(exitTimeoutMs);
    ASSERT_TRUE(result.exited);
    EXPECT_EQ(result.code, 0u);
    EXPECT_EQ(readFile(folder + "\\cwd.txt"), folder);

    options.workingDirectory = folder + "\\missing";
    EXPECT_THROW(Process::start(standInExe(), options), std::runtime_error);
}

TEST(Launch, HungProcessIsKilledAtItsDeadline) {
    Process process = Process::start(standInExe(), withArguments("--hang"));
    const ULONGLONG started = GetTickCount64();
    const ExitResult result = process.waitForExit(500);
    const ULONGLONG waited = GetTickCount64() - started;
    EXPECT_FALSE(result.exited);
    EXPECT_FALSE(process.running());
    EXPECT_GE(waited, 450u);
    EXPECT_LT(waited, 5000u);
}

namespace {

struct FontFacts {
    std::string outlineFace; // the font file's own name for its face
    DWORD dataSize = 0;      // of the whole font file
    SIZE zero{};             // "0" measured
};

FontFacts factsOf(const char* face, LONG height) {
    HDC dc = CreateCompatibleDC(nullptr);
    const LOGFONTA description = makeFont(face, height);
    HFONT font = CreateFontIndirectA(&description);
    HGDIOBJ old = SelectObject(dc, font);
    FontFacts facts;
    std::vector<char> metrics(GetOutlineTextMetricsA(dc, 0, nullptr));
    if (!metrics.empty()) {
        auto* outline = reinterpret_cast<OUTLINETEXTMETRICA*>(metrics.data());
        GetOutlineTextMetricsA(dc, static_cast<UINT>(metrics.size()), outline);
        facts.outlineFace = metrics.data() + reinterpret_cast<size_t>(outline->otmpFaceName);
    }
    facts.dataSize = GetFontData(dc, 0, 0, nullptr, 0);
    GetTextExtentPoint32A(dc, "0", 1, &facts.zero);
    SelectObject(dc, old);
    DeleteObject(font);
    DeleteDC(dc);
    return facts;
}

} // namespace

TEST(Fonts, DialogFontIsReplacedByUmePGothic) {
    // Wine reports the requested name from GetTextFaceA for a replaced font,
    // so compare the font file behind it with Ume P Gothic's own.
    const FontFacts dialog = factsOf("ＭＳ Ｐゴシック", -12);
    const FontFacts ume = factsOf("Ume P Gothic", -12);
    ASSERT_FALSE(ume.outlineFace.empty()) << "is fonts-horai-umefont installed?";
    EXPECT_EQ(hex(dialog.outlineFace), hex(ume.outlineFace));
    EXPECT_EQ(dialog.dataSize, ume.dataSize);
    EXPECT_EQ(dialog.zero.cx, 6);
    EXPECT_EQ(dialog.zero.cy, 12);
}

TEST(Dpi, LogPixelsIsSeenByTheNextProcess) {
    {
        ScopedLogPixels dpi(120);
        EXPECT_EQ(logPixels(), 120u);
        Process process = Process::start(standInExe(), withArguments("--dpi"));
        const ExitResult result = process.waitForExit(exitTimeoutMs);
        ASSERT_TRUE(result.exited);
        EXPECT_EQ(result.code, 120u);
    }
    EXPECT_EQ(logPixels(), 96u);
    Process process = Process::start(standInExe(), withArguments("--dpi"));
    EXPECT_EQ(process.waitForExit(exitTimeoutMs).code, 96u);
}

namespace {

struct RegistryValue {
    LONG status = 0;
    DWORD type = 0;
    std::string bytes;
};

RegistryValue readAppPath() {
    RegistryValue value;
    HKEY key;
    value.status = RegOpenKeyExA(HKEY_LOCAL_MACHINE, appPathsKey, 0, KEY_READ, &key);
    if (value.status != ERROR_SUCCESS) {
        return value;
    }
    char data[256];
    DWORD size = sizeof data;
    value.status =
        RegQueryValueExA(key, "Path", nullptr, &value.type, reinterpret_cast<BYTE*>(data), &size);
    RegCloseKey(key);
    value.bytes.assign(data, size);
    return value;
}

} // namespace

TEST(Registry, AppPathIsWrittenWithTheGivenTypeAndBytes) {
    const std::string path("C:\\表\\x\0", 8);
    setAppPath(REG_SZ, path);
    RegistryValue value = readAppPath();
    EXPECT_EQ(value.status, ERROR_SUCCESS);
    EXPECT_EQ(value.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(hex(value.bytes), hex(path));

    // Bytes that are no string at all, under a type that is not one.
    const std::string odd("\x01\x00\xFF\x5C", 4);
    setAppPath(REG_BINARY, odd);
    value = readAppPath();
    EXPECT_EQ(value.type, static_cast<DWORD>(REG_BINARY));
    EXPECT_EQ(hex(value.bytes), hex(odd));

    deleteAppPathsKey();
    EXPECT_EQ(readAppPath().status, ERROR_FILE_NOT_FOUND);
    deleteAppPathsKey(); // absent is fine
}

TEST(Files, CaseFolderHoldsJapaneseNamesAndIsEmptiedAnew) {
    const std::string folder = makeCaseFolder();
    EXPECT_EQ(folder, "C:\\e2e\\Files.CaseFolderHoldsJapaneseNamesAndIsEmptiedAnew");
    const std::string path = folder + "\\ソフト表.txt";
    writeFile(path, std::string("a\0b", 3));
    EXPECT_EQ(readFile(path), std::string("a\0b", 3));
    makeReadOnly(path);
    EXPECT_NE(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);

    EXPECT_EQ(makeCaseFolder(), folder);
    EXPECT_FALSE(fileExists(path)) << "a read-only file survived";
    EXPECT_TRUE(folderExists(folder));
}

TEST(Files, HeldFileCannotBeOpenedByOthers) {
    const std::string path = makeCaseFolder() + "\\held.bin";
    writeFile(path, "x");
    {
        HeldOpen held(path);
        HANDLE other = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_EXISTING, 0, nullptr);
        EXPECT_EQ(other, INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
        EXPECT_FALSE(DeleteFileA(path.c_str()));
    }
    EXPECT_EQ(readFile(path), "x");
}

TEST(Paths, UnixPathsBecomeDriveZ) {
    EXPECT_EQ(windowsPath("/work/build/Update.exe"), "Z:\\work\\build\\Update.exe");
    EXPECT_EQ(windowsPath("C:\\x\\y.exe"), "C:\\x\\y.exe");
}
