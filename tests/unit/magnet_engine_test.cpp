#include <gtest/gtest.h>

#include "magnet/MagnetEngine.h"

#include <climits>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

using namespace zq;

namespace {

constexpr TRect kWork{0, 0, 800, 600};
constexpr TRect kMain{300, 300, 500, 400};
constexpr double kT0 = 46000.5; // a date-time in 2025
constexpr double Ms(double ms) {
    return ms / 86400000.0;
}

constexpr TRect Bounds(int l, int t, int w, int h) {
    return {l, t, l + w, t + h};
}
// A 100 by 40 form at the given left (horizontal cases) or top (vertical cases).
constexpr TRect H(int left) {
    return Bounds(left, 300, 100, 40);
}
constexpr TRect V(int top) {
    return Bounds(300, top, 100, 40);
}

enum class Edge { None, Left, Right, Top, Bottom };
enum class Stamp { Fresh, Old, Recent }; // never set, 300 ms old, 100 ms old

double StampOf(const TMagnetEngine& e, Edge edge) {
    switch (edge) {
    case Edge::Left:
        return e.LastLeftSnap();
    case Edge::Right:
        return e.LastRightSnap();
    case Edge::Top:
        return e.LastTopSnap();
    case Edge::Bottom:
        return e.LastBottomSnap();
    case Edge::None:
        break;
    }
    return 0;
}

TMagnetEngine MakeEngine(std::uint32_t area = 10) {
    TMagnetEngine e;
    e.SetActive(true);
    e.SetArea(area);
    e.SetFormGlue(false);
    return e;
}

struct StepResult {
    TRect rect;
    std::vector<TMagnetMove> moves;
};

StepResult Step(TMagnetEngine& e, TRect from, TRect to, double now,
                std::optional<TRect> work = kWork, std::span<const TMagnetForm> forms = {},
                bool selfIsMain = false) {
    TMagnetContext ctx;
    ctx.Current = from;
    ctx.WorkArea = work;
    ctx.Now = now;
    ctx.Forms = forms;
    ctx.SelfIsMainForm = selfIsMain;
    auto moves = e.OnMoving(to, ctx);
    return {to, {moves.begin(), moves.end()}};
}

// Stamps one edge at the given time with a work-area snap that moves only that edge.
void Prime(TMagnetEngine& e, Edge edge, double at) {
    const bool screen = e.ScreenMagnet();
    e.SetScreenMagnet(true);
    switch (edge) {
    case Edge::Left:
        Step(e, H(3), H(2), at);
        break;
    case Edge::Right:
        Step(e, H(697), H(698), at);
        break;
    case Edge::Top:
        Step(e, V(3), V(2), at);
        break;
    case Edge::Bottom:
        Step(e, V(555), V(558), at);
        break;
    case Edge::None:
        break;
    }
    e.SetScreenMagnet(screen);
    ASSERT_EQ(StampOf(e, edge), at);
}

void PrimeFor(TMagnetEngine& e, Edge edge, Stamp stamp) {
    if (stamp == Stamp::Old)
        Prime(e, edge, kT0 - Ms(300));
    else if (stamp == Stamp::Recent)
        Prime(e, edge, kT0 - Ms(100));
}

// One step of a rules table: the block's edge stamp is primed, then the step runs at kT0.
struct RuleCase {
    const char* name;
    bool recent; // false: run with the stamp never set and with it 300 ms old
    TRect from, to, expected;
    Edge stamped; // the edge whose stamp the step sets
};

void RunRules(const char* block, Edge blockEdge, const std::vector<RuleCase>& cases,
              bool mainForm) {
    for (const RuleCase& c : cases) {
        for (Stamp stamp : {Stamp::Fresh, Stamp::Old, Stamp::Recent}) {
            if ((stamp == Stamp::Recent) != c.recent)
                continue;
            SCOPED_TRACE(std::string(block) + ": " + c.name + " (stamp " +
                         std::to_string(static_cast<int>(stamp)) + ")");
            TMagnetEngine e = MakeEngine();
            PrimeFor(e, blockEdge, stamp);
            const TMagnetForm main{nullptr, kMain, true};
            double before[5];
            for (Edge x : {Edge::Left, Edge::Right, Edge::Top, Edge::Bottom})
                before[static_cast<int>(x)] = StampOf(e, x);
            StepResult r;
            if (mainForm) {
                e.SetScreenMagnet(false);
                e.SetMainFormMagnet(true);
                r = Step(e, c.from, c.to, kT0, std::nullopt, {&main, 1});
            } else {
                r = Step(e, c.from, c.to, kT0);
            }
            EXPECT_EQ(r.rect, c.expected);
            for (Edge x : {Edge::Left, Edge::Right, Edge::Top, Edge::Bottom}) {
                if (x == c.stamped)
                    EXPECT_EQ(StampOf(e, x), kT0) << "edge " << static_cast<int>(x);
                else
                    EXPECT_EQ(StampOf(e, x), before[static_cast<int>(x)])
                        << "edge " << static_cast<int>(x);
            }
        }
    }
}

} // namespace

