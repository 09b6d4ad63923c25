// Reads arbitrary bytes as the JSON the `workplace --write` verb takes. Besides crashes and
// undefined behaviour it stops when an accepted text is no JSON object, or when the workplace
// it describes does not print and read back as the same one.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "docs/json_reader.h"
#include "docs/workplace_json.h"

namespace {

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const kq::JsonReading json = kq::ReadJson(text);
    if (!json.value && (json.error.empty() || json.offset > size)) Fail("a refusal without a reason or a place");
    std::string error;
    const auto w = kq::WorkplaceFromJson(text, error);
    if (w.has_value() == !error.empty()) Fail("a workplace and an error together, or neither");
    if (w && !json.value) Fail("a workplace from text that is no JSON");
    if (w) {
        const std::string printed = kq::WorkplaceToJson(*w);
        const auto again = kq::WorkplaceFromJson(printed, error);
        if (!again || !(*again == *w)) Fail("a printed workplace does not read back as the same");
    }
    return 0;
}
