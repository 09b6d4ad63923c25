#include "docs/workplace_json.h"

#include <cmath>
#include <limits>

#include "docs/docs_texts.h"
#include "docs/json_reader.h"
#include "docs/workplace_file.h"
#include "docs/workplace_format.h"
#include "engine/number_text.h"

namespace kq {
namespace {

using Kind = JsonValue::Kind;

// `text` as the nearest long double, read in the C locale whatever the process's; false for a
// value beyond the type's range. A value too small for it is the nearest one it has.
// The engine's own reading, which needs no locale of the system (Windows has no strtold_l).
bool ReadLongDouble(const std::string& text, long double& value) {
    return ParseWholeDecimal(text, value) && std::isfinite(value);
}

struct Refusal {
    std::string message;
};

std::string Text(const JsonValue& v, const std::string& what) {
    if (!v.Is(Kind::String)) throw Refusal{FillMessage(kJsonNotString, {what})};
    return v.text;
}

void ReadRange(const JsonValue& v, Workplace& w) {
    if (!v.Is(Kind::Array) || v.items.size() != 4) throw Refusal{kJsonBadRange};
    long double* bounds[] = {&w.xFrom, &w.xTo, &w.yFrom, &w.yTo};
    for (std::size_t i = 0; i < 4; ++i) {
        const JsonValue& item = v.items[i];
        if (!item.Is(Kind::Number)) throw Refusal{kJsonBadRange};
        if (!ReadLongDouble(item.text, *bounds[i])) throw Refusal{FillMessage(kJsonRangeOverflow, {item.text})};
    }
}

void ReadMember(const JsonMember& m, Workplace& w) {
    const JsonValue& v = m.value;
    if (m.key == "absolute") {
        if (!v.Is(Kind::Bool)) throw Refusal{kJsonBadAbsolute};
        w.absolute = v.boolean;
    } else if (m.key == "range") {
        ReadRange(v, w);
    } else if (m.key == "formula") {
        w.formula = Text(v, "\"formula\"");
    } else if (m.key == "list") {
        if (!v.Is(Kind::Array)) throw Refusal{kJsonBadList};
        w.list.clear();
        for (const JsonValue& entry : v.items) w.list.push_back(Text(entry, "каждая формула \"list\""));
    } else if (m.key == "calc") {
        if (!v.Is(Kind::Array) || v.items.size() != 2) throw Refusal{kJsonBadCalc};
        w.firstLine = Text(v.items[0], "строка \"calc\"");
        w.secondLine = Text(v.items[1], "строка \"calc\"");
    } else if (m.key == "active") {
        long double line = 0;
        if (!v.Is(Kind::Number) || !ReadLongDouble(v.text, line) ||
            (line != workplace_format::kFirstLine && line != workplace_format::kSecondLine))
            throw Refusal{kJsonBadActive};
        w.activeLine = static_cast<int>(line);
    } else {
        throw Refusal{FillMessage(kJsonUnknownKey, {m.key})};
    }
}

}  // namespace

std::string ExactNumberText(long double value) {
    // JSON has no infinity; no workplace range holds one, but the output stays JSON regardless.
    if (!std::isfinite(value)) return "null";
    const auto text = [value](int digits) { return FormatC(("%." + std::to_string(digits) + "Lg").c_str(), value); };
    const auto readsBack = [value](const std::string& t) {
        long double back = 0;
        return ReadLongDouble(t, back) && back == value;
    };
    // With more digits the nearest decimal only comes closer, so the fewest that read back
    // can be searched for by halves; 21 digits always do.
    constexpr int kMost = std::numeric_limits<long double>::max_digits10;
    int low = 1, high = kMost;
    while (low < high) {
        const int middle = (low + high) / 2;
        if (readsBack(text(middle)))
            high = middle;
        else
            low = middle + 1;
    }
    std::string shortest = text(low);
    // The same digits without an exponent can be shorter ("1e+01" and "10"): %g writes them so
    // once the precision passes the decimal exponent (which log10 may miss by one).
    const int exponent = value == 0 ? 0 : static_cast<int>(std::floor(std::log10(std::fabs(value))));
    for (const int digits : {exponent + 1, exponent + 2}) {
        if (digits <= low || digits > kMost) continue;
        const std::string fixed = text(digits);
        if (fixed.size() < shortest.size() && readsBack(fixed)) shortest = fixed;
    }
    return shortest;
}

std::string WorkplaceToJson(const Workplace& w) {
    std::string out = "{\"absolute\":";
    out += w.absolute ? "true" : "false";
    out += ",\"active\":" + std::to_string(w.activeLine);
    out += ",\"calc\":[" + JsonString(w.firstLine) + "," + JsonString(w.secondLine) + "]";
    out += ",\"formula\":" + JsonString(w.formula);
    out += ",\"list\":[";
    for (std::size_t i = 0; i < w.list.size(); ++i) out += (i ? "," : "") + JsonString(w.list[i]);
    out += "],\"range\":[";
    const long double bounds[] = {w.xFrom, w.xTo, w.yFrom, w.yTo};
    for (std::size_t i = 0; i < 4; ++i) out += (i ? "," : "") + ExactNumberText(bounds[i]);
    out += "]}";
    return out;
}

std::optional<Workplace> WorkplaceFromJson(std::string_view json, std::string& error) {
    error.clear();
    const JsonReading reading = ReadJson(json);
    if (!reading.value) {
        error = FillMessage(kJsonInvalid, {reading.error, std::to_string(reading.offset)});
        return std::nullopt;
    }
    if (!reading.value->Is(Kind::Object)) {
        error = kJsonNotObject;
        return std::nullopt;
    }
    Workplace w;
    try {
        for (const JsonMember& m : reading.value->members) ReadMember(m, w);
    } catch (const Refusal& r) {
        error = r.message;
        return std::nullopt;
    }
    return w;
}

}  // namespace kq
