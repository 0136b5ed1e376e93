#include "entry/ui/InpKantanSiwake.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QScopedValueRollback>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>

#include "common/DateHelpers.h"
#include "common/Session.h"
#include "common/ui/Screens.h"
#include "entry/ui/EntryTable.h"

namespace {

void setCell(QTableWidget* grid, int row, int column, const QString& text, bool editable,
             bool rightAligned = false) {
    QTableWidgetItem* cell = grid->item(row, column);
    if (!cell) {
        cell = new QTableWidgetItem;
        if (rightAligned) {
            cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        }
        grid->setItem(row, column, cell);
    }
    cell->setText(text);
    const Qt::ItemFlags flags =
        editable ? cell->flags() | Qt::ItemIsEditable : cell->flags() & ~Qt::ItemIsEditable;
    if (flags != cell->flags()) {
        cell->setFlags(flags);
    }
}

}  // namespace

void InpKantanSiwake::refresh() {
    {
        const QScopedValueRollback<bool> guard(filling_, true);
        txtSyoriNen->setText(logic_.txtSyoriNen());
        txtZenjituZandaka->setText(logic_.txtZenjituZandaka().toExactDisplay());
        lblRate->setVisible(logic_.rateVisible());
        numRate->setVisible(logic_.rateVisible());
        numRate->setValue(logic_.numRate());
    }
    // A read-only day keeps only the moving controls.
    numRate->setEnabled(!logic_.readOnly());
    cmdTouroku->setEnabled(!logic_.readOnly());
    cmdDelete->setEnabled(!logic_.readOnly());
    renderSimpleGrid(spdSS1, EntryGrid::Income);
    renderSimpleGrid(spdSS2, EntryGrid::Expense);
    renderTransferGrid();
    renderTotals();
}

void InpKantanSiwake::renderSimpleGrid(EntryTable* grid, EntryGrid which) {
    const QScopedValueRollback<bool> guard(filling_, true);
    const int rows = static_cast<int>(logic_.rows(which).size());
    grid->setRowCount(rows);
    QStringList names;
    for (int r = 0; r < rows; ++r) {
        renderSimpleRow(grid, which, r);
        names.append(grid->item(r, kName)->text());
    }
    grid->fitColumnToTexts(kName, names, 120);
}

void InpKantanSiwake::renderSimpleRow(EntryTable* grid, EntryGrid which, int row) {
    const QScopedValueRollback<bool> guard(filling_, true);
    const SimpleEntryRow& line = logic_.rows(which).at(row);
    // An account without an amount for the day shows an empty cell.
    const QStringList texts = {line.KANNAME.trimmed(),
                               line.amount.isZero() ? QString() : line.amount.toExactDisplay(),
                               line.description,
                               line.KOCODE,
                               line.KMCODE,
                               line.TECODE,
                               line.AICODE,
                               line.TAIKBN};
    for (int c = 0; c < kSimpleColumns; ++c) {
        setCell(grid, row, c, texts.at(c),
                !logic_.readOnly() && (c == kAmount || c == kDescription), c == kAmount);
    }
}

void InpKantanSiwake::renderTransferGrid() {
    const QScopedValueRollback<bool> guard(filling_, true);
    const int rows = static_cast<int>(logic_.transferRows().size());
    spdSS3->setRowCount(rows);
    for (int r = 0; r < rows; ++r) {
        if (!spdSS3->verticalHeaderItem(r)) {
            auto* header = new QTableWidgetItem(QStringLiteral("D"));
            header->setForeground(QColor(Qt::red));
            spdSS3->setVerticalHeaderItem(r, header);
        }
        renderTransferRow(r);
    }
    spdSS3->fitColumnToTexts(0, logic_.patternList(), 140);
    spdSS3->fitColumnToTexts(1, logic_.accountList(), 140);
    spdSS3->fitColumnToTexts(2, logic_.accountList(), 140);
    placeAccountHint();
}

void InpKantanSiwake::renderTransferRow(int row) {
    const QScopedValueRollback<bool> guard(filling_, true);
    const TransferEntryRow& line = logic_.transferRows().at(row);
    const QStringList texts = {line.pattern,     line.debit,       line.credit,
                               line.debitSub,    line.creditSub,   line.amount.toExactDisplay(),
                               line.description, line.debitKocode, line.creditKocode};
    for (int c = 0; c < kTransferColumns; ++c) {
        bool editable = c < toGrid(kDebitSubColumn) || c == toGrid(kAmountColumn) ||
                        c == toGrid(kDescriptionColumn);
        // A subsidiary cell offers something only when its account has subsidiaries.
        if (c == toGrid(kDebitSubColumn)) {
            editable = !line.debitSubList.isEmpty();
        } else if (c == toGrid(kCreditSubColumn)) {
            editable = !line.creditSubList.isEmpty();
        }
        setCell(spdSS3, row, c, texts.at(c), editable && !logic_.readOnly(),
                c == toGrid(kAmountColumn));
    }
}

void InpKantanSiwake::renderTotals() {
    const DayTotals& totals = logic_.totals();
    txtSyunyuGokei->setText(totals.income.toExactDisplay());
    txtSiireGokei->setText(totals.expense.toExactDisplay());
    txtNyukinGokei->setText(totals.received.toExactDisplay());
    txtSyukkinGokei->setText(totals.paid.toExactDisplay());
    txtHonjituRieki->setText(totals.profit.toExactDisplay());
    txtHonjituZandaka->setText(totals.closing.toExactDisplay());
}

