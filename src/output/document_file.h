// Reaching the files the document commands read and write: whole files in one call, and a
// failed write never leaves a damaged file behind. Names are the file system's bytes
// (QFile::encodeName of a name the program shows), so that a name in no encoding still works.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace kq {

// Writes `bytes` as the file `path` through SafeFile, so a failure keeps the old file as it
// was. Returns an empty text, or why it failed (in Russian, naming the file).
QString WriteDocument(const QString& path, const QByteArray& bytes);

// The file's bytes; nothing when it is not a readable regular file (then `whyNot`, when
// given, says so in Russian, naming the file) or holds more than `limit` bytes (then
// `tooLarge` is set).
std::optional<QByteArray> ReadDocument(const QByteArray& nativePath, qint64 limit, bool* tooLarge = nullptr,
                                       QString* whyNot = nullptr);

}  // namespace kq
