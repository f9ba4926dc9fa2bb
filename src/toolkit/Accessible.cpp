#include "toolkit/Accessible.h"

#include <windows.h>
#include <ole2.h>
#include <oleacc.h>

#include <new>
#include <utility>
#include <vector>

#include "toolkit/Controls.h"
#include "toolkit/Exceptions.h"
#include "toolkit/SystemLibrary.h"

namespace zq {

namespace {

using CreateStdFn = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
using LresultFn = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
using AllocStringFn = BSTR(WINAPI*)(const OLECHAR*, UINT);
using CoInitializeExFn = HRESULT(WINAPI*)(LPVOID, DWORD);
using CoUninitializeFn = void(WINAPI*)();
using CoDisconnectFn = HRESULT(WINAPI*)(LPUNKNOWN, DWORD);

long gLiveObjects = 0;

// The system's accessibility and COM, from the first object built until the last window that
// holds one goes. COM is started on the thread: the objects are marshalled to the screen
// reader's process.
class TAccessRuntime {
public:
    TAccessRuntime() {
        CreateStd = FOleAcc.Proc<CreateStdFn>("CreateStdAccessibleObject");
        Lresult = FOleAcc.Proc<LresultFn>("LresultFromObject");
        AllocString = FOleAut.Proc<AllocStringFn>("SysAllocStringLen");
        Disconnect = FOle.Proc<CoDisconnectFn>("CoDisconnectObject");
        FUninitialize = FOle.Proc<CoUninitializeFn>("CoUninitialize");
        auto initialize = FOle.Proc<CoInitializeExFn>("CoInitializeEx");
        if (!CreateStd || !Lresult || !AllocString || !Disconnect || !FUninitialize || !initialize)
            return;
        const HRESULT started = initialize(nullptr, COINIT_APARTMENTTHREADED);
        FStarted = SUCCEEDED(started); // S_FALSE too: every start is ended once
        FReady = FStarted || started == RPC_E_CHANGED_MODE;
    }
    ~TAccessRuntime() {
        if (FStarted)
            FUninitialize();
    }
    TAccessRuntime(const TAccessRuntime&) = delete;
    TAccessRuntime& operator=(const TAccessRuntime&) = delete;

    bool Ready() const { return FReady; }

    CreateStdFn CreateStd = nullptr;
    LresultFn Lresult = nullptr;
    AllocStringFn AllocString = nullptr;
    CoDisconnectFn Disconnect = nullptr;
    int Users = 0;

private:
    TSystemLibrary FOle{"ole32.dll"};
    TSystemLibrary FOleAut{"oleaut32.dll"};
    TSystemLibrary FOleAcc{"oleacc.dll"};
    CoUninitializeFn FUninitialize = nullptr;
    bool FStarted = false;
    bool FReady = false;
};

TAccessRuntime* gRuntime = nullptr;

TAccessRuntime* UseRuntime() {
    if (gRuntime == nullptr) {
        auto* runtime = new TAccessRuntime;
        if (!runtime->Ready()) {
            delete runtime;
            return nullptr;
        }
        gRuntime = runtime;
    }
    ++gRuntime->Users;
    return gRuntime;
}

void LeaveRuntime() {
    if (--gRuntime->Users == 0) {
        delete gRuntime;
        gRuntime = nullptr;
    }
}

LONG SystemRole(TAccessibleRole role) {
    switch (role) {
    case TAccessibleRole::Chart:
        return ROLE_SYSTEM_CHART;
    case TAccessibleRole::ProgressBar:
        return ROLE_SYSTEM_PROGRESSBAR;
    default:
        return ROLE_SYSTEM_GRAPHIC;
    }
}

VARIANT ChildVariant(LONG id) {
    VARIANT v;
    V_VT(&v) = VT_I4;
    V_I4(&v) = id;
    return v;
}

// The control whose record speaks for the window itself: the window when it is named, else the
// named graphic control that fills it.
TControl* SelfSource(TWinControl& window) {
    return window.AccessibleInfo() != nullptr ? &window : AccessibleStandIn(window);
}

bool Presents(TWinControl& window) {
    if (window.AccessibleInfo() != nullptr)
        return true;
    for (int i = 0; i < window.ControlCount(); ++i)
        if (window.Controls(i)->AsGraphicControl() != nullptr &&
            window.Controls(i)->AccessibleInfo() != nullptr)
            return true;
    return false;
}

} // namespace

// ---- Items

void DescribeControl(TControl& control, TAccessibleItem& item) {
    control.DescribeAccessible(item);
    if (const TAccessibleInfo* info = control.AccessibleInfo()) {
        if (info->Name)
            item.Name = info->Name();
        if (info->Value)
            item.Value = info->Value();
    }
    item.Bounds = control.BoundsRect();
    item.Visible = control.Visible();
}

TControl* AccessibleStandIn(const TWinControl& window) {
    for (int i = 0; i < window.ControlCount(); ++i) {
        TControl* c = window.Controls(i);
        if (c->AsGraphicControl() != nullptr && c->AccessibleInfo() != nullptr &&
            c->Align() == TAlign::alClient)
            return c;
    }
    return nullptr;
}

// ---- The object

// A window's client area as a screen reader sees it: the system's standard object for the
// window, with the window itself described by the control that speaks for it and the program's
// own children after the child windows.
class TAccessibleClient final : public IAccessible, public IEnumVARIANT {
public:
    TAccessibleClient(TWinControl& window, IAccessible* standard)
        : FWindow(&window), FStandard(standard) {
        ++gLiveObjects;
    }
    ~TAccessibleClient() { --gLiveObjects; }
    TAccessibleClient(const TAccessibleClient&) = delete;
    TAccessibleClient& operator=(const TAccessibleClient&) = delete;