void InpKantanSiwake::simpleCellChanged(EntryTable* grid, EntryGrid which, QTableWidgetItem* item) {
    if (filling_) {
        return;
    }
    const int row = item->row();
    if (item->column() == kAmount) {
        if (!logic_.setSimpleAmount(which, row, item->text())) {
            stayOnRefusedCell(grid, row, kAmount);
        }
    } else if (item->column() == kDescription) {
        logic_.setSimpleDescription(which, row, item->text());
    } else {
        return;
    }
    // Shows what the logic keeps: the amount as read, or the old one after a refusal.
    renderSimpleRow(grid, which, row);
    renderTotals();
}

void InpKantanSiwake::transferCellChanged(QTableWidgetItem* item) {
    if (filling_ || item->column() > toGrid(kDescriptionColumn)) {
        return;
    }
    const int row = item->row();
    if (!logic_.setTransferCell(row, item->column() + 1, item->text())) {
        stayOnRefusedCell(spdSS3, row, item->column());
    }
    // A pattern fills the accounts and the description; an account its subsidiary cell.
    renderTransferRow(row);
    renderTotals();
}

void InpKantanSiwake::stayOnRefusedCell(EntryTable* grid, int row, int column) {
    // The key that ended the edit moves the cursor on after this; bring it back once it has.
    QTimer::singleShot(0, grid, [grid, row, column] {
        if (grid->isEditableCell(row, column)) {
            grid->enterCell(row, column);
        }
    });
}

void InpKantanSiwake::transferHeaderClicked(int row) {
    spdSS3->commitEditor();
    if (logic_.deleteTransferRow(row)) {
        renderTransferGrid();
        renderTotals();
    }
}

bool InpKantanSiwake::leaveGrid(EntryTable* grid, bool forward) {
    if (grid == spdSS1) {
        if (!forward) {
            return false;
        }
        if (spdSS2->isEditableCell(0, kAmount)) {
            spdSS2->enterCell(0, kAmount);
            return true;
        }
        return spdSS3->enterFirst();
    }
    if (grid == spdSS2) {
        return forward ? spdSS3->enterFirst() : spdSS1->enterLast();
    }
    if (!forward) {
        return spdSS2->enterLast() || spdSS1->enterLast();
    }
    // Past the last transfer cell a new row follows, unless the day is full: then stay.
    if (logic_.add_spread_row()) {
        renderTransferGrid();
        renderTotals();
        spdSS3->enterCell(spdSS3->rowCount() - 1, 0);
    }
    return true;
}

void InpKantanSiwake::dateBoxLeft() {
    if (leavingDateBox_ || !logic_.loaded() || !isVisible()) {
        return;
    }
    const QScopedValueRollback<bool> guard(leavingDateBox_, true);
    const QString normal = typedDateNormalise(txtSyoriNen->text());
    if (!normal.isEmpty()) {
        txtSyoriNen->setText(normal);
    }
    logic_.setTxtSyoriNen(txtSyoriNen->text());
    logic_.txtSyoriNen_LostFocus();
    refresh();
}

void InpKantanSiwake::commitEditors() {
    for (EntryTable* grid : {spdSS1, spdSS2, spdSS3}) {
        grid->commitEditor();
    }
}

void InpKantanSiwake::placeAccountHint() {
    const QWidget* focus = QApplication::focusWidget();
    const bool inGrid = focus && (focus == spdSS3 || spdSS3->isAncestorOf(focus));
    const int column = spdSS3->currentColumn();
    if (!inGrid || spdSS3->currentRow() < 0 || column < 0 || column > toGrid(kCreditColumn)) {
        lblKanjokamoku->hide();
        return;
    }
    const QRect cell = spdSS3->visualRect(spdSS3->currentIndex());
    lblKanjokamoku->adjustSize();
    // Under the cell, where it hides nothing of the row being typed.
    lblKanjokamoku->move(spdSS3->viewport()->mapTo(gridArea, cell.bottomLeft()) + QPoint(12, 2));
    lblKanjokamoku->raise();
    lblKanjokamoku->show();
}

bool InpKantanSiwake::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtSyoriNen && event->type() == QEvent::FocusOut) {
        // A message box or another window taking the focus is not leaving the box.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            dateBoxLeft();
        }
    }
    return QWidget::eventFilter(watched, event);
}

void InpKantanSiwake::setBusy(bool busy) {
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

void InpKantanSiwake::focusDateBox() {
    txtSyoriNen->setFocus(Qt::OtherFocusReason);
}

void InpKantanSiwake::focusRate() {
    numRate->setFocus(Qt::OtherFocusReason);
}

void InpKantanSiwake::focusIncomeGrid() {
    if (spdSS1->rowCount() > 0) {
        spdSS1->enterCell(0, kAmount);
    }
}

void InpKantanSiwake::showEvent(QShowEvent* event) {
    if (!event->spontaneous() && needsLoad_) {
        needsLoad_ = false;
        setWindowTitle(captionText());
        if (const QScreen* screen = this->screen()) {
            move(screen->availableGeometry().center() - rect().center());
        }
        const bool loaded = logic_.Form_Load(session().CallerForm);
        refresh();
        if (loaded) {
            focusIncomeGrid();
        } else {
            // An opening that failed closes the screen at once, without asking anything.
            QTimer::singleShot(0, this, &QWidget::close);
        }
    }
    QWidget::showEvent(event);
}

void InpKantanSiwake::closeEvent(QCloseEvent* event) {
    commitEditors();
    if (logic_.loaded() && !logic_.cmdBack_Click()) {
        event->ignore();
        return;
    }
    event->accept();
    needsLoad_ = true;
    Screens::showForm(logic_.returnForm(session().CallerForm));
}
