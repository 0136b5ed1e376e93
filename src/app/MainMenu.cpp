#include "app/MainMenu.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QScreen>
#include <QUrl>
#include <QVBoxLayout>

#include "app/frmOpenscr.h"
#include "common/Messages.h"
#include "common/ui/GuidanceLabel.h"
#include "common/ui/Screens.h"
#include "db/DataSource.h"
#include "maintenance/BackupSet.h"
#include "maintenance/YearEndUpdate.h"

namespace {

const QString kHomePage = QStringLiteral("https://www.ombrel.org/");
// 405 twips: the old window frame allowance.
constexpr int kFrameAllowance = 27;

}  // namespace

MainMenu::MainMenu(QWidget* parent) : QWidget(parent), logic_(*this) {
    setObjectName(QStringLiteral("MainMenu"));
    setWindowTitle(QStringLiteral("Ombrel"));

    auto* setLabel = new QLabel(QStringLiteral("选择账套"), this);
    cmbKaikeiData = new QComboBox(this);
    cmbKaikeiData->setObjectName(QStringLiteral("cmbKaikeiData"));
    cmbKaikeiData->setToolTip(QStringLiteral("选择已登录过的账套。"));
    cmbKaikeiData->setMinimumWidth(240);
    setLabel->setToolTip(cmbKaikeiData->toolTip());
    lblKaisyaName = new QLabel(this);
    lblKaisyaName->setObjectName(QStringLiteral("lblKaisyaName"));
    QFont nameFont = lblKaisyaName->font();
    nameFont.setPointSize(nameFont.pointSize() + 4);
    nameFont.setBold(true);
    lblKaisyaName->setFont(nameFont);

    cmdNewKaisyaJoho = makeButton(QStringLiteral("cmdNewKaisyaJoho"), QStringLiteral("新建账套"),
                                  QStringLiteral("登录新建账套的基础信息。"));
    cmdSyokiSet = makeButton(QStringLiteral("cmdSyokiSet"), QStringLiteral("基础设置"),
                             QStringLiteral("设置账套的基础信息。"));
    cmdInOutsyori = makeButton(QStringLiteral("cmdInOutsyori"), QStringLiteral("账簿管理"),
                               QStringLiteral("帐目的录入管理和打印输出。"));
    cmdKantanInp = makeButton(QStringLiteral("cmdKantanInp"), QStringLiteral("日间结算"),
                              QStringLiteral("录入每天的财会数据。"));
    cmdSave = makeButton(QStringLiteral("cmdSave"), QStringLiteral("数据处理"),
                         QStringLiteral("数据的保存、恢复及年底结转。"));
    cmdEnd = makeButton(QStringLiteral("cmdEnd"), QStringLiteral("退出系统"),
                        QStringLiteral("退出Ombrel系统。"));

    lblReadMe = makeGuidanceLabel(MainMenuLogic::readMeText(), this);
    lblMessage = new QLabel(this);
    lblMessage->setObjectName(QStringLiteral("lblMessage"));
    lblMessage->hide();
    auto* homeLabel = new QLabel(QStringLiteral("详细信息请浏览公司主页"), this);
    lblHomePageLink = new QLabel(QStringLiteral("<a href=\"%1\">%1</a>").arg(kHomePage), this);
    lblHomePageLink->setObjectName(QStringLiteral("lblHomePageLink"));
    connect(lblHomePageLink, &QLabel::linkActivated, this,
            [](const QString& link) { QDesktopServices::openUrl(QUrl(link)); });

    auto* top = new QHBoxLayout;
    top->addWidget(setLabel);
    top->addWidget(cmbKaikeiData, 1);
    auto* buttons = new QVBoxLayout;
    for (QPushButton* b :
         {cmdNewKaisyaJoho, cmdSyokiSet, cmdInOutsyori, cmdKantanInp, cmdSave, cmdEnd}) {
        b->setMinimumHeight(36);
        buttons->addWidget(b);
    }
    buttons->addStretch();
    auto* middle = new QHBoxLayout;
    middle->addLayout(buttons);
    middle->addWidget(lblReadMe, 1);
    // Where the books are, for a user who wants to copy them; small, out of the way.
    lblDataFile = new QLabel(this);
    lblDataFile->setObjectName(QStringLiteral("lblDataFile"));
    lblDataFile->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // A long path is cut off rather than widening the window; the tooltip shows it whole.
    lblDataFile->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    lblDataFile->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lblDataFile->setForegroundRole(QPalette::PlaceholderText);
    auto* link = new QHBoxLayout;
    link->addWidget(homeLabel);
    link->addWidget(lblHomePageLink);
    link->addWidget(lblDataFile, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(lblKaisyaName);
    layout->addLayout(middle, 1);
    layout->addWidget(lblMessage);
    layout->addLayout(link);

    connect(cmbKaikeiData, &QComboBox::activated, this, [this](int index) {
        logic_.cmbKaikeiData_Click(index);
        refresh();
    });
    const auto wire = [this](QPushButton* button, void (MainMenuLogic::*handler)()) {
        connect(button, &QPushButton::clicked, this, [this, handler] {
            (logic_.*handler)();
            refresh();
        });
    };
    wire(cmdNewKaisyaJoho, &MainMenuLogic::cmdNewKaisyaJoho_Click);
    wire(cmdSyokiSet, &MainMenuLogic::cmdSyokiSet_Click);
    wire(cmdInOutsyori, &MainMenuLogic::cmdInOutsyori_Click);
    wire(cmdKantanInp, &MainMenuLogic::cmdKantanInp_Click);
    wire(cmdSave, &MainMenuLogic::cmdSave_Click);
    connect(cmdEnd, &QPushButton::clicked, this, &QWidget::close);
    resize(760, 520);
}

MainMenu::~MainMenu() = default;

QPushButton* MainMenu::makeButton(const QString& name, const QString& caption, const QString& tip) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    button->setToolTip(tip);
    return button;
}

