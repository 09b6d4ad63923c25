// The table of a graph's notable points: kind, formula, x and y with all their digits; the
// selected rows are copied as tab-separated text (Ctrl+C or the context menu).
#pragma once

#include <QTableWidget>

namespace kq {

class PointTable : public QTableWidget {
    Q_OBJECT
public:
    explicit PointTable(QWidget* parent = nullptr);

    // The selected rows, in the table's order, one line each with the cells between tabs.
    QString SelectedText() const;
    // Puts it on the clipboard (nothing when no row is selected).
    void CopySelection();

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace kq
