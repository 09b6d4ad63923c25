#include "app/command_line.h"

#include <charconv>

#include "engine/number_text.h"

namespace kq {

std::string ArgumentList::TakeValue(std::string_view name) {
    if (Empty()) throw UsageError{"после " + std::string(name) + " нужно значение"};
    return Take();
}

long double ArgumentList::TakeNumber(std::string_view name) {
    const std::string text = TakeValue(name);
    long double value = 0;
    if (!ParseWholeDecimal(text, value))
        throw UsageError{"значение " + std::string(name) + " не число: \"" + text + "\""};
    return value;
}

int ArgumentList::TakeInt(std::string_view name) {
    const std::string text = TakeValue(name);
    int value = 0;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    if (text.empty() || result.ec != std::errc() || result.ptr != end)
        throw UsageError{"значение " + std::string(name) + " не целое число: \"" + text + "\""};
    return value;
}

std::vector<std::string> ReadLines(std::istream& in) {
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

}  // namespace kq
