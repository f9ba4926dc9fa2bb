#pragma once
// Placed on a form, snaps it to the edges of the work area of the monitor it is dragged on
// (the one holding most of it), drags touching forms along and can snap it to the main form. It
// listens to the form's messages and rewrites the rectangle of every WM_MOVING before the form
// sees it. Active or not, when the displays change (WM_DISPLAYCHANGE, or WM_SETTINGCHANGE with
// SPI_SETWORKAREA) it moves a form left off every work area onto the nearest one, whole.
#include <algorithm>
#include <cstdint>

#include "magnet/MagnetEngine.h"
#include "toolkit/Component.h"
#include "toolkit/Window.h"

namespace zq {

class TCustomForm;

class TFormMagnet : public TComponent {
public:
    explicit TFormMagnet(TComponent* owner);

    bool Active() const { return FEngine.Active(); }
    void SetActive(bool value) { FEngine.SetActive(value); }
    bool ScreenMagnet() const { return FEngine.ScreenMagnet(); }
    void SetScreenMagnet(bool value) { FEngine.SetScreenMagnet(value); }
    // Snapping distance in design units (pixels at 96 dots per inch: each drag snaps within that
    // distance at the form's resolution); values above 255 are stored as 255.
    std::uint32_t Area() const { return FArea; }
    void SetArea(std::uint32_t value) { FArea = std::min(value, TMagnetEngine::MaxArea); }
    bool FormGlue() const { return FEngine.FormGlue(); }
    void SetFormGlue(bool value) { FEngine.SetFormGlue(value); }
    bool MainFormMagnet() const { return FEngine.MainFormMagnet(); }
    void SetMainFormMagnet(bool value) { FEngine.SetMainFormMagnet(value); }

private:
    void Moving(RECT& rect);
    void KeepOnWorkArea();

    TCustomForm* FForm;
    TMagnetEngine FEngine;
    std::uint32_t FArea = FEngine.Area();
    TMessageListener FFormListener;
};

// The current date-time: days since 30 December 1899.
double NowDateTime();

} // namespace zq
