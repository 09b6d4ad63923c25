#include "plot/point_finder.h"

#include "plot/parallel_runs.h"

namespace kq {

PointFinder::PointFinder() = default;

PointFinder::~PointFinder() = default;

void PointFinder::Prepare(const PointQuery& query) {
    const bool modeChanged = query.degrees != degrees_ || query.exact != exact_;
    degrees_ = query.degrees;
    exact_ = query.exact;
    while (translators_.size() < query.formulas.size()) {
        translators_.push_back(std::make_unique<Translator>());
        texts_.emplace_back();
        translators_.back()->SetDegrees(degrees_);
        translators_.back()->SetExactFunctions(exact_);
        translators_.back()->Translate("");
    }
    for (std::size_t i = 0; i < query.formulas.size(); ++i) {
        Translator& t = *translators_[i];
        if (modeChanged) {
            t.SetDegrees(degrees_);
            t.SetExactFunctions(exact_);
        }
        if (texts_[i] != query.formulas[i]) {
            t.Translate(query.formulas[i]);
            texts_[i] = query.formulas[i];
        }
    }
}

NotablePoints PointFinder::Find(const PointQuery& query) {
    Prepare(query);
    std::vector<PlotCurve> curves;
    for (std::size_t i = 0; i < query.formulas.size(); ++i)
        curves.push_back({translators_[i].get(), i < query.numbers.size() ? query.numbers[i] : static_cast<int>(i)});
    PointOptions options;
    options.view = query.view;
    options.columns = query.columns;
    options.absolute = query.absolute;
    options.limit = query.limit;
    options.threads = MachineThreads();
    NotablePoints points = FindNotablePoints(curves, options);
    if (RoundsToDigits(query.rounding))
        for (NotablePoint& p : points.points)
            if (p.hasY) p.y = RoundToDigits(p.y, query.rounding);
    return points;
}

AreaResult PointFinder::Area(const PointQuery& query, std::size_t index, long double a, long double b) {
    Prepare(query);
    if (index >= query.formulas.size()) {
        AreaResult none;
        none.failure = AreaResult::Failure::Undefined;
        none.where = a;
        return none;
    }
    return SignedArea(*translators_[index], a, b);
}

}  // namespace kq
