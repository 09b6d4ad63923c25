#include "plot/graphiq.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "plot/axes.h"
#include "plot/curve_palette.h"
#include "plot/parallel_runs.h"

namespace kq {

Graphiq::Graphiq() { Reserve(kInitialListFormulas); }

Graphiq::~Graphiq() = default;

void Graphiq::SetFormula(std::string_view text) {
    formula_ = std::string(text);
    main_.Translate(text);
}

void Graphiq::SetView(const ViewRect& view, bool repaint) {
    view_ = view;
    notSetUp_ = false;
    if (repaint && onRepaint) onRepaint();
}

void Graphiq::SetRounding(int digits) {
    main_.SetRounding(digits);
    for (auto& t : list_) t->SetRounding(digits);
}

void Graphiq::SetDegrees(bool degrees) {
    main_.SetDegrees(degrees);
    for (auto& t : list_) t->SetDegrees(degrees);
}

void Graphiq::SetExactFunctions(bool exact) {
    main_.SetExactFunctions(exact);
    for (auto& t : list_) t->SetExactFunctions(exact);
}

void Graphiq::Reserve(int n) {
    n = std::min(n, kMaxListFormulas);
    while (static_cast<int>(list_.size()) < n) {
        list_.push_back(std::make_unique<Translator>());
        listTexts_.emplace_back();
        listColours_.push_back(static_cast<int>(list_.size()));
        list_.back()->SetRounding(main_.Rounding());
        list_.back()->SetDegrees(main_.Degrees());
        list_.back()->SetExactFunctions(main_.ExactFunctions());
    }
}

bool Graphiq::SetListFormula(int i, std::string_view text) {
    if (i < 1 || i > static_cast<int>(list_.size())) return false;
    list_[i - 1]->Translate(text);
    listTexts_[i - 1] = std::string(text);
    return true;
}

const std::string& Graphiq::ListFormula(int i) const {
    static const std::string none;
    return i >= 1 && i <= static_cast<int>(listTexts_.size()) ? listTexts_[i - 1] : none;
}

void Graphiq::SetListCount(int count) { listCount_ = std::clamp(count, 0, static_cast<int>(list_.size())); }

Rgb Graphiq::CurveColour(int index) const {
    if (!coloured_ || index < 1 || index > static_cast<int>(list_.size())) return kBlack;
    return ListCurveColour(listColours_[index - 1]);
}

bool Graphiq::SetListColour(int i, int slot) {
    if (i < 1 || i > static_cast<int>(list_.size()) || slot < 1) return false;
    listColours_[i - 1] = slot;
    return true;
}

EvalStatus Graphiq::Evaluate(long double x, int index, long double& value) {
    if (index < 0 || index > listCount_) return EvalStatus::NoValue;
    return FormulaAt(index).TryValue(x, 0, value);
}

EvalStatus Graphiq::EvaluateSlopes(long double x, int index, Slopes& out) {
    if (index < 0 || index > listCount_) return EvalStatus::NoValue;
    return FormulaAt(index).TrySlopes(x, 0, out);
}

namespace {

// The strokes of a grid `scale` times finer than the canvas's pixels, handed on as polylines
// through the centres of the fine pixels; everything else goes to the canvas unchanged.
class FinerGrid : public Canvas {
public:
    FinerGrid(Canvas& canvas, double scaleX, double scaleY) : canvas_(canvas), sx_(scaleX), sy_(scaleY) {}
    ~FinerGrid() override { Flush(); }
    FinerGrid(const FinerGrid&) = delete;
    FinerGrid& operator=(const FinerGrid&) = delete;

    void SetPenColor(Rgb color) override {
        Flush();
        canvas_.SetPenColor(color);
    }
    void SetPenWidth(int width) override {
        Flush();
        canvas_.SetPenWidth(width);
    }
    void SetBrushClear(bool clear) override { canvas_.SetBrushClear(clear); }
    void SetFontSize(int points) override { canvas_.SetFontSize(points); }
    void SetFontColor(Rgb color) override { canvas_.SetFontColor(color); }
    void MoveTo(int x, int y) override {
        Flush();
        x_ = x;
        y_ = y;
    }
    void LineTo(int x, int y) override {
        if (x == x_ && y == y_) return;  // a line to the point itself shows nothing
        if (run_.empty()) run_.push_back(Centre(x_, y_));
        run_.push_back(Centre(x, y));
        x_ = x;
        y_ = y;
    }
    void TextOut(int x, int y, std::string_view utf8) override {
        Flush();
        canvas_.TextOut(x, y, utf8);
    }
    void Rectangle(int x1, int y1, int x2, int y2) override {
        Flush();
        canvas_.Rectangle(x1, y1, x2, y2);
    }
    void Fill(Rgb color) override {
        Flush();
        canvas_.Fill(color);
    }
    Size TextExtent(std::string_view utf8) override { return canvas_.TextExtent(utf8); }

