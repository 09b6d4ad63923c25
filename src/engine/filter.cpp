#include "engine/filter.h"

namespace kq {

Filter::Filter() {
    DefineMacro("pow", "((%1)^(%2))");
    DefineMacro("rtt", "((%1)^(1/(%2)))");
    DefineMacro("log", "(lg(%1)/lg(%2))");
}

bool Filter::DefineMacro(std::string_view name, std::string_view templ) {
    ++defined_;
    if (defined_ >= kCapacity) return false;
    MacroTemplate m;
    m.opening = std::string(name) + "<";
    const std::size_t first = templ.find("%1");
    const std::size_t second = first == std::string_view::npos ? std::string_view::npos : templ.find("%2", first + 2);
    if (second == std::string_view::npos) {
        m.before = std::string(templ);
    } else {
        m.before = std::string(templ.substr(0, first));
        m.middle = std::string(templ.substr(first + 2, second - first - 2));
        m.after = std::string(templ.substr(second + 2));
    }
    macros_.push_back(std::move(m));
    return true;
}

std::string Filter::Apply(std::string_view input) const {
    std::string text;
    text.reserve(input.size());
    // Blanks carry no meaning anywhere in a formula.
    for (char c : input)
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n') text.push_back(c);
    text = ReplaceBars(std::move(text));
    for (const MacroTemplate& macro : macros_) text = Expand(macro, std::move(text));
    return text;
}

// Each pass turns the outermost bar pairs it can match into "(abs(" and "))"; a bar right
// after an operator or another bar opens a nested pair left for the next pass.
std::string Filter::ReplaceBars(std::string text) {
    bool opening = true;
    for (;;) {
        int bars = 0, pending = 0, depth = 0, markDepth = 0;
        std::string out;
        out.reserve(text.size() + 8);
        for (std::size_t i = 0; i < text.size(); ++i) {
            const char c = text[i];
            switch (c) {
                case '(':
                    if (!opening) ++depth;
                    out.push_back(c);
                    break;
                case ')':
                    if (!opening) --depth;
                    out.push_back(c);
                    break;
                case ',':
                    out.push_back('.');
                    break;
                case '|': {
                    ++bars;
                    const char prev = i > 0 ? text[i - 1] : '\0';
                    const bool afterOperator = prev == '+' || prev == '-' || prev == '*' || prev == '/' ||
                                               prev == '^' || prev == '|';
                    if (!opening && i > 0 && afterOperator) {
                        ++pending;
                        out.push_back('|');
                    } else if (depth == markDepth && pending == 0) {
                        if (opening) {
                            out += "(abs(";
                            markDepth = depth;
                            opening = false;
                        } else {
                            out += "))";
                            opening = true;
                        }
                    } else {
                        out.push_back('|');
                        if (pending > 0) --pending;
                    }
                    break;
                }
                default:
                    out.push_back(c);
            }
        }
        // A pass that changes nothing would change nothing again: stop there.
        const bool changed = out != text;
        text = std::move(out);
        if (!(depth == 0 && bars > 0 && changed)) break;
    }
    return text;
}

namespace {

// Collects from `pos` up to the bracket that closes the level opened just before it; `pos`
// ends on that bracket (or at the end of the text when it never closes).
std::string CollectBalanced(const std::string& text, std::size_t& pos, char open, char close) {
    std::string arg;
    int level = 0;
    while (pos < text.size()) {
        const char c = text[pos];
        if (c == open) ++level;
        if (c == close) {
            if (level == 0) break;
            --level;
        }
        arg.push_back(c);
        ++pos;
    }
    return arg;
}

}  // namespace

std::string Filter::Expand(const MacroTemplate& macro, std::string text) {
    std::size_t count = 0;
    for (std::size_t p = text.find(macro.opening); p != std::string::npos; p = text.find(macro.opening, p + 1)) ++count;
    for (std::size_t round = 0; round <= count; ++round) {
        const std::size_t start = text.find(macro.opening);
        if (start == std::string::npos) break;
        std::size_t pos = start + macro.opening.size();
        const std::string angle = CollectBalanced(text, pos, '<', '>');
        pos += 2;  // the ">" and the "(" after it
        std::string paren;
        if (pos <= text.size()) paren = CollectBalanced(text, pos, '(', ')');
        const std::size_t rest = pos < text.size() ? pos + 1 : text.size();
        std::string rebuilt = text.substr(0, start);
        rebuilt += macro.before;
        rebuilt += paren;
        rebuilt += macro.middle;
        rebuilt += angle;
        rebuilt += macro.after;
        rebuilt.append(text, rest, std::string::npos);
        text = std::move(rebuilt);
    }
    return text;
}

}  // namespace kq
