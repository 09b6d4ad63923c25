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

}  // namespace

std::string Cp1251ToUtf8(std::string_view cp1251) {
    Converter c("UTF-8", "WINDOWS-1251");
    std::string out;
    if (!c.Ok()) return out;
    out.reserve(cp1251.size() * 2);
    while (c.Convert(cp1251, out) > 0) {
        out += "\xEF\xBF\xBD";  // U+FFFD for the one byte the code page leaves undefined
        cp1251.remove_prefix(1);
    }
    return out;
}

std::optional<std::string> Utf8ToCp1251(std::string_view utf8, std::string* offending) {
    Converter c("WINDOWS-1251", "UTF-8");
    if (offending) offending->clear();
    if (!c.Ok()) return std::nullopt;
    std::string out;
    out.reserve(utf8.size());
    if (c.Convert(utf8, out) == 0) return out;
    if (offending) {
        const std::size_t length = SequenceLength(static_cast<unsigned char>(utf8.front()));
        // An incomplete or malformed sequence is not a character to name.
        bool wellFormed = length > 1 && length <= utf8.size();
        for (std::size_t i = 1; wellFormed && i < length; ++i)
            wellFormed = (static_cast<unsigned char>(utf8[i]) & 0xC0) == 0x80;
        if (wellFormed) *offending = std::string(utf8.substr(0, length));
    }
    return std::nullopt;
}

}  // namespace kq
