// The platform operations, carried out with the Windows API.
#pragma once

#include "DialogWindow.h"
#include "ErrorBox.h"
#include "EventLoop.h"
#include "OwnerWindow.h"
#include "Platform.h"
#include "Showing.h"

#include <memory>

class WindowsPlatform : public Platform {
  public:
    WindowsPlatform();
    ~WindowsPlatform() override;

    void CreateMainDialog(DialogEvents& events) override;
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
    DialogWindow& Dialog();

    OwnerWindow owner_;
    ErrorBox errorBox_;
    std::unique_ptr<DialogWindow> dialog_;
    std::unique_ptr<EventLoop> loop_;
    std::unique_ptr<DialogShowing> showing_;
};
