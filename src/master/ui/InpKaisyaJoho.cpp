#include "master/ui/InpKaisyaJoho.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QRegularExpressionValidator>
#include <QShowEvent>
#include <QVBoxLayout>

#include "common/DateHelpers.h"
#include "common/Session.h"
#include "common/ui/FocusKeys.h"
#include "common/ui/Screens.h"

using Fields = AccountSetForm::Fields;

namespace {

const QString kMainMenu = QStringLiteral("MainMenu");

}  // namespace

AccountSetList* MainWindowAccountSets::mainWindow() {
    return dynamic_cast<AccountSetList*>(Screens::get(kMainMenu));
}

QList<AccountSetEntry> MainWindowAccountSets::accountSets() const {
    const AccountSetList* list = mainWindow();
    return list ? list->accountSets() : QList<AccountSetEntry>();
}

QString MainWindowAccountSets::currentAccountSetText() const {
    const AccountSetList* list = mainWindow();
    return list ? list->currentAccountSetText() : QString();
}

void MainWindowAccountSets::addAccountSet(const QString& company, int itemData) {
    if (AccountSetList* list = mainWindow()) {
        list->addAccountSet(company, itemData);
    }
}

void MainWindowAccountSets::removeAccountSet(int itemData) {
    if (AccountSetList* list = mainWindow()) {
        list->removeAccountSet(itemData);
    }
}

