#include "FakePlatform.h"

#include "Main.h"

#include <algorithm>

const std::string InstallKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\RZB52.exe";

const char* ControlName(Control control) {
    switch (control) {
    case Control::Label1:
        return "Label1";
    case Control::Label2:
        return "Label2";
    case Control::Label3:
        return "Label3";
    case Control::PathLabel:
        return "PathLabel";
    case Control::Bevel1:
        return "Bevel1";
    case Control::Button1:
        return "Button1";
    case Control::Button2:
        return "Button2";
    case Control::ProgressBar1:
        return "ProgressBar1";
    }
    return "?";
}

void FakePlatform::AddFile(const std::string& path, const std::string& content, int year) {
    FakeFile file;
    file.content = content;
    file.year = year;
    files[path] = file;
}

void FakePlatform::RegisterInstallPath(const std::string& bytes, uint32_t type) {
    registryKeys.push_back(InstallKey);
    registryValues[InstallKey + "\\Path"] = FakeRegistryValue{type, bytes};
}

std::vector<std::string> FakePlatform::JournalFrom(const std::string& prefix) const {
    auto first = std::find_if(journal.begin(), journal.end(), [&](const std::string& entry) {
        return entry.rfind(prefix, 0) == 0;
    });
    return std::vector<std::string>(first, journal.end());
}

std::vector<std::string> FakePlatform::JournalMatching(const std::string& prefix) const {
    std::vector<std::string> matching;
    for (const auto& entry : journal) {
        if (entry.rfind(prefix, 0) == 0)
            matching.push_back(entry);
    }
    return matching;
}

// The captions and visibility a newly created dialog has, before FormCreate.
void FakePlatform::CreateMainDialog(DialogEvents& dialogEvents) {
    Record("CreateMainDialog");
    events = &dialogEvents;
    dialogCreated = true;
    controls[Control::Label1] = {
        "以下の場所にインストールされている「ザルミナ」をアップデートします。"};
    controls[Control::Label2] = {"「ザルミナ」を最新版にアップデートします。"};
    controls[Control::PathLabel] = {"PathLabel"};
    controls[Control::Bevel1] = {""};
    controls[Control::ProgressBar1] = {""};
    controls[Control::Label3] = {"FileName"};
    controls[Control::Button1] = {"実　行"};
    controls[Control::Button2] = {"キャンセル"};
}

void FakePlatform::SetApplicationTitle(const Text& title) {
    Record("SetApplicationTitle " + title);
    applicationTitle = title;
}

void FakePlatform::SetCaption(Control control, const Text& text) {
    Record(std::string("SetCaption ") + ControlName(control) + " " + text);
    controls.at(control).caption = text;
}

Text FakePlatform::ReadCaption(Control control) {
    Record(std::string("ReadCaption ") + ControlName(control));
    return controls.at(control).caption;
}

void FakePlatform::Show(Control control) {
    Record(std::string("Show ") + ControlName(control));
    controls.at(control).visible = true;
}

void FakePlatform::Hide(Control control) {
    Record(std::string("Hide ") + ControlName(control));
    controls.at(control).visible = false;
}

void FakePlatform::Enable(Control control) {
    Record(std::string("Enable ") + ControlName(control));
    controls.at(control).enabled = true;
}

void FakePlatform::Disable(Control control) {
    Record(std::string("Disable ") + ControlName(control));
    controls.at(control).enabled = false;
}

void FakePlatform::SetProgressMaximum(int maximum) {
    Record("SetProgressMaximum " + std::to_string(maximum));
    progressMaximum = maximum;
}

void FakePlatform::SetProgressPosition(int position) {
    Record("SetProgressPosition " + std::to_string(position));
    progressPosition = position;
}

void FakePlatform::StepProgress() {
    Record("StepProgress");
    ++progressPosition;
    if (progressPosition > progressMaximum) // the bar starts over, as a real one does
        progressPosition = 0;
}

