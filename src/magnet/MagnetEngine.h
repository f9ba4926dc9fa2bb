#pragma once
// The decisions of the form magnet: snapping a dragged form to the edges of the work area,
// dragging touching forms along (glue) and snapping to the outside edges of the main form.
//
// Portable; the Windows component (TFormMagnet) keeps one TMagnetEngine, forwards its properties
// to it and, for every WM_MOVING, reads the system into a TMagnetContext, calls OnMoving on the
// rectangle the message carries, moves the glued forms it returns and writes the rectangle back.
// One call allocates nothing.
//
// The rules of one step. P is the proposed rectangle, C the form's bounds before the step, A the
// snapping distance (Area); "2..A" means at least 2 and at most A pixels. The form moves left
// when P.Left < C.Left, right when P.Left > C.Left, up and down likewise by the top; on an axis
// where it does not move it is not snapped. Each snap moves P without changing its size and
// stamps the edge it names with the step's time; an edge's stamp is recent when it lies within
// 250 ms of the step. For each direction the rules are tried in order and the first that holds
// applies; the directions run in the order given, each on P as the ones before left it.
//
// The work area's edges (ScreenMagnet), directions left, right, up, down:
// - Left. Left stamp not recent: a left edge 2..A inside the area's left edge or one pixel off
//   it either way lands on it; 2..A outside it, the left edge goes A beyond it; else a right
//   edge 2..A inside the area's right edge goes A inside it (right stamp), and one pixel inside
//   or 1..A outside it lands on it (right stamp). Recent: a left edge less than A from the
//   area's left edge lands on it; else a right edge less than A from the area's right edge does.
// - Right, the mirror image: a right edge 2..A inside the area's right edge or one pixel off it
//   lands on it; 2..A outside it goes A beyond it; else a left edge 2..A outside the area's left
//   edge lands on it (left stamp), and one pixel outside or 1..A inside it goes A inside it
//   (left stamp). Recent: a right edge less than A from the area's right edge lands on it; else
//   a left edge less than A from the area's left edge does.
// - Up, as left with top and bottom for left and right.
// - Down. Bottom stamp not recent: a top edge 2..A inside the area's top goes A inside it (top
//   stamp); a top edge less than A from it lands on it (top stamp); else a bottom edge 2..A
//   inside the area's bottom lands on it, and one pixel inside or 1..A outside it goes A beyond
//   it. Recent: a top edge less than A from the area's top lands on it (top stamp); else a bottom
//   edge less than A from the area's bottom goes A beyond it.
//
// Glue (FormGlue): every other form with an edge on the line of one of the form's edges before
// the step (its left on the form's right, its top on the form's bottom, its right on the form's
// left, its bottom on the form's top; overlap along the line is not needed, hidden forms count)
// keeps its offset to the form: it moves as far as P moved from C, after the work-area snap.
//
// The main form's outside edges (MainFormMagnet, not for the main form itself), directions up,
// down, left, right. Up and down apply only while P and the main form overlap horizontally and
// stamp the top; left and right only while they overlap vertically and stamp the right (spans
// overlap when one starts strictly inside the other, or both start together).
// - Up. Not recent: a top edge 2..A below the main form's bottom lands on it (just below); 2..A
//   above it, the top goes A above it; else a bottom edge 2..A below the main form's top lands on
//   it (just above); 2..A above it, the bottom goes A above it. Recent: a top less than A from
//   the main form's bottom lands on it; else a bottom less than A from its top does.
// - Down. Not recent: a top edge 2..A below the main form's bottom goes A below it; 2..A above
//   it, it lands on it (just below); else a bottom edge 1..A below the main form's top lands on
//   it (just above); 2..A above it, the bottom goes A below it. Recent: as up.
// - Left, as up with left and right for top and bottom: not recent, a left edge 2..A right of
//   the main form's right lands on it (just right of it), 2..A left of it goes A left of it; else
//   a right edge 2..A right of the main form's left lands on it (just left of it), 2..A left of
//   it goes A left of it. Recent: a left less than A from the main form's right lands on it;
//   else a right less than A from its left does.
// - Right. Not recent: a right edge 2..A left of the main form's left lands on it (just left of
//   it), 2..A right of it goes A right of it; else a left edge 2..A left of the main form's right
//   lands on it (just right of it), 2..A right of it goes A right of it. Recent: a right less
//   than A from the main form's left lands on it; else a left less than A from its right does.
#include "toolkit/Types.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace zq {

