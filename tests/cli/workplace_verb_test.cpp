// `quantorium workplace`: a file as JSON, JSON written as the window would save it, and the
// exit statuses of bad files, bad JSON and unstorable states.
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <sstream>
#include <unistd.h>

#include "cli/workplace_verb.h"

using namespace kq;

namespace {

const QByteArray kExample = QByteArray("_KXQuantorium+_1.0_!") + '\0' + "?-10?10?-5?5?cos(x^2-3)#" + '\x02' +
                            "sin(x)$cos(x)$@@" + '\x01' + "@Eof_";

// JSON written with single quotes, which need no escaping here.
std::string J(std::string text) {
    std::replace(text.begin(), text.end(), '\'', '"');
    return text;
}

// The four numbers of "range" exactly as printed (a JSON library would round them to double).
std::vector<std::string> RangeTexts(const std::string& json) {
    static const QRegularExpression kRange(QStringLiteral(R"("range":\[([^,\]]*),([^,\]]*),([^,\]]*),([^,\]]*)\])"));
    const QRegularExpressionMatch m = kRange.match(QString::fromStdString(json));
    if (!m.hasMatch()) return {};
    return {m.captured(1).toStdString(), m.captured(2).toStdString(), m.captured(3).toStdString(),
            m.captured(4).toStdString()};
}

// What the C library reads a decimal text as (the program's C locale).
long double Strtold(const std::string& text) { return std::strtold(text.c_str(), nullptr); }

bool IsJsonNumber(const std::string& text) {
    static const QRegularExpression kNumber(
        QRegularExpression::anchoredPattern(QStringLiteral(R"(-?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)?)")));
    return kNumber.match(QString::fromStdString(text)).hasMatch();
}

const char* const kDamaged = "повреждён: он обрывается до конца рабочего места; недостающие поля пусты.";

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

    // A file cut short, or with a range text that is no number, is printed as far as it goes;
    // standard error says it is damaged and the status is 1.
    void damagedFilesArePrintedAndSaidToBeDamaged() {
        const QByteArray magic = "_KXQuantorium+_1.0_!";
        const struct {
            QByteArray bytes;
            const char* formula;
            int listCount;
            bool damaged;
        } cases[] = {
            {kExample, "cos(x^2-3)", 2, false},
            {kExample + "trailing", "cos(x^2-3)", 2, false},
            {magic, "", 0, true},
            {kExample.left(kExample.indexOf("sin(x)") + 3), "cos(x^2-3)", 2, true},  // "sin" and ""
            {kExample.left(kExample.indexOf("cos(x^2") + 5), "cos(x", 0, true},
            {kExample.left(kExample.size() - 5), "cos(x^2-3)", 2, true},  // all but the end marker
            {kExample.left(kExample.size() - 2), "cos(x^2-3)", 2, true},  // half of it
            {QByteArray(kExample).replace("?10?", "?abc?"), "cos(x^2-3)", 2, true},
            {QByteArray(kExample).replace("?-5?", "??"), "cos(x^2-3)", 2, true},
            {QByteArray(kExample).replace("?10?", "?1e99999?"), "cos(x^2-3)", 2, true},
            {QByteArray(kExample).replace("?10?", "?10x?"), "cos(x^2-3)", 2, true},
        };
        for (const auto& c : cases) {
            Write(Path("d.kwp"), c.bytes);
            QCOMPARE(Run({Path("d.kwp").toStdString()}), c.damaged ? 1 : 0);
            const QJsonObject o = QJsonDocument::fromJson(QByteArray::fromStdString(out)).object();
            QVERIFY2(!o.isEmpty(), c.bytes.constData());
            QCOMPARE(o["formula"].toString(), QString(c.formula));
            QCOMPARE(o["list"].toArray().size(), c.listCount);
            if (c.damaged)
                QCOMPARE(err, "quantorium workplace: Файл «" + Path("d.kwp").toStdString() + "» " + kDamaged + "\n");
            else
                QCOMPARE(err, std::string());
        }
    }

