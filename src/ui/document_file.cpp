#include "ui/document_file.h"

#include <QFile>
#include <QFileInfo>

#include "ui/file_output.h"

namespace kq {

QString WriteDocument(const QString& path, const QByteArray& bytes) {
    QString error;
    return WriteWholeFile(path, bytes, &error) ? QString() : error;
}

std::optional<QByteArray> ReadDocument(const QString& path, qint64 limit, bool* tooLarge, QString* whyNot) {
    if (tooLarge) *tooLarge = false;
    const auto refuse = [&](const char* reason) -> std::optional<QByteArray> {
        if (whyNot)
            *whyNot = QString::fromUtf8("Не удалось открыть файл «%1»: %2").arg(path, QString::fromUtf8(reason));
        return std::nullopt;
    };
    // Only a regular file: a pipe or a device could block or never end.
    const QFileInfo info(path);
    if (!info.exists()) return refuse("нет такого файла");
    if (!info.isFile()) return refuse("это не обычный файл");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return refuse("нет доступа на чтение");
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
