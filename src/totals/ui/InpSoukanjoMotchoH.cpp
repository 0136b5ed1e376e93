#include "totals/ui/InpSoukanjoMotchoH.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QVBoxLayout>

#include "common/Session.h"
#include "common/ui/GridHelpers.h"
#include "common/ui/Screens.h"

namespace {

const QString kEntryForm = QStringLiteral("InpKantanSiwake");
enum Column { kDay, kNumber, kAccount, kSubsidiary, kDescription, kDebit, kCredit, kColumns };

QString amountText(const Money& amount) {
    return amount.isZero() ? QString() : amount.toExactDisplay();
}

}  // namespace

InpSoukanjoMotchoH::InpSoukanjoMotchoH(QWidget* parent) : QWidget(parent) {
    setObjectName(LedgerCorrection::kForm);
    lbltitle = new QLabel(this);
    lbltitle->setObjectName(QStringLiteral("lbltitle"));
    QFont big = lbltitle->font();
    big.setPointSize(big.pointSize() + 4);
    big.setBold(true);
    lbltitle->setFont(big);
    lblKoumoku = new QLabel(this);
    lblKoumoku->setObjectName(QStringLiteral("lblKoumoku"));
    lblKikan = new QLabel(this);
    lblKikan->setObjectName(QStringLiteral("lblKikan"));
    spdSS = new QTableWidget(this);
    spdSS->setObjectName(QStringLiteral("spdSS"));
    spdSS->setColumnCount(kColumns);
    spdSS->setEditTriggers(QAbstractItemView::NoEditTriggers);
    spdSS->setSelectionBehavior(QAbstractItemView::SelectRows);
    spdSS->setSelectionMode(QAbstractItemView::SingleSelection);
    spdSS->horizontalHeader()->setSectionResizeMode(kDescription, QHeaderView::Stretch);
    cmdSyusei = new QPushButton(QStringLiteral("确定"), this);
    cmdSyusei->setObjectName(QStringLiteral("cmdSyusei"));
    cmdQuestion = new QPushButton(QStringLiteral("帮助"), this);
    cmdQuestion->setObjectName(QStringLiteral("cmdQuestion"));
    cmdBack = new QPushButton(QStringLiteral("返回(X)"), this);
    cmdBack->setObjectName(QStringLiteral("cmdBack"));

    auto* heading = new QHBoxLayout;
    heading->addWidget(lblKoumoku, 1);
    heading->addWidget(lblKikan);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {cmdSyusei, cmdQuestion, cmdBack}) {
        b->setMinimumHeight(30);
        buttons->addWidget(b);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lbltitle, 0, Qt::AlignHCenter);
    layout->addLayout(heading);
    layout->addWidget(spdSS, 1);
    layout->addLayout(buttons);

    connect(cmdSyusei, &QPushButton::clicked, this, &InpSoukanjoMotchoH::correct);
    connect(spdSS, &QTableWidget::cellDoubleClicked, this, [this] { correct(); });
    connect(cmdQuestion, &QPushButton::clicked, this, [this] { logic_.cmdQuestion_Click(); });
    connect(cmdBack, &QPushButton::clicked, this, &QWidget::close);
    resize(860, 560);
}

bool InpSoukanjoMotchoH::openFrom(QWidget* opener, const LedgerHeadings& headings) {
    if (auto* screen = qobject_cast<InpSoukanjoMotchoH*>(Screens::get(LedgerCorrection::kForm))) {
        screen->logic_.Form_Load(headings);
        screen->refresh();
    }
    // The opener is hidden until this screen closes, as under a modal form.
    return Screens::open(LedgerCorrection::kForm, opener);
}

void InpSoukanjoMotchoH::refresh() {
    setWindowTitle(logic_.title() + QStringLiteral(" — ") + session().PeriodLabel);
    lbltitle->setText(logic_.title());
    lblKoumoku->setText(logic_.koumoku());
    lblKikan->setText(logic_.kikan());
    spdSS->setHorizontalHeaderLabels(logic_.headings());
    spdSS->clearContents();
    spdSS->setRowCount(logic_.gridRows());
    const QList<LedgerCorrectionRow>& rows = logic_.rows();
    for (int r = 0; r < rows.size(); ++r) {
        const LedgerCorrectionRow& row = rows.at(r);
        const QString texts[kColumns] = {row.siday,
                                         row.denno,
                                         row.account,
                                         row.subsidiary,
                                         row.tekiyo,
                                         amountText(row.krkin),
                                         amountText(row.kskin)};
        for (int c = 0; c < kColumns; ++c) {
            auto* item = new QTableWidgetItem(texts[c]);
            if (c == kDebit || c == kCredit) {
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            }
            spdSS->setItem(r, c, item);
        }
    }
    spdSS->setCurrentCell(0, 0);
}

void InpSoukanjoMotchoH::correct() {
    if (logic_.cmdsyusei_Click(spdSS->currentRow())) {
        Screens::open(kEntryForm, this);
    }
}

void InpSoukanjoMotchoH::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void InpSoukanjoMotchoH::showEvent(QShowEvent* event) {
    // Shown again when the daily entry screen closes.
    logic_.returned();
    QWidget::showEvent(event);
}

void InpSoukanjoMotchoH::closeEvent(QCloseEvent* event) {
    event->accept();
    Screens::showForm(logic_.close());
}