// ---- Work-area snapping, Area 10, work area (0, 0, 800, 600), form 100 by 40 ----

TEST(MagnetWorkArea, MovingLeft) {
    RunRules(
        "left", Edge::Left,
        {
            {"left edge 5 inside lands on it", false, H(8), H(5), H(0), Edge::Left},
            {"left edge 1 inside lands on it", false, H(4), H(1), H(0), Edge::Left},
            {"left edge 1 outside comes back", false, H(2), H(-1), H(0), Edge::Left},
            {"left edge 5 outside goes Area beyond", false, H(-2), H(-5), H(-10), Edge::Left},
            {"left edge 10 outside goes Area beyond", false, H(-7), H(-10), H(-10), Edge::Left},
            {"left edge 11 outside is free", false, H(-8), H(-11), H(-11), Edge::None},
            {"left edge 11 inside is free", false, H(14), H(11), H(11), Edge::None},
            {"left edge on the line is left alone", false, H(3), H(0), H(0), Edge::None},
            {"right edge 5 inside goes Area inside", false, H(698), H(695), H(690), Edge::Right},
            {"right edge 1 inside lands on it", false, H(702), H(699), H(700), Edge::Right},
            {"right edge 5 outside lands on it", false, H(708), H(705), H(700), Edge::Right},
            {"right edge 11 outside is free", false, H(714), H(711), H(711), Edge::None},
            {"recent: left edge 9 outside is held", true, H(-6), H(-9), H(0), Edge::Left},
            {"recent: left edge 9 inside lands", true, H(12), H(9), H(0), Edge::Left},
            {"recent: left edge on the line is stamped", true, H(3), H(0), H(0), Edge::Left},
            {"recent: left edge 10 outside is free", true, H(-7), H(-10), H(-10), Edge::None},
            {"recent: right edge 5 inside lands", true, H(698), H(695), H(700), Edge::Right},
            {"recent: right edge 9 outside lands", true, H(712), H(709), H(700), Edge::Right},
        },
        false);
}

TEST(MagnetWorkArea, MovingRight) {
    RunRules(
        "right", Edge::Right,
        {
            {"right edge 5 inside lands on it", false, H(692), H(695), H(700), Edge::Right},
            {"right edge 1 inside lands on it", false, H(696), H(699), H(700), Edge::Right},
            {"right edge 1 outside comes back", false, H(698), H(701), H(700), Edge::Right},
            {"right edge 5 outside goes Area beyond", false, H(702), H(705), H(710), Edge::Right},
            {"right edge 11 outside is free", false, H(708), H(711), H(711), Edge::None},
            {"left edge 5 outside lands on it", false, H(-8), H(-5), H(0), Edge::Left},
            {"left edge 1 outside goes Area inside", false, H(-4), H(-1), H(10), Edge::Left},
            {"left edge 5 inside goes Area inside", false, H(2), H(5), H(10), Edge::Left},
            {"left edge 11 inside is free", false, H(8), H(11), H(11), Edge::None},
            {"recent: right edge 9 outside is held", true, H(706), H(709), H(700), Edge::Right},
            {"recent: right edge 10 outside is free", true, H(707), H(710), H(710), Edge::None},
            {"recent: left edge 5 inside lands", true, H(2), H(5), H(0), Edge::Left},
        },
        false);
}

TEST(MagnetWorkArea, MovingUp) {
    RunRules("up", Edge::Top,
             {
                 {"top 5 inside lands on it", false, V(8), V(5), V(0), Edge::Top},
                 {"top 1 outside comes back", false, V(2), V(-1), V(0), Edge::Top},
                 {"top 5 outside goes Area beyond", false, V(-2), V(-5), V(-10), Edge::Top},
                 {"top 11 outside is free", false, V(-8), V(-11), V(-11), Edge::None},
                 {"bottom 5 inside goes Area inside", false, V(558), V(555), V(550), Edge::Bottom},
                 {"bottom 1 inside lands on it", false, V(562), V(559), V(560), Edge::Bottom},
                 {"bottom 5 outside lands on it", false, V(568), V(565), V(560), Edge::Bottom},
                 {"recent: top 9 outside is held", true, V(-6), V(-9), V(0), Edge::Top},
                 {"recent: top 10 outside is free", true, V(-7), V(-10), V(-10), Edge::None},
                 {"recent: bottom 3 inside lands", true, V(562), V(557), V(560), Edge::Bottom},
             },
             false);
}