InpKaisyaJoho::InpKaisyaJoho(QWidget* parent) : QWidget(parent), logic_(accountSets_) {
    setObjectName(QStringLiteral("InpKaisyaJoho"));
    setWindowTitle(QStringLiteral("账套选项"));

    lblKaisyaName = addLabel(QStringLiteral("lblKaisyaName"));
    lblKaisyaFurigana = addLabel(QStringLiteral("lblKaisyaFurigana"));
    lblDaihyoName = addLabel(QStringLiteral("lblDaihyoName"));
    lblDaihyoYakusyoku = addLabel(QStringLiteral("lblDaihyoYakusyoku"));

    txtKaisyaName = addTextBox(QStringLiteral("txtKaisyaName"), &Fields::txtKaisyaName);
    txtKaisyaFurigana = addTextBox(QStringLiteral("txtKaisyaFurigana"), &Fields::txtKaisyaFurigana);
    txtYubin = addTextBox(QStringLiteral("txtYubin"), &Fields::txtYubin);
    txtTodohuken = addTextBox(QStringLiteral("txtTodohuken"), &Fields::txtTodohuken);
    txtJyusho1 = addTextBox(QStringLiteral("txtJyusho1"), &Fields::txtJyusho1);
    txtJyusho2 = addTextBox(QStringLiteral("txtJyusho2"), &Fields::txtJyusho2);
    txtTel = addTextBox(QStringLiteral("txtTel"), &Fields::txtTel);
    txtFax = addTextBox(QStringLiteral("txtFax"), &Fields::txtFax);
    txtDaihyoYakusyoku =
        addTextBox(QStringLiteral("txtDaihyoYakusyoku"), &Fields::txtDaihyoYakusyoku);
    txtDaihyoName = addTextBox(QStringLiteral("txtDaihyoName"), &Fields::txtDaihyoName);
    txtKaikeiNendo = addTextBox(QStringLiteral("txtKaikeiNendo"), &Fields::txtKaikeiNendo);
    txtKisyubi = addTextBox(QStringLiteral("txtKisyubi"), &Fields::txtKisyubi);
    txtKimatubi = addTextBox(QStringLiteral("txtKimatubi"), &Fields::txtKimatubi);
    txtSeturituNen = addTextBox(QStringLiteral("txtSeturituNen"), &Fields::txtSeturituNen);
    txtShihonkin = addTextBox(QStringLiteral("txtShihonkin"), &Fields::txtShihonkin);
    txtKaikeiNendo->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,4}")), this));
    txtShihonkin->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,15}")), this));
    txtShihonkin->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    for (QLineEdit* date : {txtKisyubi, txtKimatubi, txtSeturituNen}) {
        date->setMaxLength(10);
        date->setPlaceholderText(QStringLiteral("yyyy/mm/dd"));
    }

    numRate = new QDoubleSpinBox(this);
    numRate->setObjectName(QStringLiteral("numRate"));
    numRate->setDecimals(4);
    numRate->setRange(0.0, 99999.9999);
    numRate->installEventFilter(this);
    FocusKeys::install(this, {numRate});
    connect(numRate, &QDoubleSpinBox::valueChanged, this, [this](double rate) {
        if (loaded_ && rate != logic_.fields.numRate) {
            logic_.fields.numRate = rate;
            edited();
        }
    });

    optTujo = addOption(QStringLiteral("optTujo"), QStringLiteral("通常"));
    optKichu = addOption(QStringLiteral("optKichu"), QStringLiteral("期中"));
    optHojin = addOption(QStringLiteral("optHojin"), QStringLiteral("法人"));
    optKojin = addOption(QStringLiteral("optKojin"), QStringLiteral("个人"));
    optRateNo = addOption(QStringLiteral("optRateNo"), QStringLiteral("不使用汇率"));
    optRateYes = addOption(QStringLiteral("optRateYes"), QStringLiteral("使用汇率"));
    const auto choose = [this](QRadioButton* option, auto apply) {
        connect(option, &QRadioButton::clicked, this, [this, apply] {
            apply(logic_.fields);
            edited();
        });
    };
    using A = AccountSetForm;
    choose(optTujo, [](Fields& f) { f.period = A::Period::Tujo; });
    choose(optKichu, [](Fields& f) { f.period = A::Period::Kichu; });
    choose(optHojin, [](Fields& f) { f.owner = A::Owner::Hojin; });
    choose(optKojin, [](Fields& f) { f.owner = A::Owner::Kojin; });
    choose(optRateNo, [](Fields& f) { f.rateUse = A::RateUse::No; });
    choose(optRateYes, [](Fields& f) { f.rateUse = A::RateUse::Yes; });

    const auto button = [this](const QString& name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        return b;
    };
    cmdQuestion1 = button(QStringLiteral("cmdQuestion1"), QStringLiteral("?"));
    cmdQuestion1->setFixedWidth(28);
    cmdTouroku = button(QStringLiteral("cmdTouroku"), QStringLiteral("登录"));
    cmdCancel = button(QStringLiteral("cmdCancel"), QStringLiteral("取消"));
    cmdDelete = button(QStringLiteral("cmdDelete"), QStringLiteral("删除"));
    cmdBack = button(QStringLiteral("cmdBack"), QStringLiteral("返回"));
    connect(cmdQuestion1, &QPushButton::clicked, this, [this] { logic_.cmdQuestion1_Click(); });
    connect(cmdTouroku, &QPushButton::clicked, this, &InpKaisyaJoho::cmdTouroku_Click);
    connect(cmdCancel, &QPushButton::clicked, this, [this] {
        logic_.cmdCancel_Click();
        refresh();
    });
    connect(cmdDelete, &QPushButton::clicked, this, &InpKaisyaJoho::cmdDelete_Click);
    connect(cmdBack, &QPushButton::clicked, this, &QWidget::close);

    auto* company = new QGridLayout;
    const auto row = [company](QWidget* label, QWidget* field) {
        const int r = company->rowCount();
        company->addWidget(label, r, 0);
        company->addWidget(field, r, 1);
    };
    const auto text = [this](const QString& caption) { return new QLabel(caption, this); };
    row(lblKaisyaName, txtKaisyaName);
    row(lblKaisyaFurigana, txtKaisyaFurigana);
    row(text(QStringLiteral("邮政编码")), txtYubin);
    row(text(QStringLiteral("省/地区")), txtTodohuken);
    row(text(QStringLiteral("地址1")), txtJyusho1);
    row(text(QStringLiteral("地址2")), txtJyusho2);
    row(text(QStringLiteral("电话")), txtTel);
    row(text(QStringLiteral("传真")), txtFax);
    row(lblDaihyoName, txtDaihyoName);
    row(lblDaihyoYakusyoku, txtDaihyoYakusyoku);
    company->setRowStretch(company->rowCount(), 1);

    auto* periodKind = new QHBoxLayout;
    periodKind->addWidget(optTujo);
    periodKind->addWidget(optKichu);
    periodKind->addWidget(cmdQuestion1);
    periodKind->addStretch();
    auto* ownerKind = new QHBoxLayout;
    ownerKind->addWidget(optHojin);
    ownerKind->addWidget(optKojin);
    ownerKind->addStretch();
    auto* rateKind = new QHBoxLayout;
    rateKind->addWidget(optRateNo);
    rateKind->addWidget(optRateYes);
    rateKind->addWidget(numRate);
    // Each pair of options is exclusive within its own box.
    const auto box = [this](const QString& title, QLayout* inside) {
        auto* group = new QGroupBox(title, this);
        group->setLayout(inside);
        return group;
    };
    auto* period = new QGridLayout;
    period->addWidget(text(QStringLiteral("会计年度（第N期）")), 0, 0);
    period->addWidget(txtKaikeiNendo, 0, 1);
    period->addWidget(box(QStringLiteral("会计期间"), periodKind), 1, 0, 1, 2);
    period->addWidget(text(QStringLiteral("起始日期")), 2, 0);
    period->addWidget(txtKisyubi, 2, 1);
    period->addWidget(text(QStringLiteral("结束日期")), 3, 0);
    period->addWidget(txtKimatubi, 3, 1);
    period->addWidget(text(QStringLiteral("成立日期")), 4, 0);
    period->addWidget(txtSeturituNen, 4, 1);
    period->addWidget(text(QStringLiteral("注册资本")), 5, 0);
    period->addWidget(txtShihonkin, 5, 1);
    period->addWidget(box(QStringLiteral("类别"), ownerKind), 6, 0, 1, 2);
    period->addWidget(box(QStringLiteral("汇率"), rateKind), 7, 0, 1, 2);
    period->setRowStretch(8, 1);

    auto* columns = new QHBoxLayout;
    columns->addLayout(company, 3);
    columns->addSpacing(16);
    columns->addLayout(period, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {cmdTouroku, cmdCancel, cmdDelete, cmdBack}) {
        b->setMinimumHeight(32);
        buttons->addWidget(b);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addLayout(buttons);
    // Enter follows the screen from top to bottom, left column first.
    const QList<QWidget*> order = {txtKaisyaName,  txtKaisyaFurigana,
                                   txtYubin,       txtTodohuken,
                                   txtJyusho1,     txtJyusho2,
                                   txtTel,         txtFax,
                                   txtDaihyoName,  txtDaihyoYakusyoku,
                                   txtKaikeiNendo, optTujo,
                                   optKichu,       txtKisyubi,
                                   txtKimatubi,    txtSeturituNen,
                                   txtShihonkin,   optHojin,
                                   optKojin,       optRateNo,
                                   optRateYes,     numRate,
                                   cmdTouroku,     cmdCancel,
                                   cmdDelete,      cmdBack};
    for (qsizetype i = 1; i < order.size(); ++i) {
        setTabOrder(order.at(i - 1), order.at(i));
    }
    resize(820, 460);
    refresh();
}

