// The guide and the read-me, shown inside the program: it needs no web browser and its links,
// Back and Forward work as in one.
#pragma once

#include <QMainWindow>

class QTextBrowser;

namespace kq {

class THelpForm : public QMainWindow {
    Q_OBJECT
public:
    explicit THelpForm(QWidget* parent = nullptr);

    // Shows the guide at a section ("language", "functions", ...; empty: the beginning).
    void ShowGuide(const QString& section = QString());
    void ShowReadMe();

    QTextBrowser& Browser() { return *browser_; }

private:
    void ShowPage(const QUrl& url);

    QTextBrowser* browser_ = nullptr;
};

}  // namespace kq