    // The window is going: no call reaches it again, remote clients lose the object and the
    // window's reference is given up.
    void Disconnect() {
        FWindow = nullptr;
        FStandard->Release();
        FStandard = nullptr;
        gRuntime->Disconnect(static_cast<IAccessible*>(this), 0);
        LeaveRuntime();
        Release();
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
        if (object == nullptr)
            return E_POINTER;
        *object = nullptr;
        if (riid == __uuidof(IEnumVARIANT))
            *object = static_cast<IEnumVARIANT*>(this);
        else if (riid == __uuidof(IUnknown) || riid == __uuidof(IDispatch) ||
                 riid == __uuidof(IAccessible))
            *object = static_cast<IAccessible*>(this);
        else
            return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++FReferences; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --FReferences;
        if (left == 0)
            delete this;
        return left;
    }

    // IDispatch: no type information; clients call the IAccessible methods.
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

    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return FWindow == nullptr ? CO_E_OBJNOTCONNECTED : FStandard->get_accParent(parent);
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
        if (count == nullptr)
            return E_POINTER;
        TGathered g;
        const HRESULT hr = Gather(g);
        *count = SUCCEEDED(hr) ? g.Ids.Count() : 0;
        return hr;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** dispatch) override {
        if (dispatch == nullptr)
            return E_POINTER;
        *dispatch = nullptr;
        TTarget t;
        HRESULT hr = Resolve(child, t);
        if (FAILED(hr) || t.Kind == TTarget::OwnChild)
            return FAILED(hr) ? hr : S_FALSE; // an own child is a simple element
        return t.Kind == TTarget::Object ? E_INVALIDARG : FStandard->get_accChild(child, dispatch);
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        return Text(child, name, &TAccessibleItem::Name, &IAccessible::get_accName);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return Text(child, value, &TAccessibleItem::Value, &IAccessible::get_accValue);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        return Text(child, text, nullptr, &IAccessible::get_accDescription);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* text) override {
        return Text(child, text, nullptr, &IAccessible::get_accHelp);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* text) override {
        return Text(child, text, nullptr, &IAccessible::get_accKeyboardShortcut);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* text) override {
        return Text(child, text, nullptr, &IAccessible::get_accDefaultAction);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
        if (file == nullptr || topic == nullptr)
            return E_POINTER;
        *file = nullptr;
        *topic = -1;
        TTarget t;
        const HRESULT hr = Resolve(child, t);
        if (FAILED(hr) || t.Kind == TTarget::OwnChild)
            return FAILED(hr) ? hr : S_FALSE;
        return FStandard->get_accHelpTopic(file, child, topic);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (role == nullptr)
            return E_POINTER;
        V_VT(role) = VT_EMPTY;
        TTarget t;
        const HRESULT hr = Resolve(child, t);
        if (FAILED(hr) || t.Item == nullptr)
            return FAILED(hr) ? hr : FStandard->get_accRole(child, role);
        *role = ChildVariant(SystemRole(t.Item->Role));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        if (state == nullptr)
            return E_POINTER;
        V_VT(state) = VT_EMPTY;
        TTarget t;
        HRESULT hr = Resolve(child, t);
        if (FAILED(hr) || t.Item == nullptr)
            return FAILED(hr) ? hr : FStandard->get_accState(child, state);
        LONG bits = STATE_SYSTEM_READONLY | (t.Item->Visible ? 0 : STATE_SYSTEM_INVISIBLE);
        // The window's own state holds for what it shows: hidden, off screen.
        VARIANT window;
        V_VT(&window) = VT_EMPTY;
        if (FStandard->get_accState(ChildVariant(CHILDID_SELF), &window) == S_OK &&
            V_VT(&window) == VT_I4)
            bits |= t.Kind == TTarget::Object
                        ? V_I4(&window)
                        : V_I4(&window) & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN);
        *state = ChildVariant(bits);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        return FWindow == nullptr ? CO_E_OBJNOTCONNECTED : FStandard->get_accFocus(focus);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        return FWindow == nullptr ? CO_E_OBJNOTCONNECTED : FStandard->get_accSelection(selection);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
        TTarget t;
        const HRESULT hr = Resolve(child, t);
        if (FAILED(hr) || t.Kind == TTarget::OwnChild)
            return FAILED(hr) ? hr : DISP_E_MEMBERNOTFOUND;
        return FStandard->accSelect(flags, child);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        TTarget t;
        const HRESULT hr = Resolve(child, t);
        if (FAILED(hr) || t.Kind == TTarget::OwnChild)
            return FAILED(hr) ? hr : DISP_E_MEMBERNOTFOUND;
        return FStandard->accDoDefaultAction(child);
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          VARIANT child) override {
        if (left == nullptr || top == nullptr || width == nullptr || height == nullptr)
            return E_POINTER;
        *left = *top = *width = *height = 0;
        TTarget t;
        const HRESULT hr = Resolve(child, t);
        if (FAILED(hr) || t.Kind != TTarget::OwnChild)
            return FAILED(hr) ? hr : FStandard->accLocation(left, top, width, height, child);
        const TRect& r = t.Item->Bounds;
        POINT origin{r.Left, r.Top};
        ClientToScreen(FWindow->Handle(), &origin);
        *left = origin.x;
        *top = origin.y;
        *width = r.Width();
        *height = r.Height();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
        if (end == nullptr)
            return E_POINTER;
        V_VT(end) = VT_EMPTY;
        TTarget t;
        const HRESULT hr = Resolve(start, t);
        if (FAILED(hr))
            return hr;
        if (direction < NAVDIR_UP || direction > NAVDIR_LASTCHILD)
            return E_INVALIDARG;
        const LONG to = t.Ids.Navigate(static_cast<TNavigation>(direction), t.Id);
        if (to == TAccessibleChildren::kStandardAnswers)
            return FStandard->accNavigate(direction, start, end);
        if (to == TAccessibleChildren::kNone)
            return S_FALSE;
        *end = ChildVariant(to);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* child) override {
        if (child == nullptr)
            return E_POINTER;
        V_VT(child) = VT_EMPTY;
        if (FWindow == nullptr)
            return CO_E_OBJNOTCONNECTED;
        HRESULT hr = FStandard->accHitTest(x, y, child);
        if (hr != S_OK || V_VT(child) != VT_I4 || V_I4(child) != CHILDID_SELF)
            return hr;
        // On the window's own surface: an own child there, else the window.
        TGathered g;
        hr = Gather(g);
        if (FAILED(hr))
            return hr;
        POINT at{x, y};
        ScreenToClient(FWindow->Handle(), &at);
        const int index = AccessibleItemAt(g.Own, {at.x, at.y});
        if (index >= 0)
            V_I4(child) = g.Ids.OwnId(index);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

    // The children as AccessibleChildren lists them: the standard object's, as it lists them
    // (child windows as objects), then the own ones by id.
    HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* children, ULONG* fetched) override {
        if (children == nullptr)
            return E_POINTER;
        TGathered g;
        const HRESULT hr = Gather(g);
        ULONG got = 0;
        for (; SUCCEEDED(hr) && got < count && FPosition < g.Ids.Count(); ++got, ++FPosition) {
            VARIANT& child = children[got];
            if (FPosition >= g.Ids.Standard)
                child = ChildVariant(g.Ids.OwnId(static_cast<int>(FPosition - g.Ids.Standard)));
            else if (!StandardChild(FPosition, child))
                child = ChildVariant(FPosition + 1);
        }
        if (fetched != nullptr)
            *fetched = got;
        return FAILED(hr) ? hr : got == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
        LONG children = 0;
        const HRESULT hr = get_accChildCount(&children);
        if (FAILED(hr))
            return hr;
        const bool within = FPosition + static_cast<long long>(count) <= children;
        FPosition = within ? FPosition + static_cast<LONG>(count) : children;
        return within ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        FPosition = 0;
        return FWindow == nullptr ? CO_E_OBJNOTCONNECTED : S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** copy) override {
        if (copy != nullptr)
            *copy = nullptr;
        return E_NOTIMPL;
    }

