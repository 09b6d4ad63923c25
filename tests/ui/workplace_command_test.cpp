// `quantorium workplace`: a file as JSON, JSON written as the window would save it, and the
// exit statuses of bad files, bad JSON and unstorable states.
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <sstream>
#include <unistd.h>

#include "ui/workplace_command.h"

using namespace kq;

namespace {

const QByteArray kExample = QByteArray("_KXQuantorium+_1.0_!") + '\0' + "?-10?10?-5?5?cos(x^2-3)#" + '\x02' +
                            "sin(x)$cos(x)$@@" + '\x01' + "@Eof_";

// JSON written with single quotes, which need no escaping here.
std::string J(std::string text) {
    std::replace(text.begin(), text.end(), '\'', '"');
    return text;
}

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class WorkplaceCommandTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir;
    std::string out, err;

    QString Path(const QString& name) { return dir.path() + "/" + name; }

    int Run(std::vector<std::string> args, const std::string& input = "") {
        std::istringstream in(input);
        std::ostringstream o, e;
        const int status = RunWorkplaceCommand(args, in, o, e);
        out = o.str();
        err = e.str();
        return status;
    }

    void Write(const QString& path, const QByteArray& bytes) {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

private slots:
    void printsTheExampleAsJson() {
        Write(Path("example.kwp"), kExample);
        QCOMPARE(Run({Path("example.kwp").toStdString()}), 0);
        QVERIFY(err.empty());
        QCOMPARE(out.back(), '\n');
        const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(out));
        const QJsonDocument expected = QJsonDocument::fromJson(QByteArray::fromStdString(
            J("{'absolute': false, 'range': [-10, 10, -5, 5], 'formula': 'cos(x^2-3)', 'list': ['sin(x)', 'cos(x)'],"
              " 'calc': ['', ''], 'active': 1}")));
        QCOMPARE(doc, expected);
    }

    void writesWhatTheWindowWouldSave() {
        const std::string json =
            J("{'absolute': false, 'range': [-10, 10, -5, 5], 'formula': 'cos(x^2-3)',"
              " 'list': ['sin(x)', 'cos(x)'], 'calc': ['', ''], 'active': 1}");
        QCOMPARE(Run({"--write", Path("w.kwp").toStdString()}, json), 0);
        QCOMPARE(ReadAll(Path("w.kwp")), kExample);
        // Keys left out keep a new workplace's values.
        const std::string some = J("{'formula': 'cos(x^2-3)', 'list': ['sin(x)', 'cos(x)']}");
        QCOMPARE(Run({"--write", Path("min.kwp").toStdString()}, some), 0);
        QCOMPARE(ReadAll(Path("min.kwp")), kExample);
    }

    void cyrillicAndEveryFieldRoundTrip() {
        const std::string json =
            J("{'absolute': true, 'range': [-3.25, 1000000, -0.000125, 3.14159], 'formula': '',"
              " 'list': ['x', '', 'ln(x)'], 'calc': ['Сумма 2+2', 'ёж №1'], 'active': 2}");
        QCOMPARE(Run({"--write", Path("r.kwp").toStdString()}, json), 0);
        QVERIFY(ReadAll(Path("r.kwp"))
                    .contains("\xd1\xf3\xec\xec\xe0 2+2@\xb8\xe6 \xb9"
                              "1@\x02"));
        QCOMPARE(Run({Path("r.kwp").toStdString()}), 0);
        QCOMPARE(QJsonDocument::fromJson(QByteArray::fromStdString(out)),
                 QJsonDocument::fromJson(QByteArray::fromStdString(json)));
    }

    // Names are the file system's bytes: one in no encoding, or in Windows-1251, is read back
    // as it was written, and two such names stay two files.
    void namesInNoEncodingRoundTrip() {
        const std::string base = QFile::encodeName(dir.path()).toStdString();
        const std::string names[] = {base + "/w\xff.kwp", base + "/w\xfe.kwp", base + "/\xf0\xe0\xe1.kwp"};
        const auto formula = [](int i) { return "\"formula\":\"x+" + std::to_string(i) + "\""; };
        for (int i = 0; i < 3; ++i) QCOMPARE(Run({"--write", names[i]}, "{" + formula(i) + "}"), 0);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(Run({names[i]}), 0);
            QVERIFY2(out.find(formula(i)) != std::string::npos, out.c_str());
            ::unlink(names[i].c_str());
        }
    }

    void badFilesExitWithOne() {
        Write(Path("bad.kwp"), "_KXQuantorium+_1.0_?rest");
        // A file that is there but no workplace is said to be one in the wrong format; one that
        // cannot be read at all is said to be that.
        const struct {
            QString path;
            const char* said;
        } cases[] = {
            {Path("bad.kwp"), "Я не могу прочитать данный файл, т.к. он сохранен в неправильном формате."},
            {Path("missing.kwp"), "missing.kwp»: нет такого файла"},
            {dir.path(), "»: это не обычный файл"},
            {Path("loop-a.kwp"), "loop-a.kwp»: слишком много символических ссылок"},
        };
        QFile::link("loop-b.kwp", Path("loop-a.kwp"));
        QFile::link("loop-a.kwp", Path("loop-b.kwp"));
        for (const auto& c : cases) {
            QCOMPARE(Run({c.path.toStdString()}), 1);
            QVERIFY(out.empty());
            QVERIFY2(err.find(c.said) != std::string::npos, err.c_str());
        }
    }

    void unstorableStatesExitWithOneAndWriteNothing() {
        const struct {
            std::string json;
            const char* named;
        } cases[] = {
            {J("{'formula': 'a#b'}"), "Формула графика содержит знак «#»"},
            {J("{'list': ['ok', 'x$']}"), "Формула №2 списка"},
            {J("{'calc': ['@', '']}"), "Первая строка калькулятора"},
            {J("{'calc': ['', '✓']}"), "«✓»"},
        };
        for (const auto& c : cases) {
            QCOMPARE(Run({"--write", Path("no.kwp").toStdString()}, c.json), 1);
            QVERIFY2(err.find(c.named) != std::string::npos, err.c_str());
            QVERIFY(!QFile::exists(Path("no.kwp")));
        }
        std::string many = J("{'list': [");
        for (int i = 0; i < 256; ++i) many += std::string(i ? "," : "") + "\"x\"";
        QCOMPARE(Run({"--write", Path("no.kwp").toStdString()}, many + "]}"), 1);
        QVERIFY(!QFile::exists(Path("no.kwp")));
    }

    void badJsonAndUsageExitWithTwo() {
        const std::string file = Path("u.kwp").toStdString();
        for (const std::string& json :
             {std::string(), J("{"), J("[1, 2]"), J("{'range': [1, 2, 3]}"), J("{'range': 'x'}"), J("{'absolute': 1}"),
              J("{'active': 3}"), J("{'list': [1]}"), J("{'calc': ['a']}"), J("{'formula': null}"),
              J("{'colour': true}")}) {
            QCOMPARE(Run({"--write", file}, json), 2);
            QVERIFY2(!err.empty(), json.c_str());
            QVERIFY(!QFile::exists(Path("u.kwp")));
        }
        for (const auto& args :
             std::vector<std::vector<std::string>>{{}, {"--write"}, {"a.kwp", "b.kwp"}, {"--bogus", "a.kwp"}}) {
            QCOMPARE(Run(args), 2);
            QVERIFY(err.find("использование") != std::string::npos);
        }
    }
};

QTEST_MAIN(WorkplaceCommandTest)
#include "workplace_command_test.moc"
