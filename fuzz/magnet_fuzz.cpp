// Links: zq_magnet_logic zq_toolkit_logic
// The form magnet over move steps whose rectangles come from the input, as the system's
// moving messages carry them: a header (the properties and the dragged form's role), the
// other forms, then steps of a proposed rectangle, the bounds before it, a work area and a
// time. No coordinate may overflow; the glued forms returned are forms of the context, moved
// with their size kept; an inactive magnet changes nothing.
#include "FuzzInput.h"

#include <vector>

#include "magnet/MagnetEngine.h"

using namespace zq;
using zq::fuzz::TFuzzReader;

namespace {

TRect TakeRect(TFuzzReader& in) {
    TRect r;
    r.Left = in.Take<std::int32_t>();
    r.Top = in.Take<std::int32_t>();
    r.Right = in.Take<std::int32_t>();
    r.Bottom = in.Take<std::int32_t>();
    return r;
}

std::int64_t Width(const TRect& r) {
    return std::int64_t{r.Right} - r.Left;
}

std::int64_t Height(const TRect& r) {
    return std::int64_t{r.Bottom} - r.Top;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TFuzzReader in(data, size);
    TMagnetEngine engine;
    const auto flags = in.Take<std::uint8_t>();
    engine.SetActive(flags & 1);
    engine.SetScreenMagnet(flags & 2);
    engine.SetFormGlue(flags & 4);
    engine.SetMainFormMagnet(flags & 8);
    const bool selfIsMain = flags & 16;
    engine.SetArea(in.Take<std::uint32_t>());
    ZQ_FUZZ_CHECK(engine.Area() <= TMagnetEngine::MaxArea);

    std::vector<TMagnetForm> forms(in.Take<std::uint8_t>() % 24);
    for (std::size_t i = 0; i < forms.size(); ++i) {
        forms[i].Id = &forms[i];
        forms[i].Bounds = TakeRect(in);
        forms[i].IsMainForm = in.Flag();
    }

    for (int step = 0; step < 8 && !in.Empty(); ++step) {
        TRect rect = TakeRect(in);
        TMagnetContext ctx;
        ctx.Current = TakeRect(in);
        if (in.Flag())
            ctx.WorkArea = TakeRect(in);
        ctx.Now = in.Take<std::uint32_t>() / 86400000.0; // milliseconds to days
        ctx.Forms = forms;
        ctx.SelfIsMainForm = selfIsMain;

        const TRect proposed = rect;
        const auto moves = engine.OnMoving(rect, ctx);
        if (!engine.Active()) {
            ZQ_FUZZ_CHECK(rect == proposed && moves.empty());
            continue;
        }
        ZQ_FUZZ_CHECK(moves.size() <= TMagnetEngine::MaxGluedForms && moves.size() <= forms.size());
        for (const TMagnetMove& move : moves) {
            const auto* form = static_cast<const TMagnetForm*>(move.Id);
            ZQ_FUZZ_CHECK(form >= forms.data() && form < forms.data() + forms.size());
            // The size is kept unless a coordinate had to be saturated.
            const auto inRange = [](const TRect& r) {
                return r.Left > INT32_MIN && r.Right < INT32_MAX && r.Top > INT32_MIN &&
                       r.Bottom < INT32_MAX && r.Left < INT32_MAX && r.Top < INT32_MAX &&
                       r.Right > INT32_MIN && r.Bottom > INT32_MIN;
            };
            if (inRange(move.Bounds))
                ZQ_FUZZ_CHECK(Width(move.Bounds) == Width(form->Bounds) &&
                              Height(move.Bounds) == Height(form->Bounds));
        }
    }
    return 0;
}
