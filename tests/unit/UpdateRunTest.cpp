// Execute: the five copies, the bar, the outcome, and Close afterwards.
#include "Appearance.h"
#include "Main.h"
#include "Update.h"

#include <gtest/gtest.h>

namespace {

const Text Install = "D:\\Games\\ザルミナ";
const Text Delivery = "C:\\Users\\me\\Downloads\\ソフト\\";

const std::vector<std::pair<Text, Text>> Rows = {
    {"LData.cxt", "LDATA.CXT"},   {"START.dxr", "START.DXR"}, {"Train.dxr", "TRAIN.DXR"},
    {"SHARED.cxt", "SHARED.CXT"}, {"END.dxr", "END.DXR"},
};

class UpdateRun : public ::testing::Test {
  protected:
    FakePlatform fake;
    TForm1 form{fake};

    void SetUp() override {
        fake.ownProgramPath = Delivery + "Update.exe";
        fake.RegisterInstallPath(Install);
        fake.AddFolder(Install);
        fake.AddFile(Install + "\\RZB52.exe", "MZ");
        for (const auto& row : Rows) {
            fake.AddFile(Delivery + "Data\\" + row.first, "new " + row.first);
            fake.AddFile(Install + "\\" + row.second, "old " + row.second);
        }
        form.FormShow();
        fake.journal.clear();
    }
    std::string Content(const Text& target) {
        return fake.files.at(Install + "\\" + target).content;
    }
};

TEST_F(UpdateRun, CopiesEveryRowInOrderOneFileAtATime) {
    form.Button1Click();
    std::vector<std::string> expected;
    for (const auto& row : Rows) {
        expected.push_back("CopyFile " + Delivery + "Data\\" + row.first + " -> " + Install + "\\" +
                           row.second);
    }
    EXPECT_EQ(fake.JournalMatching("CopyFile"), expected);
    for (const auto& row : Rows)
        EXPECT_EQ(Content(row.second), "new " + row.first);
    ExpectAppearance(fake, FinishedAppearance(Install, texts::Completed));
    EXPECT_EQ(fake.progressPosition, 5);
    EXPECT_EQ(fake.progressMaximum, 5);
}

TEST_F(UpdateRun, EnteringRunningFollowsAFixedOrder) {
    form.Button1Click();
    const std::vector<std::string> first(fake.journal.begin(), fake.journal.begin() + 10);
    EXPECT_EQ(first, (std::vector<std::string>{
                         "ReadCaption Button1",
                         "SetCaption Label3 ",
                         "Show Label3",
                         "Disable Button1",
                         "SetCaption Button1 " + texts::Running,
                         "Disable Button2",
                         "SetProgressMaximum 5",
                         "SetProgressPosition 0",
                         "Show ProgressBar1",
                         "SetCaption Label3 LDATA.CXT",
                     }));
}

TEST_F(UpdateRun, EachRowShowsItsNameAndPumpsOnceBeforeItsCopy) {
    form.Button1Click();
    const auto row = fake.JournalFrom("SetCaption Label3 START.DXR");
    ASSERT_GE(row.size(), 6u);
    EXPECT_EQ(row[0], "SetCaption Label3 START.DXR");
    EXPECT_EQ(row[1], "PumpMessages");
    EXPECT_EQ(row[2], "OwnProgramPath");
    EXPECT_EQ(row[3], "CopyFile " + Delivery + "Data\\START.dxr -> " + Install + "\\START.DXR");
    EXPECT_EQ(row[4], "StepProgress");
    EXPECT_EQ(row[5], "ReadCaption Button1");
    // One more after the last copy, before the outcome and Close: no input
    // waits past the run.
    const auto end = fake.JournalFrom("CopyFile " + Delivery + "Data\\END.dxr");
    ASSERT_GE(end.size(), 4u);
    EXPECT_EQ(end[3], "PumpMessages");
    EXPECT_EQ(fake.JournalMatching("PumpMessages").size(), 6u);
}

TEST_F(UpdateRun, TheDialogIsRunningWhileFilesAreCopied) {
    std::vector<Text> shown;
    fake.onPump = [&] {
        const auto& c = fake.controls;
        shown.push_back(c.at(Control::Label3).caption);
        EXPECT_TRUE(c.at(Control::Label3).visible);
        EXPECT_TRUE(c.at(Control::ProgressBar1).visible);
        EXPECT_EQ(fake.progressMaximum, 5);
        EXPECT_EQ(c.at(Control::Button1).caption, texts::Running);
        EXPECT_FALSE(c.at(Control::Button1).enabled);
        EXPECT_EQ(c.at(Control::Button2).caption, texts::Cancel);
        EXPECT_FALSE(c.at(Control::Button2).enabled);
        EXPECT_EQ(c.at(Control::PathLabel).caption, Install);
    };
    form.Button1Click();
    // The last pump, after the last copy, still finds the dialog running.
    EXPECT_EQ(shown, (std::vector<Text>{"LDATA.CXT", "START.DXR", "TRAIN.DXR", "SHARED.CXT",
                                        "END.DXR", "END.DXR"}));
}

TEST_F(UpdateRun, OnlySuccessfulCopiesStepTheBarAndTheOutcomeCountsTheRest) {
    fake.copyResults[{Delivery + "Data\\LData.cxt", Install + "\\LDATA.CXT"}] = false;
    form.Button1Click();
    EXPECT_EQ(fake.JournalMatching("StepProgress").size(), 4u);
    ExpectAppearance(fake, FinishedAppearance(Install, texts::NotUpdated(1)));
    EXPECT_EQ(fake.controls.at(Control::Label3).caption,
              "5個中1個のファイルがアップデートできませんでした。");
}

TEST_F(UpdateRun, AMissingSourceDoesNotStopTheRowsAfterIt) {
    fake.files.erase(Delivery + "Data\\Train.dxr");
    form.Button1Click();
    EXPECT_EQ(fake.JournalMatching("CopyFile").size(), 5u);
    EXPECT_EQ(Content("TRAIN.DXR"), "old TRAIN.DXR");
    EXPECT_EQ(Content("SHARED.CXT"), "new SHARED.cxt");
    EXPECT_EQ(Content("END.DXR"), "new END.dxr");
    EXPECT_EQ(fake.progressPosition, 4);
    EXPECT_EQ(fake.controls.at(Control::Label3).caption, texts::NotUpdated(1));
}

TEST_F(UpdateRun, NoDataFolderCopiesNothing) {
    for (const auto& row : Rows)
        fake.files.erase(Delivery + "Data\\" + row.first);
    form.Button1Click();
    EXPECT_EQ(fake.progressPosition, 0);
    EXPECT_EQ(fake.controls.at(Control::Label3).caption, texts::NotUpdated(5));
    EXPECT_EQ(Content("LDATA.CXT"), "old LDATA.CXT");
}

TEST_F(UpdateRun, ThreeFailedRowsLeaveTwoCopiedAndReportThree) {
    fake.files[Install + "\\START.DXR"].locked = true;
    fake.files[Install + "\\SHARED.CXT"].directory = true;
    fake.files.erase(Delivery + "Data\\END.dxr");
    form.Button1Click();
    EXPECT_EQ(fake.progressPosition, 2);
    EXPECT_EQ(fake.controls.at(Control::Label3).caption, texts::NotUpdated(3));
}

TEST_F(UpdateRun, MissingTargetsAreCreated) {
    fake.files.erase(Install + "\\END.DXR");
    form.Button1Click();
    EXPECT_EQ(Content("END.DXR"), "new END.dxr");
    EXPECT_EQ(fake.controls.at(Control::Label3).caption, texts::Completed);
}

TEST_F(UpdateRun, ALaterClickOnCloseEndsTheProgramWithoutASecondRun) {
    form.Button1Click();
    fake.journal.clear();
    form.Button1Click();
    EXPECT_TRUE(fake.closed);
    EXPECT_EQ(fake.journal, (std::vector<std::string>{"ReadCaption Button1", "CloseDialog"}));
}

TEST_F(UpdateRun, AStopAskedForDuringARunSkipsTheRemainingRows) {
    int pumps = 0;
    fake.onPump = [&] {
        if (++pumps == 2) { // a design that lets Cancel through mid-run
            fake.Enable(Control::Button2);
            form.Button2Click();
        }
    };
    form.Button1Click();
    EXPECT_EQ(fake.JournalMatching("CopyFile").size(), 2u);
    EXPECT_EQ(Content("TRAIN.DXR"), "old TRAIN.DXR");
    EXPECT_EQ(fake.controls.at(Control::Label3).caption, texts::NotUpdated(3));
    EXPECT_EQ(fake.controls.at(Control::Button1).caption, texts::Close);
    EXPECT_FALSE(fake.closed);
}

TEST_F(UpdateRun, ACloseDuringTheRunLetsItFinish) {
    fake.onPump = [&] { fake.CloseDialog(); };
    form.Button1Click();
    EXPECT_EQ(fake.JournalMatching("CopyFile").size(), 5u);
    EXPECT_EQ(fake.controls.at(Control::Label3).caption, texts::Completed);
}

// After an unusable registry value the dialog stays with Execute enabled but
// no install folder: the run must not write to the root of the drive.
TEST(UpdateRunWithoutFolders, NoInstallFolderMeansNothingIsCopied) {
    FakePlatform fake;
    fake.RegisterInstallPath("bad", 4 /* REG_DWORD */);
    fake.userActions = {UserAction::ClickButton1};
    Update(fake);
    ASSERT_EQ(fake.errorBoxes.size(), 1u);
    EXPECT_TRUE(fake.JournalMatching("CopyFile").empty());
    EXPECT_EQ(fake.JournalMatching("PumpMessages").size(), 6u);
    ExpectAppearance(fake, FinishedAppearance("PathLabel", texts::NotUpdated(5)));
    EXPECT_EQ(fake.controls.at(Control::Label3).caption,
              "5個中5個のファイルがアップデートできませんでした。");
}

// A program path too long for the system's buffer comes back empty: reading
// sources from whatever folder a cut path names would be worse than nothing.
TEST(UpdateRunWithoutFolders, NoOwnFolderMeansNoSourceIsRead) {
    FakePlatform fake;
    fake.RegisterInstallPath(Install);
    fake.AddFolder(Install);
    fake.AddFile(Install + "\\RZB52.exe", "MZ");
    fake.AddFile("Data\\LData.cxt", "planted");
    fake.ownProgramPath = "";
    fake.userActions = {UserAction::ClickButton1};
    Update(fake);
    EXPECT_TRUE(fake.JournalMatching("CopyFile").empty());
    EXPECT_EQ(fake.controls.at(Control::Label3).caption, texts::NotUpdated(5));
    EXPECT_EQ(fake.files.count(Install + "\\LDATA.CXT"), 0u);
}

} // namespace