TEST(MagnetWorkArea, MovingDown) {
    RunRules("down", Edge::Bottom,
             {
                 {"top 5 inside goes Area inside", false, V(2), V(5), V(10), Edge::Top},
                 {"top 10 inside goes Area inside", false, V(7), V(10), V(10), Edge::Top},
                 {"top 1 inside comes back", false, V(-2), V(1), V(0), Edge::Top},
                 {"top 5 outside lands on it", false, V(-8), V(-5), V(0), Edge::Top},
                 {"top 10 outside is free", false, V(-13), V(-10), V(-10), Edge::None},
                 {"top 11 inside is free", false, V(8), V(11), V(11), Edge::None},
                 {"bottom 5 inside lands on it", false, V(552), V(555), V(560), Edge::Bottom},
                 {"bottom 1 inside goes Area beyond", false, V(556), V(559), V(570), Edge::Bottom},
                 {"bottom 5 outside goes Area beyond", false, V(562), V(565), V(570), Edge::Bottom},
                 {"bottom 11 outside is free", false, V(568), V(571), V(571), Edge::None},
                 {"recent: top 5 inside lands", true, V(2), V(5), V(0), Edge::Top},
                 {"recent: bottom 5 inside goes Area beyond", true, V(552), V(555), V(570),
                  Edge::Bottom},
                 {"recent: bottom 10 outside is free", true, V(567), V(570), V(570), Edge::None},
             },
             false);
}

TEST(MagnetWorkArea, EachBlockReadsItsOwnEdgeStamp) {
    // A recent right stamp leaves the left block on its rules for a stamp that is not recent.
    TMagnetEngine e = MakeEngine();
    Prime(e, Edge::Right, kT0 - Ms(100));
    EXPECT_EQ(Step(e, H(-2), H(-5), kT0).rect, H(-10));
    // Recency is the distance either way: a stamp in the future counts too.
    TMagnetEngine f = MakeEngine();
    Prime(f, Edge::Left, kT0 + Ms(100));
    EXPECT_EQ(Step(f, H(-2), H(-5), kT0).rect, H(0));
    TMagnetEngine later = MakeEngine();
    Prime(later, Edge::Left, kT0 + Ms(300));
    EXPECT_EQ(Step(later, H(-2), H(-5), kT0).rect, H(-10));
    // 249 ms is recent, 251 ms is not.
    TMagnetEngine g = MakeEngine();
    Prime(g, Edge::Left, kT0 - Ms(249));
    EXPECT_EQ(Step(g, H(-2), H(-5), kT0).rect, H(0));
    TMagnetEngine h = MakeEngine();
    Prime(h, Edge::Left, kT0 - Ms(251));
    EXPECT_EQ(Step(h, H(-2), H(-5), kT0).rect, H(-10));
}

TEST(MagnetWorkArea, BlocksRunInOrderOnTheRectangleTheEarlierOnesLeft) {
    // A wide form held on the left edge: the left block moves it right, so the right block then
    // runs too and puts its right edge on the work area's.
    TMagnetEngine e = MakeEngine();
    Prime(e, Edge::Left, kT0 - Ms(100));
    const TRect r = Step(e, Bounds(-3, 300, 795, 40), Bounds(-4, 300, 795, 40), kT0).rect;
    EXPECT_EQ(r, Bounds(5, 300, 795, 40));
    EXPECT_EQ(e.LastRightSnap(), kT0);

    // Moving up with a recent top stamp, the bottom lands on the work area's bottom below where
    // the form was; the down block then runs with the bottom stamp just set.
    TMagnetEngine f = MakeEngine();
    Prime(f, Edge::Top, kT0 - Ms(100));
    EXPECT_EQ(Step(f, V(558), V(555), kT0).rect, V(570));
}

