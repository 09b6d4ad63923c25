#include "docs/json_reader.h"

#include <unordered_set>

#include "docs/docs_texts.h"
#include "docs/workplace_file.h"

namespace kq {
namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// The length of the well-formed UTF-8 character at the start of `s` (surrogates and code
// points past U+10FFFF are not characters), or 0.
std::size_t Utf8Length(std::string_view s) {
    const auto at = [&](std::size_t i) { return i < s.size() ? static_cast<unsigned char>(s[i]) : 0u; };
    const unsigned lead = at(0);
    const auto tail = [&](std::size_t i, unsigned low = 0x80, unsigned high = 0xBF) {
        return at(i) >= low && at(i) <= high;
    };
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return tail(1) ? 2 : 0;
    if (lead == 0xE0) return tail(1, 0xA0) && tail(2) ? 3 : 0;
    if (lead == 0xED) return tail(1, 0x80, 0x9F) && tail(2) ? 3 : 0;
    if (lead >= 0xE1 && lead <= 0xEF) return tail(1) && tail(2) ? 3 : 0;
    if (lead == 0xF0) return tail(1, 0x90) && tail(2) && tail(3) ? 4 : 0;
    if (lead >= 0xF1 && lead <= 0xF3) return tail(1) && tail(2) && tail(3) ? 4 : 0;
    if (lead == 0xF4) return tail(1, 0x80, 0x8F) && tail(2) && tail(3) ? 4 : 0;
    return 0;
}

class Reader {
public:
    explicit Reader(std::string_view text) : s_(text) {}

    JsonReading Read() {
        JsonReading result;
        if (s_.starts_with("\xEF\xBB\xBF")) pos_ = 3;
        JsonValue value;
        Blanks();
        if (Value(value, 0)) {
            Blanks();
            if (pos_ == s_.size()) {
                result.value = std::move(value);
                return result;
            }
            Fail(kJsonTrailingText);
        }
        result.error = error_;
        result.offset = errorAt_;
        return result;
    }

private:
    bool Fail(std::string message) {
        if (error_.empty()) {
            error_ = std::move(message);
            errorAt_ = pos_;
        }
        return false;
    }
    bool TooDeep() { return Fail(FillMessage(kJsonTooDeep, {std::to_string(kMaxJsonDepth)})); }
    bool FailAtEnd(const char* otherwise) { return Fail(pos_ >= s_.size() ? kJsonCutShort : otherwise); }

