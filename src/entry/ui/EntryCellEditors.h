#pragma once

#include <QStringList>
#include <QStyledItemDelegate>
#include <functional>

// What a cell of an entry grid offers for editing.
struct CellEditor {
    enum Kind {
        None,           // not editable
        Amount,         // a right-aligned line
        Choice,         // a fixed list; typing the start of an item picks it
        EditableChoice  // a list to pick from or free text
    };
    Kind kind = None;
    QStringList items;
};

// The cell editors of the daily entry grids. A choice is written to the cell as soon as it is
// picked; Enter acts as Tab and Esc as Shift+Tab: both keep what was typed.
class EntryCellEditors : public QStyledItemDelegate {
    Q_OBJECT
  public:
    using Provider = std::function<CellEditor(int row, int column)>;

    EntryCellEditors(Provider provider, QObject* parent);

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;

  protected:
    bool eventFilter(QObject* object, QEvent* event) override;

  private:
    Provider provider_;
};
