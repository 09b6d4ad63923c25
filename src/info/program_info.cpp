#include "info/program_info.h"

#include <filesystem>

#include "info/version.h"

namespace kq {

std::string ProgramName() { return "Кванториум+"; }
std::string ProgramVersion() { return KQ_VERSION; }
std::string AuthorEmail() { return "kx.quantorium@example.org"; }

std::string AuthorMailLink() {
    // "Кванториум+ " percent-encoded as UTF-8.
    return "mailto:" + AuthorEmail() +
           "?subject=%D0%9A%D0%B2%D0%B0%D0%BD%D1%82%D0%BE%D1%80%D0%B8%D1%83%D0%BC%2B%20";
}

std::string FindShippedFile(const std::string& programDir, const std::string& name) {
    namespace fs = std::filesystem;
    const fs::path dir(programDir);
    const fs::path candidates[] = {dir / name, dir / ".." / "share" / "quantorium" / name,
                                   fs::path(KQ_SOURCE_DIR) / "docs" / name};
    std::error_code ec;
    for (const fs::path& p : candidates)
        if (fs::is_regular_file(p, ec)) return fs::weakly_canonical(p, ec).string();
    return {};
}

}  // namespace kq