TEST(MagnetWorkArea, DragAgainstTheLeftEdge) {
    // 1 to 10 pixels inside the left edge lands on it.
    for (int k = 1; k <= 10; ++k) {
        TMagnetEngine e = MakeEngine();
        EXPECT_EQ(Step(e, H(k + 1), H(k), kT0).rect, H(0)) << k;
        TMagnetEngine f = MakeEngine();
        EXPECT_EQ(Step(f, H(40), H(k), kT0).rect, H(0)) << k;
    }
    // Pushing on 2 to 9 pixels past it stays on it while each step comes within 250 ms of the
    // last snap, however long the drag lasts.
    TMagnetEngine e = MakeEngine();
    ASSERT_EQ(Step(e, H(12), H(6), kT0).rect, H(0));
    double t = kT0;
    for (int k = 2; k <= 9; ++k) {
        t += Ms(200);
        EXPECT_EQ(Step(e, H(0), H(-k), t).rect, H(0)) << k;
    }
    // More than 250 ms after the last snap, 2 to 10 pixels past goes Area beyond the edge.
    for (int k = 2; k <= 10; ++k) {
        TMagnetEngine g = MakeEngine();
        Step(g, H(12), H(6), kT0);
        EXPECT_EQ(Step(g, H(0), H(-k), kT0 + Ms(300)).rect, H(-10)) << k;
    }
    // A single step that ends more than 10 pixels past it is not snapped, recent or not.
    for (double later : {Ms(100), Ms(300)}) {
        for (int k : {11, 25, 99}) {
            TMagnetEngine g = MakeEngine();
            Step(g, H(12), H(6), kT0);
            EXPECT_EQ(Step(g, H(0), H(-k), kT0 + later).rect, H(-k)) << k;
        }
    }
}

TEST(MagnetWorkArea, SmallAreas) {
    struct Case {
        std::uint32_t area;
        TRect from, to, expected;
    };
    const Case cases[] = {
        {0, H(8), H(5), H(5)},       // nothing in 2..0
        {0, H(4), H(1), H(0)},       // 1 pixel off still lands
        {0, H(2), H(-1), H(0)},      // on either side
        {0, H(1), H(-2), H(-2)},     //
        {0, V(552), V(555), V(555)}, // down: bottom 5 inside
        {0, V(556), V(559), V(559)}, // down: |y| in 1..0 is empty
        {1, H(5), H(2), H(2)},       // nothing in 2..1
        {1, H(4), H(1), H(0)},       //
        {1, H(1), H(-2), H(-2)},     //
        {1, V(556), V(559), V(561)}, // down: |y| = 1 goes 1 pixel beyond
        {2, H(5), H(2), H(0)},       // smallest Area with the full rules
        {3, H(1), H(-2), H(-3)},     // Area beyond
    };
    for (const Case& c : cases) {
        TMagnetEngine e = MakeEngine(c.area);
        EXPECT_EQ(Step(e, c.from, c.to, kT0).rect, c.expected)
            << "Area " << c.area << " to " << c.to.Left << "," << c.to.Top;
    }
    // With a recent stamp and Area 0 nothing is nearer than 0 pixels.
    TMagnetEngine e = MakeEngine();
    Prime(e, Edge::Left, kT0 - Ms(100));
    e.SetArea(0);
    EXPECT_EQ(Step(e, H(5), H(2), kT0).rect, H(2));
}

TEST(MagnetWorkArea, OneAxisDragsNeverTouchTheOtherAxis) {
    std::mt19937 rng(12345);
    std::uniform_int_distribution<int> pos(-30, 830), step(-15, 15), area(0, 30), ms(0, 400);
    TMagnetEngine e = MakeEngine();
    e.SetMainFormMagnet(true);
    const TMagnetForm main{nullptr, kMain, true};
    double t = kT0;
    for (int i = 0; i < 20000; ++i) {
        e.SetArea(static_cast<std::uint32_t>(area(rng)));
        t += Ms(ms(rng));
        const TRect from = Bounds(pos(rng), pos(rng) - 100, 100 + pos(rng) % 50, 40);
        const bool vertical = i % 2 == 0;
        const int d = step(rng);
        TRect to = from;
        if (vertical) {
            to.Top += d;
            to.Bottom += d;
        } else {
            to.Left += d;
            to.Right += d;
        }
        const TRect r = Step(e, from, to, t, kWork, {&main, 1}).rect;
        ASSERT_EQ(r.Width(), from.Width());
        ASSERT_EQ(r.Height(), from.Height());
        if (vertical)
            ASSERT_EQ(r.Left, from.Left) << i;
        else
            ASSERT_EQ(r.Top, from.Top) << i;
    }
}

// ---- Properties and the steps that are skipped ----