// One other form of the application, as the caller sees it at the start of a move step.
struct TMagnetForm {
    void* Id = nullptr;      // the caller's handle for the form; handed back in TMagnetMove
    TRect Bounds;            // Left, Top, Left + Width, Top + Height (hidden forms too)
    bool IsMainForm = false; // the application's main form
};

// A glued form's new bounds: the same size, the same offset to the dragged form's new place.
struct TMagnetMove {
    void* Id = nullptr;
    TRect Bounds;
};

// What one move step needs from the system.
struct TMagnetContext {
    TRect Current;                      // the dragged form's bounds before this step
    std::optional<TRect> WorkArea;      // the work area of the monitor holding most of the
                                        // proposed rectangle; empty: could not be read
    double Now = 0;                     // date-time: days since 1899-12-30
    std::span<const TMagnetForm> Forms; // the application's other forms, in component order
    bool SelfIsMainForm = false;        // the dragged form is itself the main form
};

class TMagnetEngine {
public:
    // Glue moves at most this many forms per step; further touching forms stay where they are.
    // The program has four forms, so the dragged one can touch three at most.
    static constexpr std::size_t MaxGluedForms = 16;

    // Largest snapping distance. The rules test distances against the whole numbers 0..255, so
    // larger values of Area are clamped to this one when they are set.
    static constexpr std::uint32_t MaxArea = 255;

    // Properties: plain stores read at the next step.
    bool Active() const { return FActive; } // false: the form moves freely
    void SetActive(bool value) { FActive = value; }
    bool ScreenMagnet() const { return FScreenMagnet; } // snap to the work area
    void SetScreenMagnet(bool value) { FScreenMagnet = value; }
    // Snapping distance in pixels; values above MaxArea are stored as MaxArea. Rules that ask
    // for a distance of 2..Area never hold with Area 0 or 1.
    std::uint32_t Area() const { return FArea; }
    void SetArea(std::uint32_t value) { FArea = value > MaxArea ? MaxArea : value; }
    bool FormGlue() const { return FFormGlue; } // drag touching forms along
    void SetFormGlue(bool value) { FFormGlue = value; }
    bool MainFormMagnet() const { return FMainFormMagnet; } // snap to the main form's outside
    void SetMainFormMagnet(bool value) { FMainFormMagnet = value; }

    // What the caller has to read for the next step; the rest of the context may stay empty.
    bool NeedsWorkArea() const { return FActive && FScreenMagnet; }
    bool NeedsForms() const { return FActive && (FFormGlue || FMainFormMagnet); }

    // One WM_MOVING step: rewrites rect (the proposed bounds) in place and returns the glued
    // forms to move, valid until the next call. Inactive: rect and state stay as they are.
    std::span<const TMagnetMove> OnMoving(TRect& rect, const TMagnetContext& ctx);

    // When a snap last moved each edge (date-time; zero until the first one). An edge whose
    // stamp lies within 250 ms of the step's time holds on to the edge it was snapped to.
    double LastLeftSnap() const { return FLastLeftSnap; }
    double LastRightSnap() const { return FLastRightSnap; }
    double LastTopSnap() const { return FLastTopSnap; }
    double LastBottomSnap() const { return FLastBottomSnap; }

private:
    struct TBox;

    // The work area's rules, one function a direction (r: the work area).
    void SnapLeftToWorkArea(TBox& p, const TBox& r, double now);
    void SnapRightToWorkArea(TBox& p, const TBox& r, double now);
    void SnapUpToWorkArea(TBox& p, const TBox& r, double now);
    void SnapDownToWorkArea(TBox& p, const TBox& r, double now);
    std::size_t DragGluedForms(const TBox& p, const TBox& c, const TMagnetContext& ctx,
                               const TMagnetForm* mainForm, TRect& mainBounds);
    // The main form's rules, one function a direction (r: the main form's bounds).
    void SnapUpToMainForm(TBox& p, const TBox& r, double now);
    void SnapDownToMainForm(TBox& p, const TBox& r, double now);
    void SnapLeftToMainForm(TBox& p, const TBox& r, double now);
    void SnapRightToMainForm(TBox& p, const TBox& r, double now);

    bool FActive = false;
    bool FScreenMagnet = true;
    std::uint32_t FArea = 15;
    bool FFormGlue = true;
    bool FMainFormMagnet = false;
    double FLastRightSnap = 0;
    double FLastLeftSnap = 0;
    double FLastTopSnap = 0;
    double FLastBottomSnap = 0;
    std::array<TMagnetMove, MaxGluedForms> FMoves{};
};

} // namespace zq
