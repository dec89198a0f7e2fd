#include "DialogAccessible.h"

#include <cstring>
#include <new>
#include <oleacc.h>

namespace {

constexpr ULONG LabelCount = 4;

// Loaded by full path from the system folder, like the common controls, and
// only when a client asks: the program imports nothing of COM.
struct ComFunctions {
    decltype(&CoInitializeEx) initialise;
    decltype(&CoDisconnectObject) disconnect;
    decltype(&CreateStdAccessibleObject) createStandard;
    decltype(&LresultFromObject) answer;
    decltype(&SysAllocStringLen) allocate;
} com;

HMODULE LoadSystemLibrary(const char* name) {
    char path[MAX_PATH];
    const UINT length = GetSystemDirectoryA(path, MAX_PATH);
    const size_t nameLength = std::strlen(name);
    if (length == 0 || length + 1 + nameLength >= MAX_PATH)
        return nullptr;
    path[length] = '\\';
    std::memcpy(path + length + 1, name, nameLength + 1);
    return LoadLibraryA(path);
}

template <class Function> void Find(HMODULE library, const char* name, Function& function) {
    function =
        library == nullptr
            ? nullptr
            : reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

bool LoadCom() {
    HMODULE ole32 = LoadSystemLibrary("ole32.dll");
    Find(ole32, "CoInitializeEx", com.initialise);
    Find(ole32, "CoDisconnectObject", com.disconnect);
    HMODULE oleacc = LoadSystemLibrary("oleacc.dll");
    Find(oleacc, "CreateStdAccessibleObject", com.createStandard);
    Find(oleacc, "LresultFromObject", com.answer);
    Find(LoadSystemLibrary("oleaut32.dll"), "SysAllocStringLen", com.allocate);
    return com.initialise && com.disconnect && com.createStandard && com.answer && com.allocate;
}

// The caption as DrawTextA shows it, in UTF-16: an "&" only marks the next
// character, and "&&" shows one "&". 0x26 is never part of a double-byte
// character in code page 932, so the runs between the marks convert whole.
// Without `out`, only counts.
UINT Shown(const Text& caption, WCHAR* out, UINT room) {
    UINT length = 0;
    size_t start = 0;
    for (size_t i = 0; i <= caption.size(); ++i) {
        if (i < caption.size() && caption[i] != '&')
            continue;
        if (i > start)
            length += static_cast<UINT>(MultiByteToWideChar(
                932, 0, caption.data() + start, static_cast<int>(i - start),
                out ? out + length : nullptr, out ? static_cast<int>(room - length) : 0));
        start = i + 1;
        if (start < caption.size() && caption[start] == '&')
            i = start; // the second one is shown: it opens the next run
    }
    return length;
}

void SetId(VARIANT* variant, LONG id) {
    variant->vt = VT_I4;
    variant->lVal = id;
}

} // namespace

// Every call comes on the dialog's thread: COM brings other processes'
// calls there through the apartment's messages.
class ClientObject final : public IAccessible, public IOleWindow {
  public:
    static ClientObject* Create(HWND window, const Label* const* labels) {
        if (!LoadCom() || FAILED(com.initialise(nullptr, COINIT_APARTMENTTHREADED)))
            return nullptr;
        void* standard = nullptr;
        if (FAILED(com.createStandard(window, OBJID_CLIENT, __uuidof(IAccessible), &standard)) ||
            standard == nullptr)
            return nullptr;
        auto* object =
            new (std::nothrow) ClientObject(window, labels, static_cast<IAccessible*>(standard));
        if (object == nullptr)
            static_cast<IAccessible*>(standard)->Release();
        return object;
    }

    // The dialog is going: nothing of it may be touched from now on.
    void Detach() {
        labels_ = nullptr;
        standard_->Release();
        standard_ = nullptr;
        com.disconnect(static_cast<IAccessible*>(this), 0);
    }

