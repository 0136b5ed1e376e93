#include "entry/ui/EntryTable.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <algorithm>

EntryTable::EntryTable(int columns, const QString& name, QWidget* parent)
    : QTableWidget(0, columns, parent) {
    setObjectName(name);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    // Always there, so that the width does not jump when rows are added.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setSizeAdjustPolicy(QAbstractScrollArea::AdjustIgnored);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
}

bool EntryTable::isEditableCell(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount() ||
        isColumnHidden(column)) {
        return false;
    }
    const QTableWidgetItem* cell = item(row, column);
    return cell && (cell->flags() & Qt::ItemIsEditable) && (cell->flags() & Qt::ItemIsEnabled);
}

QModelIndex EntryTable::neighbour(const QModelIndex& from, bool forward) const {
    const int columns = columnCount();
    const int cells = rowCount() * columns;
    int position = from.isValid() ? from.row() * columns + from.column() : (forward ? -1 : cells);
    for (position += forward ? 1 : -1; position >= 0 && position < cells;
         position += forward ? 1 : -1) {
        if (isEditableCell(position / columns, position % columns)) {
            return model()->index(position / columns, position % columns);
        }
    }
    return {};
}

void EntryTable::enterCell(int row, int column) {
    setFocus(Qt::OtherFocusReason);
    setCurrentCell(row, column);
}

bool EntryTable::enterFirst() {
    const QModelIndex first = neighbour({}, true);
    if (!first.isValid()) {
        return false;
    }
    enterCell(first.row(), first.column());
    return true;
}

bool EntryTable::enterLast() {
    const QModelIndex last = neighbour({}, false);
    if (!last.isValid()) {
        return false;
    }
    enterCell(last.row(), last.column());
    return true;
}

void EntryTable::commitEditor() {
    if (state() != QAbstractItemView::EditingState) {
        return;
    }
    if (QWidget* editor = indexWidget(currentIndex())) {
        commitData(editor);
        QTableWidget::closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
}

void EntryTable::fitColumnToTexts(int column, const QStringList& texts, int minimum) {
    int widest = minimum;
    for (const QString& text : texts) {
        // Room for the cell's margins and, on combo cells, the drop-down arrow.
        widest = std::max(widest, fontMetrics().horizontalAdvance(text) + 32);
    }
    setColumnWidth(column, widest);
}

bool EntryTable::focusNextPrevChild(bool next) {
    if (!tabKeyNavigation() || !isEnabled()) {
        return QTableWidget::focusNextPrevChild(next);
    }
    const QModelIndex to = neighbour(currentIndex(), next);
    if (to.isValid()) {
        setCurrentIndex(to);
        return true;
    }
    if (leave && leave(next)) {
        return true;
    }
    return QWidget::focusNextPrevChild(next);
}

void EntryTable::keyPressEvent(QKeyEvent* event) {
    // An open editor has these keys already (the cell delegate); here the cursor is on a cell.
    const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (plain && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        focusNextPrevChild(true);
        return;
    }
    if (plain && event->key() == Qt::Key_Escape) {
        focusNextPrevChild(false);
        return;
    }
    QTableWidget::keyPressEvent(event);
}

void EntryTable::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    const bool next = hint == QAbstractItemDelegate::EditNextItem;
    const bool previous = hint == QAbstractItemDelegate::EditPreviousItem;
    if (!next && !previous) {
        QTableWidget::closeEditor(editor, hint);
        return;
    }
    // The cursor moves but no editor opens: typing on the next cell starts one.
    QTableWidget::closeEditor(editor, QAbstractItemDelegate::NoHint);
    focusNextPrevChild(next);
}
