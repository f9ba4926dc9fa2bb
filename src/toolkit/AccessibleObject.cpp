#include "toolkit/AccessibleObject.h"

#include <algorithm>
#include <new>
#include <utility>

#include "toolkit/Accessible.h"
#include "toolkit/Controls.h"

namespace zq {

void (*gAccessFunctions[kAccessFunctions])() = {};

TAccessibleView::TAccessibleView() = default;
TAccessibleView::~TAccessibleView() = default;

void TControl::DescribeAccessible(TAccessibleItem&) const {}

namespace {

using CreateStdFn = HRESULT(WINAPI*)(HWND, LONG, REFIID, void**);
using LresultFn = LRESULT(WINAPI*)(REFIID, WPARAM, LPUNKNOWN);
using AllocStringFn = BSTR(WINAPI*)(const OLECHAR*, UINT);
using CoDisconnectFn = HRESULT(WINAPI*)(LPUNKNOWN, DWORD);
using ChildrenFn = HRESULT(WINAPI*)(IAccessible*, LONG, LONG, VARIANT*, LONG*);

long gLiveObjects = 0;

VARIANT ChildVariant(LONG id) {
    VARIANT v;
    V_VT(&v) = VT_I4;
    V_I4(&v) = id;
    return v;
}

// The questions about one child that IAccessible asks.
enum class TAsk {
    Child,
    Name,
    Value,
    Description,
    Help,
    Shortcut,
    DefaultAction,
    HelpTopic,
    Role,
    State,
    Location,
    Select, // these two have nothing to fill in
    DoDefaultAction
};

} // namespace

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
        AccessFunction<CoDisconnectFn>(kDisconnect)(static_cast<IAccessible*>(this), 0);
        LeaveAccessibleRuntime();
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
        TAccessibleView view;
        const HRESULT hr = Read(view, -1);
        *count = view.Ids.Count();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** dispatch) override {
        return Answer(TAsk::Child, child, dispatch);
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        return Answer(TAsk::Name, child, name);
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return Answer(TAsk::Value, child, value);
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        return Answer(TAsk::Description, child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* text) override {
        return Answer(TAsk::Help, child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* text) override {
        return Answer(TAsk::Shortcut, child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* text) override {
        return Answer(TAsk::DefaultAction, child, text);
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
        LONG* topics[] = {topic};
        return Answer(TAsk::HelpTopic, child, file, topic != nullptr ? topics : nullptr);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        return Answer(TAsk::Role, child, role);
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        return Answer(TAsk::State, child, state);
    }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          VARIANT child) override {
        LONG* box[] = {left, top, width, height};
        return Answer(TAsk::Location, child, box);
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
        return Answer(TAsk::Select, child, nullptr, nullptr, flags);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        return Answer(TAsk::DoDefaultAction, child, nullptr);
    }
    // Navigation is the standard object's (the program's own children are reached by
    // enumeration, as AccessibleChildren does; MSAA has deprecated accNavigate).
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
        return FWindow == nullptr ? CO_E_OBJNOTCONNECTED
                                  : FStandard->accNavigate(direction, start, end);
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        return FWindow == nullptr ? CO_E_OBJNOTCONNECTED : FStandard->get_accFocus(focus);
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        return FWindow == nullptr ? CO_E_OBJNOTCONNECTED : FStandard->get_accSelection(selection);
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
        // On the window's own surface: the topmost own child there, else the window.
        POINT at{x, y};
        ScreenToClient(FWindow->Handle(), &at);
        for (int index = Count() - 1; index >= 0; --index) {
            TAccessibleView view;
            hr = Read(view, index);
            if (FAILED(hr))
                break;
            if (view.ChildDescribed && AccessibleItemHolds(view.Child, {at.x, at.y})) {
                V_I4(child) = view.Ids.OwnId(index);
                break;
            }
        }
        return hr;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

    // The children as AccessibleChildren lists them: the standard object's as it lists them
    // (child windows as objects), then the own ones by id.
    HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* children, ULONG* fetched) override {
        if (children == nullptr)
            return E_POINTER;
        TAccessibleView view;
        const HRESULT hr = Read(view, -1);
        LONG got = 0;
        if (FPosition < view.Ids.Standard &&
            FAILED(AccessFunction<ChildrenFn>(kChildren)(
                FStandard, FPosition,
                static_cast<LONG>(std::min<ULONG>(count, view.Ids.Standard - FPosition)), children,
                &got)))
            got = 0;
        for (FPosition += got;
             SUCCEEDED(hr) && static_cast<ULONG>(got) < count && FPosition < view.Ids.Count();
             ++got, ++FPosition)
            children[got] = ChildVariant(FPosition + 1);
        if (fetched != nullptr)
            *fetched = static_cast<ULONG>(got);
        return FAILED(hr) ? hr : static_cast<ULONG>(got) == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
        LONG children = 0;
        const HRESULT hr = get_accChildCount(&children);
        const bool within = FPosition + static_cast<long long>(count) <= children;
        FPosition = within ? FPosition + static_cast<LONG>(count) : children;
        return FAILED(hr) ? hr : within ? S_OK : S_FALSE;
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
    // The window's items, with own child `child`.
    HRESULT Read(TAccessibleView& view, int child) {
        if (FWindow == nullptr)
            return CO_E_OBJNOTCONNECTED;
        return ReadAccessibleView(*FWindow, StandardCount(), child, view);
    }
    LONG StandardCount() {
        LONG count = 0;
        return SUCCEEDED(FStandard->get_accChildCount(&count)) ? count : 0;
    }
    // The own children.
    int Count() {
        TAccessibleView view;
        Read(view, -1);
        return static_cast<int>(view.Ids.Own);
    }

    // One question about a child (`out` the answer, `more` the further answers of help topic
    // and location, `argument` the selection flags). The program answers for what it
    // describes: the name, value, role, state and place of its own children and the first four
    // of the object where a control speaks for the window. The standard object answers
    // everything else.
    HRESULT Answer(TAsk ask, const VARIANT& child, void* out, LONG** more = nullptr,
                   LONG argument = 0) {
        if (out == nullptr && ask < TAsk::Select)
            return E_POINTER;
        switch (ask) {
        case TAsk::Role:
        case TAsk::State:
            V_VT(static_cast<VARIANT*>(out)) = VT_EMPTY;
            break;
        case TAsk::Location:
            more = static_cast<LONG**>(out);
            for (int i = 0; i < 4; ++i)
                if (more[i] == nullptr)
                    return E_POINTER;
            for (int i = 0; i < 4; ++i)
                *more[i] = 0;
            break;
        case TAsk::Select:
        case TAsk::DoDefaultAction:
            break;
        default: // a pointer or a text
            *static_cast<void**>(out) = nullptr;
            if (ask == TAsk::HelpTopic && more == nullptr)
                return E_POINTER;
            if (ask == TAsk::HelpTopic)
                *more[0] = -1;
        }
        if (V_VT(&child) != VT_I4 && V_VT(&child) != VT_EMPTY) // empty: the object itself
            return E_INVALIDARG;
        if (FWindow == nullptr)
            return CO_E_OBJNOTCONNECTED;
        const LONG id = V_VT(&child) == VT_I4 ? V_I4(&child) : CHILDID_SELF;
        const LONG standard = StandardCount();
        TAccessibleView view;
        const HRESULT hr = ReadAccessibleView(
            *FWindow, standard, id > standard ? static_cast<int>(id - standard - 1) : -1, view);
        if (FAILED(hr))
            return hr;
        const int own = view.Ids.OwnIndex(id);
        const TAccessibleItem* item = own >= 0                                   ? &view.Child
                                      : id == CHILDID_SELF && view.SelfDescribed ? &view.Self
                                                                                 : nullptr;
        const bool described =
            item != nullptr && (own >= 0 || ask == TAsk::Name || ask == TAsk::Value ||
                                ask == TAsk::Role || ask == TAsk::State);
        if (!described)
            return Standard(ask, child, out, more, argument);
        switch (ask) {
        case TAsk::Child: // a simple element
            return S_FALSE;
        case TAsk::Name:
        case TAsk::Value:
            return Text(ask == TAsk::Name ? item->Name : item->Value, static_cast<BSTR*>(out));
        case TAsk::Role:
            *static_cast<VARIANT*>(out) =
                ChildVariant(item->Role == TAccessibleRole::Chart         ? ROLE_SYSTEM_CHART
                             : item->Role == TAccessibleRole::ProgressBar ? ROLE_SYSTEM_PROGRESSBAR
                                                                          : ROLE_SYSTEM_GRAPHIC);
            return S_OK;
        case TAsk::State: {
            LONG bits = STATE_SYSTEM_READONLY | (item->Visible ? 0 : STATE_SYSTEM_INVISIBLE);
            // The window's own state holds for what it shows: hidden, off screen.
            VARIANT window;
            V_VT(&window) = VT_EMPTY;
            if (FStandard->get_accState(ChildVariant(CHILDID_SELF), &window) == S_OK &&
                V_VT(&window) == VT_I4)
                bits |= own < 0 ? V_I4(&window)
                                : V_I4(&window) & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN);
            *static_cast<VARIANT*>(out) = ChildVariant(bits);
            return S_OK;
        }
        case TAsk::Location: {
            POINT origin{item->Bounds.Left, item->Bounds.Top};
            MapWindowPoints(FWindow->Handle(), nullptr, &origin, 1);
            *more[0] = origin.x;
            *more[1] = origin.y;
            *more[2] = item->Bounds.Width();
            *more[3] = item->Bounds.Height();
            return S_OK;
        }
        case TAsk::Select:
        case TAsk::DoDefaultAction:
            return DISP_E_MEMBERNOTFOUND;
        default: // an own child has no description, help, shortcut or action
            return S_FALSE;
        }
    }

    HRESULT Standard(TAsk ask, const VARIANT& child, void* out, LONG** more, LONG argument) {
        auto text = static_cast<BSTR*>(out);
        switch (ask) {
        case TAsk::Child:
            return FStandard->get_accChild(child, static_cast<IDispatch**>(out));
        case TAsk::Name:
            return FStandard->get_accName(child, text);
        case TAsk::Value:
            return FStandard->get_accValue(child, text);
        case TAsk::Description:
            return FStandard->get_accDescription(child, text);
        case TAsk::Help:
            return FStandard->get_accHelp(child, text);
        case TAsk::Shortcut:
            return FStandard->get_accKeyboardShortcut(child, text);
        case TAsk::DefaultAction:
            return FStandard->get_accDefaultAction(child, text);
        case TAsk::HelpTopic:
            return FStandard->get_accHelpTopic(text, child, more[0]);
        case TAsk::Role:
            return FStandard->get_accRole(child, static_cast<VARIANT*>(out));
        case TAsk::State:
            return FStandard->get_accState(child, static_cast<VARIANT*>(out));
        case TAsk::Location:
            return FStandard->accLocation(more[0], more[1], more[2], more[3], child);
        case TAsk::Select:
            return FStandard->accSelect(argument, child);
        default:
            return FStandard->accDoDefaultAction(child);
        }
    }

    static HRESULT Text(const std::string& text, BSTR* out) {
        if (text.empty())
            return S_FALSE;
        const int size = static_cast<int>(text.size());
        const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
        *out = AccessFunction<AllocStringFn>(kAllocString)(nullptr, static_cast<UINT>(length));
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

TControl* AccessibleStandIn(const TWinControl& window) {
    for (int i = 0; i < window.ControlCount(); ++i) {
        TControl* c = window.Controls(i);
        if (c->AsGraphicControl() != nullptr && c->AccessibleInfo() != nullptr &&
            c->Align() == TAlign::alClient)
            return c;
    }
    return nullptr;
}

TControl* AccessibleSelf(TWinControl& window) {
    return window.AccessibleInfo() != nullptr ? &window : AccessibleStandIn(window);
}

namespace {

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

bool TWinControl::WMGetObject(TMessage& m) {
    if (static_cast<DWORD>(m.LParam) != static_cast<DWORD>(OBJID_CLIENT))
        return false;
    if (FAccessibleObject == nullptr) {
        // Where the libraries are missing (Windows 95 without Active Accessibility) or memory
        // runs out, the system answers.
        if (!Presents(*this) || !UseAccessibleRuntime())
            return false;
        IAccessible* standard = nullptr;
        if (FAILED(AccessFunction<CreateStdFn>(kCreateStd)(Handle(), OBJID_CLIENT,
                                                           __uuidof(IAccessible),
                                                           reinterpret_cast<void**>(&standard))) ||
            standard == nullptr ||
            (FAccessibleObject = new (std::nothrow) TAccessibleClient(*this, standard)) ==
                nullptr) {
            if (standard != nullptr)
                standard->Release();
            LeaveAccessibleRuntime();
            return false;
        }
    }
    m.Result = AccessFunction<LresultFn>(kLresult)(__uuidof(IAccessible), m.WParam,
                                                   static_cast<IAccessible*>(FAccessibleObject));
    return true;
}

void DisconnectAccessibleObject(TAccessibleClient*& object) {
    if (object != nullptr)
        std::exchange(object, nullptr)->Disconnect();
}

long LiveAccessibleObjects() {
    return gLiveObjects;
}

} // namespace zq