TEST(MagnetProperties, DefaultsAndAreaClamp) {
    TMagnetEngine e;
    EXPECT_FALSE(e.Active());
    EXPECT_TRUE(e.ScreenMagnet());
    EXPECT_EQ(e.Area(), 15u);
    EXPECT_TRUE(e.FormGlue());
    EXPECT_FALSE(e.MainFormMagnet());
    EXPECT_FALSE(e.NeedsWorkArea());
    EXPECT_FALSE(e.NeedsForms());

    for (auto [set, got] : {std::pair<std::uint32_t, std::uint32_t>{0, 0},
                            {255, 255},
                            {256, 255},
                            {1000, 255},
                            {0xFFFFFFFFu, 255}}) {
        e.SetArea(set);
        EXPECT_EQ(e.Area(), got) << set;
    }
    // A clamped Area snaps from 255 pixels away, not from further.
    TMagnetEngine f = MakeEngine(100000);
    EXPECT_EQ(Step(f, H(256), H(255), kT0).rect, H(0));
    TMagnetEngine g = MakeEngine(100000);
    EXPECT_EQ(Step(g, H(257), H(256), kT0).rect, H(256));
}

TEST(MagnetProperties, InactiveDoesNothing) {
    TMagnetEngine e = MakeEngine();
    e.SetFormGlue(true);
    e.SetMainFormMagnet(true);
    e.SetActive(false);
    const TMagnetForm forms[] = {{nullptr, Bounds(108, 0, 10, 10), false}, {nullptr, kMain, true}};
    const StepResult r = Step(e, H(8), H(5), kT0, kWork, forms);
    EXPECT_EQ(r.rect, H(5));
    EXPECT_TRUE(r.moves.empty());
    EXPECT_EQ(e.LastLeftSnap(), 0);
    EXPECT_FALSE(e.NeedsWorkArea());
    EXPECT_FALSE(e.NeedsForms());
    e.SetActive(true);
    EXPECT_TRUE(e.NeedsWorkArea());
    EXPECT_TRUE(e.NeedsForms());
    e.SetFormGlue(false);
    e.SetMainFormMagnet(false);
    EXPECT_FALSE(e.NeedsForms());
}

TEST(MagnetProperties, UnreadableWorkAreaSkipsOnlyThatStep) {
    TMagnetEngine e = MakeEngine();
    e.SetFormGlue(true);
    int id = 0;
    const TMagnetForm glued{&id, Bounds(108, 0, 10, 10), false};
    const StepResult r = Step(e, H(8), H(5), kT0, std::nullopt, {&glued, 1});
    EXPECT_EQ(r.rect, H(5));
    ASSERT_EQ(r.moves.size(), 1u);
    EXPECT_EQ(r.moves[0].Bounds, Bounds(105, 0, 10, 10));
    EXPECT_EQ(e.LastLeftSnap(), 0);
}

TEST(MagnetProperties, WithoutScreenAndMainFormMagnetOnlyGlueActs) {
    TMagnetEngine e = MakeEngine();
    e.SetScreenMagnet(false);
    e.SetFormGlue(true);
    int id = 0;
    const TMagnetForm forms[] = {{&id, Bounds(108, 0, 10, 10), false}, {nullptr, kMain, true}};
    const StepResult r = Step(e, H(8), H(5), kT0, kWork, forms);
    EXPECT_EQ(r.rect, H(5));
    ASSERT_EQ(r.moves.size(), 1u);
    EXPECT_EQ(r.moves[0].Bounds, Bounds(105, 0, 10, 10));
}

// ---- Glue ----

