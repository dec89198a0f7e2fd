// The update run: 実　行 copies the five files from Data beside Update.exe
// into the install folder, the bar counting the copies, then says how it went.
#include "UpdaterFixture.h"

#include <atomic>
#include <thread>
#include <vector>

using namespace updater;

namespace {

class UpdateRun : public UpdaterTest {
  protected:
    // Installed and registered, the dialog up and ready.
    HWND startReady() {
        makeInstall();
        registerInstall();
        start();
        HWND dialog = waitForDialog();
        if (dialog != nullptr && !(e2e::bringToFront(dialog) && e2e::settled(dialog))) {
            return nullptr;
        }
        return dialog;
    }

    static bool finished(HWND dialog) {
        return e2e::windowText(e2e::childById(dialog, button1Id)) == "閉じる";
    }

    void runToTheEnd(HWND dialog) {
        ASSERT_TRUE(e2e::bringToFront(dialog));
        ASSERT_TRUE(e2e::clickCenter(e2e::childById(dialog, button1Id)));
        ASSERT_TRUE(waitUntil([&] { return finished(dialog); }, 40000)) << "the run did not end";
        ASSERT_TRUE(e2e::settled(dialog)) << "no answer after the run";
    }

    // The finished dialog: bar at `copied` of 0..5, only Button1 (閉じる)
    // usable, the outcome in Label3.
    void expectFinished(HWND dialog, int copied, const std::string& outcome) {
        HWND bar = e2e::childById(dialog, progressBarId);
        EXPECT_TRUE(IsWindowVisible(bar));
        EXPECT_EQ(e2e::progressPosition(bar), copied);
        EXPECT_EQ(e2e::progressRange(bar), std::make_pair(0, 5));
        expectButton(dialog, button1Id, "閉じる", true);
        expectButton(dialog, button2Id, "キャンセル", false);
        EXPECT_TRUE(labelShows(dialog, label3Box, outcome, labelFlags)) << outcome;
    }

    // Each target holds the new bytes, or its old ones when `updated` says not.
    void expectTargets(const std::array<bool, 5>& updated, size_t size = 64) {
        for (size_t i = 0; i < dataFiles.size(); ++i) {
            const std::string bytes = e2e::readFile(install + "\\" + dataFiles[i].target);
            EXPECT_TRUE(bytes == (updated[i] ? newBytes(i, size) : oldBytes(i)))
                << dataFiles[i].target << (updated[i] ? " was not updated" : " was changed");
        }
        // Nothing else is left beside them: the copies' temporary files are gone.
        EXPECT_EQ(snapshot(install).size(), dataFiles.size() + 1);
    }
};

} // namespace

TEST_F(UpdateRun, ReplacesAllFiveFilesThenCloses) {
    makeDelivery();
    const auto delivered = snapshot(delivery);
    HWND dialog = startReady();
    ASSERT_NE(dialog, nullptr) << "the dialog did not appear";
    expectButton(dialog, button1Id, "実　行", true);
    EXPECT_FALSE(IsWindowVisible(e2e::childById(dialog, progressBarId)));

    runToTheEnd(dialog);
    expectTargets({true, true, true, true, true});
    expectFinished(dialog, 5, "完了しました。");
    // A screen reader may still hold the dialog's object when the program ends:
    // then it gets an error, and the program ends as ever.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IAccessible* held = nullptr;
    ASSERT_HRESULT_SUCCEEDED(AccessibleObjectFromWindow(dialog, OBJID_CLIENT, __uuidof(IAccessible),
                                                        reinterpret_cast<void**>(&held)));
    expectClickEnds(dialog, button1Id);
    LONG count = 0;
    EXPECT_HRESULT_FAILED(held->get_accChildCount(&count));
    held->Release();
    CoUninitialize();
    EXPECT_EQ(snapshot(delivery), delivered) << "the sources were moved or changed";
}

