#include "info/help_text.h"

#include "engine/function_codes.h"
#include "engine/language_tables.h"
#include "engine/number_text.h"

namespace kq {
namespace {

std::string Escaped(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '&': out += "&amp;"; break;
            default: out += c;
        }
    }
    return out;
}

std::string Code(std::string_view text) { return "<code>" + Escaped(text) + "</code>"; }

}  // namespace

std::string FunctionTableHtml() {
    std::string html = "<table>\n <tr><th>Имя</th><th>Функция</th><th>Где не определена</th></tr>\n";
    for (const FunctionInfo& f : LanguageFunctions()) {
        std::string names;
        for (std::string_view n : f.names) {
            if (n.empty()) break;
            if (!names.empty()) names += ", ";
            names += Code(n) + (f.numbered ? "N" : "");
        }
        html += " <tr><td>" + names + "</td><td>" + Escaped(f.meaning) + "</td><td>" + Escaped(f.undefinedWhere) +
                "</td></tr>\n";
    }
    return html + "</table>\n";
}

std::string SuffixTableHtml() {
    std::string html = "<table>\n <tr><th>Суффикс</th><th>Система</th><th>Пример</th></tr>\n";
    for (const NumberSuffix& suffix : NumberSuffixes()) {
        std::string examples;
        for (const char* example : suffix.examples) {
            if (!example) break;
            if (!examples.empty()) examples += ", ";
            // The values are the engine's own reading of the examples.
            examples += Code(example) + " = " + FormatC("%.10Lg", ReadNumberOperand(example));
        }
        html += " <tr><td>" + Code(std::string(1, suffix.letter)) + (suffix.base == 0 ? "N" : "") + "</td><td>" +
                Escaped(suffix.system) + "</td><td>" + examples + "</td></tr>\n";
    }
    return html + "</table>\n";
}

std::string MacroTableHtml() {
    std::string html = "<table>\n <tr><th>Запись</th><th>Смысл</th><th>Пример</th></tr>\n";
    for (const MacroInfo& m : LanguageMacros())
        html += " <tr><td>" + Code(std::string(m.name) + "<b>(a)") + "</td><td>" + Escaped(m.meaning) + "</td><td>" +
                Code(m.example) + " " + Escaped(m.exampleResult) + "</td></tr>\n";
    html += " <tr><td>" + Code("|a|") + "</td><td>модуль, как " + Code("abs(a)") + "</td><td>" + Code("|x-|y|+1|") +
            "</td></tr>\n";
    return html + "</table>\n";
}

std::string NameTableHtml() {
    std::string html = "<table>\n <tr><th>Имя</th><th>Что это</th></tr>\n";
    for (const LanguageName& n : LanguageNames())
        html += " <tr><td>" + Code(n.name) + "</td><td>" + Escaped(n.meaning) + "</td></tr>\n";
    return html + "</table>\n";
}

std::string CompleteGuide(const std::string& guideHtml) {
    const std::pair<const char*, std::string (*)()> kPlaceholders[] = {{"<!--functions-->", FunctionTableHtml},
                                                                       {"<!--suffixes-->", SuffixTableHtml},
                                                                       {"<!--macros-->", MacroTableHtml},
                                                                       {"<!--names-->", NameTableHtml}};
    std::string html = guideHtml;
    for (const auto& [placeholder, table] : kPlaceholders) {
        const std::string mark = placeholder;
        const std::size_t at = html.find(mark);
        if (at != std::string::npos) html.replace(at, mark.size(), table());
    }
    return html;
}

}  // namespace kq
