#include "ui/workplace_command.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QString>
#include <istream>
#include <iterator>
#include <ostream>

#include "app/command_line.h"
#include "docs/docs_texts.h"
#include "docs/workplace_codec.h"
#include "ui/file_output.h"
#include "ui/workplace_commands.h"

namespace kq {
namespace {

OptionParser WorkplaceParser(bool& write) {
    OptionParser parser("workplace", "ФАЙЛ.kwp");
    parser.Flag("--write", write);
    parser.SetUsage("quantorium workplace [--write] ФАЙЛ.kwp   (с --write: состояние в JSON на входе)");
    return parser;
}

QString Q(const std::string& utf8) { return QString::fromStdString(utf8); }

QJsonObject ToJson(const Workplace& w) {
    QJsonArray list;
    for (const std::string& entry : w.list) list.append(Q(entry));
    return {
        {"absolute", w.absolute},
        {"range", QJsonArray{static_cast<double>(w.xFrom), static_cast<double>(w.xTo), static_cast<double>(w.yFrom),
                             static_cast<double>(w.yTo)}},
        {"formula", Q(w.formula)},
        {"list", list},
        {"calc", QJsonArray{Q(w.firstLine), Q(w.secondLine)}},
        {"active", w.activeLine},
    };
}

std::string Text(const QJsonValue& value, const char* what) {
    if (!value.isString()) throw UsageError{std::string(what) + " должно быть строкой"};
    return value.toString().toStdString();
}

// Every key may be left out (then it keeps the value of a new window's workplace); a key of
// the wrong type or one this state does not have is a mistake.
Workplace FromJson(const QJsonObject& o) {
    Workplace w;
    for (auto it = o.begin(); it != o.end(); ++it) {
        const QString key = it.key();
        const QJsonValue v = it.value();
        if (key == "absolute") {
            if (!v.isBool()) throw UsageError{"\"absolute\" должно быть true или false"};
            w.absolute = v.toBool();
        } else if (key == "range") {
            const QJsonArray r = v.toArray();
            if (!v.isArray() || r.size() != 4 || !r[0].isDouble() || !r[1].isDouble() || !r[2].isDouble() ||
                !r[3].isDouble())
                throw UsageError{"\"range\" должно быть массивом из четырёх чисел"};
            w.xFrom = r[0].toDouble();
            w.xTo = r[1].toDouble();
            w.yFrom = r[2].toDouble();
            w.yTo = r[3].toDouble();
        } else if (key == "formula") {
            w.formula = Text(v, "\"formula\"");
        } else if (key == "list") {
            if (!v.isArray()) throw UsageError{"\"list\" должно быть массивом строк"};
            for (const QJsonValue& entry : v.toArray()) w.list.push_back(Text(entry, "каждая формула \"list\""));
        } else if (key == "calc") {
            const QJsonArray c = v.toArray();
            if (!v.isArray() || c.size() != 2) throw UsageError{"\"calc\" должно быть массивом из двух строк"};
            w.firstLine = Text(c[0], "строка \"calc\"");
            w.secondLine = Text(c[1], "строка \"calc\"");
        } else if (key == "active") {
            if (!v.isDouble() || (v.toDouble() != 1 && v.toDouble() != 2))
                throw UsageError{"\"active\" должно быть 1 или 2"};
            w.activeLine = v.toInt();
        } else {
            throw UsageError{"неизвестное поле \"" + key.toStdString() + "\""};
        }
    }
    return w;
}

int Print(const std::string& file, std::ostream& out, std::ostream& err) {
    QString problem;
    const std::optional<Workplace> w = WorkplaceCommands::ReadFile(QByteArray::fromStdString(file), problem);
    if (!w) {
        err << "quantorium workplace: " << problem.toStdString() << "\n";
        return 1;
    }
    out << QJsonDocument(ToJson(*w)).toJson(QJsonDocument::Compact).toStdString() << "\n";
    return 0;
}

int Write(const std::string& file, std::istream& in, std::ostream& err) {
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(text), &parseError);
    if (doc.isNull()) throw UsageError{"неверный JSON: " + parseError.errorString().toStdString()};
    if (!doc.isObject()) throw UsageError{"JSON должен быть объектом"};
    const WorkplaceBytes bytes = EncodeWorkplace(FromJson(doc.object()));
    QString error = Q(bytes.refusal);
    if (error.isEmpty()) {
        // The name stays bytes all the way to the file system.
        SafeFile out(QByteArray(file.data(), static_cast<qsizetype>(file.size())));
        if (QIODevice* device = out.Device())
            device->write(reinterpret_cast<const char*>(bytes.bytes.data()), static_cast<qint64>(bytes.bytes.size()));
        if (out.Commit()) return 0;
        error = out.Error();
    }
    err << "quantorium workplace: " << kWorkplaceNotSaved << "\n" << error.toStdString() << "\n";
    return 1;
}

}  // namespace

std::string WorkplaceUsage() {
    bool write = false;
    return WorkplaceParser(write).Usage();
}

int RunWorkplaceCommand(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err) {
    bool write = false;
    const OptionParser parser = WorkplaceParser(write);
    try {
        const std::vector<std::string> files = parser.Parse(args);
        if (files.empty()) throw UsageError{"не задан файл рабочего места"};
        if (files.size() > 1) throw UsageError{"файл задан дважды: \"" + files[1] + "\""};
        if (files[0].empty()) throw UsageError{"имя файла пусто"};
        return write ? Write(files[0], in, err) : Print(files[0], out, err);
    } catch (const UsageError& e) {
        err << "quantorium workplace: " << e.message << "\nиспользование: " << parser.Usage() << "\n";
        return 2;
    }
}

}  // namespace kq