// A screen reader hears of each change of Label3, and is told the outcome as shown.
TEST_F(UpdateRun, MissingSourceLeavesOnlyItsTargetOld) {
    makeDelivery(64, "Data\\Train.dxr");
    HWND dialog = startReady();
    ASSERT_NE(dialog, nullptr) << "the dialog did not appear";
    const HookInProgram recorder(dialog, WH_CALLWNDPROC, menureader::recordWinEventsProcName);
    // Its first call sets the WinEvent hook, before a sent message returns.
    ASSERT_TRUE(e2e::settled(dialog));
    runToTheEnd(dialog);
    expectTargets({true, true, false, true, true});
    const std::string outcome = "5個中1個のファイルがアップデートできませんでした。";
    expectFinished(dialog, 4, outcome);

    // Cleared (800c: EVENT_OBJECT_NAMECHANGE) and shown (8002: EVENT_OBJECT_SHOW), then named
    // after each file, and last after the outcome.
    char events[MAX_PATH];
    menureader::winEventLogPath(events, process->id());
    EXPECT_EQ(e2e::readFile(events),
              "800c 4\n8002 4\n800c 4\n800c 4\n800c 4\n800c 4\n800c 4\n800c 4\n");
    const std::vector<Told> told = toldOf(dialog);
    ASSERT_GE(told.size(), 6u) << "four labels and two buttons";
    EXPECT_EQ(told[3].name, utf16(outcome));
    EXPECT_EQ(told[3].state & STATE_SYSTEM_INVISIBLE, 0);
    EXPECT_EQ(told[4].name, utf16("閉じる"));
    EXPECT_EQ(told[5].name, utf16("キャンセル"));
}

TEST_F(UpdateRun, WithoutDataFolderNothingIsCopied) {
    makeDeliveryWithoutData();
    HWND dialog = startReady();
    ASSERT_NE(dialog, nullptr) << "the dialog did not appear";
    runToTheEnd(dialog);
    expectTargets({false, false, false, false, false});
    expectFinished(dialog, 0, "5個中5個のファイルがアップデートできませんでした。");
}

namespace {

// Watches the bar and Label3 on screen from a thread of its own, so that
// looking never delays the next PBM_GETPOS. Made before the run starts, when
// the bar is not shown yet; read its findings after stop().
class ScreenWatcher {
  public:
    explicit ScreenWatcher(HWND dialog) : dialog_(dialog) {
        for (const DataFile& file : dataFiles) {
            names_.push_back(labelRendered(file.target, label3Box, labelFlags));
        }
        before_ = barArea().at(0, 0);
        thread_ = std::thread([this] { watch(); });
    }
    ~ScreenWatcher() { stop(); }
    void stop() {
        stopping_ = true;
        if (thread_.joinable()) {
            thread_.join();
        }
    }

    int firstChunk = -1;           // chunk pixels when the bar first showed on screen
    std::vector<size_t> namesSeen; // indexes into dataFiles, in the order Label3 showed them

  private:
    e2e::Capture barArea() const {
        const RECT client = e2e::clientRectOnScreen(dialog_);
        return e2e::captureScreen(
            {client.left + progressBarBox.left, client.top + progressBarBox.top,
             client.left + progressBarBox.right, client.top + progressBarBox.bottom});
    }
    void watch() {
        const COLORREF chunk = GetSysColor(COLOR_HIGHLIGHT);
        while (!stopping_) {
            const e2e::Capture bar = barArea();
            if (firstChunk < 0 && bar.at(0, 0) != before_) { // its frame is drawn
                firstChunk = bar.width() * bar.height() - bar.countOtherThan(chunk);
            }
            const e2e::Capture label = labelOnScreen(dialog_, label3Box);
            for (size_t i = 0; i < names_.size(); ++i) {
                if (label == names_[i] && (namesSeen.empty() || namesSeen.back() != i)) {
                    namesSeen.push_back(i);
                }
            }
            Sleep(1); // each state stays on screen for a whole copy
        }
    }

