// The arithmetic behind the "Графики" page, kept apart from its widgets: reading and writing
// the range editors, the 1:1 aspect, the zoom rectangle, zooming out, and which list formulas
// a click on the list compiles.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "plot/view_rect.h"

namespace kq {

// A range editor's text as a number (a point separates decimals); anything else is 0.
long double ReadRange(std::string_view text);

// What is wrong with a pair of range editors, in Russian, one text for each ("" when it is
// fine): a text that is not a number (it counts as 0), or an "от" not below its "до".
struct RangeProblems {
    std::string from, to;
};
RangeProblems CheckRange(std::string_view fromText, std::string_view toText);

// A bound as the editors show it: 4 significant digits, %g style.
std::string WriteRange(long double value);

// Equal bounds are pulled apart by 0.00001 (xmin, then ymin), as the 1:1 mode and zooming
// out do before working with a range.
void SeparateEqualBounds(ViewRect& view);

// The 1:1 adjustment: the x range widened or narrowed about its middle so that a unit has
// the same length on both axes of a W x H canvas, at any scale. Returns nothing when it cannot apply
// (zero-sized canvas, y range below 1e-12); `view` keeps the equal-bounds correction.
std::optional<ViewRect> OneToOne(ViewRect& view, int width, int height);

// In 1:1 mode the dragged corner's column follows its row, keeping the canvas's aspect.
int OneToOneColumn(int width, int height, int startColumn, int startRow, int row);

// The view inside a rectangle dragged on the canvas, whichever corner it started from.
ViewRect ZoomToRectangle(const ViewRect& view, int width, int height, int column1, int row1, int column2, int row2);

// Zooming out by a quarter of the x range on each side; nothing once |x| passes 4e7.
std::optional<ViewRect> ZoomOut(const ViewRect& view, int width, int height);

// The line under the formula editor: what the engine would silently do with a doubtful text,
// each doubt after the position of its character (counted from 1, as a user counts),
// "Позиция 5: неизвестное слово «sinx» считается нулём; позиция 9: ..."; "" when clean.
std::string FormulaDoubts(std::string_view text);

// The point under the mouse, written at the view's resolution (as many decimals as tell
// neighbouring pixels apart), in C notation; `x` is the number its text says.
struct PointerReading {
    long double x = 0, y = 0;
    long double yStep = 0;  // what one pixel row is worth
    std::string xText, yText;
};
std::optional<PointerReading> ReadPointer(const ViewRect& view, int width, int height, int column, int row);

// A value written with the decimals of a step of `resolution` (fixed notation for ordinary
// magnitudes, 6 significant digits in %g style beyond them; never "-0").
std::string WriteAtResolution(long double value, long double resolution);

// The line under the graph: "x = 1.25   y = -0.40", and "   f(x) = 0.95" (at the y
// resolution) when the main formula has a value there.
std::string PointerLineText(const PointerReading& at, std::optional<long double> value);

// What a click on the formula list does, given the checked states now and at the last click.
class FormulaListState {
public:
    struct Click {
        bool recompile = false;    // hand `compile` to list translators 1, 2, ...
        std::vector<int> compile;  // the checked items in list order
        bool redraw = false;       // the selected item is or was checked
        bool copyText = false;     // the selected item only gets copied into the formula editor
    };

    Click OnClick(const std::vector<bool>& checked, int selected);
    void Forget();  // nothing checked, as at start-up
    int CheckedAtLastClick() const { return count_; }

private:
    std::vector<bool> checked_;
    int count_ = 0;
};

}  // namespace kq
