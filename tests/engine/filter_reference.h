// The text rewriting as it was first written: every bar pass and every macro round rebuilds the
// whole text. Slow (quadratic) but plain; the filter must give exactly its text for every input
// (within the bar pass bound), so the tests compare the two on many texts.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/filter.h"

namespace kq::test {

inline std::string ReferenceReplaceBars(std::string text) {
    bool opening = true;
    for (;;) {
        int bars = 0, pending = 0, depth = 0, markDepth = 0;
        std::string out;
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
                case ',': out.push_back('.'); break;
                case '|': {
                    ++bars;
                    const char prev = i > 0 ? text[i - 1] : '\0';
                    const bool afterOperator =
                        prev == '+' || prev == '-' || prev == '*' || prev == '/' || prev == '^' || prev == '|';
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
                default: out.push_back(c);
            }
        }
        const bool changed = out != text;
        text = std::move(out);
        if (!(depth == 0 && bars > 0 && changed)) break;
    }
    return text;
}

inline std::string ReferenceCollect(const std::string& text, std::size_t& pos, char open, char close) {
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

inline std::string ReferenceExpand(const MacroTemplate& macro, std::string text) {
    std::size_t count = 0;
    for (std::size_t p = text.find(macro.opening); p != std::string::npos; p = text.find(macro.opening, p + 1)) ++count;
    for (std::size_t round = 0; round <= count; ++round) {
        const std::size_t start = text.find(macro.opening);
        if (start == std::string::npos) break;
        std::size_t pos = start + macro.opening.size();
        const std::string angle = ReferenceCollect(text, pos, '<', '>');
        pos += 2;
        std::string paren;
        if (pos <= text.size()) paren = ReferenceCollect(text, pos, '(', ')');
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

inline std::string ReferenceApply(const Filter& filter, std::string_view input) {
    std::string text;
    for (char c : input)
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n') text.push_back(c);
    text = ReferenceReplaceBars(std::move(text));
    for (const MacroTemplate& macro : filter.Macros()) text = ReferenceExpand(macro, std::move(text));
    return text;
}

}  // namespace kq::test
