// The guide and the read-me, shown inside the program: it needs no web browser and its links,
// Back and Forward work as in one.
#pragma once

#include <QMainWindow>
#include <QString>
#include <QUrl>

class QTextBrowser;

namespace kq {

// Where a help page is read from: the shipped file found from the program's folder (an
// installed ../share/quantorium, or the source tree's docs for a build), else the copy built
// into the program.
QUrl HelpPageUrl(const QString& programDir, const QString& name);

class THelpForm : public QMainWindow {
    Q_OBJECT
public:
    // `programDir` is where the pages are looked for from; by default the program's own folder.
    explicit THelpForm(QWidget* parent = nullptr, const QString& programDir = QString());

    // Shows the guide at a section ("language", "functions", ...; empty: the beginning).
    void ShowGuide(const QString& section = QString());
    void ShowReadMe();

    QTextBrowser& Browser() { return *browser_; }

private:
    void ShowPage(const QUrl& url);

    QString programDir_;
    QTextBrowser* browser_ = nullptr;
};

}  // namespace kq
