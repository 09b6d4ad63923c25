// "Трехмерные графики": asks once whether the 3D page is wanted.
#pragma once

#include <QDialog>
#include <memory>

namespace Ui {
class TQuestDial;
}

namespace kq {

class TQuestDial : public QDialog {
    Q_OBJECT
public:
    explicit TQuestDial(QWidget* parent = nullptr);
    ~TQuestDial() override;

private:
    std::unique_ptr<Ui::TQuestDial> ui_;
};

}  // namespace kq
