// Workplace files on disk, for the window and the workplace verb alike: reading one into a
// workplace, and writing one so that a failure keeps the file that was there.
#pragma once

#include <QByteArray>
#include <QString>
#include <string>

#include "docs/file_result.h"
#include "docs/workplace.h"
#include "docs/workplace_format.h"

namespace kq {

// The largest file taken for a workplace, the same that saving keeps to.
inline constexpr qint64 kMaxWorkplaceFileSize = workplace_format::kMaxFileBytes;

// A workplace read from a file; a damaged file gives what it holds, and `damage` says what
// happened to the rest (empty for a whole file).
struct LoadedWorkplace {
    Workplace workplace;
    std::string damage;
};

// The workplace in the file `nativePath` (the file system's bytes); a failure when the file
// cannot be read, is too large or is no workplace.
FileResult<LoadedWorkplace> ReadWorkplaceFile(const QByteArray& nativePath);

// Writes `w` into the file `nativePath`; a failure (the old file kept) says which texts a
// workplace file cannot keep, or why the file could not be written.
FileResult<> WriteWorkplaceFile(const QByteArray& nativePath, const Workplace& w);

}  // namespace kq
