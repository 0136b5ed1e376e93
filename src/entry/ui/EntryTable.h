#pragma once

#include <QTableWidget>
#include <functional>

// A grid of the daily entry screen. Tab and Enter walk its editable cells row by row, Shift+Tab
// and Esc walk back, with or without an open cell editor; moving past either end is left to the
// screen (the next grid, a new row). The grid scrolls its rows itself, so that the screen fits
// its window.
class EntryTable : public QTableWidget {
    Q_OBJECT
  public:
    EntryTable(int columns, const QString& name, QWidget* parent);

    // Called when the cursor would move past the last (forward) or first editable cell; true when
    // the screen took over, false lets the focus move on to the neighbouring control.
    std::function<bool(bool forward)> leave;

    bool isEditableCell(int row, int column) const;
    // Focus and cursor on a cell.
    void enterCell(int row, int column);
    // Focus on the first or last editable cell; false when there is none.
    bool enterFirst();
    bool enterLast();
    // Writes an open cell editor back and closes it, so that what is shown is what was typed.
    void commitEditor();
    // Widens a column to its longest text (at least minimum pixels), so that names are readable.
    void fitColumnToTexts(int column, const QStringList& texts, int minimum);

  protected:
    bool focusNextPrevChild(bool next) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

  private:
    // The next editable cell after (or before) a cell; invalid past the end.
    QModelIndex neighbour(const QModelIndex& from, bool forward) const;
};
