// The options of the headless verbs, declared once per verb: the parsing loop, the checks of
// every value and the usage line all come from that declaration.
#pragma once

#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace kq {

// A usage error: the verb prints it with its usage line to standard error and exits with 2.
struct UsageError {
    std::string message;
};

// Checked conversions of option values; each throws UsageError naming the option.
long double ParseNumberOption(std::string_view option, const std::string& text);  // finite, C notation
int ParseIntOption(std::string_view option, const std::string& text, int min, int max);
// "640x480": two whole numbers from 1 to `max`.
void ParseSizeOption(std::string_view option, const std::string& text, int max, int& width, int& height);

class OptionParser {
public:
    // `verb` as typed after "quantorium"; `operands` is how the usage names what follows
    // the options, e.g. "[ФОРМУЛА...]".
    OptionParser(std::string verb, std::string operands);

    OptionParser& Flag(const std::string& name, bool& target);
    OptionParser& Int(const std::string& name, const std::string& value, int& target, int min, int max);
    // "--round R": digits after the point, -1 for none, as every verb takes it.
    OptionParser& Rounding(int& target);
    OptionParser& Number(const std::string& name, const std::string& value, long double& target);
    OptionParser& Numbers(const std::string& name, const std::string& value, std::vector<long double>& target);
    OptionParser& Text(const std::string& name, const std::string& value, std::string& target);
    OptionParser& Texts(const std::string& name, const std::string& value, std::vector<std::string>& target);
    // An option with several values ("--range XMIN XMAX YMIN YMAX"); `apply` checks and takes
    // them and may throw UsageError.
    OptionParser& Values(const std::string& name, std::vector<std::string> values,
                         std::function<void(const std::vector<std::string>&)> apply);

    // The option added last must be given ("-o ФАЙЛ"); the usage shows it without brackets.
    OptionParser& Required();

    // Replaces the generated usage line (for alternatives such as "[--text T | --no-text]").
    void SetUsage(std::string usage) { usage_ = std::move(usage); }

    // Takes the declared options in any order; "--" ends them. A word that starts with "--"
    // and is not declared is an error; every other word (a formula such as "-x" too) is an
    // operand and is returned in order.
    std::vector<std::string> Parse(const std::vector<std::string>& args) const;

    // Parse, then `take` the operands (it may throw UsageError too). A usage error is told on
    // `err` with the usage line, and the result is false: the verb exits with 2.
    bool ParseInto(const std::vector<std::string>& args, std::ostream& err,
                   const std::function<void(std::vector<std::string>)>& take) const;
    // "quantorium VERB: message" and the usage line, on `err`.
    void Complain(std::ostream& err, const std::string& message) const;

    // "quantorium eval [--degrees] [--round R] [--x X]... [ФОРМУЛА...]"
    std::string Usage() const;

private:
    struct Option {
        std::string name;
        std::vector<std::string> values;
        bool repeatable = false;
        std::function<void(const std::vector<std::string>&)> apply;
        bool required = false;
    };
    OptionParser& Add(Option option);

    std::string verb_, operands_, usage_;
    std::vector<Option> options_;
};

}  // namespace kq
