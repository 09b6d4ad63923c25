#include "calc/calc_session.h"

#include <climits>

#include "calc/base_format.h"
#include "calc/calc_texts.h"
#include "engine/eval_status.h"

namespace kq {

CalcSession::Outcome CalcSession::Evaluate(const std::string& sourceText) {
    Outcome o;
    o.source = active_;
    o.target = active_ == 1 ? 2 : 1;
    active_ = o.target;
    engine_.Translate(sourceText);
    o.result = engine_.ResultText();
    last_.reset();
    if (o.result.ok) last_ = o.result;
    lastField_ = o.target;
    if (keepResults_)
        results_.push_front(Item{sourceText + "  (=" + o.result.text + ")", "EmptyNo" + std::to_string(counter_),
                                 o.result.text, sourceText});
    ++counter_;
    return o;
}

CalcSession::LiveResult CalcSession::Preview(const std::string& sourceText) {
    if (sourceText.find_first_not_of(" \t") == std::string::npos) return {};
    engine_.Translate(sourceText);
    const CalcEngine::Result r = engine_.ResultText();
    if (r.ok) return {true, r.text};
    if (r.badBase) return {false, kBadBaseText};
    return {false, UndefinedValueMessage()};
}

void CalcSession::SetLine(int field, const std::string& text) {
    std::string& line = lines_[Index(field)];
    if (line == text) return;
    line = text;
    if (onLineChanged) onLineChanged(field == 2 ? 2 : 1);
}

std::optional<std::string> CalcSession::LastResultInBase(const std::string& fieldText) {
    if (!last_ || fieldText != last_->text) return std::nullopt;
    const std::optional<std::string> text = FormatInBase(last_->value, engine_.Base());
    if (!text) return std::nullopt;
    last_->text = *text;
    return text;
}

int LeadingInteger(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
        value = value * 10 + (text[i++] - '0');
        if (value > INT_MAX) value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

}  // namespace kq
