#include "ui/document_file.h"

#include <QFile>
#include <QFileInfo>

#include "ui/file_output.h"

namespace kq {

QString WriteDocument(const QString& path, const QByteArray& bytes) {
    QString error;
    return WriteWholeFile(path, bytes, &error) ? QString() : error;
}

std::optional<QByteArray> ReadDocument(const QString& path, qint64 limit, bool* tooLarge) {
    if (tooLarge) *tooLarge = false;
    // Only a regular file: a pipe or a device could block or never end.
    const QFileInfo info(path);
    if (!info.isFile()) return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    // Refused before reading when it is already too large; a file still growing is cut off.
    QByteArray bytes = file.size() > limit ? QByteArray() : file.read(limit + 1);
    if (file.size() > limit || bytes.size() > limit) {
        if (tooLarge) *tooLarge = true;
        return std::nullopt;
    }
    if (file.error() != QFileDevice::NoError) return std::nullopt;
    return bytes;
}

}  // namespace kq
