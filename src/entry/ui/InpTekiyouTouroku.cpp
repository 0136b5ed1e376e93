#include "entry/ui/InpTekiyouTouroku.h"

#include <QCloseEvent>
#include <QCompleter>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

#include "common/ui/FocusKeys.h"
#include "common/ui/GuidanceLabel.h"
#include "common/ui/ScreenCaption.h"
#include "common/ui/Screens.h"

namespace {

const QString kTitle = QStringLiteral("摘要管理");

}  // namespace

InpTekiyouTouroku::InpTekiyouTouroku(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("InpTekiyouTouroku"));
    setWindowTitle(kTitle);

    cmbTekiyou = new QComboBox(this);
    cmbTekiyou->setObjectName(QStringLiteral("cmbTekiyou"));
    cmbTekiyou->setEditable(true);
    // Enter moves on; it never adds the typed text to the list.
    cmbTekiyou->setInsertPolicy(QComboBox::NoInsert);
    cmbTekiyou->lineEdit()->setMaxLength(Descriptions::kMaxLength);
    auto* completer = new QCompleter(cmbTekiyou->model(), cmbTekiyou);
    completer->setCompletionMode(QCompleter::InlineCompletion);
    completer->setCaseSensitivity(Qt::CaseSensitive);
    cmbTekiyou->setCompleter(completer);
    cmbTekiyou->setMinimumWidth(320);
    connect(cmbTekiyou, &QComboBox::activated, this, [this](int index) {
        if (!filling_) {
            logic_.chooseItem(index);
            showTextBox();
        }
    });
    connect(cmbTekiyou, &QComboBox::editTextChanged, this, [this](const QString& text) {
        if (!filling_) {
            logic_.setListText(text);
            showTextBox();
        }
    });

    txtTekiyou = new QLineEdit(this);
    txtTekiyou->setObjectName(QStringLiteral("txtTekiyou"));
    txtTekiyou->setMaxLength(Descriptions::kMaxLength);
    connect(txtTekiyou, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!filling_) {
            logic_.setText(text);
        }
    });

    optTouroku = makeOption(QStringLiteral("optTouroku"), QStringLiteral("登录"),
                            Descriptions::Mode::Touroku);
    optTeisei =
        makeOption(QStringLiteral("optTeisei"), QStringLiteral("修改"), Descriptions::Mode::Teisei);
    optDelete =
        makeOption(QStringLiteral("optDelete"), QStringLiteral("删除"), Descriptions::Mode::Delete);

    cmdTouroku = makeButton(QStringLiteral("cmdTouroku"), QStringLiteral("登 录"));
    connect(cmdTouroku, &QPushButton::clicked, this, [this] {
        if (logic_.cmdTouroku_Click()) {
            refresh();
            showFocus();
        }
    });
    cmdCancel = makeButton(QStringLiteral("cmdCancel"), QStringLiteral("取 消"));
    connect(cmdCancel, &QPushButton::clicked, this, [this] {
        logic_.clearInputs();
        refresh();
        showFocus();
    });
    cmdHyouji = makeButton(QStringLiteral("cmdHyouji"), QStringLiteral("预 览"));
    connect(cmdHyouji, &QPushButton::clicked, this, [this] { logic_.cmdHyouji_Click(); });
    cmdInsatu = makeButton(QStringLiteral("cmdInsatu"), QStringLiteral("打 印"));
    connect(cmdInsatu, &QPushButton::clicked, this, [this] { logic_.cmdInsatu_Click(); });
    cmdBack = makeButton(QStringLiteral("cmdBack"), QStringLiteral("退 出"));
    connect(cmdBack, &QPushButton::clicked, this, &QWidget::close);

    lblReadMe1 = makeGuidanceLabel(Descriptions::readMe1(), this);
    lblReadMe1->setObjectName(QStringLiteral("lblReadMe1"));
    lblReadMe2 = makeGuidanceLabel(Descriptions::readMe2(), this);
    lblReadMe2->setObjectName(QStringLiteral("lblReadMe2"));

    FocusKeys::install(this, {cmbTekiyou, txtTekiyou, optTouroku, optTeisei, optDelete});

    auto* modes = new QGroupBox(this);
    auto* modeRow = new QHBoxLayout(modes);
    modeRow->addWidget(optTouroku);
    modeRow->addWidget(optTeisei);
    modeRow->addWidget(optDelete);
    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("摘要一览"), cmbTekiyou);
    fields->addRow(QStringLiteral("摘要名称"), txtTekiyou);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {cmdTouroku, cmdCancel, cmdHyouji, cmdInsatu, cmdBack}) {
        buttons->addWidget(b);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(modes);
    layout->addLayout(fields);
    layout->addWidget(lblReadMe1);
    layout->addWidget(lblReadMe2);
    layout->addStretch();
    layout->addLayout(buttons);

    setTabOrder(optTouroku, optTeisei);
    setTabOrder(optTeisei, optDelete);
    setTabOrder(optDelete, cmbTekiyou);
    setTabOrder(cmbTekiyou, txtTekiyou);
    setTabOrder(txtTekiyou, cmdTouroku);
    resize(560, 380);
}

QPushButton* InpTekiyouTouroku::makeButton(const QString& name, const QString& caption) {
    auto* button = new QPushButton(caption, this);
    button->setObjectName(name);
    return button;
}

QRadioButton* InpTekiyouTouroku::makeOption(const QString& name, const QString& caption,
                                            Descriptions::Mode mode) {
    auto* option = new QRadioButton(caption, this);
    option->setObjectName(name);
    connect(option, &QRadioButton::toggled, this, [this, mode](bool checked) {
        if (checked && !filling_) {
            logic_.setMode(mode);
            refresh();
        }
    });
    return option;
}

void InpTekiyouTouroku::refresh() {
    filling_ = true;
    cmbTekiyou->clear();
    for (const DescriptionItem& item : logic_.items()) {
        cmbTekiyou->addItem(item.text, item.number);
    }
    cmbTekiyou->setCurrentIndex(logic_.chosenIndex());
    cmbTekiyou->setEditText(logic_.listText());
    switch (logic_.mode()) {
        case Descriptions::Mode::Touroku:
            optTouroku->setChecked(true);
            break;
        case Descriptions::Mode::Teisei:
            optTeisei->setChecked(true);
            break;
        case Descriptions::Mode::Delete:
            optDelete->setChecked(true);
            break;
    }
    filling_ = false;
    showTextBox();
}

void InpTekiyouTouroku::showTextBox() {
    filling_ = true;
    if (txtTekiyou->text() != logic_.text()) {
        txtTekiyou->setText(logic_.text());
    }
    txtTekiyou->setReadOnly(logic_.textLocked());
    filling_ = false;
}

void InpTekiyouTouroku::showFocus() {
    if (logic_.textLocked()) {
        cmbTekiyou->setFocus();
    } else {
        txtTekiyou->setFocus();
    }
}

QString InpTekiyouTouroku::captionText() const {
    return screenCaption(kTitle);
}

void InpTekiyouTouroku::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous()) {
        return;
    }
    setWindowTitle(captionText());
    if (!centred_ && screen()) {
        centred_ = true;
        move(screen()->availableGeometry().center() - rect().center());
    }
    // Each showing starts from the set's stored descriptions.
    const bool loaded = logic_.Form_Load();
    refresh();
    if (!loaded) {
        QTimer::singleShot(0, this, &QWidget::close);
        return;
    }
    showFocus();
}

void InpTekiyouTouroku::closeEvent(QCloseEvent* event) {
    logic_.msLeaveForm();
    event->accept();
    Screens::showForm(QStringLiteral("SyokiSetMenu"));
}
