#include "master/ui/InpKisyuZandaka.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QShowEvent>
#include <QVBoxLayout>

#include "common/Messages.h"
#include "common/ui/AmountBox.h"
#include "common/ui/GuidanceLabel.h"
#include "common/ui/Screens.h"

namespace {

enum Column { KmCode, Name, Side, Amount, KoCode, TaiKbn, ColumnCount };

}  // namespace

InpKisyuZandaka::InpKisyuZandaka(QWidget* parent) : QWidget(parent), logic_(*this) {
    setObjectName(QStringLiteral("InpKisyuZandaka"));
    setWindowTitle(QStringLiteral("期初余额"));

    spdSS = new QTableWidget(0, ColumnCount, this);
    spdSS->setObjectName(QStringLiteral("spdSS"));
    spdSS->setHorizontalHeaderLabels({QStringLiteral("科目编号"), QStringLiteral("科目名称"),
                                      QStringLiteral("借贷"), QStringLiteral("期初余额"),
                                      QStringLiteral("KOCODE"), QStringLiteral("TAIKBN")});
    spdSS->setColumnHidden(KoCode, true);
    spdSS->setColumnHidden(TaiKbn, true);
    spdSS->verticalHeader()->hide();
    spdSS->setSelectionMode(QAbstractItemView::SingleSelection);
    spdSS->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed);
    spdSS->horizontalHeader()->setSectionResizeMode(Name, QHeaderView::Stretch);
    spdSS->setColumnWidth(KmCode, 80);
    spdSS->setColumnWidth(Side, 50);
    spdSS->setColumnWidth(Amount, 140);
    spdSS->installEventFilter(this);
    connect(spdSS, &QTableWidget::itemChanged, this, &InpKisyuZandaka::spdSS_Change);

    txtKarikei = makeAmountBox(QStringLiteral("txtKarikei"), this);
    txtKasikei = makeAmountBox(QStringLiteral("txtKasikei"), this);
    txtTaisyakuSai = makeAmountBox(QStringLiteral("txtTaisyakuSai"), this);
    numRate = new QDoubleSpinBox(this);
    numRate->setObjectName(QStringLiteral("numRate"));
    numRate->setDecimals(4);
    numRate->setRange(0.0, 99999.9999);
    connect(numRate, &QDoubleSpinBox::valueChanged, this, [this](double rate) {
        if (!filling_) {
            logic_.setNumRate(rate);
        }
    });

    cmdClear = new QPushButton(QStringLiteral("全部清零"), this);
    cmdClear->setObjectName(QStringLiteral("cmdClear"));
    connect(cmdClear, &QPushButton::clicked, this, [this] {
        if (logic_.cmdClear_Click()) {
            refresh();
        }
    });
    cmdBack = new QPushButton(QStringLiteral("返回"), this);
    cmdBack->setObjectName(QStringLiteral("cmdBack"));
    connect(cmdBack, &QPushButton::clicked, this, &QWidget::close);

    lblReadMe = makeGuidanceLabel(OpeningBalances::readMeText(), this);

    auto* totals = new QFormLayout;
    totals->addRow(QStringLiteral("借方合计"), txtKarikei);
    totals->addRow(QStringLiteral("贷方合计"), txtKasikei);
    totals->addRow(QStringLiteral("借贷差额"), txtTaisyakuSai);
    totals->addRow(QStringLiteral("汇率"), numRate);
    auto* side = new QVBoxLayout;
    side->addLayout(totals);
    side->addWidget(lblReadMe);
    side->addStretch();
    side->addWidget(cmdClear);
    side->addWidget(cmdBack);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(spdSS, 1);
    layout->addLayout(side);
    resize(760, 560);
}

void InpKisyuZandaka::refresh() {
    fillGrid();
    showTotals();
    filling_ = true;
    numRate->setEnabled(logic_.rateEnabled());
    numRate->setValue(logic_.numRate());
    filling_ = false;
}

void InpKisyuZandaka::fillGrid() {
    filling_ = true;
    spdSS->setUpdatesEnabled(false);
    const QList<OpeningBalanceRow>& rows = logic_.rows();
    spdSS->clearContents();
    spdSS->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        const OpeningBalanceRow& row = rows.at(r);
        const QStringList texts = {row.KMCODE,   row.KANNAME,
                                   row.TAISYAKU, row.KISYUZAN.toExactDisplay(),
                                   row.KOCODE,   row.TAIKBN};
        for (int c = 0; c < ColumnCount; ++c) {
            auto* item = new QTableWidgetItem(texts.at(c));
            if (c != Amount) {
                item->setFlags(item->flags() & ~Qt::ItemIsEditable);
            } else {
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            }
            if (row.isCredit()) {
                item->setForeground(Qt::blue);
            }
            spdSS->setItem(r, c, item);
        }
    }
    spdSS->setUpdatesEnabled(true);
    filling_ = false;
}

void InpKisyuZandaka::showAmount(int row) {
    filling_ = true;
    if (QTableWidgetItem* item = spdSS->item(row, Amount)) {
        item->setText(logic_.rows().at(row).KISYUZAN.toExactDisplay());
    }
    filling_ = false;
}

void InpKisyuZandaka::showTotals() {
    txtKarikei->setText(logic_.txtKarikei().toExactDisplay());
    txtKasikei->setText(logic_.txtKasikei().toExactDisplay());
    txtTaisyakuSai->setText(logic_.txtTaisyakuSai().toExactDisplay());
}

void InpKisyuZandaka::spdSS_Change(QTableWidgetItem* item) {
    if (filling_ || item->column() != Amount) {
        return;
    }
    const int row = item->row();
    logic_.spdSS_Change(row, item->text());
    // Shows what is stored: the amount as the program reads it, or the old one after a refusal.
    showAmount(row);
    showTotals();
}

bool InpKisyuZandaka::eventFilter(QObject* watched, QEvent* event) {
    if (watched == spdSS && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        focusPreviousChild();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void InpKisyuZandaka::focusRate() {
    numRate->setFocus();
}

void InpKisyuZandaka::showEvent(QShowEvent* event) {
    // Each showing starts from what is stored; restoring a minimised window does not.
    if (!event->spontaneous()) {
        logic_.Form_Load();
        refresh();
    }
    QWidget::showEvent(event);
}

void InpKisyuZandaka::closeEvent(QCloseEvent* event) {
    if (!logic_.unload_form()) {
        event->ignore();
        return;
    }
    event->accept();
    Screens::showForm(QStringLiteral("SyokiSetMenu"));
}
