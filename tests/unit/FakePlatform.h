// An in-memory stand-in for Windows: the dialog as a table of controls, a
// registry of raw values, a file system, and a journal of every platform
// operation in the order the logic called it.
#pragma once

#include "Platform.h"
#include "RegistryString.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

struct FakeControl {
    Text caption;
    bool visible = true;
    bool enabled = true;
};

struct FakeRegistryValue {
    uint32_t type = RegistryKeyAccess::TypeString;
    std::string bytes;
};

struct FakeFile {
    bool directory = false;
    int year = 2024; // of its last write, local time
    std::string content;
    bool locked = false; // held open without sharing
};

// What the user does once the dialog is shown, in order.
enum class UserAction { ClickButton1, ClickButton2, CloseBox };

class FakePlatform : public Platform, private RegistryKeyAccess {
  public:
    // --- what the test sets up
    std::map<std::string, FakeRegistryValue> registryValues; // by "key\\value name"
    std::vector<std::string> registryKeys;                   // keys that exist
    bool refuseOpen = false;
    bool failSizeQuery = false;
    bool failDataRead = false;

    std::map<std::string, FakeFile> files;                           // by full path; folders too
    std::map<std::pair<std::string, std::string>, bool> copyResults; // overrides by source, target
    Text ownProgramPath = "C:\\Delivery\\Update.exe";

    std::vector<UserAction> userActions;
    std::function<void()> onPump; // input that arrives while a run pumps

    // --- what the test reads back
    std::vector<std::string> journal;
    std::map<Control, FakeControl> controls;
    int progressMaximum = 20;
    int progressPosition = 0;
    bool dialogCreated = false;
    bool closed = false;
    Text applicationTitle;
    std::vector<Text> errorBoxes;
    int keysOpen = 0;
    DialogEvents* events = nullptr;

    void AddFolder(const std::string& path) { files[path].directory = true; }
    void AddFile(const std::string& path, const std::string& content, int year = 2024);
    // Registers the App Paths "Path" value the updater reads.
    void RegisterInstallPath(const std::string& bytes,
                             uint32_t type = RegistryKeyAccess::TypeString);
    // Journal entries from the first one that starts with `prefix`.
    std::vector<std::string> JournalFrom(const std::string& prefix) const;
    std::vector<std::string> JournalMatching(const std::string& prefix) const;

    // --- Platform
    void CreateMainDialog(DialogEvents& dialogEvents) override;
    void SetApplicationTitle(const Text& title) override;
    void SetCaption(Control control, const Text& text) override;
    Text ReadCaption(Control control) override;
    void Show(Control control) override;
    void Hide(Control control) override;
    void Enable(Control control) override;
    void Disable(Control control) override;
    void SetProgressMaximum(int maximum) override;
    void SetProgressPosition(int position) override;
    void StepProgress() override;
    int ReadProgressPosition() override;
    void RunEventLoop() override;
    void PumpMessages() override;
    void CloseDialog() override;
    Text ReadRegistryString(RootKey root, const Text& keyPath, const Text& valueName) override;
    bool FilePresent(const Text& path) override;
    Text OwnProgramPath() override;
    bool CopyFileReplacing(const Text& source, const Text& target) override;

  private:
    // --- RegistryKeyAccess
    bool Open(RootKey root, const Text& subKey) override;
    bool QueryTypeAndSize(const Text& valueName, uint32_t& type, uint32_t& size) override;
    bool QueryData(const Text& valueName, std::vector<char>& data) override;
    void Close() override;

    void Record(const std::string& entry) { journal.push_back(entry); }
    // Runs a handler the way the window system does: an escaping error goes to the error box.
    void Dispatch(void (DialogEvents::*handler)());
    const FakeRegistryValue* OpenValue(const Text& valueName) const;

    std::string openKey_;
};

const char* ControlName(Control control);

// The key and value the updater reads, as the fake files them.
extern const std::string InstallKey;
