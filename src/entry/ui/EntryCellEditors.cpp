#include "entry/ui/EntryCellEditors.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

EntryCellEditors::EntryCellEditors(Provider provider, QObject* parent)
    : QStyledItemDelegate(parent), provider_(std::move(provider)) {}

QWidget* EntryCellEditors::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                        const QModelIndex& index) const {
    const CellEditor cell = provider_(index.row(), index.column());
    switch (cell.kind) {
        case CellEditor::None:
            return nullptr;
        case CellEditor::Amount: {
            auto* line = new QLineEdit(parent);
            line->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            line->setFrame(false);
            return line;
        }
        case CellEditor::Choice:
        case CellEditor::EditableChoice: {
            auto* box = new QComboBox(parent);
            const bool editable = cell.kind == CellEditor::EditableChoice;
            box->setEditable(editable);
            if (editable) {
                // What is typed is what is stored, not an item it happens to start with.
                box->setCompleter(nullptr);
                box->setInsertPolicy(QComboBox::NoInsert);
            }
            box->setMaxVisibleItems(20);
            box->addItems(cell.items);
            auto* self = const_cast<EntryCellEditors*>(this);
            connect(box, &QComboBox::activated, self, [self, box] { emit self->commitData(box); });
            return box;
        }
    }
    return QStyledItemDelegate::createEditor(parent, option, index);
}

void EntryCellEditors::setEditorData(QWidget* editor, const QModelIndex& index) const {
    const QString text = index.data(Qt::EditRole).toString();
    if (auto* box = qobject_cast<QComboBox*>(editor)) {
        if (box->isEditable()) {
            box->setEditText(text);
        } else {
            box->setCurrentIndex(box->findText(text));
        }
        return;
    }
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        line->setText(text);
        return;
    }
    QStyledItemDelegate::setEditorData(editor, index);
}

void EntryCellEditors::setModelData(QWidget* editor, QAbstractItemModel* model,
                                    const QModelIndex& index) const {
    if (auto* box = qobject_cast<QComboBox*>(editor)) {
        // A fixed list without a choice (the cell held a text the list lacks) changes nothing.
        if (box->isEditable() || box->currentIndex() >= 0) {
            model->setData(index, box->currentText(), Qt::EditRole);
        }
        return;
    }
    if (auto* line = qobject_cast<QLineEdit*>(editor)) {
        model->setData(index, line->text(), Qt::EditRole);
        return;
    }
    QStyledItemDelegate::setModelData(editor, model, index);
}

bool EntryCellEditors::eventFilter(QObject* object, QEvent* event) {
    auto* editor = qobject_cast<QWidget*>(object);
    if (editor && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool shift = key->modifiers() & Qt::ShiftModifier;
        if (!(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            EndEditHint hint = NoHint;
            switch (key->key()) {
                case Qt::Key_Tab:
                    hint = shift ? EditPreviousItem : EditNextItem;
                    break;
                case Qt::Key_Return:
                case Qt::Key_Enter:
                    hint = EditNextItem;
                    break;
                case Qt::Key_Backtab:
                case Qt::Key_Escape:
                    hint = EditPreviousItem;
                    break;
                default:
                    break;
            }
            if (hint != NoHint) {
                emit commitData(editor);
                emit closeEditor(editor, hint);
                return true;
            }
        }
    }
    return QStyledItemDelegate::eventFilter(object, event);
}
