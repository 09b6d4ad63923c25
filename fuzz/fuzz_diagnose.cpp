// Diagnoses arbitrary bytes: besides crashes and undefined behaviour it stops when a position
// lies outside the text or the filter's account of where characters come from disagrees with
// the text it compiles.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/diagnose.h"
#include "engine/filter.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    for (const kq::Diagnostic& d : kq::Diagnose(text))
        if (d.position > text.size() || d.message.empty()) std::abort();
    const kq::Filter filter;
    std::vector<std::uint32_t> origins;
    const std::string compiled = filter.Apply(text, origins);
    if (compiled != filter.Apply(text) || origins.size() != compiled.size()) std::abort();
    for (std::uint32_t origin : origins)
        if ((origin & ~kq::Filter::kInserted) >= text.size()) std::abort();
    return 0;
}
