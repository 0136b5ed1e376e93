#include "entry/ui/InpKantanSiwake.h"

#include <QApplication>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>

#include "common/ui/AmountBox.h"
#include "common/ui/FocusKeys.h"
#include "common/ui/GridHelpers.h"
#include "common/ui/ScreenCaption.h"
#include "common/ui/Screens.h"
#include "entry/ui/EntryCellEditors.h"
#include "entry/ui/EntryTable.h"

// How the daily entry screen is put together: controls, grids, cell editors and layout.

namespace {

const QString kTitle = QStringLiteral("日间结算");

QPushButton* makeButton(const QString& name, const QString& caption, const QString& tip,
                        QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setToolTip(tip);
    button->setMinimumHeight(30);
    return button;
}

}  // namespace

template <typename Handler>
void InpKantanSiwake::run(Handler handler) {
    commitEditors();
    handler();
    refresh();
}

InpKantanSiwake::InpKantanSiwake(QWidget* parent) : QWidget(parent), logic_(*this) {
    setObjectName(QStringLiteral("InpKantanSiwake"));
    setWindowTitle(kTitle);

    txtSyoriNen = new QLineEdit(this);
    txtSyoriNen->setObjectName(QStringLiteral("txtSyoriNen"));
    txtSyoriNen->setMaximumWidth(120);
    txtSyoriNen->installEventFilter(this);
    txtZenjituZandaka = makeAmountBox(QStringLiteral("txtZenjituZandaka"), this);
    txtZenjituZandaka->setMaximumWidth(140);
    lblRate = new QLabel(QStringLiteral("汇率"), this);
    numRate = new QDoubleSpinBox(this);
    numRate->setObjectName(QStringLiteral("numRate"));
    numRate->setDecimals(4);
    numRate->setRange(0.0, 99999.9999);
    connect(numRate, &QDoubleSpinBox::valueChanged, this, [this](double rate) {
        if (!filling_) {
            logic_.setNumRate(rate);
        }
    });
    FocusKeys::install(this, {txtSyoriNen, numRate});

    txtSyunyuGokei = makeAmountBox(QStringLiteral("txtSyunyuGokei"), this);
    txtSiireGokei = makeAmountBox(QStringLiteral("txtSiireGokei"), this);
    txtNyukinGokei = makeAmountBox(QStringLiteral("txtNyukinGokei"), this);
    txtSyukkinGokei = makeAmountBox(QStringLiteral("txtSyukkinGokei"), this);
    txtHonjituRieki = makeAmountBox(QStringLiteral("txtHonjituRieki"), this);
    txtHonjituZandaka = makeAmountBox(QStringLiteral("txtHonjituZandaka"), this);

    cmdTouroku = makeButton(QStringLiteral("cmdTouroku"), QStringLiteral("确 定"),
                            QStringLiteral("登录当天的账目。"), this);
    cmdDelete = makeButton(QStringLiteral("cmdDelete"), QStringLiteral("删 除"),
                           QStringLiteral("从数据库中删除账目。"), this);
    cmdZenjitu = makeButton(QStringLiteral("cmdZenjitu"), QStringLiteral("前一日"),
                            QStringLiteral("转至昨天的数据。"), this);
    cmdYokujitu = makeButton(QStringLiteral("cmdYokujitu"), QStringLiteral("后一日"),
                             QStringLiteral("转至明天的数据。"), this);
    cmdBack = makeButton(QStringLiteral("cmdBack"), QStringLiteral("退 出"),
                         QStringLiteral("退出本画面。"), this);
    cmdQuestion = makeButton(QStringLiteral("cmdQuestion"), QStringLiteral("?"), QString(), this);
    connect(cmdTouroku, &QPushButton::clicked, this,
            [this] { run([this] { logic_.cmdTouroku_Click(); }); });
    connect(cmdDelete, &QPushButton::clicked, this,
            [this] { run([this] { logic_.cmdDelete_Click(); }); });
    connect(cmdZenjitu, &QPushButton::clicked, this,
            [this] { run([this] { logic_.cmdZenjitu_Click(); }); });
    connect(cmdYokujitu, &QPushButton::clicked, this,
            [this] { run([this] { logic_.cmdYokujitu_Click(); }); });
    connect(cmdBack, &QPushButton::clicked, this, &QWidget::close);
    connect(cmdQuestion, &QPushButton::clicked, this,
            [this] { Screens::open(QStringLiteral("Manyual"), this); });

    buildGrids();
    buildLayout();
    connect(qApp, &QApplication::focusChanged, this, [this] { placeAccountHint(); });
}