    // From `first` on, the labels' ids then the system's children.
    HRESULT Children(ULONG first, ULONG count, VARIANT* items, ULONG& fetched) {
        fetched = 0;
        if (standard_ == nullptr)
            return RPC_E_DISCONNECTED;
        for (; fetched < count && first + fetched < LabelCount; ++fetched)
            SetId(&items[fetched], static_cast<LONG>(first + fetched + 1));
        IEnumVARIANT* windows = nullptr;
        if (fetched < count && SUCCEEDED(standard_->QueryInterface(
                                   __uuidof(IEnumVARIANT), reinterpret_cast<void**>(&windows)))) {
            const ULONG skip = first + fetched - LabelCount;
            ULONG more = 0;
            if (SUCCEEDED(windows->Reset()) && (skip == 0 || windows->Skip(skip) == S_OK) &&
                SUCCEEDED(windows->Next(count - fetched, items + fetched, &more)))
                fetched += more;
            windows->Release();
        }
        return fetched == count ? S_OK : S_FALSE;
    }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0)
            delete this;
        return left;
    }

    // IDispatch: clients of the dialog use the interface's own methods.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count == nullptr)
            return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        return E_NOTIMPL;
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return standard_ ? standard_->get_accParent(parent) : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        if (standard_ == nullptr)
            return RPC_E_DISCONNECTED;
        const HRESULT result = standard_->get_accChildCount(count);
        if (result == S_OK)
            *count += static_cast<LONG>(LabelCount);
        return result;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
        if (standard_ == nullptr)
            return RPC_E_DISCONNECTED;
        if (LabelAt(child) == nullptr)
            return standard_->get_accChild(child, object);
        if (object == nullptr)
            return E_POINTER;
        *object = nullptr; // a simple element
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (standard_ == nullptr)
            return RPC_E_DISCONNECTED;
        const Label* label = LabelAt(child);
        if (label == nullptr)
            return standard_->get_accName(child, name);
        if (name == nullptr)
            return E_POINTER;
        const UINT length = Shown(label->caption, nullptr, 0);
        *name = com.allocate(nullptr, length);
        if (*name == nullptr)
            return E_OUTOFMEMORY;
        Shown(label->caption, *name, length);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return NoText(child, value, &IAccessible::get_accValue);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
        return NoText(child, description, &IAccessible::get_accDescription);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (standard_ == nullptr)
            return RPC_E_DISCONNECTED;
        if (LabelAt(child) == nullptr)
            return standard_->get_accRole(child, role);
        if (role == nullptr)
            return E_POINTER;
        SetId(role, ROLE_SYSTEM_STATICTEXT);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        if (standard_ == nullptr)
            return RPC_E_DISCONNECTED;
        const Label* label = LabelAt(child);
        if (label == nullptr)
            return standard_->get_accState(child, state);
        if (state == nullptr)
            return E_POINTER;
        SetId(state, STATE_SYSTEM_READONLY | (label->visible ? 0 : STATE_SYSTEM_INVISIBLE));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return NoText(child, help, &IAccessible::get_accHelp);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
        if (standard_ == nullptr)
            return RPC_E_DISCONNECTED;
        if (LabelAt(child) == nullptr)
            return standard_->get_accHelpTopic(file, child, topic);
        if (file == nullptr || topic == nullptr)
            return E_POINTER;
        *file = nullptr;
        *topic = 0;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        return NoText(child, shortcut, &IAccessible::get_accKeyboardShortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
        return standard_ ? standard_->get_accFocus(child) : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
        return standard_ ? standard_->get_accSelection(children) : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return NoText(child, action, &IAccessible::get_accDefaultAction);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
        if (standard_ == nullptr)
            return RPC_E_DISCONNECTED;
        return LabelAt(child) ? DISP_E_MEMBERNOTFOUND : standard_->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          VARIANT child) override {
        if (standard_ == nullptr)
            return RPC_E_DISCONNECTED;
        const Label* label = LabelAt(child);
        if (label == nullptr)
            return standard_->accLocation(left, top, width, height, child);
        if (left == nullptr || top == nullptr || width == nullptr || height == nullptr)
            return E_POINTER;
        POINT corner = {label->box.left, label->box.top};
        ClientToScreen(window_, &corner);
        *left = corner.x;
        *top = corner.y;
        *width = label->box.width;
        *height = label->box.height;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override;
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override;
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        if (standard_ == nullptr)
            return RPC_E_DISCONNECTED;
        return LabelAt(child) ? DISP_E_MEMBERNOTFOUND : standard_->accDoDefaultAction(child);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
        if (standard_ == nullptr)
            return RPC_E_DISCONNECTED;
        return LabelAt(child) ? DISP_E_MEMBERNOTFOUND : standard_->put_accName(child, name);
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        if (standard_ == nullptr)
            return RPC_E_DISCONNECTED;
        return LabelAt(child) ? DISP_E_MEMBERNOTFOUND : standard_->put_accValue(child, value);
    }

    // IOleWindow: how a client finds the window of an object.
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
        if (window == nullptr)
            return E_POINTER;
        *window = standard_ ? window_ : nullptr;
        return standard_ ? S_OK : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

  private:
    ClientObject(HWND window, const Label* const* labels, IAccessible* standard)
        : window_(window), labels_(labels), standard_(standard) {}
    ~ClientObject() = default;

    const Label* LabelAt(const VARIANT& child) const {
        if (child.vt != VT_I4 || child.lVal < 1 || child.lVal > static_cast<LONG>(LabelCount))
            return nullptr;
        return labels_[child.lVal - 1];
    }

    // A text that labels do not have.
    HRESULT NoText(const VARIANT& child, BSTR* text,
                   HRESULT (STDMETHODCALLTYPE IAccessible::*standardText)(VARIANT, BSTR*)) {
        if (standard_ == nullptr)
            return RPC_E_DISCONNECTED;
        if (LabelAt(child) == nullptr)
            return (standard_->*standardText)(child, text);
        if (text == nullptr)
            return E_POINTER;
        *text = nullptr;
        return S_FALSE;
    }

    LONG references_ = 1;
    HWND window_;
    const Label* const* labels_;
    IAccessible* standard_; // null once detached
};

