// The small up and down arrows beside a range editor: each click moves the editor's value
// to the next whole number within the limits.
#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace kq {

class UpDown : public QWidget {
    Q_OBJECT
public:
    explicit UpDown(QWidget* parent = nullptr);

    // The editor it steps and the limits of the steps.
    void Attach(QLineEdit* buddy, int minimum, int maximum);
    int Minimum() const { return minimum_; }
    int Maximum() const { return maximum_; }

    // One step up (+1) or down (-1), as a click on an arrow does.
    void Step(int direction);

private:
    QLineEdit* buddy_ = nullptr;
    QToolButton* up_ = nullptr;
    QToolButton* down_ = nullptr;
    int minimum_ = -100, maximum_ = 100;
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace kq
