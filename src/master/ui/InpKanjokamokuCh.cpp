#include "master/ui/InpKanjokamokuCh.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "common/Messages.h"
#include "common/ui/FocusKeys.h"
#include "common/ui/GridHelpers.h"
#include "common/ui/GuidanceLabel.h"
#include "common/ui/Screens.h"
#include "master/ui/prtKanjoKamokuSet.h"

namespace {

const QString kListForm = QStringLiteral("prtKanjoKamokuSet");
constexpr int kKeyColumn = 3;

ChartList* listScreenLogic() {
    auto* list = qobject_cast<prtKanjoKamokuSet*>(Screens::get(kListForm));
    return list ? &list->logic() : nullptr;
}

void setTextIfChanged(QLineEdit* box, const QString& text) {
    if (box->text() != text) {
        box->setText(text);
    }
}

}  // namespace

InpKanjokamokuCh::InpKanjokamokuCh(QWidget* parent) : InpKanjokamokuCh(listScreenLogic(), parent) {}

InpKanjokamokuCh::InpKanjokamokuCh(ChartList* list, QWidget* parent)
    : QWidget(parent), logic_(list ? *list : noList_, *this) {
    setObjectName(QStringLiteral("InpKanjokamokuCh"));
    setWindowTitle(QStringLiteral("会计科目设定"));
    // Each opening loads the account of the list's active row afresh.
    setAttribute(Qt::WA_DeleteOnClose);
    buildLayout();

    connect(chkHojokamoku, &QCheckBox::clicked, this,
            [this](bool ticked) { run([&] { logic_.chkHojokamoku_Click(ticked); }); });
    connect(cmdHojokamoku, &QPushButton::clicked, this,
            [this] { run([this] { logic_.cmdHojokamoku_Click(); }); });
    connect(spdSS, &QTableWidget::cellClicked, this,
            [this](int row, int) { run([&] { logic_.spdSS_Click(row); }); });
    connect(spdSS, &QTableWidget::cellDoubleClicked, this,
            [this](int row, int) { run([&] { logic_.spdSS_DblClick(row); }); });
    connect(cmdSyusei, &QPushButton::clicked, this,
            [this] { run([this] { logic_.cmdSyusei_Click(); }); });
    connect(cmdDelete, &QPushButton::clicked, this,
            [this] { run([this] { logic_.cmdDelete_Click(); }); });
    connect(cmdCancel, &QPushButton::clicked, this,
            [this] { run([this] { logic_.cmdCancel_Click(); }); });
    connect(cmdTouroku, &QPushButton::clicked, this,
            [this] { run([this] { logic_.cmdTouroku_Click(); }); });
    connect(cmdBack, &QPushButton::clicked, this, &QWidget::close);

    logic_.Form_Load();
    refresh();
}

QLineEdit* InpKanjokamokuCh::makeBox(const QString& name) {
    auto* box = new QLineEdit(this);
    box->setObjectName(name);
    return box;
}

QPushButton* InpKanjokamokuCh::makeButton(const QString& name, const QString& caption) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    button->setMinimumHeight(30);
    return button;
}

