#include "output/safe_file.h"

#include <QDir>
#include <QFile>
#include <QIODevice>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kq {
namespace {

qint64 failAfterBytes = -1;

// Writes straight to a descriptor and remembers why a write failed (errno), so the user can
// be told in words rather than in a code.
class DescriptorDevice : public QIODevice {
public:
    DescriptorDevice(int fd, qint64 limit) : fd_(fd), limit_(limit) { open(QIODevice::WriteOnly | QIODevice::Unbuffered); }
    int Errno() const { return errno_; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override {
        if (errno_ != 0) return -1;
        qint64 done = 0;
        while (done < size) {
            qint64 chunk = size - done;
            if (limit_ >= 0 && written_ + chunk > limit_) chunk = limit_ - written_;
            if (chunk <= 0) return Failed(ENOSPC);
            const ssize_t n = ::write(fd_, data + done, static_cast<std::size_t>(chunk));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return Failed(n < 0 ? errno : EIO);
            done += n;
            written_ += n;
        }
        return done;
    }

private:
    qint64 Failed(int error) {
        errno_ = error;
        setErrorString(QString::fromLocal8Bit(std::strerror(error)));
        return -1;
    }

    int fd_;
    qint64 limit_;
    qint64 written_ = 0;
    int errno_ = 0;
};

QString Reason(int error) {
    switch (error) {
        case ENOSPC: return QStringLiteral("на диске нет места");
        case EDQUOT: return QStringLiteral("превышена квота диска");
        case EACCES:
        case EPERM: return QStringLiteral("нет прав на запись");
        case ENOENT: return QStringLiteral("нет такой папки");
        case ENOTDIR: return QStringLiteral("в пути есть файл вместо папки");
        case EROFS: return QStringLiteral("диск только для чтения");
        case EISDIR: return QStringLiteral("на этом месте папка");
        case ENAMETOOLONG: return QStringLiteral("слишком длинное имя");
        case ELOOP: return QStringLiteral("слишком много символических ссылок");
        case EIO: return QStringLiteral("ошибка ввода-вывода");
        default: return QString::fromLocal8Bit(std::strerror(error));
    }
}

// As many links in a row as the system itself follows before it gives up.
constexpr int kMostLinks = 40;

// Where the bytes really go: links are followed, also one whose target does not exist yet
// (the file is made there), so that a link stays a link. An error number when the links go
// round in a circle.
int ResolveTarget(QByteArray& path) {
    for (int links = 0;; ++links) {
        struct stat st {};
        if (::lstat(path.constData(), &st) != 0) return errno == ELOOP ? ELOOP : 0;
        if (!S_ISLNK(st.st_mode)) return 0;
        if (links == kMostLinks) return ELOOP;
        QByteArray link(static_cast<qsizetype>(st.st_size > 0 ? st.st_size : PATH_MAX), '\0');
        const ssize_t n = ::readlink(path.constData(), link.data(), static_cast<std::size_t>(link.size()));
        if (n <= 0) return n < 0 ? errno : ENOENT;
        link.truncate(n);
        const int slash = path.lastIndexOf('/');
        path = link.startsWith('/') || slash < 0 ? link : path.left(slash + 1) + link;
    }
}

// Why an existing target cannot be replaced by a new file, or nothing when it can.
QString Unreplaceable(const QByteArray& path) {
    struct stat st {};
    if (::stat(path.constData(), &st) != 0) return {};
    if (S_ISDIR(st.st_mode)) return Reason(EISDIR);
    if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode)) return QStringLiteral("это устройство, а не обычный файл");
    if (S_ISFIFO(st.st_mode)) return QStringLiteral("это канал, а не обычный файл");
    if (S_ISSOCK(st.st_mode)) return QStringLiteral("это сокет, а не обычный файл");
    if (!S_ISREG(st.st_mode)) return QStringLiteral("это не обычный файл");
    // Even where the system would let it be replaced (the administrator may), a file marked
    // read-only is kept.
    if ((st.st_mode & 0222) == 0 || ::access(path.constData(), W_OK) != 0)
        return QStringLiteral("файл только для чтения");
    return {};
}

}  // namespace

void SafeFile::FailAfterBytesForTests(qint64 bytes) { failAfterBytes = bytes; }

SafeFile::SafeFile(const QString& path) : target_(QFile::encodeName(path)), shownPath_(path) { Open(); }

SafeFile::SafeFile(const QByteArray& nativePath)
    : target_(nativePath), shownPath_(QString::fromLocal8Bit(nativePath)) {
    Open();
}

SafeFile::~SafeFile() { Discard(); }

void SafeFile::Open() {
    if (target_.isEmpty()) return Fail(ENOENT);
    if (const int error = ResolveTarget(target_)) return Fail(error);
    if (const QString why = Unreplaceable(target_); !why.isEmpty()) return Fail(why);
    const int slash = target_.lastIndexOf('/');
    const QByteArray dir = slash < 0 ? QByteArray(".") : target_.left(slash + 1);
    const QByteArray name = slash < 0 ? target_ : target_.mid(slash + 1);
    QByteArray pattern = (slash < 0 ? QByteArray() : dir) + "." + name.left(200) + ".XXXXXX";
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) return Fail(errno);
    fd_ = fd;
    temporary_ = pattern;
    // The new file keeps the old one's permissions; a new one gets what the umask allows.
    mode_t mode = 0;
    struct stat st {};
    if (::stat(target_.constData(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    ::fchmod(fd_, mode);
    device_ = std::make_unique<DescriptorDevice>(fd_, failAfterBytes);
}

QIODevice* SafeFile::Device() { return fd_ >= 0 && error_.isEmpty() ? device_.get() : nullptr; }

void SafeFile::Fail(int error) { Fail(Reason(error)); }

void SafeFile::Fail(const QString& reason) {
    if (error_.isEmpty())
        error_ = QStringLiteral("Не удалось записать файл «%1»: %2").arg(QDir::toNativeSeparators(shownPath_), reason);
}

void SafeFile::Discard() {
    device_.reset();
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!temporary_.isEmpty()) ::unlink(temporary_.constData());
    temporary_.clear();
}

bool SafeFile::WriteFailed() const {
    return device_ && static_cast<const DescriptorDevice*>(device_.get())->Errno() != 0;
}

FileResult<> SafeFile::Commit(bool producerOk) {
    if (fd_ < 0) {
        Fail(ENOENT);
        return FileResult<>::Failure(error_.toStdString());
    }
    const int writeError = static_cast<DescriptorDevice*>(device_.get())->Errno();
    if (writeError != 0) Fail(writeError);
    else if (!producerOk) Fail(QStringLiteral("данные не удалось подготовить"));
    else if (::fsync(fd_) != 0 && errno != EINVAL) Fail(errno);
    if (!error_.isEmpty()) {
        Discard();
        return FileResult<>::Failure(error_.toStdString());
    }
    device_.reset();
    const int closed = ::close(fd_);
    fd_ = -1;
    if (closed != 0) Fail(errno);
    else if (::rename(temporary_.constData(), target_.constData()) != 0) Fail(errno);
    if (!error_.isEmpty()) {
        Discard();
        return FileResult<>::Failure(error_.toStdString());
    }
    temporary_.clear();
    return Written{};
}

}  // namespace kq
