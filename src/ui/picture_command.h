// "Сохранить" → "Изображение графика...": the plane graph as it is on screen, saved in the
// format the file name's extension names.
#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace kq {

class PlanePage;
struct DocumentPrompts;
struct PictureSource;

class PictureCommand : public QObject {
    Q_OBJECT
public:
    PictureCommand(QWidget* window, PlanePage& plane, DocumentPrompts& prompts);

    // Writes the picture to `path`; on failure tells the user and leaves any old file alone.
    bool SaveFile(const QString& path);

public slots:
    void Save();

private:
    QWidget* window_;
    PlanePage& plane_;
    DocumentPrompts& prompts_;
};

// What draws the page's graph into a picture: its paint box's routine and size.
PictureSource PlanePictureSource(PlanePage& plane);

}  // namespace kq
