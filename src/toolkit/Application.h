#pragma once
// The application object: the hidden application window (it carries the taskbar button and owns
// the forms), the title, the main form, the message loop and the default exception display.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "toolkit/Component.h"
#include "toolkit/Forms.h"
#include "toolkit/Handles.h"
#include "toolkit/Timer.h"
#include "toolkit/UtilWindow.h"
#include "toolkit/Window.h"

namespace zq {

class TApplication : public TComponent, public TFormHost, public TWindowObject {
public:
    TApplication();
    ~TApplication() override;

    void Initialize();
    HWND Handle() const override { return FHandle.Get(); }
    const std::string& Title() const { return FTitle; }
    void SetTitle(const std::string& title);
    TCustomForm* MainForm() const override { return FMainForm; }
    bool ShowMainForm() const { return FShowMainForm; }
    void SetShowMainForm(bool value) { FShowMainForm = value; }
    bool Terminated() const { return FTerminated; }
    // Hides the application window, gives it the tool-window style and shows it again: the
    // program then has no taskbar button.
    void RemoveTaskbarButton();
    // The hidden window that owns the application window once the taskbar button is removed.
    HWND TaskbarOwner() const { return FTaskbarOwner ? FTaskbarOwner->Handle() : nullptr; }

    // Creates a form owned by the application in three steps: the constructor sets the design
    // values, every component's Loaded() runs, then the form's OnCreate. The first form created
    // becomes the main form.
    template <typename T> void CreateForm(T*& reference) {
        T* form = new T(this);
        reference = form;
        FinishFormCreation(form);
    }

    // Shows the main form and runs the message loop until Terminate.
    void Run();
    // The program's entry: setUp (creating the forms), then Run. A failure that escapes either
    // (a window that cannot be created) is shown and ends the run with 1; otherwise 0.
    int Execute(const std::function<void()>& setUp);
    void Terminate() override;
    // Dispatches every message waiting in the queue, then returns.
    void ProcessMessages();

    // Hints: shown HintPause milliseconds after the mouse came to rest on a control whose hint
    // is shown, in HintColor, for HintHidePause milliseconds.
    TColor HintColor() const { return FHintColor; }
    void SetHintColor(TColor color) { FHintColor = color; }
    int HintPause() const { return FHintPause; }
    void SetHintPause(int value) { FHintPause = value; }
    int HintHidePause() const { return FHintHidePause; }
    // The control under the mouse (disabled ones too), or nullptr.
    TControl* MouseControl() const { return FMouseControl; }
    // Hides a shown hint and forgets a pending one.
    void CancelHint();
    // Follows the mouse: tells controls it entered or left them and schedules their hints. The
    // message loop calls it for mouse moves and leaves.
    void TrackMouse(HWND wnd);

    // Shows the exception being handled (call from a catch block). OnException, when set, takes
    // the message instead of the message box.
    void HandleException(TObject* sender);
    std::function<void(TObject* sender, const std::string& message)> OnException;

    // Runs when another start of the program asks this one to come into view
    // (WakeRunningApplication).
    std::function<void()> OnWakeUp;

protected:
    void Notification(TComponent* component, TOperation operation) override;
    // The application window's messages: a close request closes the main form; another start's
    // wake-up runs OnWakeUp.
    LRESULT WndProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void FinishFormCreation(TCustomForm* form);
    bool ProcessMessage(MSG& msg);
    // Dialog keys first, then the usual translation and dispatch.
    void Dispatch(MSG& msg);

    void HintTimerTick();

    UniqueWindow FHandle;
    std::unique_ptr<TUtilWindow> FTaskbarOwner;
    TColor FHintColor = clInfoBk;
    int FHintPause = 500;
    int FHintHidePause = 2500;
    TControl* FMouseControl = nullptr;
    THintWindow* FHintWindow = nullptr;
    TTimer* FHintTimer = nullptr;
    bool FHintShowing = false;
    std::string FTitle;
    TCustomForm* FMainForm = nullptr;
    bool FShowMainForm = true;
    bool FTerminated = false;
};

extern TApplication* Application;

// Asks the application of another process, the one whose application window has this title, to
// come into view (its OnWakeUp runs), and lets it take the foreground. False where there is no
// such window (yet).
bool WakeRunningApplication(const std::string& title);

} // namespace zq
