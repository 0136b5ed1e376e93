#include "common/ui/GridHelpers.h"

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QSpinBox>

namespace {

constexpr int kMaxMovedColumns = 32;

template <typename Action>
void forBlock(QTableWidget* grid, int firstColumn, int firstRow, int lastColumn, int lastRow,
              Action action) {
    const int rowEnd = std::min(lastRow, grid->rowCount() - 1);
    const int columnEnd = std::min(lastColumn, grid->columnCount() - 1);
    for (int r = std::max(firstRow, 0); r <= rowEnd; ++r) {
        for (int c = std::max(firstColumn, 0); c <= columnEnd; ++c) {
            action(r, c);
        }
    }
}

}  // namespace

void clearGridBlock(QTableWidget* grid, int firstColumn, int firstRow, int lastColumn,
                    int lastRow) {
    forBlock(grid, firstColumn, firstRow, lastColumn, lastRow, [grid](int r, int c) {
        if (QTableWidgetItem* item = grid->item(r, c)) {
            item->setText(QString());
        }
    });
}

void showGridText(QTableWidget* grid, int row, int column, const QString& text,
                  Qt::Alignment alignment) {
    QTableWidgetItem* item = grid->item(row, column);
    if (item == nullptr) {
        item = new QTableWidgetItem(text);
        item->setTextAlignment(alignment);
        grid->setItem(row, column, item);
        return;
    }
    if (item->text() != text) {
        item->setText(text);
    }
    if (item->textAlignment() != static_cast<int>(alignment)) {
        item->setTextAlignment(alignment);
    }
}

void showGridRows(QTableWidget* grid, const QList<QStringList>& rows,
                  const QList<int>& rightAligned) {
    for (int r = 0; r < grid->rowCount(); ++r) {
        for (int c = 0; c < grid->columnCount(); ++c) {
            const QString text = r < rows.size() ? rows.at(r).value(c) : QString();
            const Qt::Alignment alignment =
                Qt::AlignVCenter | (rightAligned.contains(c) ? Qt::AlignRight : Qt::AlignLeft);
            if (text.isEmpty() && grid->item(r, c) == nullptr) {
                continue;
            }
            showGridText(grid, r, c, text, alignment);
        }
    }
}

void lockGridBlock(QTableWidget* grid, int firstColumn, int firstRow, int lastColumn, int lastRow,
                   bool lock) {
    forBlock(grid, firstColumn, firstRow, lastColumn, lastRow, [grid, lock](int r, int c) {
        QTableWidgetItem* item = grid->item(r, c);
        if (!item) {
            item = new QTableWidgetItem;
            grid->setItem(r, c, item);
        }
        item->setFlags(lock ? item->flags() & ~Qt::ItemIsEditable
                            : item->flags() | Qt::ItemIsEditable);
    });
}

MsgAnswer deleteGridRow(QTableWidget* grid, int row) {
    const MsgAnswer answer =
        messages().askYesNo(QStringLiteral("可以删除被选择的行吗？"), MsgAnswer::Yes,
                            MsgIcon::Question, QStringLiteral("确认"));
    if (answer != MsgAnswer::Yes || row < 0 || row >= grid->rowCount()) {
        return answer;
    }
    const int columns = std::min(grid->columnCount(), kMaxMovedColumns);
    const int last = grid->rowCount() - 1;
    for (int r = row; r < last; ++r) {
        for (int c = 0; c < columns; ++c) {
            const QTableWidgetItem* below = grid->item(r + 1, c);
            QTableWidgetItem* item = grid->item(r, c);
            if (!item) {
                item = new QTableWidgetItem;
                grid->setItem(r, c, item);
            }
            item->setText(below ? below->text() : QString());
            item->setData(Qt::UserRole, below ? below->data(Qt::UserRole) : QVariant());
        }
    }
    clearGridBlock(grid, 0, last, columns - 1, last);
    for (int c = 0; c < columns; ++c) {
        if (QTableWidgetItem* item = grid->item(last, c)) {
            item->setData(Qt::UserRole, QVariant());
        }
    }
    return answer;
}

void resetInputs(QWidget* form) {
    for (QLineEdit* edit : form->findChildren<QLineEdit*>()) {
        // The line edit inside a spin box or an editable combo belongs to that control.
        if (!qobject_cast<QAbstractSpinBox*>(edit->parentWidget()) &&
            !qobject_cast<QComboBox*>(edit->parentWidget())) {
            edit->clear();
        }
    }
    for (QSpinBox* box : form->findChildren<QSpinBox*>()) {
        box->setValue(0);
    }
    for (QDoubleSpinBox* box : form->findChildren<QDoubleSpinBox*>()) {
        box->setValue(0.0);
    }
    for (QComboBox* combo : form->findChildren<QComboBox*>()) {
        if (combo->count() > 0 && !combo->itemText(0).isEmpty()) {
            combo->setCurrentIndex(0);
            if (combo->isEditable()) {
                combo->setEditText(combo->itemText(0));
            }
        }
    }
}

void switchInputMethod(int /*mode*/) {}