void MainMenu::Form_Load() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move((area.width() - width()) / 2, (area.height() - height() - kFrameAllowance) / 2);
    }
    logic_.load();
    refresh();
}

void MainMenu::refresh() {
    const QSignalBlocker block(cmbKaikeiData);
    cmbKaikeiData->clear();
    for (const AccountSetEntry& entry : logic_.entries()) {
        cmbKaikeiData->addItem(entry.text, entry.itemData);
    }
    cmbKaikeiData->setCurrentIndex(logic_.selectedIndex());
    lblKaisyaName->setText(logic_.lblKaisyaName());
    const QString dataFile = QFileInfo(DataSource::registeredPath()).absoluteFilePath();
    lblDataFile->setText(QStringLiteral("数据库: ") + dataFile);
    lblDataFile->setToolTip(QStringLiteral("账簿保存在这个文件里：") + dataFile +
                            QStringLiteral("\n复制账簿时请先退出系统。"));
    for (QPushButton* b : {cmdSyokiSet, cmdInOutsyori, cmdKantanInp, cmdSave}) {
        b->setEnabled(logic_.bookButtonsEnabled());
    }
}

void MainMenu::addAccountSet(const QString& company, int itemData) {
    logic_.addEntry(company, itemData);
    refresh();
}

void MainMenu::removeAccountSet(int itemData) {
    logic_.removeEntry(itemData);
    refresh();
}

void MainMenu::closeEvent(QCloseEvent* event) {
    if (!unloaded_) {
        unloaded_ = true;
        logic_.Form_Unload();
    }
    event->accept();
    QApplication::closeAllWindows();
}

void MainMenu::showProgress(int value, const QString& status) {
    if (!openscr_) {
        openscr_ = new frmOpenscr;
        openscr_->setAttribute(Qt::WA_DeleteOnClose);
    }
    openscr_->setStep(value, status);
}

void MainMenu::hideProgress() {
    if (openscr_) {
        openscr_->close();
        openscr_ = nullptr;
    }
}

void MainMenu::setBusy(bool busy) {
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

QString MainMenu::pickDatabaseFile() {
    return QFileDialog::getOpenFileName(nullptr, QStringLiteral("选择数据库文件"), QString(),
                                        QStringLiteral("Kaikei.mdb (*.mdb);;*"));
}

bool MainMenu::openScreen(const QString& form) {
    if (Screens::open(form, this)) {
        return true;
    }
    messages().information(QStringLiteral("该功能尚未提供。"));
    return false;
}

bool MainMenu::dataBackUp() {
    setBusy(true);
    showMessageLabel(QStringLiteral("数 据 备 份 中 ！！"));
    const bool done = DataBackUp(defaultBackupFolder(cmbKaikeiData->currentText()));
    showMessageLabel(QString());
    setBusy(false);
    return done;
}

bool MainMenu::resetNowYearData(const QString& first, const QString& last) {
    return YearEndUpdate(cmbKaikeiData->currentText()).reset_now_year_data(first, last);
}

void MainMenu::showMessageLabel(const QString& text) {
    lblMessage->setText(text);
    lblMessage->setVisible(!text.isEmpty());
    lblMessage->repaint();
}
