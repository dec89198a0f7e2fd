// The updater's one dialog, TForm1, with its handlers, the installation
// lookup and the update run.
#pragma once

#include "Platform.h"

#include <array>

// One control of the dialog, reached through the platform by its name.
class TControl {
  public:
    TControl(Platform& platform, Control id) : platform_(platform), id_(id) {}

    void SetCaption(const Text& text) { platform_.SetCaption(id_, text); }
    Text Caption() const { return platform_.ReadCaption(id_); }
    void Show() { platform_.Show(id_); }
    void Hide() { platform_.Hide(id_); }
    void Enable() { platform_.Enable(id_); }
    void Disable() { platform_.Disable(id_); }

  private:
    Platform& platform_;
    Control id_;
};

class TProgressBar : public TControl {
  public:
    explicit TProgressBar(Platform& platform)
        : TControl(platform, Control::ProgressBar1), platform_(platform) {}

    void SetMax(int maximum) { platform_.SetProgressMaximum(maximum); }
    void SetPosition(int position) { platform_.SetProgressPosition(position); }
    int Position() const { return platform_.ReadProgressPosition(); }
    void StepIt() { platform_.StepProgress(); }

  private:
    Platform& platform_;
};

// Where the application is registered, and the program file that proves it is there.
extern const char* const AppPathsKey;
extern const char* const AppPathsValueName;
extern const char* const ProgramFileName;

// The install folder exactly as registered; empty when none is registered.
// Throws RegistryError when the registered value cannot be used.
Text GetInstallPath(Platform& platform);
// Whether the application's program file is in `folder`.
bool ProgramFileExists(Platform& platform, const Text& folder);

struct UpdateFile {
    const char* SourceName; // under the updater's own folder
    const char* TargetName; // in the install folder; also what the dialog shows
};
constexpr int UpdateFileCount = 5;
extern const std::array<UpdateFile, UpdateFileCount> UpdateFileTable;

class TForm1 : public DialogEvents {
  public:
    // Creates the dialog, hidden, and runs FormCreate.
    explicit TForm1(Platform& platform);

    void FormCreate();
    void FormShow() override;
    void Button1Click() override;
    void Button2Click() override;

    void UpdateFiles(const Text& installPath);
    // Copies one row; false when the run is to stop before the next row.
    bool CopyDataFile(const Text& installPath, const UpdateFile& file);

    Text InstallPath;

    TControl Label1;
    TControl Label2;
    TControl Label3;
    TControl PathLabel;
    TControl Bevel1;
    TControl Button1;
    TControl Button2;
    TProgressBar ProgressBar1;

  private:
    void EnterNotInstalled();
    void EnterReady();
    void EnterRunning();
    void EnterFinished();
    void ShowOutcome();

    Platform& platform_;
};
