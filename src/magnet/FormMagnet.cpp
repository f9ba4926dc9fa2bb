#include "magnet/FormMagnet.h"

#include <array>

#include "toolkit/Application.h"
#include "toolkit/DateTime.h"
#include "toolkit/Forms.h"

namespace zq {

double NowDateTime() {
    FILETIME ft;
    GetSystemTimeAsFileTime(&ft);
    return FileTimeToDateTime(ULARGE_INTEGER{{ft.dwLowDateTime, ft.dwHighDateTime}}.QuadPart);
}

TFormMagnet::TFormMagnet(TComponent* owner)
    : TComponent(owner), FForm(owner != nullptr ? owner->AsForm() : nullptr) {
    if (FForm != nullptr)
        FFormListener.Install(*FForm, [this](UINT msg, WPARAM wParam, LPARAM lParam) {
            if (msg == WM_MOVING && FEngine.Active() && lParam != 0)
                Moving(*reinterpret_cast<RECT*>(lParam));
            else if (msg == WM_DISPLAYCHANGE ||
                     (msg == WM_SETTINGCHANGE && wParam == SPI_SETWORKAREA))
                KeepOnWorkArea();
        });
}

void TFormMagnet::KeepOnWorkArea() {
    const TRect now = FForm->BoundsRect();
    const TRect place = OntoWorkArea(now, Screen().Monitors());
    if (place != now)
        FForm->SetBounds(place.Left, place.Top, place.Width(), place.Height());
}

void TFormMagnet::Moving(RECT& r) {
    FEngine.SetArea(static_cast<std::uint32_t>(FForm->Scaled(static_cast<int>(FArea))));
    TRect rect = RectOf(r);
    TMagnetContext ctx;
    ctx.Current = FForm->BoundsRect();
    if (FEngine.NeedsWorkArea()) {
        if (const TMonitorRects* home = MonitorOf(rect, Screen().Monitors()))
            ctx.WorkArea = home->WorkArea;
    }
    ctx.Now = NowDateTime();
    std::array<TMagnetForm, TMagnetEngine::MaxGluedForms> forms;
    std::size_t count = 0;
    TCustomForm* mainForm = Application != nullptr ? Application->MainForm() : nullptr;
    if (FEngine.NeedsForms()) {
        for (TCustomForm* f : Screen().Forms()) {
            if (f == FForm || count == forms.size())
                continue;
            forms[count++] = {f, f->BoundsRect(), f == mainForm};
        }
    }
    ctx.Forms = std::span<const TMagnetForm>(forms.data(), count);
    ctx.SelfIsMainForm = FForm == mainForm;
    for (const TMagnetMove& move : FEngine.OnMoving(rect, ctx)) {
        auto* f = static_cast<TCustomForm*>(move.Id);
        f->SetBounds(move.Bounds.Left, move.Bounds.Top, move.Bounds.Width(), move.Bounds.Height());
    }
    r = {rect.Left, rect.Top, rect.Right, rect.Bottom};
}

} // namespace zq