private:
    // The window's items as they are now.
    struct TGathered {
        TAccessibleChildren Ids;
        bool SelfDescribed = false;
        TAccessibleItem Self;
        std::vector<TAccessibleItem> Own;
    };
    // What a child id names: the window itself, a child window (the standard object answers)
    // or an own child; Item is set where the program describes it.
    struct TTarget : TGathered {
        enum { Object, ChildWindow, OwnChild } Kind = Object;
        LONG Id = CHILDID_SELF;
        const TAccessibleItem* Item = nullptr;
    };

    // Fills `g` from the window's controls; a failure in them ends here.
    HRESULT Gather(TGathered& g) {
        if (FWindow == nullptr)
            return CO_E_OBJNOTCONNECTED;
        LONG standard = 0;
        if (FAILED(FStandard->get_accChildCount(&standard)))
            standard = 0;
        try {
            TControl* self = SelfSource(*FWindow);
            if (self != nullptr) {
                g.SelfDescribed = true;
                DescribeControl(*self, g.Self);
            }
            TControl* standIn = AccessibleStandIn(*FWindow);
            for (int i = 0; i < FWindow->ControlCount(); ++i) {
                TControl* c = FWindow->Controls(i);
                if (c != standIn && c->AsGraphicControl() != nullptr &&
                    c->AccessibleInfo() != nullptr)
                    DescribeControl(*c, g.Own.emplace_back());
            }
            const TAccessibleInfo* info = self != nullptr ? self->AccessibleInfo() : nullptr;
            const int parts =
                info != nullptr && info->PartCount && info->Part ? info->PartCount() : 0;
            for (int i = 0; i < parts; ++i) {
                TAccessibleItem& part = g.Own.emplace_back();
                part.Bounds = self == FWindow ? FWindow->ClientRect() : self->BoundsRect();
                info->Part(i, part);
            }
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        } catch (...) {
            HandleCurrentException(FWindow);
            return E_FAIL;
        }
        g.Ids = {standard, static_cast<long>(g.Own.size())};
        return S_OK;
    }

    HRESULT Resolve(const VARIANT& child, TTarget& t) {
        const HRESULT hr = Gather(t);
        if (FAILED(hr))
            return hr;
        if (V_VT(&child) != VT_I4 && V_VT(&child) != VT_EMPTY) // empty: the object itself
            return E_INVALIDARG;
        const LONG id = t.Id = V_VT(&child) == VT_I4 ? V_I4(&child) : CHILDID_SELF;
        const int own = t.Ids.OwnIndex(id);
        t.Kind = id == CHILDID_SELF ? TTarget::Object
                 : own >= 0         ? TTarget::OwnChild
                                    : TTarget::ChildWindow;
        if (own >= 0)
            t.Item = &t.Own[own];
        else if (id == CHILDID_SELF && t.SelfDescribed)
            t.Item = &t.Self;
        return S_OK;
    }

    // The standard object's child at `index` as it enumerates it (child windows as objects).
    bool StandardChild(LONG index, VARIANT& child) {
        IEnumVARIANT* children = nullptr;
        V_VT(&child) = VT_EMPTY;
        if (FStandard->QueryInterface(__uuidof(IEnumVARIANT),
                                      reinterpret_cast<void**>(&children)) != S_OK)
            return false;
        ULONG got = 0;
        const bool found = children->Reset() == S_OK &&
                           (index == 0 || children->Skip(static_cast<ULONG>(index)) == S_OK) &&
                           children->Next(1, &child, &got) == S_OK && got == 1;
        children->Release();
        return found;
    }

    // A text of the item the program describes (none for `field` nullptr), else the standard
    // object's.
    HRESULT Text(const VARIANT& child, BSTR* out, std::string TAccessibleItem::*field,
                 HRESULT (STDMETHODCALLTYPE IAccessible::*standard)(VARIANT, BSTR*)) {
        if (out == nullptr)
            return E_POINTER;
        *out = nullptr;
        TTarget t;
        const HRESULT hr = Resolve(child, t);
        if (FAILED(hr))
            return hr;
        if (t.Item == nullptr || (field == nullptr && t.Kind != TTarget::OwnChild))
            return (FStandard->*standard)(child, out);
        if (field == nullptr) // an own child has a name and a value only
            return S_FALSE;
        const std::string& text = t.Item->*field;
        if (text.empty())
            return S_FALSE;
        const int size = static_cast<int>(text.size());
        const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
        *out = gRuntime->AllocString(nullptr, static_cast<UINT>(length));
        if (*out == nullptr)
            return E_OUTOFMEMORY;
        MultiByteToWideChar(CP_ACP, 0, text.data(), size, *out, length);
        return S_OK;
    }

    ULONG FReferences = 1; // the window's
    LONG FPosition = 0;    // of the enumeration
    TWinControl* FWindow;
    IAccessible* FStandard;
};

