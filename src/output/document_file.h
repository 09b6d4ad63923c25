// Reaching the files the document commands read and write: whole files in one call, and a
// failed write never leaves a damaged file behind. Names are the file system's bytes
// (QFile::encodeName of a name the program shows), so that a name in no encoding still works.
#pragma once

#include <QByteArray>
#include <QString>
#include <string>

#include "docs/file_result.h"

namespace kq {

// Writes `bytes` as the file `nativePath` through SafeFile, so a failure keeps the old file as
// it was.
FileResult<> WriteDocument(const QByteArray& nativePath, const QByteArray& bytes);

// The file's bytes; a failure when it is not a readable regular file (naming the file) or
// holds more than `limit` bytes (then the reason is `tooLarge`).
FileResult<QByteArray> ReadDocument(const QByteArray& nativePath, qint64 limit, const std::string& tooLarge);

}  // namespace kq
