#pragma once
// The toolkit's windows: how they are made and how their messages reach their objects.
//
// One way to make a window: RegisterWindowClass registers each of the program's classes once,
// CreateWindowChecked makes windows; both raise ESystemError (toolkit/Exceptions.h) naming the
// call, the class and the system's error text when the system refuses.
//
// One route from a window to its object: a window property, set when the window is attached
// (on WM_NCCREATE for the toolkit's own classes, when it is subclassed for system classes) and
// removed on WM_NCDESTROY. One path for a window's messages: TWindowObject::WindowProc hands
// each message to the listeners installed on the object, in the order they were installed, and
// then to the object's WndProc; a failure in any of them goes to HandleCurrentException and no
// further, and the message goes on to the next. Components that need the messages of a window
// the toolkit owns (tray icons, the form magnet) install a TMessageListener on its object; none
// subclasses such a window.
#include <windows.h>

#include <functional>
#include <vector>

namespace zq {

class TObject;
class TMessageListener;
class TWinControl;

// The icon of the toolkit's windows: the program's first icon resource, the one Windows shows for
// the program file too.
constexpr int kProgramIcon = 1;

// The object behind a window the toolkit made: a control or form, the application, a hidden
// utility window.
class TWindowObject {
public:
    TWindowObject() = default;
    virtual ~TWindowObject();
    TWindowObject(const TWindowObject&) = delete;
    TWindowObject& operator=(const TWindowObject&) = delete;

    // The object of a window, or nullptr for a window the toolkit did not make.
    static TWindowObject* FromHandle(HWND wnd);
    // The object as a control or form, or nullptr (the application, a utility window).
    virtual TWinControl* AsWinControl() { return nullptr; }
    // The window procedure of the toolkit's classes and of the system windows it subclasses.
    static LRESULT CALLBACK WindowProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam);

protected:
    // Every message of the window, after the listeners have seen it.
    virtual LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) = 0;
    // What the window's class does with a message: the procedure a subclassed system window had
    // before, DefWindowProcA for the toolkit's own classes.
    LRESULT DefaultHandler(UINT msg, WPARAM wParam, LPARAM lParam);
    // The window this object's messages come from (already during its creation), or nullptr.
    HWND AttachedWindow() const { return FWindow; }
    // Whether the window is one of a system class that the toolkit subclassed.
    bool Subclassed() const { return FDefProc != nullptr; }
    // Makes a newly created window of a system class this object's, through WindowProc.
    void Subclass(HWND wnd);
    // Ends the route early (the object goes before its window): messages of the window no
    // longer reach it.
    void Detach();
    // The window of the toolkit's own class being created is now this object's (WM_NCCREATE).
    virtual void WindowAttached(HWND wnd) { (void)wnd; }
    // The window is gone (WM_NCDESTROY): the route has ended.
    virtual void WindowDetached(HWND wnd) { (void)wnd; }
    // The sender that failures inside this object's messages are reported with.
    virtual TObject* MessageSender() { return nullptr; }

private:
    friend class TMessageListener;
    void Attach(HWND wnd);

    HWND FWindow = nullptr;
    WNDPROC FDefProc = nullptr;
    std::vector<TMessageListener*> FListeners;
};

// A component's share of the messages of a window the toolkit owns: installed on the window's
// object, its handler sees every message before the object does, after the listeners installed
// before it. Either side may go first: a listener leaves its object when it is destroyed, and an
// object that is destroyed leaves its listeners uninstalled.
class TMessageListener {
public:
    using Handler = std::function<void(UINT msg, WPARAM wParam, LPARAM lParam)>;

    TMessageListener() = default;
    ~TMessageListener() { Remove(); }
    TMessageListener(const TMessageListener&) = delete;
    TMessageListener& operator=(const TMessageListener&) = delete;

    // Installs the handler on `source`, after its other listeners (leaving any earlier source).
    void Install(TWindowObject& source, Handler handler);
    void Remove();
    bool Installed() const { return FSource != nullptr; }

private:
    friend class TWindowObject;
    TWindowObject* FSource = nullptr;
    Handler FHandler;
};

// Registers a window class of the program unless it is registered already.
void RegisterWindowClass(const WNDCLASSA& windowClass);

// CreateWindowExA in the program's module; never answers nullptr. A window of the toolkit's own
// classes is attached to `object` as it is created.
HWND CreateWindowChecked(DWORD exStyle, const char* className, const char* caption, DWORD style,
                         int x, int y, int width, int height, HWND parent, HMENU menu,
                         TWindowObject* object);

} // namespace zq
