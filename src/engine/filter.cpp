#include "engine/filter.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "engine/macro_expansion.h"

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
    // Blanks carry no meaning anywhere in a formula; the decimal comma is a point.
    for (char c : input) {
        if (c == ',')
            text.push_back('.');
        else if (c != ' ' && c != '\t' && c != '\r' && c != '\n')
            text.push_back(c);
    }
    text = ReplaceBars(std::move(text));
    for (const MacroTemplate& macro : macros_) text = ExpandMacro(macro, std::move(text));
    return text;
}

// Each pass turns the outermost bar pairs it can match into "(abs(" and "))"; a bar right
// after an operator or another bar opens a nested pair left for the next pass.
std::string Filter::ReplaceBars(std::string text) {
    // Passes only ever turn bars into brackets, so this count bounds every pass's.
    const std::size_t bars = static_cast<std::size_t>(std::count(text.begin(), text.end(), '|'));
    if (bars == 0) return text;
    bool opening = true;
    for (int pass = 0; pass < kMaxBarPasses; ++pass) {
        const std::size_t n = text.size();
        std::string out(n + 4 * bars, '\0');  // a bar becomes at most five characters
        char* write = out.data();
        const char* const read = text.data();
        std::ptrdiff_t depth = 0, markDepth = 0;
        std::size_t pending = 0;
        bool changed = false;
        for (std::size_t i = 0; i < n; ++i) {
            if (opening) {
                // Until a pair opens only bars do anything.
                const void* bar = std::memchr(read + i, '|', n - i);
                const std::size_t stop = bar ? static_cast<const char*>(bar) - read : n;
                std::memcpy(write, read + i, stop - i);
                write += stop - i;
                i = stop;
                if (i == n) break;
            }
            const char c = read[i];
            if (c != '|') {
                // Brackets count only while a pair is open.
                depth += (c == '(') - (c == ')');
                *write++ = c;
                continue;
            }
            const char prev = i > 0 ? read[i - 1] : '\0';
            const bool afterOperator =
                prev == '+' || prev == '-' || prev == '*' || prev == '/' || prev == '^' || prev == '|';
            if (!opening && i > 0 && afterOperator) {
                ++pending;
                *write++ = '|';
            } else if (depth == markDepth && pending == 0) {
                if (opening) {
                    std::memcpy(write, "(abs(", 5);
                    write += 5;
                    markDepth = depth;
                    opening = false;
                } else {
                    std::memcpy(write, "))", 2);
                    write += 2;
                    opening = true;
                }
                changed = true;
            } else {
                *write++ = '|';
                if (pending > 0) --pending;
            }
        }
        out.resize(static_cast<std::size_t>(write - out.data()));
        text = std::move(out);
        // A pass that changes nothing would change nothing again: stop there.
        if (!(depth == 0 && changed)) break;
    }
    return text;
}

}  // namespace kq
