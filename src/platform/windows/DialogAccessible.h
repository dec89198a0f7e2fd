// The dialog's client area as a screen reader sees it. The labels have no
// windows, so the system's own object of the client area knows nothing of
// them: this one lists them as simple elements ahead of the windowed
// controls, and leaves everything else to the system's object.
#pragma once

#include "Labels.h"
#include "Win32.h"

class ClientObject;

class DialogAccessible {
  public:
    // In the order a screen reader reads them; they must outlive this.
    DialogAccessible(const Label& label1, const Label& label2, const Label& pathLabel,
                     const Label& label3)
        : labels_{&label1, &label2, &pathLabel, &label3} {}
    // A client still holding the object gets errors from then on.
    ~DialogAccessible();
    DialogAccessible(const DialogAccessible&) = delete;
    DialogAccessible& operator=(const DialogAccessible&) = delete;

    // The answer to WM_GETOBJECT. The object, COM and the libraries they
    // need come with the first client that asks: most users have none.
    LRESULT Answer(HWND window, WPARAM flags, LPARAM objectId);
    // Tells listening clients that a label was renamed, shown or hidden.
    void Changed(HWND window, const Label& label, DWORD event) const;

  private:
    const Label* labels_[4];
    ClientObject* object_ = nullptr;
    bool unavailable_ = false;
};