    void Blanks() {
        while (pos_ < s_.size() && (s_[pos_] == ' ' || s_[pos_] == '\t' || s_[pos_] == '\n' || s_[pos_] == '\r'))
            ++pos_;
    }
    bool Next(char c) {
        if (pos_ < s_.size() && s_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }

    // value = object | array | string | number | "true" | "false" | "null"
    bool Value(JsonValue& out, int depth) {
        if (pos_ >= s_.size()) return Fail(kJsonCutShort);
        switch (s_[pos_]) {
            case '{': return depth < kMaxJsonDepth ? Object(out, depth + 1) : TooDeep();
            case '[': return depth < kMaxJsonDepth ? Array(out, depth + 1) : TooDeep();
            case '"': out.kind = JsonValue::Kind::String; return String(out.text);
            case 't': return Word("true", out, JsonValue::Kind::Bool, true);
            case 'f': return Word("false", out, JsonValue::Kind::Bool, false);
            case 'n': return Word("null", out, JsonValue::Kind::Null, false);
            default:
                if (s_[pos_] == '-' || (s_[pos_] >= '0' && s_[pos_] <= '9')) return Number(out);
                return Fail(kJsonValueExpected);
        }
    }

    bool Word(std::string_view word, JsonValue& out, JsonValue::Kind kind, bool value) {
        if (s_.substr(pos_, word.size()) != word) return Fail(kJsonValueExpected);
        pos_ += word.size();
        out.kind = kind;
        out.boolean = value;
        return true;
    }

    // object = "{" [ string ":" value { "," string ":" value } ] "}"
    bool Object(JsonValue& out, int depth) {
        out.kind = JsonValue::Kind::Object;
        ++pos_;
        Blanks();
        if (Next('}')) return true;
        std::unordered_set<std::string> keys;
        for (;;) {
            Blanks();
            if (pos_ >= s_.size() || s_[pos_] != '"') return FailAtEnd(kJsonKeyExpected);
            const std::size_t keyAt = pos_;
            JsonMember member;
            if (!String(member.key)) return false;
            if (!keys.insert(member.key).second) {
                pos_ = keyAt;
                return Fail(FillMessage(kJsonRepeatedKey, {member.key}));
            }
            Blanks();
            if (!Next(':')) return FailAtEnd(kJsonColonExpected);
            Blanks();
            if (!Value(member.value, depth)) return false;
            out.members.push_back(std::move(member));
            Blanks();
            if (Next('}')) return true;
            if (!Next(',')) return FailAtEnd(kJsonObjectGoesOn);
        }
    }

    // array = "[" [ value { "," value } ] "]"
    bool Array(JsonValue& out, int depth) {
        out.kind = JsonValue::Kind::Array;
        ++pos_;
        Blanks();
        if (Next(']')) return true;
        for (;;) {
            Blanks();
            out.items.emplace_back();
            if (!Value(out.items.back(), depth)) return false;
            Blanks();
            if (Next(']')) return true;
            if (!Next(',')) return FailAtEnd(kJsonArrayGoesOn);
        }
    }

    // The four hex digits of a \u escape, after the "u".
    bool CodeUnit(char32_t& unit) {
        unit = 0;
        for (int i = 0; i < 4; ++i, ++pos_) {
            const int d = pos_ < s_.size() ? HexDigit(s_[pos_]) : -1;
            if (d < 0) return FailAtEnd(kJsonBadEscape);
            unit = unit * 16 + static_cast<char32_t>(d);
        }
        return true;
    }

    // string = '"' { character | "\" escape } '"', the characters being UTF-8 from U+0020 on
    bool String(std::string& out) {
        ++pos_;
        for (;;) {
            const std::size_t run = pos_;
            while (pos_ < s_.size()) {
                const auto c = static_cast<unsigned char>(s_[pos_]);
                if (c == '"' || c == '\\' || c < 0x20 || c >= 0x80) break;
                ++pos_;
            }
            out.append(s_.substr(run, pos_ - run));
            if (pos_ >= s_.size()) return Fail(kJsonCutShort);
            const auto c = static_cast<unsigned char>(s_[pos_]);
            if (c == '"') {
                ++pos_;
                return true;
            }
            if (c < 0x20) return Fail(kJsonControlInString);
            if (c >= 0x80) {
                const std::size_t length = Utf8Length(s_.substr(pos_, 4));
                if (length == 0) return Fail(kJsonNotUtf8);
                out.append(s_.substr(pos_, length));
                pos_ += length;
                continue;
            }
            if (!Escape(out)) return false;
        }
    }

    // escape = '"' | "\" | "/" | "b" | "f" | "n" | "r" | "t" | "u" hex hex hex hex
    bool Escape(std::string& out) {
        const std::size_t start = pos_++;
        if (pos_ >= s_.size()) return Fail(kJsonCutShort);
        const char e = s_[pos_++];
        static constexpr std::string_view kNamed = "\"\\/bfnrt", kMeant = "\"\\/\b\f\n\r\t";
        if (const std::size_t k = kNamed.find(e); k != std::string_view::npos) {
            out += kMeant[k];
            return true;
        }
        if (e != 'u') {
            pos_ = start;
            return Fail(kJsonBadEscape);
        }
        char32_t unit = 0;
        if (!CodeUnit(unit)) return false;
        if (unit >= 0xD800 && unit <= 0xDBFF && s_.substr(pos_, 2) == "\\u") {
            const std::size_t second = pos_;
            pos_ += 2;
            char32_t low = 0;
            if (!CodeUnit(low)) return false;
            if (low >= 0xDC00 && low <= 0xDFFF) {
                AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                return true;
            }
            pos_ = second;
        }
        if (unit >= 0xD800 && unit <= 0xDFFF) {
            pos_ = start;
            return Fail(FillMessage(kJsonLoneSurrogate, {std::string(s_.substr(start, 6))}));
        }
        AppendUtf8(out, unit);
        return true;
    }

    // number = [ "-" ] ( "0" | digit1-9 { digit } ) [ "." digit { digit } ] [ ( "e" | "E" ) [ "+" | "-" ] digit { digit } ]
    bool Number(JsonValue& out) {
        const std::size_t start = pos_;
        const auto digits = [&] {
            const std::size_t from = pos_;
            while (pos_ < s_.size() && s_[pos_] >= '0' && s_[pos_] <= '9') ++pos_;
            return pos_ > from;
        };
        Next('-');
        if (Next('0')) {
            // no further digits may follow a leading zero
        } else if (!digits()) {
            return Fail(kJsonBadNumber);
        }
        if (Next('.') && !digits()) return Fail(kJsonBadNumber);
        if (Next('e') || Next('E')) {
            if (!Next('+')) Next('-');
            if (!digits()) return Fail(kJsonBadNumber);
        }
        if (pos_ < s_.size() && s_[pos_] >= '0' && s_[pos_] <= '9') return Fail(kJsonBadNumber);
        out.kind = JsonValue::Kind::Number;
        out.text = std::string(s_.substr(start, pos_ - start));
        return true;
    }

    std::string_view s_;
    std::size_t pos_ = 0;
    std::string error_;
    std::size_t errorAt_ = 0;
};

}  // namespace

JsonReading ReadJson(std::string_view text) { return Reader(text).Read(); }

std::string JsonString(std::string_view utf8) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(utf8.size() + 2);
    out += '"';
    for (const char ch : utf8) {
        const auto c = static_cast<unsigned char>(ch);
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\b': out += "\\b"; break;
            case '\f': out += "\\f"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20) {
                    out += "\\u00";
                    out += kHex[c >> 4];
                    out += kHex[c & 15];
                } else {
                    out += ch;
                }
        }
    }
    out += '"';
    return out;
}

}  // namespace kq
