#pragma once

#include <QTableWidget>

#include "common/Messages.h"

// Small helpers every entry screen uses on its grids and input boxes. Rows and columns count
// from 0; a block includes both corners.

// Empties the texts of a block of cells.
void clearGridBlock(QTableWidget* grid, int firstColumn, int firstRow, int lastColumn, int lastRow);

// Shows a text in a cell, keeping the cell's item. Replacing items (clearContents, setItem) resets
// the grid's model, which forgets the pressed cell between the two clicks of a double click.
void showGridText(QTableWidget* grid, int row, int column, const QString& text,
                  Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter);

// Shows rows of texts from the grid's first row and empties the cells of every later row, keeping
// the items (see showGridText). Cells of columns in rightAligned are right-aligned.
void showGridRows(QTableWidget* grid, const QList<QStringList>& rows,
                  const QList<int>& rightAligned = {});

// Locks (read-only) or unlocks a block of cells.
void lockGridBlock(QTableWidget* grid, int firstColumn, int firstRow, int lastColumn, int lastRow,
                   bool lock);

// Asks "可以删除被选择的行吗？"; on Yes moves every later row up by one (at most 32 columns),
// empties the last row and keeps the row count. Returns the answer.
MsgAnswer deleteGridRow(QTableWidget* grid, int row);

// Empties a form's inputs: text boxes to "", number boxes to 0, combo boxes to their first entry
// when that entry is not empty.
void resetInputs(QWidget* form);

// Switches the keyboard to an input method (mode 0) or to the plain layout (mode 1). The desktop
// leaves input methods to the user's own switcher, so this does nothing.
void switchInputMethod(int mode);