QLabel* InpKaisyaJoho::addLabel(const QString& name) {
    auto* label = new QLabel(this);
    label->setObjectName(name);
    return label;
}

QLineEdit* InpKaisyaJoho::addTextBox(const QString& name, QString Fields::*field) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(name);
    edit->installEventFilter(this);
    FocusKeys::install(this, {edit});
    connect(edit, &QLineEdit::textEdited, this, [this, field](const QString& value) {
        logic_.fields.*field = value;
        edited();
    });
    boxes_.push_back({edit, field});
    return edit;
}

QRadioButton* InpKaisyaJoho::addOption(const QString& name, const QString& caption) {
    auto* option = new QRadioButton(caption, this);
    option->setObjectName(name);
    option->installEventFilter(this);
    FocusKeys::install(this, {option});
    return option;
}

void InpKaisyaJoho::refresh() {
    const AccountSetForm::Fields& f = logic_.fields;
    for (const TextBox& box : boxes_) {
        if (box.edit->text() != f.*box.field) {
            box.edit->setText(f.*box.field);
        }
    }
    {
        const QSignalBlocker block(numRate);
        numRate->setValue(f.numRate);
    }
    (f.period == AccountSetForm::Period::Tujo ? optTujo : optKichu)->setChecked(true);
    (f.owner == AccountSetForm::Owner::Hojin ? optHojin : optKojin)->setChecked(true);
    (f.rateUse == AccountSetForm::RateUse::No ? optRateNo : optRateYes)->setChecked(true);
    const auto captions = logic_.labelCaptions();
    lblKaisyaName->setText(captions[0]);
    lblKaisyaFurigana->setText(captions[1]);
    lblDaihyoName->setText(captions[2]);
    lblDaihyoYakusyoku->setText(captions[3]);
    for (QWidget* w : std::initializer_list<QWidget*>{txtKisyubi, txtKimatubi, optTujo, optKichu}) {
        w->setEnabled(!logic_.periodLocked());
    }
    cmdTouroku->setEnabled(logic_.editPending());
    cmdCancel->setEnabled(logic_.editPending());
    cmdDelete->setEnabled(logic_.deleteEnabled());
    setWindowTitle(logic_.newSet() ? QStringLiteral("新建账套") : QStringLiteral("账套选项"));
}