void InpKantanSiwake::buildGrids() {
    gridArea = new QWidget;
    const QStringList simpleHeadings = {QStringLiteral("科    目"), QStringLiteral("金    额"),
                                        QStringLiteral("摘    要"), QStringLiteral("KOCODE"),
                                        QStringLiteral("KMCODE"),   QStringLiteral("TECODE"),
                                        QStringLiteral("AICODE"),   QStringLiteral("TAIKBN")};
    const auto simpleEditors = [this](int, int column) {
        if (column == kAmount) {
            return CellEditor{CellEditor::Amount, {}};
        }
        if (column == kDescription) {
            return CellEditor{CellEditor::EditableChoice, logic_.descriptionList()};
        }
        return CellEditor{};
    };
    spdSS1 = new EntryTable(kSimpleColumns, QStringLiteral("spdSS1"), gridArea);
    spdSS2 = new EntryTable(kSimpleColumns, QStringLiteral("spdSS2"), gridArea);
    for (EntryTable* grid : {spdSS1, spdSS2}) {
        const EntryGrid which = grid == spdSS1 ? EntryGrid::Income : EntryGrid::Expense;
        grid->setHorizontalHeaderLabels(simpleHeadings);
        for (int c = kKocode; c <= kTaikbn; ++c) {
            grid->setColumnHidden(c, true);
        }
        grid->verticalHeader()->hide();
        grid->setColumnWidth(kName, 130);
        grid->setColumnWidth(kAmount, 100);
        grid->horizontalHeader()->setSectionResizeMode(kDescription, QHeaderView::Stretch);
        grid->setItemDelegate(new EntryCellEditors(simpleEditors, grid));
        grid->leave = [this, grid](bool forward) { return leaveGrid(grid, forward); };
        connect(
            grid, &QTableWidget::itemChanged, this,
            [this, grid, which](QTableWidgetItem* item) { simpleCellChanged(grid, which, item); });
        connect(grid, &QTableWidget::currentCellChanged, this,
                [](int, int column) { switchInputMethod(column == kDescription ? 0 : 1); });
    }

    spdSS3 = new EntryTable(kTransferColumns, QStringLiteral("spdSS3"), gridArea);
    spdSS3->setHorizontalHeaderLabels(
        {QStringLiteral("汇总分类"), QStringLiteral("借    方"), QStringLiteral("贷    方"),
         QStringLiteral("借方辅助科目"), QStringLiteral("贷方辅助科目"), QStringLiteral("金    额"),
         QStringLiteral("摘    要"), QStringLiteral("KRKOCODE"), QStringLiteral("KSKOCODE")});
    spdSS3->setColumnHidden(7, true);
    spdSS3->setColumnHidden(8, true);
    spdSS3->setColumnWidth(3, 110);
    spdSS3->setColumnWidth(4, 110);
    spdSS3->setColumnWidth(toGrid(kAmountColumn), 100);
    spdSS3->setColumnWidth(toGrid(kDescriptionColumn), 150);
    spdSS3->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    spdSS3->horizontalHeader()->setSectionResizeMode(toGrid(kDescriptionColumn),
                                                     QHeaderView::Stretch);
    spdSS3->setItemDelegate(new EntryCellEditors(
        [this](int row, int column) {
            if (row < 0 || row >= logic_.transferRows().size()) {
                return CellEditor{};
            }
            const TransferEntryRow& line = logic_.transferRows().at(row);
            switch (column + 1) {
                case kPatternColumn:
                    return CellEditor{CellEditor::Choice,
                                      QStringList{QString()} + logic_.patternList()};
                case kDebitColumn:
                case kCreditColumn:
                    return CellEditor{CellEditor::Choice, logic_.accountList()};
                case kDebitSubColumn:
                    return CellEditor{CellEditor::Choice, line.debitSubList};
                case kCreditSubColumn:
                    return CellEditor{CellEditor::Choice, line.creditSubList};
                case kAmountColumn:
                    return CellEditor{CellEditor::Amount, {}};
                case kDescriptionColumn:
                    return CellEditor{CellEditor::EditableChoice, logic_.descriptionList()};
                default:
                    return CellEditor{};
            }
        },
        spdSS3));
    spdSS3->leave = [this](bool forward) { return leaveGrid(spdSS3, forward); };
    connect(spdSS3, &QTableWidget::itemChanged, this, &InpKantanSiwake::transferCellChanged);
    connect(spdSS3->verticalHeader(), &QHeaderView::sectionClicked, this,
            &InpKantanSiwake::transferHeaderClicked);
    connect(spdSS3, &QTableWidget::currentCellChanged, this, [this](int, int column) {
        switchInputMethod(column == toGrid(kDescriptionColumn) ? 0 : 1);
        placeAccountHint();
    });

    lblKanjokamoku = new QLabel(QStringLiteral("输入编号即可选择"), gridArea);
    lblKanjokamoku->setObjectName(QStringLiteral("lblKanjokamoku"));
    lblKanjokamoku->setStyleSheet(
        QStringLiteral("background: #ffffe1; border: 1px solid #808080; padding: 1px 4px;"));
    lblKanjokamoku->hide();
}

