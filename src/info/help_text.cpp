#include "info/help_text.h"

#include "engine/function_codes.h"

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

}  // namespace

std::string FunctionTableHtml() {
    std::string html = "<table>\n <tr><th>Имя</th><th>Функция</th><th>Где не определена</th></tr>\n";
    for (const FunctionInfo& f : LanguageFunctions()) {
        std::string names;
        for (std::string_view n : f.names) {
            if (n.empty()) break;
            if (!names.empty()) names += ", ";
            names += "<code>" + Escaped(n) + "</code>" + (f.numbered ? "N" : "");
        }
        html += " <tr><td>" + names + "</td><td>" + Escaped(f.meaning) + "</td><td>" + Escaped(f.undefinedWhere) +
                "</td></tr>\n";
    }
    return html + "</table>\n";
}

std::string CompleteGuide(const std::string& guideHtml) {
    static const std::string kPlaceholder = "<!--functions-->";
    std::string html = guideHtml;
    const std::size_t at = html.find(kPlaceholder);
    if (at != std::string::npos) html.replace(at, kPlaceholder.size(), FunctionTableHtml());
    return html;
}

}  // namespace kq