void DisconnectAccessibleObject(TAccessibleClient*& object) {
    if (object != nullptr)
        std::exchange(object, nullptr)->Disconnect();
}

long LiveAccessibleObjects() {
    return gLiveObjects;
}

// ---- Controls

TAccessibleInfo& TControl::Accessible() {
    if (!FAccessible)
        FAccessible = std::make_unique<TAccessibleInfo>();
    return *FAccessible;
}

void TControl::SetAccessibleName(const std::string& name) {
    Accessible().Name = [name] { return name; };
}

void TControl::AccessibleValueChanged() {
    if (!FAccessible)
        return;
    TWinControl* window = AsWinControl();
    if (window == nullptr && FParent != nullptr && AccessibleStandIn(*FParent) == this)
        window = FParent;
    if (window == nullptr || !window->HandleAllocated() || !window->Showing())
        return;
    TAccessibleItem item;
    DescribeAccessible(item);
    if (FAccessible->Value)
        item.Value = FAccessible->Value();
    if (FAccessible->Gate.Pass(item.Value, GetTickCount()))
        NotifyWinEvent(EVENT_OBJECT_VALUECHANGE, window->Handle(), OBJID_CLIENT, CHILDID_SELF);
}

bool TWinControl::WMGetObject(TMessage& m) {
    if (static_cast<DWORD>(m.LParam) != static_cast<DWORD>(OBJID_CLIENT))
        return false;
    if (FAccessibleObject == nullptr) {
        if (!Presents(*this))
            return false;
        TAccessRuntime* runtime = UseRuntime();
        if (runtime == nullptr)
            return false; // no oleacc (Windows 95 without Active Accessibility): the system's
        IAccessible* standard = nullptr;
        if (FAILED(runtime->CreateStd(Handle(), OBJID_CLIENT, __uuidof(IAccessible),
                                      reinterpret_cast<void**>(&standard))) ||
            standard == nullptr) {
            LeaveRuntime();
            return false;
        }
        FAccessibleObject = new (std::nothrow) TAccessibleClient(*this, standard);
        if (FAccessibleObject == nullptr) {
            standard->Release();
            LeaveRuntime();
            return false;
        }
    }
    m.Result = gRuntime->Lresult(__uuidof(IAccessible), m.WParam,
                                 static_cast<IAccessible*>(FAccessibleObject));
    return true;
}

} // namespace zq