int FakePlatform::ReadProgressPosition() {
    Record("ReadProgressPosition");
    return progressPosition;
}

void FakePlatform::Dispatch(void (DialogEvents::*handler)()) {
    try {
        (events->*handler)();
    } catch (const std::exception& error) {
        Record(std::string("ErrorBox ") + error.what());
        errorBoxes.push_back(error.what());
    }
}

void FakePlatform::RunEventLoop() {
    Record("RunEventLoop");
    Dispatch(&DialogEvents::FormShow);
    for (UserAction action : userActions) {
        if (closed)
            break;
        const Control button =
            action == UserAction::ClickButton1 ? Control::Button1 : Control::Button2;
        if (action == UserAction::CloseBox) {
            Record("CloseBox");
            closed = true;
        } else if (controls.at(button).visible && controls.at(button).enabled) {
            Dispatch(action == UserAction::ClickButton1 ? &DialogEvents::Button1Click
                                                        : &DialogEvents::Button2Click);
        }
    }
}

void FakePlatform::PumpMessages() {
    Record("PumpMessages");
    if (onPump)
        onPump();
}

void FakePlatform::CloseDialog() {
    Record("CloseDialog");
    closed = true;
}

Text FakePlatform::ReadRegistryString(RootKey root, const Text& keyPath, const Text& valueName) {
    Record("ReadRegistryString " + keyPath + " " + valueName);
    return ::ReadRegistryString(*this, root, keyPath, valueName);
}

bool FakePlatform::Open(RootKey root, const Text& subKey) {
    Record("RegOpenKey " + subKey);
    if (root != RootKey::LocalMachine || refuseOpen ||
        std::find(registryKeys.begin(), registryKeys.end(), subKey) == registryKeys.end())
        return false;
    openKey_ = subKey;
    ++keysOpen;
    return true;
}

const FakeRegistryValue* FakePlatform::OpenValue(const Text& valueName) const {
    auto found = registryValues.find(openKey_ + "\\" + valueName);
    return found == registryValues.end() ? nullptr : &found->second;
}

bool FakePlatform::QueryTypeAndSize(const Text& valueName, uint32_t& type, uint32_t& size) {
    Record("RegQueryTypeAndSize " + valueName);
    const FakeRegistryValue* value = OpenValue(valueName);
    if (failSizeQuery || value == nullptr)
        return false;
    type = value->type;
    size = static_cast<uint32_t>(value->bytes.size());
    return true;
}

bool FakePlatform::QueryData(const Text& valueName, std::vector<char>& data) {
    Record("RegQueryData " + valueName);
    const FakeRegistryValue* value = OpenValue(valueName);
    if (failDataRead || value == nullptr || value->bytes.size() > data.size())
        return false;
    std::copy(value->bytes.begin(), value->bytes.end(), data.begin());
    return true;
}

void FakePlatform::Close() {
    Record("RegCloseKey");
    --keysOpen;
    openKey_.clear();
}

bool FakePlatform::FilePresent(const Text& path) {
    Record("FilePresent " + path);
    auto found = files.find(path);
    if (found == files.end() || found->second.directory)
        return false;
    return found->second.year >= 1980 && found->second.year <= 2107; // MS-DOS time range
}

Text FakePlatform::OwnProgramPath() {
    Record("OwnProgramPath");
    return ownProgramPath;
}

bool FakePlatform::CopyFileReplacing(const Text& source, const Text& target) {
    Record("CopyFile " + source + " -> " + target);
    auto result = copyResults.find({source, target});
    if (result != copyResults.end())
        return result->second;

    auto from = files.find(source);
    auto folder = files.find(target.substr(0, target.rfind('\\')));
    auto to = files.find(target);
    if (from == files.end() || from->second.directory)
        return false;
    if (folder == files.end() || !folder->second.directory)
        return false;
    if (to != files.end() && (to->second.directory || to->second.locked))
        return false;
    FakeFile copy = from->second;
    copy.locked = false;
    files[target] = copy;
    return true;
}
