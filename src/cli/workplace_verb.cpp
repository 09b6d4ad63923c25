#include "cli/workplace_verb.h"

#include <QByteArray>
#include <istream>
#include <iterator>
#include <ostream>

#include "cli/option_parser.h"
#include "docs/docs_texts.h"
#include "docs/workplace_json.h"
#include "output/workplace_io.h"

namespace kq {
namespace {

OptionParser WorkplaceParser(bool& write) {
    OptionParser parser("workplace", "ФАЙЛ.kwp");
    parser.Flag("--write", write);
    parser.SetUsage("quantorium workplace [--write] ФАЙЛ.kwp   (с --write: состояние в JSON на входе)");
    return parser;
}

// The name stays bytes all the way to the file system.
QByteArray Native(const std::string& file) { return QByteArray(file.data(), static_cast<qsizetype>(file.size())); }

int Print(const std::string& file, std::ostream& out, std::ostream& err) {
    const FileResult<LoadedWorkplace> loaded = ReadWorkplaceFile(Native(file));
    // A damaged file is printed as far as it goes, and said to be damaged.
    if (loaded) out << WorkplaceToJson(loaded->workplace) << "\n";
    const std::string& problem = loaded ? loaded->damage : loaded.Reason();
    if (problem.empty()) return 0;
    err << "quantorium workplace: " << problem << "\n";
    return 1;
}

int Write(const std::string& file, std::istream& in, std::ostream& err) {
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::string wrong;
    const std::optional<Workplace> state = WorkplaceFromJson(text, wrong);
    if (!state) throw UsageError{wrong};
    const FileResult<> written = WriteWorkplaceFile(Native(file), *state);
    if (written) return 0;
    err << "quantorium workplace: " << kWorkplaceNotSaved << "\n" << written.Reason() << "\n";
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
