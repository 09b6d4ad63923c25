#include "cli/option_parser.h"

#include <charconv>
#include <cmath>

#include "engine/number_text.h"
#include "engine/rounding.h"

namespace kq {
namespace {

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

}  // namespace

long double ParseNumberOption(std::string_view option, const std::string& text) {
    long double value = 0;
    if (!ParseWholeDecimal(text, value))
        throw UsageError{"значение " + std::string(option) + " не число: " + Quoted(text)};
    if (!std::isfinite(value))
        throw UsageError{"значение " + std::string(option) + " вне пределов чисел: " + Quoted(text)};
    return value;
}

int ParseIntOption(std::string_view option, const std::string& text, int min, int max) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    if (text.empty() || result.ptr != end || (result.ec != std::errc() && result.ec != std::errc::result_out_of_range))
        throw UsageError{"значение " + std::string(option) + " не целое число: " + Quoted(text)};
    if (result.ec == std::errc::result_out_of_range || value < min || value > max)
        throw UsageError{"значение " + std::string(option) + " должно быть от " + std::to_string(min) + " до " +
                         std::to_string(max) + ": " + Quoted(text)};
    return value;
}

void ParseSizeOption(std::string_view option, const std::string& text, int max, int& width, int& height) {
    const std::size_t x = text.find_first_of("xX");
    const std::string bad = "размер " + std::string(option) + " должен быть вида ШxВ, от 1x1 до " +
                            std::to_string(max) + "x" + std::to_string(max) + ": " + Quoted(text);
    if (x == std::string::npos) throw UsageError{bad};
    try {
        width = ParseIntOption(option, text.substr(0, x), 1, max);
        height = ParseIntOption(option, text.substr(x + 1), 1, max);
    } catch (const UsageError&) {
        throw UsageError{bad};
    }
}

OptionParser::OptionParser(std::string verb, std::string operands)
    : verb_(std::move(verb)), operands_(std::move(operands)) {}

OptionParser& OptionParser::Add(Option option) {
    options_.push_back(std::move(option));
    return *this;
}

OptionParser& OptionParser::Flag(const std::string& name, bool& target) {
    return Add({name, {}, false, [&target](const std::vector<std::string>&) { target = true; }});
}

OptionParser& OptionParser::Int(const std::string& name, const std::string& value, int& target, int min, int max) {
    return Add({name, {value}, false, [&target, name, min, max](const std::vector<std::string>& v) {
                    target = ParseIntOption(name, v[0], min, max);
                }});
}

OptionParser& OptionParser::Rounding(int& target) {
    // More digits than any long double holds mean nothing; the bound only keeps the number sane.
    constexpr int kMostDigits = 1000;
    return Int("--round", "R", target, kNoRounding, kMostDigits);
}

OptionParser& OptionParser::Number(const std::string& name, const std::string& value, long double& target) {
    return Add({name, {value}, false,
                [&target, name](const std::vector<std::string>& v) { target = ParseNumberOption(name, v[0]); }});
}

OptionParser& OptionParser::Numbers(const std::string& name, const std::string& value,
                                    std::vector<long double>& target) {
    return Add({name, {value}, true, [&target, name](const std::vector<std::string>& v) {
                    target.push_back(ParseNumberOption(name, v[0]));
                }});
}

OptionParser& OptionParser::Text(const std::string& name, const std::string& value, std::string& target) {
    return Add({name, {value}, false, [&target](const std::vector<std::string>& v) { target = v[0]; }});
}

OptionParser& OptionParser::Texts(const std::string& name, const std::string& value,
                                  std::vector<std::string>& target) {
    return Add({name, {value}, true, [&target](const std::vector<std::string>& v) { target.push_back(v[0]); }});
}

OptionParser& OptionParser::Values(const std::string& name, std::vector<std::string> values,
                                   std::function<void(const std::vector<std::string>&)> apply) {
    return Add({name, std::move(values), false, std::move(apply)});
}

OptionParser& OptionParser::Required() {
    if (!options_.empty()) options_.back().required = true;
    return *this;
}

std::vector<std::string> OptionParser::Parse(const std::vector<std::string>& args) const {
    std::vector<std::string> operands;
    std::vector<char> seen(options_.size(), 0);
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded) {
            operands.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        const Option* option = nullptr;
        for (std::size_t k = 0; k < options_.size(); ++k)
            if (options_[k].name == arg) {
                option = &options_[k];
                seen[k] = 1;
            }
        if (!option) {
            if (arg.size() > 2 && arg[0] == '-' && arg[1] == '-') throw UsageError{"неизвестный параметр " + arg};
            operands.push_back(arg);
            continue;
        }
        if (args.size() - i - 1 < option->values.size()) {
            std::string names;
            for (const std::string& v : option->values) names += " " + v;
            throw UsageError{"после " + arg + " нужно:" + names};
        }
        const std::vector<std::string> values(args.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                                              args.begin() + static_cast<std::ptrdiff_t>(i + 1 + option->values.size()));
        option->apply(values);
        i += option->values.size();
    }
    for (std::size_t k = 0; k < options_.size(); ++k)
        if (options_[k].required && !seen[k]) {
            std::string what = options_[k].name;
            for (const std::string& v : options_[k].values) what += " " + v;
            throw UsageError{"нужно указать " + what};
        }
    return operands;
}

bool OptionParser::ParseInto(const std::vector<std::string>& args, std::ostream& err,
                             const std::function<void(std::vector<std::string>)>& take) const {
    try {
        take(Parse(args));
        return true;
    } catch (const UsageError& e) {
        Complain(err, e.message);
        return false;
    }
}

void OptionParser::Complain(std::ostream& err, const std::string& message) const {
    err << "quantorium " << verb_ << ": " << message << "\nиспользование: " << Usage() << "\n";
}

std::string OptionParser::Usage() const {
    if (!usage_.empty()) return usage_;
    std::string usage = "quantorium " + verb_;
    for (const Option& o : options_) {
        usage += o.required ? " " + o.name : " [" + o.name;
        for (const std::string& v : o.values) usage += " " + v;
        if (!o.required) usage += "]";
        if (o.repeatable) usage += "...";
    }
    if (!operands_.empty()) usage += " " + operands_;
    return usage;
}

}  // namespace kq
