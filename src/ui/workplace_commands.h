// "Создать", "Загрузить ..." and "Сохранить" → "Рабочее место...": the window's side of
// workplace files. It picks the file, hands bytes to the format code, and applies the result
// to the graph and calculator pages.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <optional>

#include "docs/workplace.h"
#include "docs/workplace_format.h"

class QWidget;

namespace kq {

class PlanePage;
class CalcPage;
class CalcSession;
struct DocumentPrompts;

class WorkplaceCommands : public QObject {
    Q_OBJECT
public:
    // The pages, the session and the prompts belong to the window and outlive this.
    WorkplaceCommands(QWidget* window, PlanePage& plane, CalcPage& calc, CalcSession& session,
                      DocumentPrompts& prompts);

    // The pages' state as a workplace (texts in UTF-8).
    Workplace Capture() const;
    // Puts a loaded workplace into the pages, as reading a file does.
    void Apply(const Workplace& w);

    // Reads the file (its name as the file system spells it) and applies it; on failure
    // tells the user and changes nothing. A damaged file is applied as far as it goes, and
    // then the user is told.
    bool LoadFile(const QByteArray& nativePath);
    // Writes the pages' state to `path`; on failure tells the user and leaves any old file alone.
    bool SaveFile(const QString& path);

    // The largest file taken for a workplace, the same that saving keeps to.
    static constexpr qint64 kMaxFileSize = workplace_format::kMaxFileBytes;
    // The workplace in the file `nativePath` (the file system's bytes); nothing, with `problem`
    // saying why in Russian, when the file cannot be read, is too large or is no workplace.
    // For a damaged file, the workplace as far as the file goes, and `problem` says that it is
    // damaged.
    static std::optional<Workplace> ReadFile(const QByteArray& nativePath, QString& problem);

public slots:
    // Asks, then puts back the starting formula and list; ranges and calculator stay.
    void Reset();
    void Load();
    void Save();

private:
    QWidget* window_;
    PlanePage& plane_;
    CalcPage& calc_;
    CalcSession& session_;
    DocumentPrompts& prompts_;
};

}  // namespace kq
