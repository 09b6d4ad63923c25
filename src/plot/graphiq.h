// The plane graph: a main formula and up to 100 list formulas y = f(x), drawn with axes into
// any canvas. One Draw serves the screen, the printer, picture files and the command line.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/eval_status.h"
#include "engine/translator.h"
#include "plot/canvas.h"
#include "plot/column_cache.h"
#include "plot/view_rect.h"

namespace kq {

class Graphiq {
public:
    static constexpr int kMaxListFormulas = 100;
    static constexpr int kInitialListFormulas = 10;

    Graphiq();
    ~Graphiq();

    // Called when SetView asks for a repaint (the screen's paint box connects here).
    std::function<void()> onRepaint;

    void SetFormula(std::string_view text);
    const std::string& Formula() const { return formula_; }

    void SetView(const ViewRect& view, bool repaint);
    const ViewRect& View() const { return view_; }
    // True until the view is assigned for the first time.
    bool NotSetUp() const { return notSetUp_; }

    // |y| = f(x) instead of y = f(x).
    void SetAbsoluteMode(bool on) { absolute_ = on; }
    bool AbsoluteMode() const { return absolute_; }

    // Degrees instead of radians for the trigonometric functions of every formula, including
    // list translators reserved later.
    void SetDegrees(bool degrees);
    bool Degrees() const { return main_.Degrees(); }

    // Each list formula in its own colour (ListCurveColour) instead of all black; the main
    // formula stays black. Every canvas follows: screen, pictures and prints.
    void SetColoured(bool on) { coloured_ = on; }
    bool Coloured() const { return coloured_; }
    // The pen of formula `index` (0 the main one, i >= 1 list formula i).
    Rgb CurveColour(int index) const;
    // List formula i (1-based) is drawn in palette colour `slot` (ListCurveColour); until
    // told otherwise, list formula i has colour i. False when i is beyond the reserved ones.
    bool SetListColour(int i, int slot);

    // "Точные функции" for every formula, including list translators reserved later
    // (Translator::SetExactFunctions).
    void SetExactFunctions(bool exact);
    bool ExactFunctions() const { return main_.ExactFunctions(); }

    // Rounding digits of every formula's value (-1: none).
    void SetRounding(int digits);
    int Rounding() const { return main_.Rounding(); }

    // Makes at least n list translators exist (never more than 100).
    void Reserve(int n);
    int Reserved() const { return static_cast<int>(list_.size()); }
    // List formula i (1-based) gets `text`; false when i is beyond the reserved translators.
    bool SetListFormula(int i, std::string_view text);
    // The text list formula i (1-based) was given last; empty beyond the reserved ones.
    const std::string& ListFormula(int i) const;
    // How many list formulas are drawn (at most the reserved ones).
    void SetListCount(int count);
    int ListCount() const { return listCount_; }

    // Index 0 is the main formula, i >= 1 list formula i; the formula's y is 0.
    EvalStatus Evaluate(long double x, int index, long double& value);
    // The same with the slopes there (Translator::TrySlopes: the value before rounding).
    EvalStatus EvaluateSlopes(long double x, int index, Slopes& out);

    // `density` is device pixels per canvas pixel: above 1 the curves are sampled at every
    // device column and drawn through the device pixels' centres (with fractional canvas
    // coordinates), so that a fine screen shows them smooth; axes and labels stay on the
    // canvas's own pixels.
    void Draw(Canvas& canvas, int width, int height, bool withAxes, bool greyLabels, double density = 1);
    // The graph as the screen and its pictures show it: on white, the numbers grey.
    void DrawOnWhite(Canvas& canvas, int width, int height, bool withAxes, double density = 1);

    // How many threads evaluate the formulas a frame needs (0, the default: the machine's
    // cores). Every formula has its own translator and one thread, so the bits never depend
    // on it.
    void SetThreads(int threads) { threads_ = threads; }
    // How many formulas' columns the frames so far have evaluated: a frame evaluates only
    // those whose text, view, size, angle unit, rounding, |y| mode or exact functions changed.
    long long ColumnEvaluations() const { return evaluations_; }
    // Formula `index`'s values and statuses at the columns of the last frame (nullptr when
    // it was not drawn), valid until the next frame.
    const FormulaColumns* DrawnColumns(int index) const {
        return index >= 0 && index < static_cast<int>(drawn_.size()) ? drawn_[index] : nullptr;
    }

private:
    Translator& FormulaAt(int index) { return index == 0 ? main_ : *list_[index - 1]; }
    // Whether the next column's value lies strictly inside the canvas rows.
    bool NextInside(const FormulaColumns& c, int px, int height, const PixelMap& map, bool mirrored, bool neg,
                    bool brk) const;
    bool DomainEndPoint(Translator& formula, const FormulaColumns& c, const PixelMap& map, int px, int toward,
                        int height, bool mirrored, int& column, int& row) const;
    // One curve: a formula's values, or their mirror image (the second pass in |y| mode).
    // Touches only the formula and `c`, so curves may be drawn on several threads at once.
    void DrawCurve(Canvas& canvas, const PixelMap& map, int width, int height, Translator& formula,
                   const FormulaColumns& c, bool mirrored) const;
    // Curve j of the frame's columns, on the grid it was sampled on.
    void PaintCurve(Canvas& canvas, int j) const;
    // The columns and curve of every drawn formula, from the cache or worked out (the
    // formulas in parallel), into drawn_: this thread does `meanwhile`, then calls use(j) for
    // every formula in order as soon as its curve is there.
    void Columns(const PixelMap& map, int width, int height, const std::function<void()>& meanwhile,
                 const std::function<void(int)>& use);

    Translator main_;
    std::string formula_;
    std::vector<std::unique_ptr<Translator>> list_;
    std::vector<std::string> listTexts_;  // what each list translator was given
    std::vector<int> listColours_;  // the palette slot of each list translator
    int listCount_ = 0;
    ViewRect view_;
    bool notSetUp_ = true;
    bool absolute_ = false;
    bool coloured_ = false;
    std::vector<long double> columns_;  // the x of every column, reused between draws
    ColumnCache cache_;
    std::vector<const FormulaColumns*> drawn_;  // the last frame's columns of each formula
    int threads_ = 0;
    long long evaluations_ = 0;
};

}  // namespace kq
