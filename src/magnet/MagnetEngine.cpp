#include "magnet/MagnetEngine.h"

#include <climits>
#include <cmath>

namespace zq {

namespace {

using i64 = std::int64_t;

// 250 ms as a fraction of a day.
constexpr double kRecentDays = 250.0 / 86400000.0;

bool Recent(double stamp, double now) {
    return std::fabs(now - stamp) <= kRecentDays;
}

// lo <= x <= hi.
bool In(i64 x, i64 lo, i64 hi) {
    return lo <= x && x <= hi;
}

i64 Abs(i64 x) {
    return x < 0 ? -x : x;
}

int Saturate(i64 v) {
    return v < INT_MIN ? INT_MIN : v > INT_MAX ? INT_MAX : static_cast<int>(v);
}

} // namespace

// A rectangle in 64-bit coordinates, so that no rule overflows whatever the input.
struct TMagnetEngine::TBox {
    i64 L, T, R, B;

    TBox(const TRect& r) : L(r.Left), T(r.Top), R(r.Right), B(r.Bottom) {}
    TBox(i64 l, i64 t, i64 r, i64 b) : L(l), T(t), R(r), B(b) {}
    TRect Rect() const { return {Saturate(L), Saturate(T), Saturate(R), Saturate(B)}; }
};

namespace {

// Shifts the proposed rectangle so that one edge lands on a line, keeping the width and height
// it had when the routine began, and stamps the edge with the step's time.
template <class Box> class TMover {
public:
    TMover(Box& p, double now) : FP(p), FW(p.R - p.L), FH(p.B - p.T), FNow(now) {}
    void Left(i64 v, double& stamp) {
        FP.L = v;
        FP.R = v + FW;
        stamp = FNow;
    }
    void Right(i64 v, double& stamp) {
        FP.R = v;
        FP.L = v - FW;
        stamp = FNow;
    }
    void Top(i64 v, double& stamp) {
        FP.T = v;
        FP.B = v + FH;
        stamp = FNow;
    }
    void Bottom(i64 v, double& stamp) {
        FP.B = v;
        FP.T = v - FH;
        stamp = FNow;
    }

private:
    Box& FP;
    const i64 FW, FH;
    const double FNow;
};

// Strict overlap of [a1, a2) and [b1, b2) as the main-form rules see it: one start lies inside
// the other span. Equal starts count as well when both spans are non-empty (the two-clause test
// alone would call two aligned forms of any width disjoint).
bool Overlap(i64 a1, i64 a2, i64 b1, i64 b2) {
    return (b1 < a1 && a1 < b2) || (a1 < b1 && b1 < a2) || (a1 == b1 && a1 < a2 && b1 < b2);
}

// The form's bounds share an edge line with the other's: right on left, bottom on top, left on
// right, top on bottom. Overlap along the line is not needed.
bool Touches(const TRect& m, const TRect& f) {
    return m.Right == f.Left || m.Bottom == f.Top || m.Left == f.Right || f.Bottom == m.Top;
}

} // namespace

std::span<const TMagnetMove> TMagnetEngine::OnMoving(TRect& rect, const TMagnetContext& ctx) {
    if (!FActive)
        return {};
    TBox p(rect);
    const TBox c(ctx.Current);
    if (FScreenMagnet && ctx.WorkArea) {
        const TBox r(*ctx.WorkArea);
        if (c.L > p.L)
            SnapLeftToWorkArea(p, r, ctx.Now);
        if (c.L < p.L)
            SnapRightToWorkArea(p, r, ctx.Now);
        if (c.T > p.T)
            SnapUpToWorkArea(p, r, ctx.Now);
        if (c.T < p.T)
            SnapDownToWorkArea(p, r, ctx.Now);
    }

    const TMagnetForm* mainForm = nullptr;
    for (const TMagnetForm& f : ctx.Forms) {
        if (f.IsMainForm) {
            mainForm = &f;
            break;
        }
    }
    TRect mainBounds = mainForm ? mainForm->Bounds : TRect{};

    std::size_t moved = 0;
    if (FFormGlue)
        moved = DragGluedForms(p, c, ctx, mainForm, mainBounds);
    // Snapping a form to the outside of its own bounds before the step would only make it jump.
    if (FMainFormMagnet && mainForm && !ctx.SelfIsMainForm) {
        const TBox r(mainBounds);
        if (c.T > p.T && Overlap(p.L, p.R, r.L, r.R))
            SnapUpToMainForm(p, r, ctx.Now);
        if (c.T < p.T && Overlap(p.L, p.R, r.L, r.R))
            SnapDownToMainForm(p, r, ctx.Now);
        if (c.L > p.L && Overlap(p.T, p.B, r.T, r.B))
            SnapLeftToMainForm(p, r, ctx.Now);
        if (c.L < p.L && Overlap(p.T, p.B, r.T, r.B))
            SnapRightToMainForm(p, r, ctx.Now);
    }

    rect = p.Rect();
    return {FMoves.data(), moved};
}

// ---- The work area's edges, a function a direction (the rules in words: MagnetEngine.h).

void TMagnetEngine::SnapLeftToWorkArea(TBox& p, const TBox& r, double now) {
    const i64 a = FArea, x = p.L - r.L, y = r.R - p.R;
    TMover<TBox> m(p, now);
    if (Recent(FLastLeftSnap, now)) {
        if (Abs(x) < a)
            m.Left(r.L, FLastLeftSnap);
        else if (Abs(y) < a)
            m.Right(r.R, FLastRightSnap);
    } else if (In(x, 2, a) || Abs(x) == 1) {
        m.Left(r.L, FLastLeftSnap);
    } else if (In(Abs(x), 2, a)) {
        m.Left(r.L - a, FLastLeftSnap);
    } else if (In(y, 2, a)) {
        m.Right(r.R - a, FLastRightSnap);
    } else if (In(Abs(y), 1, a)) {
        m.Right(r.R, FLastRightSnap);
    }
}

void TMagnetEngine::SnapRightToWorkArea(TBox& p, const TBox& r, double now) {
    const i64 a = FArea, x = r.R - p.R, y = r.L - p.L;
    TMover<TBox> m(p, now);
    if (Recent(FLastRightSnap, now)) {
        if (Abs(x) < a)
            m.Right(r.R, FLastRightSnap);
        else if (Abs(y) < a)
            m.Left(r.L, FLastLeftSnap);
    } else if (In(x, 2, a) || Abs(x) == 1) {
        m.Right(r.R, FLastRightSnap);
    } else if (In(Abs(x), 2, a)) {
        m.Right(r.R + a, FLastRightSnap);
    } else if (In(y, 2, a)) {
        m.Left(r.L, FLastLeftSnap);
    } else if (In(Abs(y), 1, a)) {
        m.Left(r.L + a, FLastLeftSnap);
    }
}

void TMagnetEngine::SnapUpToWorkArea(TBox& p, const TBox& r, double now) {
    const i64 a = FArea, x = p.T - r.T, y = r.B - p.B;
    TMover<TBox> m(p, now);
    if (Recent(FLastTopSnap, now)) {
        if (Abs(x) < a)
            m.Top(r.T, FLastTopSnap);
        else if (Abs(y) < a)
            m.Bottom(r.B, FLastBottomSnap);
    } else if (In(x, 2, a) || Abs(x) == 1) {
        m.Top(r.T, FLastTopSnap);
    } else if (In(Abs(x), 2, a)) {
        m.Top(r.T - a, FLastTopSnap);
    } else if (In(y, 2, a)) {
        m.Bottom(r.B - a, FLastBottomSnap);
    } else if (In(Abs(y), 1, a)) {
        m.Bottom(r.B, FLastBottomSnap);
    }
}

void TMagnetEngine::SnapDownToWorkArea(TBox& p, const TBox& r, double now) {
    const i64 a = FArea, x = p.T - r.T, y = r.B - p.B;
    TMover<TBox> m(p, now);
    if (Recent(FLastBottomSnap, now)) {
        if (Abs(x) < a)
            m.Top(r.T, FLastTopSnap);
        else if (Abs(y) < a)
            m.Bottom(r.B + a, FLastBottomSnap);
    } else if (In(x, 2, a)) {
        m.Top(r.T + a, FLastTopSnap);
    } else if (Abs(x) < a) {
        m.Top(r.T, FLastTopSnap);
    } else if (In(y, 2, a)) {
        m.Bottom(r.B, FLastBottomSnap);
    } else if (In(Abs(y), 1, a)) {
        m.Bottom(r.B + a, FLastBottomSnap);
    }
}

// Every form with an edge on the line of one of the dragged form's edges (at its bounds before
// the step) keeps its offset to the dragged form's new place. A glued main form is reported in
// mainBounds at its new place, where the main-form rules then find it.
std::size_t TMagnetEngine::DragGluedForms(const TBox& p, const TBox& c, const TMagnetContext& ctx,
                                          const TMagnetForm* mainForm, TRect& mainBounds) {
    const i64 dx = p.L - c.L, dy = p.T - c.T;
    if (dx == 0 && dy == 0)
        return 0;
    std::size_t count = 0;
    for (const TMagnetForm& f : ctx.Forms) {
        if (count == MaxGluedForms)
            break;
        if (!Touches(ctx.Current, f.Bounds))
            continue;
        const TBox from(f.Bounds);
        const TBox to(from.L + dx, from.T + dy, from.R + dx, from.B + dy);
        FMoves[count++] = {f.Id, to.Rect()};
        if (&f == mainForm)
            mainBounds = to.Rect();
    }
    return count;
}

// ---- The main form's outside edges, a function a direction (the rules: MagnetEngine.h).

void TMagnetEngine::SnapUpToMainForm(TBox& p, const TBox& r, double now) {
    const i64 a = FArea, d = p.T - r.B, e = p.B - r.T;
    TMover<TBox> m(p, now);
    if (Recent(FLastTopSnap, now)) {
        if (Abs(d) < a)
            m.Top(r.B, FLastTopSnap);
        else if (Abs(e) < a)
            m.Bottom(r.T, FLastTopSnap);
    } else if (In(d, 2, a)) {
        m.Top(r.B, FLastTopSnap);
    } else if (In(-d, 2, a)) {
        m.Top(r.B - a, FLastTopSnap);
    } else if (In(e, 2, a)) {
        m.Bottom(r.T, FLastTopSnap);
    } else if (In(-e, 2, a)) {
        m.Bottom(r.T - a, FLastTopSnap);
    }
}

void TMagnetEngine::SnapDownToMainForm(TBox& p, const TBox& r, double now) {
    const i64 a = FArea, d = p.T - r.B, e = p.B - r.T;
    TMover<TBox> m(p, now);
    if (Recent(FLastTopSnap, now)) {
        if (Abs(d) < a)
            m.Top(r.B, FLastTopSnap);
        else if (Abs(e) < a)
            m.Bottom(r.T, FLastTopSnap);
    } else if (In(d, 2, a)) {
        m.Top(r.B + a, FLastTopSnap);
    } else if (In(-d, 2, a)) {
        m.Top(r.B, FLastTopSnap);
    } else if (In(e, 1, a)) {
        m.Bottom(r.T, FLastTopSnap);
    } else if (In(-e, 2, a)) {
        m.Bottom(r.T + a, FLastTopSnap);
    }
}

void TMagnetEngine::SnapLeftToMainForm(TBox& p, const TBox& r, double now) {
    const i64 a = FArea, d = p.L - r.R, e = p.R - r.L;
    TMover<TBox> m(p, now);
    if (Recent(FLastRightSnap, now)) {
        if (Abs(d) < a)
            m.Left(r.R, FLastRightSnap);
        else if (Abs(e) < a)
            m.Right(r.L, FLastRightSnap);
    } else if (In(d, 2, a)) {
        m.Left(r.R, FLastRightSnap);
    } else if (In(-d, 2, a)) {
        m.Left(r.R - a, FLastRightSnap);
    } else if (In(e, 2, a)) {
        m.Right(r.L, FLastRightSnap);
    } else if (In(-e, 2, a)) {
        m.Right(r.L - a, FLastRightSnap);
    }
}

void TMagnetEngine::SnapRightToMainForm(TBox& p, const TBox& r, double now) {
    const i64 a = FArea, d = r.L - p.R, e = r.R - p.L;
    TMover<TBox> m(p, now);
    if (Recent(FLastRightSnap, now)) {
        if (Abs(d) < a)
            m.Right(r.L, FLastRightSnap);
        else if (Abs(e) < a)
            m.Left(r.R, FLastRightSnap);
    } else if (In(d, 2, a)) {
        m.Right(r.L, FLastRightSnap);
    } else if (In(-d, 2, a)) {
        m.Right(r.L + a, FLastRightSnap);
    } else if (In(e, 2, a)) {
        m.Left(r.R, FLastRightSnap);
    } else if (In(-e, 2, a)) {
        m.Left(r.R + a, FLastRightSnap);
    }
}

} // namespace zq