    // Every range value is a JSON number that reads back to the very value the file holds,
    // beyond the range of double as well.
    void rangeValuesAreNumbersThatReadBack() {
        const char* const texts[] = {"1e+4932",  "-1e+4932",    "1.18973e+4932", "-2.5e-4000",
                                     "1e+400",   "3.14159e-310", "0.1",           "-123456"};
        for (const char* text : texts) {
            QByteArray bytes = kExample;
            bytes.replace("?10?", QByteArray("?") + text + "?");
            Write(Path("n.kwp"), bytes);
            QCOMPARE(Run({Path("n.kwp").toStdString()}), 0);
            const std::vector<std::string> range = RangeTexts(out);
            QVERIFY2(range.size() == 4, out.c_str());
            QVERIFY2(IsJsonNumber(range[1]), range[1].c_str());
            QVERIFY2(Strtold(range[1]) == Strtold(text), range[1].c_str());
            QCOMPARE(range[0], std::string("-10"));
            // And the JSON writes the same file back.
            QCOMPARE(Run({"--write", Path("back.kwp").toStdString()}, out), 0);
            QCOMPARE(ReadAll(Path("back.kwp")), bytes);
        }
        QCOMPARE(Run({"--write", Path("big.kwp").toStdString()}, J("{'range': [-1e+4932, 1e4932, 2.5e-4000, 3]}")), 0);
        QVERIFY(ReadAll(Path("big.kwp")).contains("?-1e+4932?1e+4932?2.5e-4000?3?#"));
    }

    // Text that is not JSON by the standard is refused with status 2, not patched up.
    void aLoneSurrogateOrARepeatedKeyIsBadJson() {
        const struct {
            std::string json;
            const char* said;
        } cases[] = {
            {J("{'formula': '\\ud800'}"), "\\ud800"},
            {J("{'formula': 'a\\udc00b'}"), "\\udc00"},
            {J("{'calc': ['\\ud83dx', '']}"), "\\ud83d"},
            {J("{'formula': '\\ud800\\u0041'}"), "\\ud800"},
            {J("{'formula': 'x', 'formula': 'y'}"), "\"formula\" задано дважды"},
            {J("{'list': [], 'absolute': true, 'list': []}"), "\"list\" задано дважды"},
            {"{\"formula\": \"\xed\xa0\x80\"}", "UTF-8"},
            {"{\"formula\": \"\xff\"}", "UTF-8"},
            {J("{'range': [1e5000, 2, 3, 4]}"), "1e5000"},
            {J("{'formula': 'x',}"), "неверный JSON"},
            {J("{'range': [01, 2, 3, 4]}"), "неверный JSON"},
            {std::string(300, '[') + std::string(300, ']'), "вложенность"},
        };
        for (const auto& c : cases) {
            QCOMPARE(Run({"--write", Path("s.kwp").toStdString()}, c.json), 2);
            QVERIFY2(err.find(c.said) != std::string::npos, err.c_str());
            QVERIFY(!QFile::exists(Path("s.kwp")));
        }
        // A pair of surrogates is one character; this one has no Windows-1251 code.
        QCOMPARE(Run({"--write", Path("s.kwp").toStdString()}, J("{'formula': '\\ud83d\\ude00'}")), 1);
        QVERIFY2(err.find("«\U0001F600»") != std::string::npos, err.c_str());
        QCOMPARE(Run({"--write", Path("s.kwp").toStdString()}, J("{'formula': '\\u0436\\u00ab'}")), 0);
        QVERIFY(ReadAll(Path("s.kwp")).contains("?\xe6\xab#"));
    }

    // One size limit for reading and writing: what would be too large to read is not written.
    void aWorkplaceTooLargeToReadIsNotWritten() {
        QFile huge(Path("huge.kwp"));
        QVERIFY(huge.open(QIODevice::WriteOnly));
        huge.write(kExample);
        QVERIFY(huge.resize(64 * 1024 * 1024 + 1));
        huge.close();
        QCOMPARE(Run({Path("huge.kwp").toStdString()}), 1);
        const std::string tooLarge = "Файл слишком велик для рабочего места";
        const std::size_t at = err.find(tooLarge);
        QVERIFY2(at != std::string::npos, err.c_str());
        const std::string readMessage = err.substr(at);

        // The default workplace takes 44 bytes besides its formula.
        const std::string json = "{\"formula\": \"" + std::string(64 * 1024 * 1024 - 44 + 1, 'x') + "\"}";
        QCOMPARE(Run({"--write", Path("toolarge.kwp").toStdString()}, json), 1);
        QVERIFY(!QFile::exists(Path("toolarge.kwp")));
        QCOMPARE(err.substr(err.find(tooLarge)), readMessage);
    }
};

QTEST_MAIN(WorkplaceCommandTest)
#include "workplace_verb_test.moc"