TEST(MagnetGlue, FormsOnTheLineOfAnEdgeMoveAlong) {
    TMagnetEngine e = MakeEngine();
    e.SetScreenMagnet(false);
    e.SetFormGlue(true);
    const TRect c = Bounds(100, 100, 100, 40); // 100, 100, 200, 140
    const TRect p = Bounds(107, 103, 100, 40);
    int ids[10];
    struct Case {
        const char* name;
        TRect bounds;
        bool glued;
    };
    const Case cases[] = {
        {"left on the right edge's line, far above", Bounds(200, -500, 50, 50), true},
        {"one pixel right of the right edge", Bounds(201, 100, 50, 50), false},
        {"right on the left edge's line", Bounds(40, 120, 60, 30), true},
        {"top on the bottom edge's line, far right", Bounds(900, 140, 10, 10), true},
        {"bottom on the top edge's line", Bounds(100, 60, 100, 40), true},
        {"one pixel above the top edge", Bounds(100, 59, 100, 40), false},
        {"overlapping without a shared line", Bounds(150, 120, 100, 100), false},
        {"same left line, same side", Bounds(100, 300, 50, 50), false},
        {"touching only the new place", Bounds(207, 0, 10, 10), false},
        {"one pixel below the bottom edge", Bounds(120, 141, 10, 10), false},
    };
    std::vector<TMagnetForm> forms;
    for (int i = 0; i < 10; ++i)
        forms.push_back({&ids[i], cases[i].bounds, false});
    const StepResult r = Step(e, c, p, kT0, kWork, forms);
    EXPECT_EQ(r.rect, p);
    std::size_t next = 0;
    for (int i = 0; i < 10; ++i) {
        SCOPED_TRACE(cases[i].name);
        if (!cases[i].glued)
            continue;
        ASSERT_LT(next, r.moves.size());
        EXPECT_EQ(r.moves[next].Id, &ids[i]);
        const TRect& b = cases[i].bounds;
        EXPECT_EQ(r.moves[next].Bounds, Bounds(b.Left + 7, b.Top + 3, b.Width(), b.Height()));
        ++next;
    }
    EXPECT_EQ(next, r.moves.size());
}

TEST(MagnetGlue, FollowsTheWorkAreaSnapAndNotTheMainFormSnap) {
    int id = 0;
    // Work-area snap: the form lands 8 pixels left, the glued one follows all 8.
    TMagnetEngine e = MakeEngine();
    e.SetFormGlue(true);
    const TMagnetForm right{&id, Bounds(108, 0, 10, 10), false};
    StepResult r = Step(e, H(8), H(5), kT0, kWork, {&right, 1});
    EXPECT_EQ(r.rect, H(0));
    ASSERT_EQ(r.moves.size(), 1u);
    EXPECT_EQ(r.moves[0].Bounds, Bounds(100, 0, 10, 10));

    // Main-form snap comes after glue: the glued form moves by the dragged step only.
    TMagnetEngine f = MakeEngine();
    f.SetScreenMagnet(false);
    f.SetFormGlue(true);
    f.SetMainFormMagnet(true);
    const TRect from = Bounds(350, 408, 100, 40), to = Bounds(350, 405, 100, 40);
    const TMagnetForm forms[] = {{nullptr, kMain, true}, {&id, Bounds(450, 1000, 50, 50), false}};
    r = Step(f, from, to, kT0, std::nullopt, forms);
    EXPECT_EQ(r.rect, Bounds(350, 400, 100, 40));
    ASSERT_EQ(r.moves.size(), 1u);
    EXPECT_EQ(r.moves[0].Bounds, Bounds(450, 997, 50, 50));
}

TEST(MagnetGlue, NoMovesWithoutAStepAndAtMostTheCapacity) {
    TMagnetEngine e = MakeEngine();
    e.SetScreenMagnet(false);
    e.SetFormGlue(true);
    std::vector<int> ids(TMagnetEngine::MaxGluedForms + 4);
    std::vector<TMagnetForm> forms;
    for (std::size_t i = 0; i < ids.size(); ++i)
        forms.push_back({&ids[i], Bounds(200, static_cast<int>(i) * 20, 10, 10), false});
    const TRect c = Bounds(100, 100, 100, 40);
    EXPECT_TRUE(Step(e, c, c, kT0, kWork, forms).moves.empty());
    const StepResult r = Step(e, c, Bounds(101, 100, 100, 40), kT0, kWork, forms);
    ASSERT_EQ(r.moves.size(), TMagnetEngine::MaxGluedForms);
    for (std::size_t i = 0; i < r.moves.size(); ++i)
        EXPECT_EQ(r.moves[i].Id, &ids[i]);
}

TEST(MagnetGlue, GluedMainFormIsSnappedToAtItsNewPlace) {
    // The main form sits on the form's top edge line; dragged up together they stay together.
    TMagnetEngine e = MakeEngine();
    e.SetScreenMagnet(false);
    e.SetFormGlue(true);
    e.SetMainFormMagnet(true);
    const TMagnetForm main{nullptr, Bounds(300, 300, 200, 100), true};
    const StepResult r = Step(e, Bounds(350, 400, 100, 40), Bounds(355, 397, 100, 40), kT0,
                              std::nullopt, {&main, 1});
    EXPECT_EQ(r.rect, Bounds(355, 397, 100, 40));
    ASSERT_EQ(r.moves.size(), 1u);
    EXPECT_EQ(r.moves[0].Bounds, Bounds(305, 297, 200, 100));
}

