#include "Main.h"

#include "UpdaterFolder.h"

#include <string>

const char* const AppPathsKey =
    "\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\RZB52.exe";
const char* const AppPathsValueName = "Path";
const char* const ProgramFileName = "RZB52.exe";

const std::array<UpdateFile, UpdateFileCount> UpdateFileTable = {{
    {"Data\\LData.cxt", "LDATA.CXT"},
    {"Data\\START.dxr", "START.DXR"},
    {"Data\\Train.dxr", "TRAIN.DXR"},
    {"Data\\SHARED.cxt", "SHARED.CXT"},
    {"Data\\END.dxr", "END.DXR"},
}};

namespace {

// Button1's caption is the dialog's state: the handlers keep none of their own.
const char* const ExecuteCaption = "実　行";
const char* const RunningCaption = "実行中";
const char* const CloseCaption = "閉じる";
const char* const StopCaption = "中　止";
const char* const CancelCaption = "キャンセル";

const char* const NotInstalledNotice = "「ザルミナ」がインストールされていません。";
const char* const InstallHint = "「ザルミナ」をインストールしてから実行してください。";
const char* const CompletedText = "完了しました。";

} // namespace

Text GetInstallPath(Platform& platform) {
    return platform.ReadRegistryString(RootKey::LocalMachine, AppPathsKey, AppPathsValueName);
}

bool ProgramFileExists(Platform& platform, const Text& folder) {
    return platform.FilePresent(folder + "\\" + ProgramFileName);
}

TForm1::TForm1(Platform& platform)
    : Label1(platform, Control::Label1), Label2(platform, Control::Label2),
      Label3(platform, Control::Label3), PathLabel(platform, Control::PathLabel),
      Bevel1(platform, Control::Bevel1), Button1(platform, Control::Button1),
      Button2(platform, Control::Button2), ProgressBar1(platform), platform_(platform) {
    platform_.CreateMainDialog(*this);
    FormCreate();
}

void TForm1::FormCreate() {
    ProgressBar1.Hide();
    Label3.Hide();
}

void TForm1::FormShow() {
    InstallPath = GetInstallPath(platform_);
    if (InstallPath.empty() || !ProgramFileExists(platform_, InstallPath)) {
        EnterNotInstalled();
        return;
    }
    EnterReady();
}

void TForm1::EnterNotInstalled() {
    Label1.SetCaption(NotInstalledNotice);
    PathLabel.SetCaption(InstallHint);
    Button1.Hide();
    Button2.SetCaption(CloseCaption);
    Button2.Enable();
}

void TForm1::EnterReady() {
    PathLabel.SetCaption(InstallPath);
    Button1.SetCaption(ExecuteCaption);
    Button1.Enable();
    Button2.SetCaption(CancelCaption);
    Button2.Enable();
}

void TForm1::Button2Click() {
    if (Button1.Caption() == RunningCaption) {
        // Asks the run to stop before its next file. Button2 is disabled for
        // the whole run, so only a design that enables it comes here.
        Button1.SetCaption(StopCaption);
        Button2.SetCaption(CloseCaption);
        return;
    }
    platform_.CloseDialog();
}

void TForm1::Button1Click() {
    if (Button1.Caption() == CloseCaption) {
        platform_.CloseDialog();
        return;
    }
    EnterRunning();
    UpdateFiles(InstallPath);
    // Input that came while the last file was copied meets the dialog as it
    // was then, both buttons disabled: left to the event loop, an Enter
    // would find Close enabled and end the program before the outcome shows.
    platform_.PumpMessages();
    ShowOutcome();
    EnterFinished();
}

void TForm1::EnterRunning() {
    Label3.SetCaption("");
    Label3.Show();
    Button1.Disable();
    Button1.SetCaption(RunningCaption);
    Button2.Disable();
    ProgressBar1.SetMax(UpdateFileCount);
    ProgressBar1.SetPosition(0);
    ProgressBar1.Show();
}

void TForm1::ShowOutcome() {
    const int copied = ProgressBar1.Position();
    if (copied >= UpdateFileCount) {
        Label3.SetCaption(CompletedText);
        return;
    }
    Label3.SetCaption(std::to_string(UpdateFileCount) + "個中" +
                      std::to_string(UpdateFileCount - copied) +
                      "個のファイルがアップデートできませんでした。");
}

void TForm1::EnterFinished() {
    Button1.SetCaption(CloseCaption);
    Button1.Enable();
}

void TForm1::UpdateFiles(const Text& installPath) {
    for (const UpdateFile& file : UpdateFileTable) {
        if (!CopyDataFile(installPath, file))
            break;
    }
}

bool TForm1::CopyDataFile(const Text& installPath, const UpdateFile& file) {
    Label3.SetCaption(file.TargetName);
    platform_.PumpMessages(); // paints the name and handles queued input

    // Without an install folder the target would land at the root of the
    // current drive; without the updater's own folder (its path did not fit)
    // the source would be looked for in some other folder. Either way the row
    // is left not updated.
    const Text updaterFolder = UpdaterFolder(platform_.OwnProgramPath());
    if (!installPath.empty() && !updaterFolder.empty()) {
        const Text target = installPath + "\\" + file.TargetName;
        const Text source = updaterFolder + file.SourceName;
        if (platform_.CopyFileReplacing(source, target))
            ProgressBar1.StepIt();
    }
    return Button1.Caption() != StopCaption;
}
