// The about box and the splash window shown while the program starts.
#pragma once

#include <QDialog>
#include <QWidget>

namespace kq {

class TAboutForm : public QDialog {
    Q_OBJECT
public:
    explicit TAboutForm(QWidget* parent = nullptr);
};

class TStartForm : public QWidget {
    Q_OBJECT
public:
    TStartForm();
};

}  // namespace kq
