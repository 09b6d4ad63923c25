// The plane renderer's column cache: each change a frame can see re-evaluates exactly the
// formulas it touches, the cached frame draws what a new renderer draws, and several threads
// give the bits of one.
#include <gtest/gtest.h>

#include <cfloat>

#include <atomic>
#include <chrono>
#include <cstring>
#include <functional>
#include <new>
#include <stdexcept>
#include <thread>
#include <vector>

#include "plot/graphiq.h"
#include "plot/parallel_runs.h"
#include "support/recording_canvas.h"

namespace kq {
namespace {

const char* const kList[] = {"sin(x)", "sqrt(x)", "1/x", "tg(x)+pi"};
constexpr int kFormulas = 5;  // the main one and the list

// What a frame is drawn from, so that a renderer without a cache can be given the same.
struct Scene {
    std::string formula = "cos(x^2-3)";
    std::vector<std::string> list{std::begin(kList), std::end(kList)};
    int count = 4;
    ViewRect view{-10, 10, -5, 5};
    int width = 200, height = 100;
    bool degrees = false, absolute = false, exact = false;
    int rounding = -1;
};

void Prepare(Graphiq& g, const Scene& s) {
    g.SetFormula(s.formula);
    g.Reserve(static_cast<int>(s.list.size()));
    for (std::size_t i = 0; i < s.list.size(); ++i) g.SetListFormula(static_cast<int>(i) + 1, s.list[i]);
    g.SetListCount(s.count);
    g.SetView(s.view, false);
    g.SetDegrees(s.degrees);
    g.SetAbsoluteMode(s.absolute);
    g.SetExactFunctions(s.exact);
    g.SetRounding(s.rounding);
}

std::vector<std::string> Frame(Graphiq& g, const Scene& s) {
    RecordingCanvas c;
    g.Draw(c, s.width, s.height, true, false);
    return c.calls;
}

struct Change {
    const char* name;
    // Changes the scene and the renderer that draws it alike.
    std::function<void(Scene&, Graphiq&)> apply;
    int evaluated;  // formulas evaluated again by the next frame
};

const Change kChanges[] = {
    {"Nothing", [](Scene&, Graphiq&) {}, 0},
    {"View", [](Scene& s, Graphiq& g) { g.SetView(s.view = {-3, 7, -5, 5}, false); }, kFormulas},
    {"ViewBarely", [](Scene& s, Graphiq& g) { s.view.xmax = 10.000000000000000001L; g.SetView(s.view, false); },
     kFormulas},
    {"Width", [](Scene& s, Graphiq&) { s.width = 201; }, kFormulas},
    // The columns' x do not depend on the height: the values stay, the rows follow it.
    {"Height", [](Scene& s, Graphiq&) { s.height = 150; }, 0},
    {"MainFormula", [](Scene& s, Graphiq& g) { g.SetFormula(s.formula = "x/2"); }, 1},
    {"ListFormula", [](Scene& s, Graphiq& g) { g.SetListFormula(3, s.list[2] = "1/(x-1)"); }, 1},
    {"SameText", [](Scene& s, Graphiq& g) { g.SetListFormula(2, s.list[1]); }, 0},
    {"Ticked", [](Scene& s, Graphiq& g) {
         g.Reserve(5);
         g.SetListFormula(5, "x^2");
         s.list.push_back("x^2");
         g.SetListCount(s.count = 5);
     }, 1},
    {"Unticked", [](Scene& s, Graphiq& g) { g.SetListCount(s.count = 2); }, 0},
    // Ticking an entry above others moves them to other translators: they stay cached.
    {"TickedAbove", [](Scene& s, Graphiq& g) {
         s.list = {"sin(x)", "x^3", "sqrt(x)", "1/x", "tg(x)+pi"};
         for (int i = 0; i < 5; ++i) {
             g.Reserve(5);
             g.SetListFormula(i + 1, s.list[i]);
         }
         g.SetListCount(s.count = 5);
     }, 1},
    {"AngleMode", [](Scene& s, Graphiq& g) { g.SetDegrees(s.degrees = true); }, kFormulas},
    {"Rounding", [](Scene& s, Graphiq& g) { g.SetRounding(s.rounding = 1); }, kFormulas},
    {"AbsoluteMode", [](Scene& s, Graphiq& g) { g.SetAbsoluteMode(s.absolute = true); }, kFormulas},
    {"ExactFunctions", [](Scene& s, Graphiq& g) { g.SetExactFunctions(s.exact = true); }, kFormulas},
};

class ColumnCacheChange : public testing::TestWithParam<Change> {};

TEST_P(ColumnCacheChange, EvaluatesWhatChangedAndDrawsWhatANewRendererDraws) {
    Scene scene;
    Graphiq cached;
    Prepare(cached, scene);
    Frame(cached, scene);
    ASSERT_EQ(cached.ColumnEvaluations(), kFormulas);
    GetParam().apply(scene, cached);
    const std::vector<std::string> frame = Frame(cached, scene);
    EXPECT_EQ(cached.ColumnEvaluations() - kFormulas, GetParam().evaluated);
    Graphiq fresh;
    Prepare(fresh, scene);
    EXPECT_EQ(frame, Frame(fresh, scene));
}

INSTANTIATE_TEST_SUITE_P(Changes, ColumnCacheChange, testing::ValuesIn(kChanges),
                         [](const testing::TestParamInfo<Change>& change) { return std::string(change.param.name); });

// Back and forth between two views: each frame evaluates what it shows, and what it drops
// is evaluated again when it comes back.
TEST(ColumnCache, KeepsOnlyTheLastFrame) {
    Scene scene;
    Graphiq g;
    Prepare(g, scene);
    Frame(g, scene);
    g.SetView({0, 1, 0, 1}, false);
    Frame(g, scene);
    g.SetView(scene.view, false);
    Frame(g, scene);
    EXPECT_EQ(g.ColumnEvaluations(), 3 * kFormulas);
}

// The 80 bits of each value (the rest of a long double's storage is padding).
bool SameBits(const FormulaColumns& a, const FormulaColumns& b) {
    if (a.values.size() != b.values.size() || a.statuses != b.statuses) return false;
    for (std::size_t k = 0; k < a.values.size(); ++k)
        if (std::memcmp(&a.values[k], &b.values[k], 10) != 0) return false;
    return true;
}

// Every formula on a thread of its own gives the bits of one thread evaluating them all,
// and of the formula evaluated on its own.
TEST(ColumnCache, SeveralThreadsGiveTheBitsOfOne) {
    Scene scene;
    scene.list = {"sin(x)", "cos(x)", "tg(x)", "sec(x)", "arcsin(x)", "arctg(x)",
                  "ln(x)", "log<x>(2*x)", "log<3>(x)", "cos(x^2-3)", "abs(x+2)/(x+2)-x", "x^x"};
    scene.count = 12;
    scene.width = 1920;
    scene.height = 1080;
    Graphiq one, many;
    Prepare(one, scene);
    Prepare(many, scene);
    one.SetThreads(1);
    many.SetThreads(8);
    for (const bool degrees : {false, true}) {
        one.SetDegrees(degrees);
        many.SetDegrees(degrees);
        scene.degrees = degrees;
        EXPECT_EQ(Frame(one, scene), Frame(many, scene));
        for (int j = 0; j <= scene.count; ++j) {
            ASSERT_TRUE(one.DrawnColumns(j) && many.DrawnColumns(j));
            EXPECT_TRUE(SameBits(*one.DrawnColumns(j), *many.DrawnColumns(j))) << j;
            Translator alone;
            alone.SetDegrees(degrees);
            alone.Translate(j == 0 ? scene.formula : scene.list[j - 1]);
            FormulaColumns own;
            own.values.resize(scene.width + 1);
            own.statuses.resize(scene.width + 1);
            const PixelMap map(scene.view, scene.width, scene.height);
            std::vector<long double> xs(scene.width + 1);
            for (int px = 0; px <= scene.width; ++px) xs[px] = map.XOfColumn(px);
            alone.TryValues(xs, 0, own.values, own.statuses);
            EXPECT_TRUE(SameBits(own, *many.DrawnColumns(j))) << j;
        }
    }
}

// A canvas that gives out (out of memory, say) after `calls` drawing calls.
class FailingCanvas : public RecordingCanvas {
public:
    explicit FailingCanvas(int allowed) : left_(allowed) {}
    void SetPenColor(Rgb c) override {
        Spend();
        RecordingCanvas::SetPenColor(c);
    }
    void LineTo(int x, int y) override {
        Spend();
        RecordingCanvas::LineTo(x, y);
    }

private:
    void Spend() {
        if (left_-- <= 0) throw std::bad_alloc();
    }
    int left_;
};

// A frame cut short by a failure (in the axes, or halfway through the curves) leaves nothing
// half done behind: the next frame draws what a renderer that never failed draws.
TEST(ColumnCache, AFailedFrameLeavesNothingHalfDone) {
    const char* const list[] = {"sin(x)", "tg(x)", "x^2-3", "1/(x-2)", "ln(x)"};
    RecordingCanvas expected;
    {
        Graphiq g;
        g.SetFormula("cos(x^2-3)");
        for (int i = 0; i < 5; ++i) g.SetListFormula(i + 1, list[i]);
        g.SetListCount(5);
        g.SetView({-10, 10, -5, 5}, false);
        g.Draw(expected, 300, 200, true, false, 1.0);
    }
    for (const int threads : {1, 2, 4}) {
        for (const int calls : {0, 5, 40, 400, 1500}) {
            Graphiq g;
            g.SetThreads(threads);
            g.SetFormula("cos(x^2-3)");
            for (int i = 0; i < 5; ++i) g.SetListFormula(i + 1, list[i]);
            g.SetListCount(5);
            g.SetView({-10, 10, -5, 5}, false);
            FailingCanvas failing(calls);
            EXPECT_THROW(g.Draw(failing, 300, 200, true, false, 1.0), std::bad_alloc) << threads << " " << calls;
            RecordingCanvas again;
            g.Draw(again, 300, 200, true, false, 1.0);
            EXPECT_EQ(again.calls, expected.calls) << threads << " " << calls;
        }
    }
}

// Every job runs once, whatever the threads; a job's failure reaches the caller once all
// threads are done.
TEST(ParallelRuns, EveryJobOnceAndFailuresReachTheCaller) {
    for (const int threads : {1, 2, 7}) {
        std::vector<std::atomic<int>> runs(50);
        RunInParallel(50, threads, [&](int i) { ++runs[static_cast<std::size_t>(i)]; });
        for (const auto& r : runs) EXPECT_EQ(r.load(), 1);
        EXPECT_THROW(RunInParallel(50, threads, [](int i) { if (i == 17) throw std::runtime_error("job"); }),
                     std::runtime_error);
    }
    RunInParallel(0, 4, [](int) { FAIL(); });
}

// Results used in an order of one's own: each job runs once, a job awaited has finished, and
// a failure anywhere reaches the caller, whether it awaits the failed job or another.
TEST(ParallelRuns, OrderedJobsAreAwaitedInAnyOrder) {
    for (const int threads : {1, 2, 7}) {
        constexpr int kJobs = 40;
        std::vector<std::atomic<int>> runs(kJobs);
        {
            OrderedJobs jobs(kJobs, threads, [&](int k) {
                if (k % 3 == 0) std::this_thread::sleep_for(std::chrono::microseconds(200));
                ++runs[static_cast<std::size_t>(k)];
            });
            for (int k = kJobs; k-- > 0;) {  // last first: most are still to come
                jobs.Await(k);
                EXPECT_EQ(runs[static_cast<std::size_t>(k)].load(), 1) << threads << " " << k;
            }
            jobs.Finish();
        }
        for (const auto& r : runs) EXPECT_EQ(r.load(), 1) << threads;
        for (const int awaited : {5, 30}) {
            OrderedJobs failing(kJobs, threads, [](int k) {
                if (k == 5) throw std::runtime_error("job");
            });
            EXPECT_THROW(
                {
                    failing.Await(awaited);
                    failing.Finish();
                },
                std::runtime_error)
                << threads << " " << awaited;
        }
        OrderedJobs none(0, threads, [](int) { FAIL(); });
        none.Finish();
    }
}

// Jobs on other threads compute long double in full, as the caller does (some systems start
// threads rounding to 53 bits, which would change the points and columns found there).
TEST(ParallelRuns, EveryThreadKeepsSixtyFourBits) {
    std::vector<int> full(8, 0);
    RunInParallel(8, 8, [&](int i) {
        volatile long double one = 1, epsilon = LDBL_EPSILON;
        full[static_cast<std::size_t>(i)] = one + epsilon != one;
    });
    for (int f : full) EXPECT_EQ(f, 1);
}

}  // namespace
}  // namespace kq
