#include "output/workplace_io.h"

#include <QFile>

#include "docs/docs_texts.h"
#include "docs/workplace_codec.h"
#include "docs/workplace_file.h"
#include "output/document_file.h"

namespace kq {

std::optional<Workplace> ReadWorkplaceFile(const QByteArray& nativePath, QString& problem) {
    bool tooLarge = false;
    problem.clear();
    const std::optional<QByteArray> bytes = ReadDocument(nativePath, kMaxWorkplaceFileSize, &tooLarge, &problem);
    if (!problem.isEmpty()) return std::nullopt;
    std::optional<Workplace> w;
    bool damaged = false;
    if (bytes)
        w = DecodeWorkplace(std::span(reinterpret_cast<const std::uint8_t*>(bytes->constData()),
                                      static_cast<std::size_t>(bytes->size())),
                            &damaged);
    if (tooLarge)
        problem = QString::fromStdString(TooLargeText());
    else if (!w)
        problem = QString::fromUtf8(kBadWorkplaceText);
    else if (damaged)
        problem = QString::fromUtf8(kDamagedWorkplaceText).arg(QFile::decodeName(nativePath));
    return w;
}

}  // namespace kq
