#include "docs/text_encoding.h"

#include <cerrno>
#include <iconv.h>

namespace kq {
namespace {

class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (Ok()) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool Ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts as much as it can; returns the number of input bytes left unconverted.
    std::size_t Convert(std::string_view& in, std::string& out) {
        char buffer[1024];
        while (!in.empty()) {
            char* source = const_cast<char*>(in.data());
            std::size_t left = in.size();
            char* target = buffer;
            std::size_t room = sizeof buffer;
            const std::size_t r = iconv(cd_, &source, &left, &target, &room);
            const int error = errno;
            out.append(buffer, static_cast<std::size_t>(target - buffer));
            in.remove_prefix(in.size() - left);
            if (r == static_cast<std::size_t>(-1) && error != E2BIG) return in.size();
        }
        return 0;
    }

private:
    iconv_t cd_;
};

// The UTF-8 sequence length a lead byte announces (1 for anything that cannot lead).
std::size_t SequenceLength(unsigned char lead) {
    if (lead >= 0xF0 && lead < 0xF8) return 4;
    if (lead >= 0xE0) return lead < 0xF0 ? 3 : 1;
    if (lead >= 0xC2) return 2;
    return 1;
}

// ASCII is the same bytes in both encodings, and no byte of a longer character is ASCII in
// either: the ASCII at the front of `in` is copied as it is, and the run of other bytes after
// it is returned for the converter (both taken off `in`). Long formulas are mostly ASCII.
std::string_view CopyAscii(std::string_view& in, std::string& out) {
    std::size_t ascii = 0;
    while (ascii < in.size() && static_cast<unsigned char>(in[ascii]) < 0x80) ++ascii;
    out.append(in.substr(0, ascii));
    std::size_t other = ascii;
    while (other < in.size() && static_cast<unsigned char>(in[other]) >= 0x80) ++other;
    const std::string_view run = in.substr(ascii, other - ascii);
    in.remove_prefix(other);
    return run;
}

}  // namespace

std::string Cp1251ToUtf8(std::string_view cp1251) {
    Converter c("UTF-8", "WINDOWS-1251");
    std::string out;
    if (!c.Ok()) return out;
    out.reserve(cp1251.size());
    while (!cp1251.empty()) {
        std::string_view run = CopyAscii(cp1251, out);
        while (c.Convert(run, out) > 0) {
            out += "\xEF\xBF\xBD";  // U+FFFD for the one byte the code page leaves undefined
            run.remove_prefix(1);
        }
    }
    return out;
}

std::optional<std::string> Utf8ToCp1251(std::string_view utf8, std::string* offending) {
    Converter c("WINDOWS-1251", "UTF-8");
    if (offending) offending->clear();
    if (!c.Ok()) return std::nullopt;
    std::string out;
    out.reserve(utf8.size());
    while (!utf8.empty()) {
        std::string_view run = CopyAscii(utf8, out);
        if (c.Convert(run, out) == 0) continue;
        // `run` now starts with the character that has no code, or with bytes that are none.
        if (offending) {
            const std::size_t length = SequenceLength(static_cast<unsigned char>(run.front()));
            // An incomplete or malformed sequence is not a character to name.
            bool wellFormed = length > 1 && length <= run.size();
            for (std::size_t i = 1; wellFormed && i < length; ++i)
                wellFormed = (static_cast<unsigned char>(run[i]) & 0xC0) == 0x80;
            if (wellFormed) *offending = std::string(run.substr(0, length));
        }
        return std::nullopt;
    }
    return out;
}

}  // namespace kq
