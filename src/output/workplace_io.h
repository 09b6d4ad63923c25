// Workplace files on disk: reading one into a workplace, for the window and the workplace
// verb alike.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

#include "docs/workplace.h"
#include "docs/workplace_format.h"

namespace kq {

// The largest file taken for a workplace, the same that saving keeps to.
inline constexpr qint64 kMaxWorkplaceFileSize = workplace_format::kMaxFileBytes;

// The workplace in the file `nativePath` (the file system's bytes); nothing, with `problem`
// saying why in Russian, when the file cannot be read, is too large or is no workplace.
// For a damaged file, the workplace as far as the file goes, and `problem` says that it is
// damaged.
std::optional<Workplace> ReadWorkplaceFile(const QByteArray& nativePath, QString& problem);

}  // namespace kq