    HWND dialog_;
    COLORREF before_ = 0;
    std::vector<e2e::Capture> names_;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

} // namespace

// Large files keep the program inside each copy for a while. It answers the
// bar's PBM_GETPOS only between copies, so a request kept waiting is answered
// before the next copy: the answers, while the bar is shown, are positions it
// passes through.
TEST_F(UpdateRun, BarStartsEmptyAndCountsEachCopy) {
    constexpr size_t size = 60 << 20;
    makeDelivery(size);
    HWND dialog = startReady();
    ASSERT_NE(dialog, nullptr) << "the dialog did not appear";
    ASSERT_TRUE(e2e::bringToFront(dialog));
    ScreenWatcher screen(dialog);
    ASSERT_TRUE(e2e::clickCenter(e2e::childById(dialog, button1Id)));

    // The bar's window is made when the run starts, before the program takes
    // messages again: looked for without pause, the first request is waiting then.
    HWND bar = nullptr;
    const ULONGLONG deadline = GetTickCount64() + 40000;
    while (bar == nullptr && GetTickCount64() < deadline) {
        bar = e2e::childById(dialog, progressBarId);
    }
    ASSERT_NE(bar, nullptr) << "no progress bar";

    std::vector<int> positions;
    bool sawRunning = false;
    while (!finished(dialog) && GetTickCount64() < deadline) {
        const std::optional<int> position = barPosition(bar);
        ASSERT_TRUE(position.has_value()) << "the program stopped answering";
        if (!IsWindowVisible(bar) || (!positions.empty() && positions.back() == *position)) {
            continue;
        }
        positions.push_back(*position);
        if (*position > 0 && *position < 5 && !sawRunning) { // between two copies
            sawRunning = true;
            expectButton(dialog, button1Id, "実行中", false);
            expectButton(dialog, button2Id, "キャンセル", false);
        }
    }
    ASSERT_TRUE(finished(dialog)) << "the run did not end";
    // The full bar is looked at once it is painted, by the watcher too.
    ASSERT_TRUE(e2e::settled(dialog));
    EXPECT_TRUE(waitUntil([&] { return e2e::painted(dialog); }));
    screen.stop();

    ASSERT_FALSE(positions.empty());
    EXPECT_EQ(positions.front(), 0) << "the bar was first shown at another position";
    // A busy machine may let a copy pass unseen, so steps are not counted one
    // by one; but the bar moves only forwards and is seen part-way.
    for (size_t i = 1; i < positions.size(); ++i) {
        EXPECT_GT(positions[i], positions[i - 1]) << "the bar went back";
    }
    EXPECT_TRUE(sawRunning) << "the bar was never seen between empty and full";
    EXPECT_EQ(e2e::progressPosition(bar), 5);

    EXPECT_EQ(screen.firstChunk, 0) << "the bar was not empty when it first showed";
    const e2e::Capture full = e2e::captureScreen(e2e::windowRect(bar));
    EXPECT_GT(full.width() * full.height() - full.countOtherThan(GetSysColor(COLOR_HIGHLIGHT)), 0)
        << "a full bar shows no chunk colour: the empty bar proves nothing";
    // Without visual styles a bar that is not smooth fills in segments: across
    // its middle, runs of the chunk colour with gaps between them.
    int segments = 0;
    for (int x = 0, y = full.height() / 2; x < full.width(); ++x) {
        const bool chunk = full.at(x, y) == GetSysColor(COLOR_HIGHLIGHT);
        segments += chunk && (x == 0 || full.at(x - 1, y) != GetSysColor(COLOR_HIGHLIGHT));
    }
    EXPECT_GT(segments, 10) << "a full bar drawn solid, not in segments";
    EXPECT_FALSE(screen.namesSeen.empty()) << "Label3 never showed a file name";
    for (size_t i = 1; i < screen.namesSeen.size(); ++i) {
        EXPECT_GT(screen.namesSeen[i], screen.namesSeen[i - 1]) << "names out of order";
    }
    expectTargets({true, true, true, true, true}, size);
}
