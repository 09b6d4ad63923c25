#include "ui/point_table.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <set>

namespace kq {

PointTable::PointTable(QWidget* parent) : QTableWidget(parent) {
    setColumnCount(4);
    setHorizontalHeaderLabels({QStringLiteral("Точка"), QStringLiteral("Формула"), QStringLiteral("x"),
                               QStringLiteral("y")});
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    verticalHeader()->setVisible(false);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setStretchLastSection(true);
    setContextMenuPolicy(Qt::ActionsContextMenu);
    auto* copy = new QAction(QStringLiteral("&Копировать"), this);
    copy->setObjectName(QStringLiteral("CopyPoints"));
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut);
    connect(copy, &QAction::triggered, this, &PointTable::CopySelection);
    addAction(copy);
}

QString PointTable::SelectedText() const {
    std::set<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedIndexes()) rows.insert(index.row());
    QString text;
    for (int row : rows) {
        QStringList cells;
        for (int column = 0; column < columnCount(); ++column) {
            const QTableWidgetItem* cell = item(row, column);
            cells << (cell ? cell->text() : QString());
        }
        text += cells.join(QLatin1Char('\t')) + QLatin1Char('\n');
    }
    return text;
}

void PointTable::CopySelection() {
    const QString text = SelectedText();
    if (!text.isEmpty()) QApplication::clipboard()->setText(text);
}

// Ctrl+C is the window's "copy the field" too: in the table it copies the rows.
bool PointTable::event(QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride && static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
        event->accept();
        return true;
    }
    return QTableWidget::event(event);
}

void PointTable::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        CopySelection();
        return;
    }
    QTableWidget::keyPressEvent(event);
}

}  // namespace kq
