// The calculator page's state without its widgets: the two fields' texts and which is active,
// evaluating one field into the other, and the list of past results.
#pragma once

#include <array>
#include <deque>
#include <functional>
#include <optional>
#include <string>

#include "calc/calc_engine.h"

namespace kq {

class CalcSession {
public:
    struct Item {
        std::string caption;  // "source  (=result)"
        std::string name;     // "EmptyNo" and the result counter
        std::string result;   // the result text alone; empty when there was none
        std::string source;   // the expression evaluated
    };

    // What "=" would write for a field's text, without writing it: the result in the output
    // base, or why there would be none (Russian). An empty text has neither.
    struct LiveResult {
        bool ok = false;
        std::string text;
    };

    struct Outcome {
        int source = 1, target = 2;  // fields: 1 first, 2 second
        CalcEngine::Result result;
    };

    CalcEngine& Engine() { return engine_; }

    int ActiveField() const { return active_; }
    void SetActiveField(int field) { active_ = field == 2 ? 2 : 1; }

    // The text of field 1 or 2 (any other number means 1), as the page shows it.
    const std::string& Line(int field) const { return lines_[Index(field)]; }
    // A new text for a field; `onLineChanged` is told which, when the text is another.
    void SetLine(int field, const std::string& text);
    std::function<void(int field)> onLineChanged;

    // "=": the active field's text is evaluated; the other field becomes active and gets the
    // result; the results list gets an item either way.
    Outcome Evaluate(const std::string& sourceText);
    // The same evaluation with nothing recorded: no field, no result, no list item changes.
    LiveResult Preview(const std::string& sourceText);

    // The field that got the last result (0 when the last "=" failed or none came yet).
    int LastResultField() const { return last_ ? lastField_ : 0; }
    // After the output base changed: the last result written in the new base, when
    // `fieldText` (what its field holds now) is still that result as it was written; then
    // it counts as written so. Nothing when the field was edited or the base is unusable.
    std::optional<std::string> LastResultInBase(const std::string& fieldText);

    // Newest first.
    const std::deque<Item>& Results() const { return results_; }
    void ClearResults() { results_.clear(); }
    // Whether "=" records its item (the window's list does; the command line has no list).
    void SetKeepResults(bool keep) { keepResults_ = keep; }
    int Counter() const { return counter_; }

private:
    static std::size_t Index(int field) { return field == 2 ? 1 : 0; }

    CalcEngine engine_;
    std::array<std::string, 2> lines_;
    int active_ = 1;
    int counter_ = 0;
    std::optional<CalcEngine::Result> last_;
    int lastField_ = 0;
    std::deque<Item> results_;
    bool keepResults_ = true;
};

// Leading blanks, an optional sign, then digits; no digits gives 0 (how "5" in the custom
// base editor and rounding texts are read). Saturates instead of overflowing.
int LeadingInteger(const std::string& text);

}  // namespace kq