void InpKantanSiwake::buildLayout() {
    const auto caption = [this](const char* name, const QString& text) {
        auto* label = new QLabel(text, gridArea);
        label->setObjectName(QLatin1String(name));
        return label;
    };
    lblSyunyu = caption("lblSyunyu", QStringLiteral("收   入"));
    lblSisyutu = caption("lblSisyutu", QStringLiteral("支   出"));
    lblFurikae = caption("lblFurikae", QStringLiteral("转   账"));
    // Income and expense side by side, the transfer lines under both; each grid scrolls its
    // own rows, so the whole day fits the window.
    auto* simple = new QGridLayout;
    simple->addWidget(lblSyunyu, 0, 0);
    simple->addWidget(spdSS1, 1, 0);
    simple->addWidget(lblSisyutu, 0, 1);
    simple->addWidget(spdSS2, 1, 1);
    auto* grids = new QVBoxLayout(gridArea);
    grids->setContentsMargins(0, 0, 0, 0);
    grids->addLayout(simple, 3);
    grids->addWidget(lblFurikae);
    grids->addWidget(spdSS3, 2);

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("日期"), this));
    top->addWidget(txtSyoriNen);
    top->addSpacing(16);
    top->addWidget(new QLabel(QStringLiteral("前日余额"), this));
    top->addWidget(txtZenjituZandaka);
    top->addSpacing(16);
    top->addWidget(lblRate);
    top->addWidget(numRate);
    top->addStretch();
    top->addWidget(cmdQuestion);

    auto* totals = new QFormLayout;
    totals->addRow(QStringLiteral("收入合计"), txtSyunyuGokei);
    totals->addRow(QStringLiteral("支出合计"), txtSiireGokei);
    totals->addRow(QStringLiteral("现金收入"), txtNyukinGokei);
    totals->addRow(QStringLiteral("现金支出"), txtSyukkinGokei);
    totals->addRow(QStringLiteral("本日利润"), txtHonjituRieki);
    totals->addRow(QStringLiteral("本日余额"), txtHonjituZandaka);
    auto* side = new QVBoxLayout;
    side->addLayout(totals);
    side->addStretch();
    for (QPushButton* button : {cmdTouroku, cmdDelete, cmdZenjitu, cmdYokujitu, cmdBack}) {
        side->addWidget(button);
    }
    auto* middle = new QHBoxLayout;
    middle->addWidget(gridArea, 1);
    middle->addLayout(side);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(middle, 1);

    setTabOrder(txtSyoriNen, numRate);
    setTabOrder(numRate, spdSS1);
    setTabOrder(spdSS1, spdSS2);
    setTabOrder(spdSS2, spdSS3);
    setTabOrder(spdSS3, cmdTouroku);
    setTabOrder(cmdTouroku, cmdDelete);
    setTabOrder(cmdDelete, cmdZenjitu);
    setTabOrder(cmdZenjitu, cmdYokujitu);
    setTabOrder(cmdYokujitu, cmdBack);
    setTabOrder(cmdBack, cmdQuestion);
    resize(1260, 760);
}

QString InpKantanSiwake::captionText() const {
    return screenCaption(kTitle);
}
