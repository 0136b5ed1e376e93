#include "master/ui/prtKanjoKamokuSet.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "common/ui/FocusKeys.h"
#include "common/ui/GridHelpers.h"
#include "common/ui/Screens.h"

namespace {

const QString kDetailForm = QStringLiteral("InpKanjokamokuCh");
const QString kMenuForm = QStringLiteral("SyokiSetMenu");
constexpr int kKeyColumn = 3;

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setMinimumHeight(30);
    return button;
}

QComboBox* makeBox(QWidget* parent, const QString& name) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setMinimumWidth(200);
    return box;
}

}  // namespace

prtKanjoKamokuSet::prtKanjoKamokuSet(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("prtKanjoKamokuSet"));
    setWindowTitle(QStringLiteral("会计科目"));
    // Each opening starts from a fresh load, as the closed form is unloaded.
    setAttribute(Qt::WA_DeleteOnClose);

    cmbDaiBunrui = makeBox(this, QStringLiteral("cmbDaiBunrui"));
    cmbChuBunrui = makeBox(this, QStringLiteral("cmbChuBunrui"));
    cmbSyoBunrui = makeBox(this, QStringLiteral("cmbSyoBunrui"));

    spdSS = new QTableWidget(0, 6, this);
    spdSS->setObjectName(QStringLiteral("spdSS"));
    spdSS->setHorizontalHeaderLabels({QStringLiteral("科目编号"), QStringLiteral("科目名称"),
                                      QStringLiteral("借贷"), QStringLiteral("KOCODE"),
                                      QStringLiteral("顺序"), QStringLiteral("辅助科目")});
    spdSS->setColumnHidden(kKeyColumn, true);
    spdSS->setEditTriggers(QAbstractItemView::NoEditTriggers);
    spdSS->setSelectionBehavior(QAbstractItemView::SelectRows);
    spdSS->setSelectionMode(QAbstractItemView::SingleSelection);
    spdSS->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);

    cmdSyusei = makeButton(this, QStringLiteral("cmdSyusei"), QStringLiteral("修改"));
    cmdDelete = makeButton(this, QStringLiteral("cmdDelete"), QStringLiteral("删除"));
    cmdInsatu = makeButton(this, QStringLiteral("cmdInsatu"), QStringLiteral("打印"));
    cmdBack = makeButton(this, QStringLiteral("cmdBack"), QStringLiteral("返回(X)"));
    cmdBack->setShortcut(QKeySequence(Qt::ALT | Qt::Key_X));

    auto* boxes = new QFormLayout;
    boxes->addRow(QStringLiteral("大分类"), cmbDaiBunrui);
    boxes->addRow(QStringLiteral("中分类"), cmbChuBunrui);
    boxes->addRow(QStringLiteral("小分类"), cmbSyoBunrui);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {cmdSyusei, cmdDelete, cmdInsatu, cmdBack}) {
        buttons->addWidget(b);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(boxes);
    layout->addWidget(spdSS, 1);
    layout->addLayout(buttons);
    FocusKeys::install(this, {cmbDaiBunrui, cmbChuBunrui, cmbSyoBunrui});

    connect(cmbDaiBunrui, &QComboBox::activated, this, [this](int index) {
        logic_.cmbDaiBunrui_Click(index);
        refresh();
    });
    connect(cmbChuBunrui, &QComboBox::activated, this, [this](int index) {
        logic_.cmbChuBunrui_Click(index);
        refresh();
    });
    connect(cmbSyoBunrui, &QComboBox::activated, this, [this](int index) {
        logic_.cmbSyoBunrui_Click(index);
        refresh();
    });
    connect(spdSS, &QTableWidget::cellClicked, this, [this](int row, int) {
        logic_.spdSS_Click(row);
        refresh();
    });
    connect(spdSS, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
        logic_.spdSS_Click(row);
        refresh();
        openDetail();
    });
    connect(cmdSyusei, &QPushButton::clicked, this, &prtKanjoKamokuSet::openDetail);
    connect(cmdDelete, &QPushButton::clicked, this, [this] {
        logic_.cmdDelete_Click();
        refresh();
    });
    connect(cmdInsatu, &QPushButton::clicked, this, [this] { logic_.cmdInsatu_Click(); });
    connect(cmdBack, &QPushButton::clicked, this, &QWidget::close);

    logic_.Form_Load();
    refresh();
    resize(640, 520);
}

void prtKanjoKamokuSet::fillBox(QComboBox* box, const QList<ClassEntry>& entries, int index) {
    const QSignalBlocker block(box);
    bool same = box->count() == entries.size();
    for (int i = 0; same && i < entries.size(); ++i) {
        same = box->itemText(i) == entries.at(i).text &&
               box->itemData(i).toInt() == entries.at(i).itemData;
    }
    if (!same) {
        box->clear();
        for (const ClassEntry& entry : entries) {
            box->addItem(entry.text, entry.itemData);
        }
    }
    box->setCurrentIndex(index);
}

void prtKanjoKamokuSet::refresh() {
    fillBox(cmbDaiBunrui, logic_.daiEntries(), logic_.daiIndex());
    fillBox(cmbChuBunrui, logic_.chuEntries(), logic_.chuIndex());
    fillBox(cmbSyoBunrui, logic_.syoEntries(), logic_.syoIndex());

    const QSignalBlocker block(spdSS);
    spdSS->setRowCount(logic_.gridRowCount());
    QList<QStringList> cells;
    for (const ChartRow& row : logic_.rows()) {
        cells.append({row.kmcode, row.kanname, row.taisyaku, row.kocode, QString::number(row.jun),
                      row.hojoset});
    }
    showGridRows(spdSS, cells);
    if (logic_.hasActiveRow()) {
        spdSS->selectRow(logic_.activeRow());
    } else {
        spdSS->clearSelection();
    }
    cmdSyusei->setEnabled(logic_.editButtonsEnabled());
    cmdDelete->setEnabled(logic_.editButtonsEnabled());
}

void prtKanjoKamokuSet::openDetail() {
    if (logic_.hasActiveRow()) {
        Screens::open(kDetailForm, this);
    }
}

void prtKanjoKamokuSet::showEvent(QShowEvent* event) {
    // The detail screen may have changed the active row.
    refresh();
    QWidget::showEvent(event);
}

void prtKanjoKamokuSet::closeEvent(QCloseEvent* event) {
    event->accept();
    Screens::showForm(kMenuForm);
}
