#pragma once

#include <QTableWidget>
#include <QTest>
#include <QWindow>

// Clicks and double-clicks a grid cell through the window system's event path, as a user's
// mouse does: press and release reach the grid as separate events and the second click becomes
// a double click, so a handler of the first click runs before the double click arrives.
inline QPoint cellInWindow(QTableWidget* grid, int row, int column) {
    grid->scrollToItem(grid->item(row, column));
    const QPoint inViewport = grid->visualRect(grid->model()->index(row, column)).center();
    QWidget* top = grid->window();
    return top->windowHandle()->mapFromGlobal(grid->viewport()->mapToGlobal(inViewport));
}

inline void clickCell(QTableWidget* grid, int row, int column) {
    QTest::mouseClick(grid->window()->windowHandle(), Qt::LeftButton, {},
                      cellInWindow(grid, row, column));
}

inline void doubleClickCell(QTableWidget* grid, int row, int column) {
    QTest::mouseDClick(grid->window()->windowHandle(), Qt::LeftButton, {},
                       cellInWindow(grid, row, column));
}
