#pragma once
// The decisions of the form magnet: snapping a dragged form to the edges of the work area,
// dragging touching forms along (glue) and snapping to the outside edges of the main form.
//
// Portable; the Windows component (TFormMagnet) keeps one TMagnetEngine, forwards its properties
// to it and, for every WM_MOVING, reads the system into a TMagnetContext, calls OnMoving on the
// rectangle the message carries, moves the glued forms it returns and writes the rectangle back.
// One call allocates nothing.
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
    std::optional<TRect> WorkArea;      // primary display's work area; empty: could not be read
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

    void SnapToWorkArea(TBox& p, const TBox& c, const TBox& r, double now);
    std::size_t DragGluedForms(const TBox& p, const TBox& c, const TMagnetContext& ctx,
                               const TMagnetForm* mainForm, TRect& mainBounds);
    void SnapToMainForm(TBox& p, const TBox& c, const TBox& r, double now);

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