    void Flush() {
        if (run_.size() >= 2) canvas_.Polyline(run_);
        run_.clear();
    }

private:
    CanvasPoint Centre(int x, int y) const { return {(x + 0.5) / sx_, (y + 0.5) / sy_}; }

    Canvas& canvas_;
    double sx_, sy_;
    int x_ = 0, y_ = 0;
    std::vector<CanvasPoint> run_;
};

}  // namespace

void Graphiq::Draw(Canvas& canvas, int width, int height, bool withAxes, bool greyLabels, double density) {
    const PixelMap map(view_, width, height);
    if (map.Degenerate() || width <= 0 || height <= 0) return;
    // On a fine screen every device column is sampled; a canvas pixel is then several rows
    // and columns of the sampling grid.
    constexpr double kMostDensity = 8;
    const double d = std::isfinite(density) ? std::min(density, kMostDensity) : 1;
    const int fineWidth = static_cast<int>(std::lround(width * d)), fineHeight = static_cast<int>(std::lround(height * d));
    const bool fine = d > 1 && fineWidth > width && fineHeight > height;
    const PixelMap curveMap = fine ? PixelMap(view_, fineWidth, fineHeight) : map;
    // The axes are painted while the formulas are evaluated on the other cores, and each curve
    // as soon as its formula is done, in the list's order.
    std::vector<AxisLabel> labels;
    std::optional<FinerGrid> grid;
    if (fine) grid.emplace(canvas, static_cast<double>(fineWidth) / width, static_cast<double>(fineHeight) / height);
    Canvas& curves = grid ? static_cast<Canvas&>(*grid) : canvas;
    Columns(
        curveMap, fine ? fineWidth : width, fine ? fineHeight : height,
        [&] {
            if (withAxes) labels = DrawAxes(canvas, view_, map, width, height);
            canvas.SetPenColor(kBlack);
            canvas.SetPenWidth(1);
        },
        [&](int j) { PaintCurve(curves, j); });
    grid.reset();  // what the finer grid still holds goes out under the numbers
    canvas.SetPenWidth(1);
    // The numbers go over the curves, so that none is hidden under one.
    DrawAxisLabels(canvas, labels, greyLabels);
}

void Graphiq::PaintCurve(Canvas& canvas, int j) const {
    if (coloured_ && j > 0) canvas.SetPenColor(CurveColour(j));
    for (const CurveStep& step : drawn_[j]->strokes) {
        if (step.line) canvas.LineTo(step.x, step.y);
        else canvas.MoveTo(step.x, step.y);
    }
}

namespace {

// Writes a curve's steps down; a curve draws nothing else.
class StepRecorder : public Canvas {
public:
    explicit StepRecorder(std::vector<CurveStep>& steps) : steps_(steps) {}
    void SetPenColor(Rgb) override {}
    void SetPenWidth(int) override {}
    void SetBrushClear(bool) override {}
    void SetFontSize(int) override {}
    void SetFontColor(Rgb) override {}
    void MoveTo(int x, int y) override { steps_.push_back({x, y, false}); }
    void LineTo(int x, int y) override { steps_.push_back({x, y, true}); }
    void TextOut(int, int, std::string_view) override {}
    void Rectangle(int, int, int, int) override {}
    void Fill(Rgb) override {}
    Size TextExtent(std::string_view) override { return {}; }

private:
    std::vector<CurveStep>& steps_;
};

}  // namespace

void Graphiq::Columns(const PixelMap& map, int width, int height, const std::function<void()>& meanwhile,
                      const std::function<void(int)>& use) {
    // One value per column (and one beyond, for the look-ahead of the last column), each
    // formula running its own loop over the columns' x.
    const int count = width + 1;
    std::vector<const FormulaColumns*> found(listCount_ + 1);
    std::vector<int> jobOf(listCount_ + 1, -1);  // the job that works out each formula's curve
    struct Job {
        int index;
        FormulaColumns* columns;
        bool evaluate;
    };
    std::vector<Job> jobs;
    for (int j = 0; j <= listCount_; ++j) {
        const Translator& t = FormulaAt(j);
        ColumnKey key{j == 0 ? formula_ : listTexts_[j - 1], view_, count, t.Degrees(), t.Rounding(), absolute_,
                      t.ExactFunctions()};
        // Formulas of the same text share their columns, worked out once.
        FormulaColumns* columns = cache_.Find(key);
        const bool evaluate = !columns;
        if (evaluate) columns = &cache_.Add(std::move(key));
        found[j] = columns;
        const auto queued = std::find_if(jobs.begin(), jobs.end(), [&](const Job& job) { return job.columns == columns; });
        if (queued != jobs.end()) {
            jobOf[j] = static_cast<int>(queued - jobs.begin());
        } else if (evaluate || columns->strokeRows != height) {
            jobOf[j] = static_cast<int>(jobs.size());
            jobs.push_back({j, columns, evaluate});
        }
    }
    cache_.EndFrame();
    drawn_ = std::move(found);
    if (jobs.empty()) {
        meanwhile();
        for (int j = 0; j <= listCount_; ++j) use(j);
        return;
    }
    columns_.resize(count);
    for (int px = 0; px < count; ++px) columns_[px] = map.XOfColumn(px);
    for (const Job& job : jobs) evaluations_ += job.evaluate ? 1 : 0;
    try {
        OrderedJobs work(static_cast<int>(jobs.size()), threads_ > 0 ? threads_ : MachineThreads(), [&](int k) {
            Translator& formula = FormulaAt(jobs[k].index);
            FormulaColumns& c = *jobs[k].columns;
            if (jobs[k].evaluate) {
                c.values.resize(count);
                c.statuses.resize(count);
                c.defined.resize(count);
                formula.TryValues(columns_, 0, c.values, c.statuses);
                for (int px = 0; px < count; ++px) c.defined[px] = c.statuses[px] == EvalStatus::Ok;
            }
            c.strokes.clear();
            StepRecorder steps(c.strokes);
            DrawCurve(steps, map, width, height, formula, c, false);
            if (absolute_) DrawCurve(steps, map, width, height, formula, c, true);
            c.strokeRows = height;
        });
        meanwhile();
        for (int j = 0; j <= listCount_; ++j) {
            if (jobOf[j] >= 0) work.Await(jobOf[j]);
            use(j);
        }
        work.Finish();
    } catch (...) {
        // The jobs are joined by now; those never taken left their entries empty, and the
        // next frame must not take them for evaluated. After a failure nothing is kept.
        cache_.Clear();
        drawn_.clear();
        throw;
    }
}

void Graphiq::DrawOnWhite(Canvas& canvas, int width, int height, bool withAxes, double density) {
    canvas.Fill({255, 255, 255});
    canvas.SetFontColor(kGrey);
    Draw(canvas, width, height, withAxes, true, density);
}

namespace {

// |y| = f(x): below the axis the curve is first brought down to it, then broken off.
long double SignRule(long double y, bool absolute, bool& neg, bool& brk) {
    if (!absolute) return y;
    if (y < 0) {
        if (!neg) y = 0;
        else brk = true;
        neg = true;
    } else {
        neg = false;
    }
    return y;
}

// Between a defined x and a failing one a column apart, the defined point nearest the failing
// one, where the formula's domain ends: bisection in long double, a bounded number of halvings.
long double DomainEnd(Translator& formula, long double defined, long double failing, long double& value) {
    constexpr int kHalvings = 64;
    for (int i = 0; i < kHalvings; ++i) {
        const long double middle = defined + (failing - defined) / 2;
        if (middle == defined || middle == failing) break;
        long double y = 0;
        if (formula.TryValue(middle, 0, y) == EvalStatus::Ok) {
            defined = middle;
            value = y;
        } else {
            failing = middle;
        }
    }
    return defined;
}

}  // namespace

// Where the curve ends inside a column next to a failing one: the point of the domain's end,
// its row pulled to an edge row when it lies beyond the canvas (as a curve leaving it is drawn).
bool Graphiq::DomainEndPoint(Translator& formula, const FormulaColumns& c, const PixelMap& map, int px, int toward,
                             int height, bool mirrored, int& column, int& row) const {
    long double y = c.values[px];
    const long double x = DomainEnd(formula, map.XOfColumn(px), map.XOfColumn(toward), y);
    if (absolute_ && y < 0) y = 0;  // |y| meets the axis
    if (mirrored) y = -y;
    const long double r = map.y0 - y * map.ky;
    if (std::isnan(r)) return false;
    row = r < 0 ? 1 : r > height - 1 ? height - 2 : static_cast<int>(std::trunc(r));
    column = static_cast<int>(std::lround(map.x0 + x * map.kx));
    return true;
}

bool Graphiq::NextInside(const FormulaColumns& c, int px, int height, const PixelMap& map, bool mirrored, bool neg,
                         bool brk) const {
    if (!c.defined[px + 1]) return false;
    long double ahead = SignRule(c.values[px + 1], absolute_, neg, brk);
    if (mirrored) ahead = -ahead;
    int row = 0;
    return PixelOf(map.y0 - ahead * map.ky, row) && row > 0 && row < height - 1;
}

void Graphiq::DrawCurve(Canvas& canvas, const PixelMap& map, int width, int height, Translator& formula,
                        const FormulaColumns& c, bool mirrored) const {
    const std::vector<long double>& values = c.values;
    const std::vector<char>& defined = c.defined;
    const SpecialPointSet& specials = formula.Specials();
    // Each curve starts with the pen down and no negative stretch behind it, whatever the
    // curve before it left.
    bool brk = false, neg = false;
    bool pendingMove = false, inBand = false;
    const long double columnWidth = 1 / map.kx;
    // The likely poles of the whole view, listed once: most columns hold none, and those need
    // not ask the formula. A column that holds one asks as before, so it gets the same answer.
    // The columns' x run one way (toward smaller x in a mirrored view), so the view's ends are
    // those of its first and last columns, and a cursor walks the list beside them.
    const bool rising = columns_[0] <= columns_[width - 1];
    const long double low = rising ? columns_[0] : columns_[width - 1];
    const long double high = rising ? columns_[width - 1] : columns_[0];
    const long double from = std::min(low, low + columnWidth), to = std::max(high, high + columnWidth);
    std::vector<long double> inView;
    const bool listed = specials.Within(from, to, 4 * static_cast<std::size_t>(width), inView);
    const std::ptrdiff_t listedCount = static_cast<std::ptrdiff_t>(inView.size());
    std::ptrdiff_t cursor = rising ? 0 : listedCount - 1;
    for (int px = 0; px < width; ++px) {
        const long double x = columns_[px];  // map.XOfColumn(px), worked out once a frame
        // At most one likely pole per column is sampled, so the pen lifts there.
        const long double lo = std::min(x, x + columnWidth), hi = std::max(x, x + columnWidth);
        bool ask = !listed;
        if (listed && rising) {
            while (cursor < listedCount && inView[cursor] < lo) ++cursor;
            ask = cursor < listedCount && inView[cursor] <= hi;
        } else if (listed) {
            while (cursor >= 0 && inView[cursor] > hi) --cursor;
            ask = cursor >= 0 && inView[cursor] >= lo;
        }
        const std::optional<long double> found = ask ? specials.Query(lo, hi) : std::nullopt;
        const long double special = found.value_or(0);
        const int samples = found ? 2 : 1;
        int drawnRow = -1;
        for (int l = 0; l < samples; ++l) {
            if (!pendingMove) pendingMove = brk;
            brk = false;
            long double y = 0;
            bool ok = l == 0 ? defined[px] != 0 : formula.TryValue(special, 0, y) == EvalStatus::Ok;
            if (l == 0) y = values[px];
            int py = 0;
            if (ok) {
                y = SignRule(y, absolute_, neg, brk);
                if (mirrored) y = -y;
                ok = PixelOf(map.y0 - y * map.ky, py);
            }
            if (ok) {
                if (py >= 0 && py <= height) inBand = true;
                if (!inBand && defined[px + 1]) {
                    // A curve about to enter the canvas is drawn from its edge.
                    bool n2 = neg, b2 = brk;
                    long double ahead = SignRule(values[px + 1], absolute_, n2, b2);
                    if (mirrored) ahead = -ahead;
                    int pyAhead = -100;
                    if (!PixelOf(map.y0 - ahead * map.ky, pyAhead)) pyAhead = -100;
                    if (pyAhead >= 0 && pyAhead <= height) inBand = true;
                }
                if (inBand) {
                    if (py < 0) {
                        py = 1;
                        inBand = false;
                    }
                    if (py > height - 1) {
                        py = height - 2;
                        inBand = false;
                    }
                }
            } else {
                brk = true;
                neg = false;
            }
            if (!brk && l == 0) {
                if (pendingMove) {
                    // After a failing column the curve starts where the domain does.
                    int column = px, row = py;
                    if (px > 0 && !defined[px - 1] && py > 0 && py < height - 1)
                        DomainEndPoint(formula, c, map, px, px - 1, height, mirrored, column, row);
                    canvas.MoveTo(column, row);
                    pendingMove = false;
                }
                if (px == 0) canvas.MoveTo(px, py);
                else canvas.LineTo(px, py);
                // On an edge row the curve is leaving, so the pen lifts; unless the next
                // column is inside the canvas, when it is entering and must stay joined.
                if ((py <= 0 || py >= height - 1) && !NextInside(c, px, height, map, mirrored, neg, brk)) brk = true;
                drawnRow = py;
            } else {
                neg = false;
            }
        }
        // Before a failing column the curve goes on to where the domain ends (a likely pole
        // that failed in this column has lifted the pen already).
        int column = px, row = drawnRow;
        if (!brk && drawnRow > 0 && drawnRow < height - 1 && !defined[px + 1] &&
            DomainEndPoint(formula, c, map, px, px + 1, height, mirrored, column, row) &&
            (column != px || row != drawnRow))
            canvas.LineTo(column, row);
    }
}

}  // namespace kq
