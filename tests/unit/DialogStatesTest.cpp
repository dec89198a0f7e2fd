// Start-up, the states the dialog is put in when it is shown, and Cancel.
#include "Appearance.h"
#include "Main.h"
#include "Update.h"

#include <gtest/gtest.h>

namespace {

const Text InstallFolder = "C:\\Program Files\\Zarumina";

class UpdateDialog : public ::testing::Test {
  protected:
    FakePlatform fake;

    void Install(const Text& folder) {
        fake.RegisterInstallPath(folder + std::string(1, '\0'));
        fake.AddFolder(folder);
        fake.AddFile(folder + "\\RZB52.exe", "MZ");
    }
    // Starts the updater; the user then does `actions`.
    int Start(std::vector<UserAction> actions) {
        fake.userActions = std::move(actions);
        return Update(fake);
    }
};

TEST_F(UpdateDialog, StartUpSetsTheTitleCreatesTheDialogHidesTheRunControlsThenRunsTheLoop) {
    EXPECT_EQ(Start({UserAction::CloseBox}), 0);
    const std::vector<std::string> startUp(fake.journal.begin(), fake.journal.begin() + 5);
    EXPECT_EQ(startUp, (std::vector<std::string>{
                           "SetApplicationTitle ザルミナアップデート",
                           "CreateMainDialog",
                           "Hide ProgressBar1",
                           "Hide Label3",
                           "RunEventLoop",
                       }));
}

TEST_F(UpdateDialog, InitialStateBeforeTheDialogIsShown) {
    TForm1 form(fake);
    ExpectAppearance(fake, InitialAppearance());
    EXPECT_EQ(form.InstallPath, "");
}

TEST_F(UpdateDialog, NoRegistryKeyMeansNotInstalled) {
    Start({});
    ExpectAppearance(fake, NotInstalledAppearance());
    EXPECT_TRUE(fake.JournalMatching("FilePresent").empty());
    EXPECT_EQ(fake.JournalFrom("SetCaption"), (std::vector<std::string>{
                                                  "SetCaption Label1 " + texts::NotInstalled,
                                                  "SetCaption PathLabel " + texts::InstallHint,
                                                  "Hide Button1",
                                                  "SetCaption Button2 " + texts::Close,
                                                  "Enable Button2",
                                              }));
}

TEST_F(UpdateDialog, MissingProgramFileLooksTheSameAsNoInstallation) {
    fake.RegisterInstallPath(InstallFolder);
    fake.AddFolder(InstallFolder);
    Start({});
    ExpectAppearance(fake, NotInstalledAppearance());
    EXPECT_EQ(fake.JournalMatching("FilePresent"),
              std::vector<std::string>{"FilePresent " + InstallFolder + "\\RZB52.exe"});

    FakePlatform directoryInstead;
    directoryInstead.RegisterInstallPath(InstallFolder);
    directoryInstead.AddFolder(InstallFolder + "\\RZB52.exe");
    directoryInstead.userActions = {};
    Update(directoryInstead);
    ExpectAppearance(directoryInstead, NotInstalledAppearance());
}

TEST_F(UpdateDialog, InstalledProgramMakesTheDialogReadyWithThePathAsStored) {
    const Text stored = InstallFolder + "\\";
    fake.RegisterInstallPath(stored);
    fake.AddFile(stored + "\\RZB52.exe", "MZ");
    TForm1 form(fake);
    form.FormShow();
    ExpectAppearance(fake, ReadyAppearance(stored));
    EXPECT_EQ(form.InstallPath, stored);
    EXPECT_EQ(fake.JournalFrom("SetCaption"), (std::vector<std::string>{
                                                  "SetCaption PathLabel " + stored,
                                                  "SetCaption Button1 " + texts::Execute,
                                                  "Enable Button1",
                                                  "SetCaption Button2 " + texts::Cancel,
                                                  "Enable Button2",
                                              }));
}

TEST_F(UpdateDialog, UnusableRegistryValueIsShownAsAnErrorAndLeavesTheDialogInitial) {
    fake.RegisterInstallPath(std::string("\x01\x00\x00\x00", 4), 4 /* REG_DWORD */);
    TForm1 form(fake);
    EXPECT_THROW(
        {
            try {
                form.FormShow();
            } catch (const RegistryError& error) {
                EXPECT_EQ(std::string(error.what()), "'Path' のデータ型が不正です");
                throw;
            }
        },
        RegistryError);
    ExpectAppearance(fake, InitialAppearance());
    EXPECT_EQ(form.InstallPath, "");
    EXPECT_EQ(fake.keysOpen, 0);

    FakePlatform whole; // the same through the program body and its event loop
    whole.RegisterInstallPath("", 3 /* REG_BINARY */);
    whole.registryValues.begin()->second.bytes = "\x10";
    whole.userActions = {UserAction::CloseBox};
    EXPECT_EQ(Update(whole), 0);
    EXPECT_EQ(whole.errorBoxes, std::vector<Text>{"'Path' のデータ型が不正です"});
    ExpectAppearance(whole, InitialAppearance());
}

TEST_F(UpdateDialog, CancelInReadyClosesWithoutCopying) {
    Install(InstallFolder);
    Start({UserAction::ClickButton2});
    EXPECT_TRUE(fake.closed);
    EXPECT_TRUE(fake.JournalMatching("CopyFile").empty());
    EXPECT_EQ(fake.journal.back(), "CloseDialog");
}

TEST_F(UpdateDialog, CloseInNotInstalledEndsTheProgram) {
    EXPECT_EQ(Start({UserAction::ClickButton2}), 0);
    EXPECT_TRUE(fake.closed);
    EXPECT_EQ(fake.JournalFrom("ReadCaption"),
              (std::vector<std::string>{"ReadCaption Button1", "CloseDialog"}));
}

TEST_F(UpdateDialog, CancelInInitialAfterAnErrorCloses) {
    fake.RegisterInstallPath("x", 4);
    Start({UserAction::ClickButton2});
    EXPECT_TRUE(fake.closed);
}

TEST_F(UpdateDialog, CancelWhileRunningAsksTheRunToStopInsteadOfClosing) {
    Install(InstallFolder);
    TForm1 form(fake);
    form.FormShow();
    fake.SetCaption(Control::Button1, texts::Running);
    form.Button2Click();
    EXPECT_FALSE(fake.closed);
    EXPECT_EQ(fake.controls.at(Control::Button1).caption, texts::Stop);
    EXPECT_EQ(fake.controls.at(Control::Button2).caption, texts::Close);
}

TEST_F(UpdateDialog, HeadingAndLabelsStayThroughEveryState) {
    Install(InstallFolder);
    fake.AddFolder("C:\\Delivery");
    Start({UserAction::ClickButton1});
    ExpectAppearance(fake, FinishedAppearance(InstallFolder, texts::NotUpdated(5)));
    EXPECT_TRUE(fake.JournalMatching("SetCaption Label2").empty());
    EXPECT_TRUE(fake.JournalMatching("Hide Bevel1").empty());
}

} // namespace
