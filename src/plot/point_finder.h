// The notable points and areas of a view as the plane page's worker thread and the points verb
// ask for them: the curves as texts and modes in a query that compares equal to the same view,
// so that an answer can be matched to what is shown, and a finder with translators of its own.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "engine/rounding.h"
#include "plot/notable_points.h"
#include "plot/signed_area.h"
#include "plot/view_rect.h"

namespace kq {

struct PointQuery {
    std::vector<std::string> formulas;  // the curves: the main formula, then the ticked list ones
    std::vector<int> numbers;           // each one's number: 0 the main formula, i list formula i
    ViewRect view;
    int columns = 1920;
    bool absolute = false;  // |y| = f(x)
    bool degrees = false;
    bool exact = false;  // the double-precision functions in long double
    int rounding = kNoRounding;  // of the values reported, not of where the points are
    std::size_t limit = 1000;
    friend bool operator==(const PointQuery&, const PointQuery&) = default;
};

// One thread's finder: not to be shared between threads at once (each has its own).
class PointFinder {
public:
    PointFinder();
    ~PointFinder();

    // Every notable point of the query's curves. They are located on the formulas before
    // rounding (a rounded formula is a staircase); the values reported are rounded.
    NotablePoints Find(const PointQuery& query);

    // The signed area under the query's curve `index` (its place in `formulas`) from a to b.
    AreaResult Area(const PointQuery& query, std::size_t index, long double a, long double b);

private:
    // A translator for each formula of the query, translated again only where the text or a
    // mode changed.
    void Prepare(const PointQuery& query);

    std::vector<std::unique_ptr<Translator>> translators_;
    std::vector<std::string> texts_;
    bool degrees_ = false;
    bool exact_ = false;
};

}  // namespace kq