namespace {

// One pass over the children. A tear-off: the object itself answers for
// every other interface, so that clients see one identity.
class ChildEnumerator final : public IEnumVARIANT {
  public:
    ChildEnumerator(ClientObject& object, ULONG position) : object_(object), position_(position) {
        object_.AddRef();
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (out == nullptr)
            return E_POINTER;
        if (iid != __uuidof(IEnumVARIANT))
            return object_.QueryInterface(iid, out);
        AddRef();
        *out = static_cast<IEnumVARIANT*>(this);
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0)
            delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* items, ULONG* fetched) override {
        if (items == nullptr || (fetched == nullptr && count != 1))
            return E_POINTER;
        ULONG done = 0;
        const HRESULT result = object_.Children(position_, count, items, done);
        position_ += done;
        if (fetched != nullptr)
            *fetched = done;
        return result;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
        LONG total = 0;
        const HRESULT result = object_.get_accChildCount(&total);
        if (FAILED(result))
            return result;
        position_ += count;
        if (position_ <= static_cast<ULONG>(total))
            return S_OK;
        position_ = static_cast<ULONG>(total);
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        position_ = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** copy) override {
        if (copy == nullptr)
            return E_POINTER;
        *copy = new (std::nothrow) ChildEnumerator(object_, position_);
        return *copy ? S_OK : E_OUTOFMEMORY;
    }

  private:
    ~ChildEnumerator() { object_.Release(); }

    ClientObject& object_;
    ULONG position_;
    LONG references_ = 1;
};

} // namespace

HRESULT ClientObject::QueryInterface(REFIID iid, void** out) {
    if (out == nullptr)
        return E_POINTER;
    if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible)) {
        *out = static_cast<IAccessible*>(this);
    } else if (iid == __uuidof(IOleWindow)) {
        *out = static_cast<IOleWindow*>(this);
    } else if (iid == __uuidof(IEnumVARIANT)) {
        *out = new (std::nothrow) ChildEnumerator(*this, 0);
        return *out ? S_OK : E_OUTOFMEMORY;
    } else {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

// Between the labels and on to the system's children, in the order they are
// listed: Wine's object navigates to none of its own.
HRESULT ClientObject::accNavigate(LONG direction, VARIANT start, VARIANT* end) {
    if (standard_ == nullptr)
        return RPC_E_DISCONNECTED;
    const bool fromSelf = start.vt == VT_I4 && start.lVal == CHILDID_SELF;
    const bool first = fromSelf && direction == NAVDIR_FIRSTCHILD;
    const bool last = fromSelf && direction == NAVDIR_LASTCHILD;
    if (LabelAt(start) == nullptr && !first && !last)
        return standard_->accNavigate(direction, start, end);
    if (end == nullptr)
        return E_POINTER;
    LONG index = -1; // in the list of children
    if (first)
        index = 0;
    else if (last && get_accChildCount(&index) == S_OK)
        index -= 1;
    else if (!fromSelf && direction == NAVDIR_NEXT)
        index = start.lVal;
    else if (!fromSelf && direction == NAVDIR_PREVIOUS)
        index = start.lVal - 2;
    end->vt = VT_EMPTY;
    ULONG fetched = 0;
    if (index >= 0)
        Children(static_cast<ULONG>(index), 1, end, fetched);
    return fetched == 1 ? S_OK : S_FALSE;
}

// A window over a label is hit first: the labels are painted below them.
HRESULT ClientObject::accHitTest(LONG x, LONG y, VARIANT* child) {
    if (standard_ == nullptr)
        return RPC_E_DISCONNECTED;
    const HRESULT result = standard_->accHitTest(x, y, child);
    if (result != S_OK || child->vt != VT_I4 || child->lVal != CHILDID_SELF)
        return result;
    POINT point = {x, y};
    ScreenToClient(window_, &point);
    for (ULONG i = 0; i < LabelCount; ++i) {
        const ControlBox& box = labels_[i]->box;
        if (labels_[i]->visible && point.x >= box.left && point.x < box.left + box.width &&
            point.y >= box.top && point.y < box.top + box.height)
            SetId(child, static_cast<LONG>(i + 1));
    }
    return S_OK;
}

DialogAccessible::~DialogAccessible() {
    if (object_ != nullptr) {
        object_->Detach();
        object_->Release();
    }
}

LRESULT DialogAccessible::Answer(HWND window, WPARAM flags, LPARAM objectId) {
    if (static_cast<LONG>(static_cast<DWORD>(objectId)) == OBJID_CLIENT && !unavailable_) {
        if (object_ == nullptr)
            object_ = ClientObject::Create(window, labels_);
        unavailable_ = object_ == nullptr;
        if (object_ != nullptr) {
            const LRESULT answer =
                com.answer(__uuidof(IAccessible), flags, static_cast<IAccessible*>(object_));
            if (answer > 0)
                return answer;
        }
    }
    return DefWindowProcA(window, WM_GETOBJECT, flags, objectId);
}

void DialogAccessible::Changed(HWND window, const Label& label, DWORD event) const {
    for (ULONG i = 0; i < LabelCount; ++i) {
        if (labels_[i] == &label)
            NotifyWinEvent(event, window, OBJID_CLIENT, static_cast<LONG>(i + 1));
    }
}
