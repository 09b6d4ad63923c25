// Small helpers the headless verbs share: reading option values and formula lines.
#pragma once

#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kq {

// A usage error: the verb prints it to standard error and exits with status 2.
struct UsageError {
    std::string message;
};

// The arguments after the verb, consumed front to back.
class ArgumentList {
public:
    explicit ArgumentList(std::vector<std::string> args) : args_(std::move(args)) {}

    bool Empty() const { return next_ >= args_.size(); }
    const std::string& Peek() const { return args_[next_]; }
    std::string Take() { return args_[next_++]; }

    // The value after option `name`; throws UsageError when it is missing.
    std::string TakeValue(std::string_view name);
    long double TakeNumber(std::string_view name);
    int TakeInt(std::string_view name);

private:
    std::vector<std::string> args_;
    std::size_t next_ = 0;
};

// Every line of `in`, without line ends ("\r\n" too); an empty last line is not a line.
std::vector<std::string> ReadLines(std::istream& in);

}  // namespace kq
