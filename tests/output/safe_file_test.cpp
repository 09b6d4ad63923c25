// SafeFile and ReadDocument on what a name may stand for besides a plain file: devices,
// pipes, links that lead nowhere or round in a circle, read-only files, names in no encoding.
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include "output/document_file.h"
#include "output/safe_file.h"

using namespace kq;

namespace {

QByteArray Slurp(const QByteArray& path) {
    QFile f(QFile::decodeName(path));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}

bool IsLink(const QByteArray& path) {
    struct stat st {};
    return ::lstat(path.constData(), &st) == 0 && S_ISLNK(st.st_mode);
}

mode_t Type(const QByteArray& path) {
    struct stat st {};
    return ::lstat(path.constData(), &st) == 0 ? (st.st_mode & S_IFMT) : 0;
}

// Writes `bytes` through SafeFile; the error text, or empty on success.
QString Write(const QByteArray& path, const QByteArray& bytes) {
    SafeFile file(path);
    if (QIODevice* device = file.Device()) device->write(bytes);
    const FileResult<> written = file.Commit();
    return written ? QString() : QString::fromStdString(written.Reason());
}

}  // namespace

class FileOutputTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;
    QByteArray P(const char* name) { return QFile::encodeName(dir.path()) + "/" + name; }

private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        QCOMPARE(::mkfifo(P("pipe").constData(), 0666), 0);
        QCOMPARE(::mkdir(P("sub").constData(), 0755), 0);
        QCOMPARE(::mkdir(P("sub2").constData(), 0755), 0);
        QCOMPARE(::symlink("loop-b", P("loop-a").constData()), 0);
        QCOMPARE(::symlink("loop-a", P("loop-b").constData()), 0);
    }

    // A name that exists and is no regular file is refused and left as it was.
    void targetsThatAreNoFilesAreRefused_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<int>("type");
        QTest::newRow("device") << QByteArray("full") << "это устройство, а не обычный файл" << int(S_IFCHR);
        QTest::newRow("pipe") << QByteArray("pipe") << "это канал, а не обычный файл" << int(S_IFIFO);
        QTest::newRow("socket") << QByteArray("sock") << "это сокет, а не обычный файл" << int(S_IFSOCK);
        QTest::newRow("folder") << QByteArray("folder") << "на этом месте папка" << int(S_IFDIR);
        QTest::newRow("link to a pipe") << QByteArray("to-pipe") << "это канал, а не обычный файл" << int(S_IFLNK);
    }
    void targetsThatAreNoFilesAreRefused() {
        QFETCH(QByteArray, name);
        QFETCH(QString, reason);
        QFETCH(int, type);
        const QByteArray path = P(name.constData());
        if (Type(path) == 0) {
            if (name == "full" && ::mknod(path.constData(), S_IFCHR | 0666, makedev(1, 7)) != 0)
                QSKIP("making a device node is not allowed here (a copy of /dev/full)");
            if (name == "to-pipe") QCOMPARE(::symlink("pipe", path.constData()), 0);
            if (name == "folder") QCOMPARE(::mkdir(path.constData(), 0755), 0);
            if (name == "sock") {
                const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
                sockaddr_un address{};
                address.sun_family = AF_UNIX;
                if (path.size() >= static_cast<qsizetype>(sizeof address.sun_path))
                    QSKIP("the folder's name is too long for a socket");
                std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
                QCOMPARE(::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
                ::close(s);
            }
        }
        QCOMPARE(int(Type(path)), type);
        const QString error = Write(path, "new");
        QVERIFY2(error.contains(reason), qPrintable(error));
        QVERIFY2(error.contains(QFile::decodeName(name)), qPrintable(error));
        QCOMPARE(int(Type(path)), type);
    }

    // A link is written through, whether or not its target exists yet; the link stays a link.
    void linksAreWrittenThrough_data() {
        QTest::addColumn<QByteArray>("link");
        QTest::addColumn<QByteArray>("pointsTo");
        QTest::addColumn<QByteArray>("fileMade");
        QTest::newRow("to nothing yet") << QByteArray("dangling") << QByteArray("made.txt") << QByteArray("made.txt");
        QTest::newRow("to an existing file")
            << QByteArray("existing") << QByteArray("old.txt") << QByteArray("old.txt");
        QTest::newRow("relative, from a folder")
            << QByteArray("sub/rel") << QByteArray("../sub2/far.txt") << QByteArray("sub2/far.txt");
        QTest::newRow("through another link")
            << QByteArray("second") << QByteArray("dangling2") << QByteArray("end.txt");
    }
    void linksAreWrittenThrough() {
        QFETCH(QByteArray, link);
        QFETCH(QByteArray, pointsTo);
        QFETCH(QByteArray, fileMade);
        if (fileMade == "old.txt") QVERIFY(Write(P("old.txt"), "old").isEmpty());
        if (link == "second") QCOMPARE(::symlink("end.txt", P("dangling2").constData()), 0);
        QCOMPARE(::symlink(pointsTo.constData(), P(link.constData()).constData()), 0);
        const QString error = Write(P(link.constData()), "through");
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QVERIFY(IsLink(P(link.constData())));
        QCOMPARE(int(Type(P(fileMade.constData()))), int(S_IFREG));
        QCOMPARE(Slurp(P(fileMade.constData())), QByteArray("through"));
    }

    // Links in a circle and read-only files are refused with their own reasons.
    void refusalsSayWhy_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QString>("reason");
        QTest::newRow("a link loop") << QByteArray("loop-a") << "слишком много символических ссылок";
        QTest::newRow("read-only") << QByteArray("ro.txt") << "файл только для чтения";
        QTest::newRow("read-only through a link") << QByteArray("to-ro") << "файл только для чтения";
    }
    void refusalsSayWhy() {
        QFETCH(QByteArray, name);
        QFETCH(QString, reason);
        if (Type(P("ro.txt")) == 0) {
            QVERIFY(Write(P("ro.txt"), "kept").isEmpty());
            QCOMPARE(::chmod(P("ro.txt").constData(), 0444), 0);
            QCOMPARE(::symlink("ro.txt", P("to-ro").constData()), 0);
        }
        const QString error = Write(P(name.constData()), "new");
        QVERIFY2(error.contains(reason), qPrintable(error));
        if (name != "loop-a")
            QCOMPARE(Slurp(P("ro.txt")), QByteArray("kept"));
        else
            QVERIFY(IsLink(P("loop-a")) && IsLink(P("loop-b")));
    }

    // Reading says why a name cannot be read, a circle of links included.
    void readingSaysWhy_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing") << QByteArray("missing.kwp") << "нет такого файла";
        QTest::newRow("a link loop") << QByteArray("loop-a") << "слишком много символических ссылок";
        QTest::newRow("a pipe") << QByteArray("pipe") << "это не обычный файл";
        QTest::newRow("a folder") << QByteArray("sub") << "это не обычный файл";
    }
    void readingSaysWhy() {
        QFETCH(QByteArray, name);
        QFETCH(QString, reason);
        const FileResult<QByteArray> read = ReadDocument(P(name.constData()), 1000, "too large");
        const QString why = QString::fromStdString(read.Reason());
        QVERIFY(!read);
        QVERIFY2(why.contains(reason), qPrintable(why));
    }

    // A name in no encoding is written and read back by its bytes; two such names stay two.
    void namesAreBytes() {
        const QByteArray first = P("w\xff.kwp"), second = P("w\xfe.kwp");
        QVERIFY(Write(first, "first").isEmpty());
        QVERIFY(Write(second, "second").isEmpty());
        QCOMPARE(ReadDocument(first, 100, "too large").value_or("<none>"), QByteArray("first"));
        QCOMPARE(ReadDocument(second, 100, "too large").value_or("<none>"), QByteArray("second"));
        const FileResult<QByteArray> large = ReadDocument(first, 3, "too large");
        const bool tooLarge = large.Reason() == "too large";
        QVERIFY(!large);
        QVERIFY(tooLarge);
        ::unlink(first.constData());
        ::unlink(second.constData());
    }
};

QTEST_MAIN(FileOutputTest)
#include "safe_file_test.moc"
