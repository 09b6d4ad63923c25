#include "output/document_file.h"

#include <QDir>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "output/safe_file.h"

namespace kq {
namespace {

QString ReadingReason(int error) {
    switch (error) {
        case ENOENT: return QStringLiteral("нет такого файла");
        case ELOOP: return QStringLiteral("слишком много символических ссылок");
        case EACCES:
        case EPERM: return QStringLiteral("нет доступа на чтение");
        case ENOTDIR: return QStringLiteral("в пути есть файл вместо папки");
        case ENAMETOOLONG: return QStringLiteral("слишком длинное имя");
        case EIO: return QStringLiteral("ошибка ввода-вывода");
        default: return QString::fromLocal8Bit(std::strerror(error));
    }
}

// Closes the descriptor on every way out.
struct Descriptor {
    int fd;
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
};

}  // namespace

FileResult<> WriteDocument(const QByteArray& nativePath, const QByteArray& bytes) {
    SafeFile file(nativePath);
    if (QIODevice* device = file.Device()) device->write(bytes);
    return file.Commit();
}

FileResult<QByteArray> ReadDocument(const QByteArray& nativePath, qint64 limit, const std::string& tooLarge) {
    using Result = FileResult<QByteArray>;
    const auto refuse = [&](const QString& reason) {
        return Result::Failure(QStringLiteral("Не удалось открыть файл «%1»: %2")
                                   .arg(QDir::toNativeSeparators(QString::fromLocal8Bit(nativePath)), reason)
                                   .toStdString());
    };
    // Only a regular file: a pipe or a device could block or never end. Opening does not wait
    // for a pipe's writer, and what was opened is checked again.
    struct stat st {};
    if (nativePath.isEmpty()) return refuse(ReadingReason(ENOENT));
    if (::stat(nativePath.constData(), &st) != 0) return refuse(ReadingReason(errno));
    if (!S_ISREG(st.st_mode)) return refuse(QStringLiteral("это не обычный файл"));
    const Descriptor file{::open(nativePath.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)};
    if (file.fd < 0) return refuse(ReadingReason(errno));
    if (::fstat(file.fd, &st) != 0 || !S_ISREG(st.st_mode)) return refuse(QStringLiteral("это не обычный файл"));
    // Refused before reading when it is already too large; a file still growing is cut off.
    if (st.st_size > limit) return Result::Failure(tooLarge);
    QByteArray bytes(static_cast<qsizetype>(st.st_size) + 1, '\0');
    qsizetype got = 0;
    while (got <= limit) {
        if (got == bytes.size()) bytes.resize(std::min<qsizetype>(bytes.size() * 2, limit + 1));
        const ssize_t n = ::read(file.fd, bytes.data() + got, static_cast<std::size_t>(bytes.size() - got));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return refuse(ReadingReason(errno));
        if (n == 0) break;
        got += n;
    }
    if (got > limit) return Result::Failure(tooLarge);
    bytes.truncate(got);
    return bytes;
}

}  // namespace kq