// ---- Main-form snapping, Area 10, main form (300, 300, 500, 400), form 100 by 40 ----

namespace {
// Overlapping the main form horizontally (vertical cases) or vertically (horizontal cases).
constexpr TRect X(int top) {
    return Bounds(350, top, 100, 40);
}
constexpr TRect Y(int left) {
    return Bounds(left, 320, 100, 40);
}
} // namespace

TEST(MagnetMainForm, MovingUp) {
    RunRules("up", Edge::Top,
             {
                 {"top 5 below the bottom: just below", false, X(408), X(405), X(400), Edge::Top},
                 {"top 5 inside the bottom: Area inside", false, X(398), X(395), X(390), Edge::Top},
                 {"top 1 below the bottom is free", false, X(404), X(401), X(401), Edge::None},
                 {"bottom 5 inside the top: just above", false, X(268), X(265), X(260), Edge::Top},
                 {"bottom 5 above the top: Area above", false, X(258), X(255), X(250), Edge::Top},
                 {"recent: top 9 inside the bottom: just below", true, X(394), X(391), X(400),
                  Edge::Top},
                 {"recent: bottom 9 inside the top: just above", true, X(272), X(269), X(260),
                  Edge::Top},
                 {"recent: top 10 below is free", true, X(413), X(410), X(410), Edge::None},
             },
             true);
}

TEST(MagnetMainForm, MovingDown) {
    RunRules(
        "down", Edge::Top,
        {
            {"top 5 below the bottom: Area below", false, X(402), X(405), X(410), Edge::Top},
            {"top 5 inside the bottom: just below", false, X(392), X(395), X(400), Edge::Top},
            {"bottom 1 inside the top: just above", false, X(258), X(261), X(260), Edge::Top},
            {"bottom 5 inside the top: just above", false, X(262), X(265), X(260), Edge::Top},
            {"bottom 5 above the top: Area inside", false, X(252), X(255), X(270), Edge::Top},
            {"bottom 11 above the top is free", false, X(246), X(249), X(249), Edge::None},
            {"recent: top 5 below the bottom: just below", true, X(402), X(405), X(400), Edge::Top},
            {"recent: bottom 5 above the top: just above", true, X(252), X(255), X(260), Edge::Top},
        },
        true);
}

TEST(MagnetMainForm, MovingLeft) {
    RunRules(
        "left", Edge::Right,
        {
            {"left 5 right of its right: just right", false, Y(508), Y(505), Y(500), Edge::Right},
            {"left 5 inside its right: Area inside", false, Y(498), Y(495), Y(490), Edge::Right},
            {"right 5 inside its left: just left", false, Y(208), Y(205), Y(200), Edge::Right},
            {"right 5 left of its left: Area left", false, Y(198), Y(195), Y(190), Edge::Right},
            {"left 1 right of its right is free", false, Y(504), Y(501), Y(501), Edge::None},
            {"recent: left 9 inside its right: just right", true, Y(494), Y(491), Y(500),
             Edge::Right},
            {"recent: right 9 inside its left: just left", true, Y(212), Y(209), Y(200),
             Edge::Right},
        },
        true);
}

TEST(MagnetMainForm, MovingRight) {
    RunRules(
        "right", Edge::Right,
        {
            {"right 5 left of its left: just left", false, Y(192), Y(195), Y(200), Edge::Right},
            {"right 5 inside its left: Area inside", false, Y(202), Y(205), Y(210), Edge::Right},
            {"left 5 inside its right: just right", false, Y(492), Y(495), Y(500), Edge::Right},
            {"left 5 right of its right: Area right", false, Y(502), Y(505), Y(510), Edge::Right},
            {"recent: right 9 inside its left: just left", true, Y(206), Y(209), Y(200),
             Edge::Right},
            {"recent: left 9 right of its right: just right", true, Y(506), Y(509), Y(500),
             Edge::Right},
        },
        true);
}

