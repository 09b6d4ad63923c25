// Reads arbitrary bytes as a workplace file. Besides crashes, reads past the end and undefined
// behaviour it stops when what was read cannot be written back, or when writing it and
// reading it again does not settle on the same bytes.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>

#include "docs/workplace_codec.h"
#include "docs/workplace_file.h"
#include "docs/workplace_json.h"

namespace {

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "%s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const auto raw = kq::WorkplaceFromBytes(bytes);
    if (raw) {
        // Whatever was read splits at its terminators, so it can always be written again.
        const kq::WorkplaceBytes first = kq::WorkplaceToBytes(*raw);
        if (!first.refusal.empty()) Fail("a workplace that was read cannot be written back");
        bool damaged = true;
        const auto again = kq::WorkplaceFromBytes(first.bytes, &damaged);
        if (!again) Fail("a written workplace does not read back");
        if (damaged) Fail("a written workplace reads as damaged");
        if (kq::WorkplaceToBytes(*again).bytes != first.bytes) Fail("writing a read workplace does not settle");
    }
    const auto decoded = kq::DecodeWorkplace(bytes);
    if (decoded.has_value() != raw.has_value()) Fail("the code page changed whether the file reads");
    if (decoded) {
        // Only the code page's one undefined byte can make it unwritable.
        const kq::WorkplaceBytes first = kq::EncodeWorkplace(*decoded);
        if (first.refusal.empty()) {
            const auto again = kq::DecodeWorkplace(first.bytes);
            if (!again || kq::EncodeWorkplace(*again).bytes != first.bytes) Fail("UTF-8 round trip does not settle");
        }
        // The `workplace` verb's JSON holds the very workplace, ranges to the last bit.
        std::string error;
        const auto json = kq::WorkplaceFromJson(kq::WorkplaceToJson(*decoded), error);
        if (!json || !(*json == *decoded)) Fail("the JSON of a workplace does not read back as the same");
    }
    return 0;
}
