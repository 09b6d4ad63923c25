#include "engine/filter.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "engine/language_tables.h"
#include "engine/macro_expansion.h"

namespace kq {

Filter::Filter() {
    for (const MacroInfo& m : LanguageMacros()) DefineMacro(m.name, m.templ);
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

std::string Filter::Apply(std::string_view input) const { return Rewrite(input, nullptr); }

std::string Filter::Apply(std::string_view input, std::vector<std::uint32_t>& origins) const {
    return Rewrite(input, &origins);
}

std::string Filter::Rewrite(std::string_view input, std::vector<std::uint32_t>* origins) const {
    std::string text;
    text.reserve(input.size());
    if (origins) origins->clear();
    // Blanks carry no meaning anywhere in a formula; the decimal comma is a point.
    for (std::size_t i = 0; i < input.size(); ++i) {
        const char c = input[i];
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') continue;
        text.push_back(c == ',' ? '.' : c);
        if (origins) origins->push_back(static_cast<std::uint32_t>(i));
    }
    text = ReplaceBars(std::move(text), origins);
    for (const MacroTemplate& macro : macros_) text = ExpandMacro(macro, std::move(text), origins);
    return text;
}

// Each pass turns the outermost bar pairs it can match into "(abs(" and "))"; a bar right
// after an operator or another bar opens a nested pair left for the next pass.
std::string Filter::ReplaceBars(std::string text, std::vector<std::uint32_t>* origins) {
    // Passes only ever turn bars into brackets, so this count bounds every pass's.
    const std::size_t bars = static_cast<std::size_t>(std::count(text.begin(), text.end(), '|'));
    if (bars == 0) return text;
    std::vector<std::uint32_t> written;
    bool opening = true;
    for (int pass = 0; pass < kMaxBarPasses; ++pass) {
        const std::size_t n = text.size();
        std::string out(n + 4 * bars, '\0');  // a bar becomes at most five characters
        char* write = out.data();
        const char* const read = text.data();
        if (origins) written.resize(out.size());
        // Copies n characters from read + i, keeping their origins.
        auto copy = [&](std::size_t i, std::size_t count) {
            if (origins) std::copy_n(origins->begin() + i, count, written.begin() + (write - out.data()));
            std::memcpy(write, read + i, count);
            write += count;
        };
        // Writes the text a bar at i became.
        auto insert = [&](std::size_t i, std::string_view inserted) {
            if (origins)
                std::fill_n(written.begin() + (write - out.data()), inserted.size(), (*origins)[i] | kInserted);
            std::memcpy(write, inserted.data(), inserted.size());
            write += inserted.size();
        };
        std::ptrdiff_t depth = 0, markDepth = 0;
        std::size_t pending = 0;
        bool changed = false;
        for (std::size_t i = 0; i < n; ++i) {
            if (opening) {
                // Until a pair opens only bars do anything.
                const void* bar = std::memchr(read + i, '|', n - i);
                const std::size_t stop = bar ? static_cast<const char*>(bar) - read : n;
                copy(i, stop - i);
                i = stop;
                if (i == n) break;
            }
            if (read[i] != '|') {
                // Brackets count only while a pair is open: up to the next bar.
                const std::size_t from = i;
                const std::ptrdiff_t at = write - out.data();
                for (; i < n && read[i] != '|'; ++i) {
                    depth += (read[i] == '(') - (read[i] == ')');
                    *write++ = read[i];
                }
                if (origins) std::copy(origins->begin() + from, origins->begin() + i, written.begin() + at);
                --i;
                continue;
            }
            const char prev = i > 0 ? read[i - 1] : '\0';
            const bool afterOperator =
                prev == '+' || prev == '-' || prev == '*' || prev == '/' || prev == '^' || prev == '|';
            if (!opening && i > 0 && afterOperator) {
                ++pending;
                copy(i, 1);
            } else if (depth == markDepth && pending == 0) {
                if (opening) {
                    insert(i, "(abs(");
                    markDepth = depth;
                    opening = false;
                } else {
                    insert(i, "))");
                    opening = true;
                }
                changed = true;
            } else {
                copy(i, 1);
                if (pending > 0) --pending;
            }
        }
        out.resize(static_cast<std::size_t>(write - out.data()));
        text = std::move(out);
        if (origins) {
            written.resize(text.size());
            origins->swap(written);
        }
        // A pass that changes nothing would change nothing again: stop there.
        if (!(depth == 0 && changed)) break;
    }
    return text;
}

}  // namespace kq