void InpKaisyaJoho::edited() {
    logic_.markEdited();
    refresh();
}

void InpKaisyaJoho::showFocus() {
    const QString name = AccountSetForm::objectName(logic_.focusField());
    if (name.isEmpty()) {
        return;
    }
    if (auto* target = findChild<QWidget*>(name)) {
        target->setFocus();
        if (auto* edit = qobject_cast<QLineEdit*>(target)) {
            edit->selectAll();
        }
    }
}

void InpKaisyaJoho::leaveDateBox(QLineEdit* box) {
    // A date that does not exist stays as typed, for the form's checks to refuse.
    const QString typed = box->text().trimmed();
    const QString normal = typedDateNormalise(typed).isEmpty() ? typed : typedDateNormalise(typed);
    for (const TextBox& b : boxes_) {
        if (b.edit == box && logic_.fields.*b.field != normal) {
            logic_.fields.*b.field = normal;
            box->setText(normal);
        }
    }
    if (box != txtKisyubi) {
        return;
    }
    // After the focus has settled, so that the message box does not fight the focus change.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (isVisible() && loaded_) {
                logic_.txtKisyubi_LostFocus();
                refresh();
            }
        },
        Qt::QueuedConnection);
}

bool InpKaisyaJoho::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // Leaving the window (or a message box coming up) is not leaving the box.
        const bool left = reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
        auto* box = qobject_cast<QLineEdit*>(watched);
        if (left && loaded_ && (box == txtKisyubi || box == txtKimatubi || box == txtSeturituNen)) {
            leaveDateBox(box);
        }
    }
    return QWidget::eventFilter(watched, event);
}

void InpKaisyaJoho::cmdTouroku_Click() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    logic_.cmdTouroku_Click();
    QApplication::restoreOverrideCursor();
    refresh();
    showFocus();
}

void InpKaisyaJoho::cmdDelete_Click() {
    const AccountSetForm::DeleteResult result = logic_.cmdDelete_Click();
    refresh();
    if (result == AccountSetForm::DeleteResult::Closed) {
        close();
    }
}

void InpKaisyaJoho::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous()) {
        return;
    }
    // Loaded on every showing: the caller decides between a new set and the current one.
    logic_.Form_Load(session().CallerForm);
    loaded_ = true;
    refresh();
    txtKaisyaName->setFocus();
}

void InpKaisyaJoho::closeEvent(QCloseEvent* event) {
    event->accept();
    if (!loaded_) {
        return;
    }
    loaded_ = false;
    logic_.unload_form();
    if (!Screens::showForm(session().CallerForm)) {
        Screens::showForm(kMainMenu);
    }
}
