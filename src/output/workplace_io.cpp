#include "output/workplace_io.h"

#include <QFile>

#include "docs/docs_texts.h"
#include "docs/workplace_codec.h"
#include "docs/workplace_file.h"
#include "output/document_file.h"

namespace kq {

FileResult<LoadedWorkplace> ReadWorkplaceFile(const QByteArray& nativePath) {
    using Result = FileResult<LoadedWorkplace>;
    const FileResult<QByteArray> bytes = ReadDocument(nativePath, kMaxWorkplaceFileSize, TooLargeText());
    if (!bytes) return Result::Failure(bytes.Reason());
    bool damaged = false;
    const std::optional<Workplace> w = DecodeWorkplace(
        std::span(reinterpret_cast<const std::uint8_t*>(bytes->constData()), static_cast<std::size_t>(bytes->size())),
        &damaged);
    if (!w) return Result::Failure(kBadWorkplaceText);
    LoadedWorkplace loaded{*w, {}};
    if (damaged) loaded.damage = QString::fromUtf8(kDamagedWorkplaceText).arg(QFile::decodeName(nativePath)).toStdString();
    return loaded;
}

FileResult<> WriteWorkplaceFile(const QByteArray& nativePath, const Workplace& w) {
    const WorkplaceBytes out = EncodeWorkplace(w);
    if (!out.refusal.empty()) return FileResult<>::Failure(out.refusal);
    return WriteDocument(nativePath,
                         QByteArray(reinterpret_cast<const char*>(out.bytes.data()), static_cast<qsizetype>(out.bytes.size())));
}

}  // namespace kq