void InpKanjokamokuCh::buildLayout() {
    txtKamokuCode = makeBox(QStringLiteral("txtKamokuCode"));
    txtKamokuName = makeBox(QStringLiteral("txtKamokuName"));
    txtNarabijyun = makeBox(QStringLiteral("txtNarabijyun"));
    txtNarabijyun->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("\\d{0,9}")), txtNarabijyun));
    txtKisyuZandaka = makeBox(QStringLiteral("txtKisyuZandaka"));
    txtKisyuZandaka->setReadOnly(true);
    txtKisyuZandaka->setFocusPolicy(Qt::NoFocus);
    txtKisyuZandaka->setAlignment(Qt::AlignRight);
    const auto label = [this](const QString& name) {
        auto* l = new QLabel(this);
        l->setObjectName(name);
        l->setFrameShape(QFrame::StyledPanel);
        return l;
    };
    lblSiyou = label(QStringLiteral("lblSiyou"));
    lblSyoriKbn = label(QStringLiteral("lblSyoriKbn"));
    lblBunCode = label(QStringLiteral("lblBunCode"));
    lblToCode = label(QStringLiteral("lblToCode"));

    chkHojokamoku = new QCheckBox(QStringLiteral("使用辅助科目"), this);
    chkHojokamoku->setObjectName(QStringLiteral("chkHojokamoku"));
    cmdHojokamoku = makeButton(QStringLiteral("cmdHojokamoku"), QStringLiteral("辅助科目设定"));

    spdSS = new QTableWidget(AccountDetail::kSubsidiaryRows, 4, this);
    spdSS->setObjectName(QStringLiteral("spdSS"));
    spdSS->setHorizontalHeaderLabels({QStringLiteral("辅助科目代码"),
                                      QStringLiteral("辅助科目名称"), QStringLiteral("期初余额"),
                                      QStringLiteral("HOKOCODE")});
    spdSS->setColumnHidden(kKeyColumn, true);
    spdSS->setEditTriggers(QAbstractItemView::NoEditTriggers);
    spdSS->setSelectionBehavior(QAbstractItemView::SelectRows);
    spdSS->setSelectionMode(QAbstractItemView::SingleSelection);
    spdSS->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);

    txtHK_Code = makeBox(QStringLiteral("txtHK_Code"));
    txtHK_Name = makeBox(QStringLiteral("txtHK_Name"));
    txtHK_Zandaka = makeBox(QStringLiteral("txtHK_Zandaka"));
    txtHK_Zandaka->setAlignment(Qt::AlignRight);
    txtHK_Zandaka->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("-?[0-9,]{0,15}(\\.[0-9]{0,4})?")), txtHK_Zandaka));
    cmdSyusei = makeButton(QStringLiteral("cmdSyusei"), QStringLiteral("确定"));
    cmdDelete = makeButton(QStringLiteral("cmdDelete"), QStringLiteral("删除"));
    cmdCancel = makeButton(QStringLiteral("cmdCancel"), QStringLiteral("取消"));
    cmdTouroku = makeButton(QStringLiteral("cmdTouroku"), QStringLiteral("登录"));
    cmdBack = makeButton(QStringLiteral("cmdBack"), QStringLiteral("返回(X)"));
    cmdBack->setShortcut(QKeySequence(Qt::ALT | Qt::Key_X));

    lblReadMe = makeGuidanceLabel(AccountDetail::guidanceText(), this);

    auto* account = new QGridLayout;
    account->addWidget(new QLabel(QStringLiteral("科目编号"), this), 0, 0);
    account->addWidget(txtKamokuCode, 0, 1);
    account->addWidget(new QLabel(QStringLiteral("科目名称"), this), 0, 2);
    account->addWidget(txtKamokuName, 0, 3);
    account->addWidget(new QLabel(QStringLiteral("顺序"), this), 1, 0);
    account->addWidget(txtNarabijyun, 1, 1);
    account->addWidget(new QLabel(QStringLiteral("期初余额"), this), 1, 2);
    account->addWidget(txtKisyuZandaka, 1, 3);
    account->addWidget(lblSiyou, 2, 0);
    account->addWidget(lblSyoriKbn, 2, 1);
    account->addWidget(lblBunCode, 2, 2);
    account->addWidget(lblToCode, 2, 3);
    auto* setting = new QHBoxLayout;
    setting->addWidget(chkHojokamoku);
    setting->addWidget(cmdHojokamoku);
    setting->addStretch();
    auto* rowEdit = new QHBoxLayout;
    for (QWidget* w : {static_cast<QWidget*>(txtHK_Code), static_cast<QWidget*>(txtHK_Name),
                       static_cast<QWidget*>(txtHK_Zandaka), static_cast<QWidget*>(cmdSyusei),
                       static_cast<QWidget*>(cmdDelete), static_cast<QWidget*>(cmdCancel)}) {
        rowEdit->addWidget(w);
    }
    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(cmdTouroku);
    bottom->addWidget(cmdBack);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(account);
    layout->addLayout(setting);
    layout->addWidget(spdSS, 1);
    layout->addLayout(rowEdit);
    layout->addWidget(lblReadMe);
    layout->addLayout(bottom);
    FocusKeys::install(
        this, {txtKamokuCode, txtKamokuName, txtNarabijyun, txtHK_Code, txtHK_Name, txtHK_Zandaka});
    resize(680, 620);
}

void InpKanjokamokuCh::collect() {
    logic_.txtKamokuCode = txtKamokuCode->text();
    logic_.txtKamokuName = txtKamokuName->text();
    logic_.txtNarabijyun = txtNarabijyun->text();
    logic_.txtHK_Code = txtHK_Code->text();
    logic_.txtHK_Name = txtHK_Name->text();
    logic_.txtHK_Zandaka = txtHK_Zandaka->text();
}

template <typename Handler>
void InpKanjokamokuCh::run(Handler handler) {
    collect();
    handler();
    refresh();
}

void InpKanjokamokuCh::refresh() {
    setTextIfChanged(txtKamokuCode, logic_.txtKamokuCode);
    setTextIfChanged(txtKamokuName, logic_.txtKamokuName);
    setTextIfChanged(txtNarabijyun, logic_.txtNarabijyun);
    txtKisyuZandaka->setText(logic_.kisyuZandaka().toExactDisplay());
    setTextIfChanged(txtHK_Code, logic_.txtHK_Code);
    setTextIfChanged(txtHK_Name, logic_.txtHK_Name);
    setTextIfChanged(txtHK_Zandaka, logic_.txtHK_Zandaka);
    lblSiyou->setText(logic_.useLabel());
    lblSyoriKbn->setText(logic_.kindLabel());
    lblBunCode->setText(logic_.bunName());
    lblToCode->setText(logic_.toName());

    chkHojokamoku->setChecked(logic_.hojokamokuTicked());
    chkHojokamoku->setEnabled(logic_.hojoControlsEnabled());
    cmdHojokamoku->setEnabled(logic_.hojoControlsEnabled());

    const QSignalBlocker block(spdSS);
    spdSS->setRowCount(AccountDetail::kSubsidiaryRows);
    QList<QStringList> cells;
    for (const SubsidiaryRow& row : logic_.rows()) {
        cells.append({row.hocode, row.honame, row.kisyuzan.toExactDisplay(), row.hokocode});
    }
    showGridRows(spdSS, cells, {2});
    spdSS->selectRow(logic_.activeRow());
    spdSS->setEnabled(logic_.gridEnabled());

    for (QLineEdit* box : {txtHK_Code, txtHK_Name, txtHK_Zandaka}) {
        box->setEnabled(logic_.editBoxesEnabled());
    }
    cmdSyusei->setEnabled(logic_.editBoxesEnabled());
    cmdCancel->setEnabled(true);
    cmdDelete->setEnabled(logic_.deleteEnabled());
    cmdTouroku->setEnabled(logic_.backEnabled());
    cmdBack->setEnabled(logic_.backEnabled());
}

void InpKanjokamokuCh::setFocusTo(const QString& control) {
    if (auto* w = findChild<QWidget*>(control)) {
        w->setFocus(Qt::OtherFocusReason);
    }
}

void InpKanjokamokuCh::closeEvent(QCloseEvent* event) {
    collect();
    if (!logic_.Form_Unload()) {
        refresh();
        event->ignore();
        return;
    }
    event->accept();
    Screens::showForm(kListForm);
}
