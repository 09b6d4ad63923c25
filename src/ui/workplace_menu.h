// "Создать", "Загрузить ..." and "Сохранить" → "Рабочее место...": the window's side of
// workplace files. It picks the file, hands bytes to the format code, and applies the result
// to the graph and calculator pages.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

#include "docs/workplace.h"

class QWidget;

namespace kq {

class PlanePage;
class CalcSession;
struct DocumentPrompts;

class WorkplaceMenu : public QObject {
    Q_OBJECT
public:
    // The pages, the session and the prompts belong to the window and outlive this.
    WorkplaceMenu(QWidget* window, PlanePage& plane, CalcSession& session, DocumentPrompts& prompts);

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

signals:
    // A workplace file was loaded from or saved to `path`.
    void fileUsed(const QString& path);
    // The pages hold a new workplace, of no file.
    void fileForgotten();

public slots:
    // Asks, then puts back the starting formula and list; ranges and calculator stay.
    void Reset();
    void Load();
    void Save();

private:
    QWidget* window_;
    PlanePage& plane_;
    CalcSession& session_;
    DocumentPrompts& prompts_;
};

}  // namespace kq