TEST(MagnetMainForm, SnapsOnlyWhileTheRectanglesOverlapOnTheOtherAxis) {
    struct Row {
        const char* name;
        TRect from, to;
        bool snaps;
    };
    // Moving up 5 pixels below its bottom, or left 5 pixels right of its right edge.
    auto up = [](const char* name, int left, int width, bool snaps) {
        return Row{name, Bounds(left, 408, width, 40), Bounds(left, 405, width, 40), snaps};
    };
    auto left = [](const char* name, int top, int height, bool snaps) {
        return Row{name, Bounds(508, top, 100, height), Bounds(505, top, 100, height), snaps};
    };
    const Row rows[] = {
        up("left edge on its right edge", 500, 100, false),
        up("left edge 1 inside its right edge", 499, 100, true),
        up("right edge on its left edge", 200, 100, false),
        up("right edge 1 inside its left edge", 201, 100, true),
        up("left edges aligned", 300, 100, true),
        up("wider on both sides", 250, 300, true),
        up("far to the right", 900, 100, false),
        left("top on its bottom", 400, 40, false),
        left("top 1 inside its bottom", 399, 40, true),
        left("bottom on its top", 260, 40, false),
        left("bottom 1 inside its top", 261, 40, true),
        left("tops aligned", 300, 40, true),
        left("taller on both sides", 250, 300, true),
    };
    const TMagnetForm main{nullptr, kMain, true};
    for (const Row& row : rows) {
        TMagnetEngine e = MakeEngine();
        e.SetScreenMagnet(false);
        e.SetMainFormMagnet(true);
        const TRect r = Step(e, row.from, row.to, kT0, std::nullopt, {&main, 1}).rect;
        EXPECT_EQ(r != row.to, row.snaps) << row.name;
    }
}

TEST(MagnetMainForm, VerticalBlocksRunFirstAndCanEndTheVerticalOverlap) {
    // Moving up and left onto the main form's top-left corner: the up block puts the form just
    // above it, after which the rectangles no longer overlap vertically and the left block
    // does not run.
    TMagnetEngine e = MakeEngine();
    e.SetScreenMagnet(false);
    e.SetMainFormMagnet(true);
    const TMagnetForm main{nullptr, kMain, true};
    const TRect r =
        Step(e, Bounds(208, 268, 100, 40), Bounds(205, 265, 100, 40), kT0, std::nullopt, {&main, 1})
            .rect;
    EXPECT_EQ(r, Bounds(205, 260, 100, 40));
    EXPECT_EQ(e.LastRightSnap(), 0);
}

TEST(MagnetMainForm, NeedsAMainFormOtherThanTheFormItself) {
    TMagnetEngine e = MakeEngine();
    e.SetScreenMagnet(false);
    e.SetMainFormMagnet(true);
    // No main form.
    const TMagnetForm other{nullptr, kMain, false};
    EXPECT_EQ(Step(e, X(408), X(405), kT0, std::nullopt, {&other, 1}).rect, X(405));
    // The form is the main form: it is not snapped to its own outside.
    const TRect self = Bounds(350, 300, 20, 8);
    const TMagnetForm selfEntry{nullptr, self, true};
    const TRect to = Bounds(350, 299, 20, 8);
    EXPECT_EQ(Step(e, self, to, kT0, std::nullopt, {&selfEntry, 1}, true).rect, to);
    EXPECT_EQ(Step(e, self, to, kT0, std::nullopt, {}, true).rect, to);
}

// ---- Robustness ----

TEST(MagnetRobustness, ExtremeInputsGiveADefinedResult) {
    std::mt19937 rng(777);
    const int extremes[] = {INT_MIN, INT_MIN + 1, -1000000000, -300,        -1,     0,
                            1,       300,         1000000000,  INT_MAX - 1, INT_MAX};
    std::uniform_int_distribution<int> pick(0, static_cast<int>(std::size(extremes)) - 1),
        any(INT_MIN, INT_MAX);
    auto value = [&] { return rng() % 2 ? extremes[pick(rng)] : any(rng); };
    auto rect = [&] { return TRect{value(), value(), value(), value()}; };
    TMagnetEngine e = MakeEngine(255);
    e.SetFormGlue(true);
    e.SetMainFormMagnet(true);
    const double times[] = {kT0, 0, -kT0, std::numeric_limits<double>::quiet_NaN(),
                            std::numeric_limits<double>::infinity()};
    for (int i = 0; i < 20000; ++i) {
        TMagnetForm forms[3] = {
            {nullptr, rect(), true}, {nullptr, rect(), false}, {nullptr, rect(), false}};
        TMagnetContext ctx;
        ctx.Current = rect();
        if (i % 3)
            ctx.WorkArea = rect();
        ctx.Now = times[i % std::size(times)];
        ctx.Forms = forms;
        TRect p = i % 4 ? rect() : ctx.Current;
        if (i % 5 == 0)
            forms[1].Bounds.Left = ctx.Current.Right; // glued
        const auto moves = e.OnMoving(p, ctx);
        ASSERT_LE(moves.size(), TMagnetEngine::MaxGluedForms);
    }
}
