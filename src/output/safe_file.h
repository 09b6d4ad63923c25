// Every file the program writes goes through SafeFile: the new contents go to a temporary
// file beside the target, which replaces the target only once all of it was written, so a
// failure never damages the file that was there, and the user is told why.
#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

#include "docs/file_result.h"

class QIODevice;

namespace kq {

class SafeFile {
public:
    // `path` as the program shows it; the file system gets QFile::encodeName of it.
    explicit SafeFile(const QString& path);
    // A name exactly as the file system spells it (a command-line argument: its bytes need
    // not be valid in any encoding, and two different names must stay two files).
    explicit SafeFile(const QByteArray& nativePath);
    ~SafeFile();  // contents that were not committed are thrown away
    SafeFile(const SafeFile&) = delete;
    SafeFile& operator=(const SafeFile&) = delete;

    // Where the contents go; null when the file cannot be created (Commit says why).
    QIODevice* Device();

    // Replaces the target with what was written; a failure, with the target untouched, when
    // anything failed along the way (the reason names the file). `producerOk` is the writer's
    // own verdict (a painter's end(), an image writer's result): a writer that failed never
    // replaces the target.
    FileResult<> Commit(bool producerOk = true);

    // Whether the device refused a write (a full disk, a quota): then the writer's own failure
    // is the file's, not the writer's.
    bool WriteFailed() const;

    // Tests: files opened from now on fail as a full disk does once they have taken `bytes`
    // bytes; -1 turns that off.
    static void FailAfterBytesForTests(qint64 bytes);

private:
    void Open();
    void Fail(int error);
    void Fail(const QString& reason);
    void Discard();

    QByteArray target_, temporary_;
    QString shownPath_;
    int fd_ = -1;
    std::unique_ptr<QIODevice> device_;
    QString error_;
};


}  // namespace kq
