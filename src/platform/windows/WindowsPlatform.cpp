#include "WindowsPlatform.h"
#include "Error.h"

#include "ChildControls.h"
#include "Files.h"
#include "Registry.h"
#include "StartupSteps.h"

WindowsPlatform::WindowsPlatform() : errorBox_(owner_.Handle()) {
    RegisterButtonClass(GetModuleHandleA(nullptr));
    MARK_STARTUP_STEP("button class");
}

WindowsPlatform::~WindowsPlatform() {
    owner_.SetCommands(nullptr);
}

DialogWindow& WindowsPlatform::Dialog() {
    if (!dialog_)
        throw Error("ダイアログが作成されていません");
    return *dialog_;
}

void WindowsPlatform::CreateMainDialog(DialogEvents& events) {
    dialog_.reset(new DialogWindow(owner_.Handle(), events, errorBox_));
    loop_.reset(new EventLoop(*dialog_, errorBox_));
    showing_.reset(new DialogShowing(*dialog_, owner_.Handle(), errorBox_, *loop_));
    owner_.SetCommands(showing_.get());
}

void WindowsPlatform::SetApplicationTitle(const Text& title) {
    owner_.SetTitle(title);
    MARK_STARTUP_STEP("application title");
}
void WindowsPlatform::SetCaption(Control control, const Text& text) {
    Dialog().SetCaption(control, text);
}
Text WindowsPlatform::ReadCaption(Control control) {
    return Dialog().ReadCaption(control);
}
void WindowsPlatform::Show(Control control) {
    Dialog().Show(control);
}
void WindowsPlatform::Hide(Control control) {
    Dialog().Hide(control);
}
void WindowsPlatform::Enable(Control control) {
    Dialog().Enable(control);
}
void WindowsPlatform::Disable(Control control) {
    Dialog().Disable(control);
}
void WindowsPlatform::SetProgressMaximum(int maximum) {
    Dialog().Bar().SetMaximum(maximum);
}
void WindowsPlatform::SetProgressPosition(int position) {
    Dialog().Bar().SetPosition(position);
}
void WindowsPlatform::StepProgress() {
    Dialog().Bar().Step();
}
int WindowsPlatform::ReadProgressPosition() {
    return Dialog().Bar().Position();
}

void WindowsPlatform::RunEventLoop() {
    Dialog();
    MARK_STARTUP_STEP("dialog: FormCreate");
    showing_->ShowAtStart();
    loop_->Run();
}

void WindowsPlatform::PumpMessages() {
    Dialog();
    loop_->Pump();
}

void WindowsPlatform::CloseDialog() {
    PostQuitMessage(0);
}

Text WindowsPlatform::ReadRegistryString(RootKey root, const Text& keyPath, const Text& valueName) {
    MARK_STARTUP_STEP("FormShow: entered");
    WindowsRegistryKey key;
    Text value = ::ReadRegistryString(key, root, keyPath, valueName);
    MARK_STARTUP_STEP("FormShow: registry read");
    return value;
}

bool WindowsPlatform::FilePresent(const Text& path) {
    const bool present = WindowsFilePresent(path);
    MARK_STARTUP_STEP("FormShow: file test");
    return present;
}
Text WindowsPlatform::OwnProgramPath() {
    return WindowsOwnProgramPath();
}

bool WindowsPlatform::CopyFileReplacing(const Text& source, const Text& target) {
    return WindowsCopyFile(source, target);
}
