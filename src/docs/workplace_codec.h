// Workplaces with UTF-8 texts (as the windows and the command line hold them) to and from
// the file's bytes, whose texts are Windows-1251.
#pragma once

#include <optional>
#include <span>

#include "docs/workplace.h"
#include "docs/workplace_file.h"

namespace kq {

// The file's bytes, or a refusal naming every text the file cannot keep: a character
// outside Windows-1251, a field's own terminator, more than 255 list entries, or all of them
// together being more than a workplace file may hold.
WorkplaceBytes EncodeWorkplace(const Workplace& utf8);

// The workplace in a file's bytes with its texts in UTF-8; nothing when the magic differs.
// `damaged` as for WorkplaceFromBytes.
std::optional<Workplace> DecodeWorkplace(std::span<const std::uint8_t> bytes, bool* damaged = nullptr);

}  // namespace kq
