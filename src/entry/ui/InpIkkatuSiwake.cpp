#include "entry/ui/InpIkkatuSiwake.h"

#include <QCloseEvent>
#include <QCompleter>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>
#include <utility>

#include "common/ui/FocusKeys.h"
#include "common/ui/GuidanceLabel.h"
#include "common/ui/ScreenCaption.h"
#include "common/ui/Screens.h"

namespace {

const QString kTitle = QStringLiteral("汇总分类");

// An editable list whose typing completes to the first item that begins with the typed text.
QComboBox* makeList(QWidget* parent, const QString& name) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setMinimumWidth(220);
    auto* completer = new QCompleter(box->model(), box);
    completer->setCompletionMode(QCompleter::InlineCompletion);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    box->setCompleter(completer);
    return box;
}

QLineEdit* makeTextBox(QWidget* parent, const QString& name) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setMaxLength(JournalPatterns::kMaxCharacters);
    return box;
}

QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setMinimumHeight(30);
    return button;
}

void setTextIfChanged(QLineEdit* box, const QString& text) {
    if (box->text() != text) {
        box->setText(text);
    }
}

void setItemsIfChanged(QComboBox* box, const QStringList& items) {
    QStringList current;
    for (int i = 0; i < box->count(); ++i) {
        current.append(box->itemText(i));
    }
    if (current != items) {
        box->clear();
        box->addItems(items);
    }
}

// Focus that the user moved there, not a window coming back to the front.
bool userMovedFocus(const QEvent* event) {
    const Qt::FocusReason reason = static_cast<const QFocusEvent*>(event)->reason();
    return reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
           reason == Qt::MouseFocusReason || reason == Qt::ShortcutFocusReason;
}

}  // namespace

InpIkkatuSiwake::InpIkkatuSiwake(QWidget* parent) : QWidget(parent), logic_(*this) {
    setObjectName(QStringLiteral("InpIkkatuSiwake"));
    setWindowTitle(kTitle);
    buildLayout();

    for (QComboBox* box : {cmbKarikata, cmbKasikata}) {
        connect(box, &QComboBox::activated, this, [this] { run([this] { logic_.msShowSub(); }); });
        connect(box, &QComboBox::editTextChanged, this,
                [this, box](const QString& text) { editTextChanged(box, text); });
    }
    connect(cmbTekiyou, &QComboBox::activated, this, [this](int index) {
        const QString text = cmbTekiyou->itemText(index);
        run([&] { logic_.cmbTekiyou_Click(text); });
    });
    connect(cmbTekiyou, &QComboBox::editTextChanged, this,
            [this](const QString& text) { editTextChanged(cmbTekiyou, text); });
    const auto modeButton = [this](QRadioButton* button, JournalPatterns::Mode mode) {
        connect(button, &QRadioButton::toggled, this, [this, mode](bool on) {
            if (on && !filling_) {
                run([&] { logic_.setMode(mode); });
            }
        });
    };
    modeButton(optTouroku, JournalPatterns::Mode::Touroku);
    modeButton(optTeisei, JournalPatterns::Mode::Teisei);
    modeButton(optDelete, JournalPatterns::Mode::Delete);
    connect(cmdTouroku, &QPushButton::clicked, this,
            [this] { run([this] { logic_.cmdTouroku_Click(); }); });
    connect(cmdCancel, &QPushButton::clicked, this,
            [this] { run([this] { logic_.clearInputs(); }); });
    connect(cmdHyouji, &QPushButton::clicked, this,
            [this] { run([this] { logic_.cmdHyouji_Click(); }); });
    connect(cmdInsatu, &QPushButton::clicked, this,
            [this] { run([this] { logic_.cmdInsatu_Click(); }); });
    connect(cmdBack, &QPushButton::clicked, this, &QWidget::close);

    for (QWidget* box : {static_cast<QWidget*>(cmbKasikata), static_cast<QWidget*>(cmbTekiyou),
                         static_cast<QWidget*>(txtTekiyou)}) {
        box->installEventFilter(this);
    }
}

void InpIkkatuSiwake::buildLayout() {
    cmbKarikata = makeList(this, QStringLiteral("cmbKarikata"));
    cmbKasikata = makeList(this, QStringLiteral("cmbKasikata"));
    txtIkkatuSiwake = makeTextBox(this, QStringLiteral("txtIkkatuSiwake"));
    cmbTekiyou = makeList(this, QStringLiteral("cmbTekiyou"));
    cmbTekiyou->lineEdit()->setMaxLength(JournalPatterns::kMaxCharacters);
    txtTekiyou = makeTextBox(this, QStringLiteral("txtTekiyou"));

    optTouroku = new QRadioButton(QStringLiteral("登录"), this);
    optTouroku->setObjectName(QStringLiteral("optTouroku"));
    optTeisei = new QRadioButton(QStringLiteral("修改"), this);
    optTeisei->setObjectName(QStringLiteral("optTeisei"));
    optDelete = new QRadioButton(QStringLiteral("删除"), this);
    optDelete->setObjectName(QStringLiteral("optDelete"));
    optTouroku->setChecked(true);

    cmdTouroku = makeButton(this, QStringLiteral("cmdTouroku"), QStringLiteral("登 录"));
    cmdCancel = makeButton(this, QStringLiteral("cmdCancel"), QStringLiteral("取 消"));
    cmdHyouji = makeButton(this, QStringLiteral("cmdHyouji"), QStringLiteral("预 览"));
    cmdInsatu = makeButton(this, QStringLiteral("cmdInsatu"), QStringLiteral("打 印"));
    cmdBack = makeButton(this, QStringLiteral("cmdBack"), QStringLiteral("退 出"));

    lblReadMe1 = makeGuidanceLabel(JournalPatterns::readMe1Text(), this);
    lblReadMe1->setObjectName(QStringLiteral("lblReadMe1"));
    lblReadMe2 = makeGuidanceLabel(JournalPatterns::readMe2Text(), this);
    lblReadMe2->setObjectName(QStringLiteral("lblReadMe2"));

    auto* modes = new QGroupBox(this);
    auto* modeRow = new QHBoxLayout(modes);
    for (QRadioButton* option : {optTouroku, optTeisei, optDelete}) {
        modeRow->addWidget(option);
    }
    auto* boxes = new QGridLayout;
    const auto addRow = [&](int row, const QString& caption, QWidget* box) {
        boxes->addWidget(new QLabel(caption, this), row, 0);
        boxes->addWidget(box, row, 1);
    };
    addRow(0, QStringLiteral("借方科目"), cmbKarikata);
    addRow(1, QStringLiteral("贷方科目"), cmbKasikata);
    addRow(2, QStringLiteral("汇总分类名称"), txtIkkatuSiwake);
    addRow(3, QStringLiteral("摘要一览"), cmbTekiyou);
    addRow(4, QStringLiteral("摘要名称"), txtTekiyou);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {cmdTouroku, cmdCancel, cmdHyouji, cmdInsatu, cmdBack}) {
        buttons->addWidget(b);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(modes);
    layout->addLayout(boxes);
    layout->addWidget(lblReadMe1);
    layout->addWidget(lblReadMe2);
    layout->addLayout(buttons);
    setTabOrder(cmbKarikata, cmbKasikata);
    setTabOrder(cmbKasikata, txtIkkatuSiwake);
    setTabOrder(txtIkkatuSiwake, cmbTekiyou);
    setTabOrder(cmbTekiyou, txtTekiyou);
    setTabOrder(txtTekiyou, cmdTouroku);
    FocusKeys::install(this, {cmbKarikata, cmbKasikata, txtIkkatuSiwake, cmbTekiyou, txtTekiyou});
    resize(560, 480);
}

QString InpIkkatuSiwake::captionText() const {
    return screenCaption(kTitle);
}

void InpIkkatuSiwake::collect() {
    logic_.cmbKarikata = cmbKarikata->currentText();
    logic_.cmbKasikata = cmbKasikata->currentText();
    logic_.txtIkkatuSiwake = txtIkkatuSiwake->text();
    logic_.txtTekiyou = txtTekiyou->text();
    logic_.cmbTekiyou = cmbTekiyou->currentText();
}

template <typename Handler>
void InpIkkatuSiwake::run(Handler handler) {
    // Focus moves of a handler make the boxes report again (a combo box leaving with an item's
    // text is "activated"); those echoes would read the boxes before they show the new state.
    if (running_) {
        return;
    }
    running_ = true;
    collect();
    handler();
    refresh();
    running_ = false;
}

void InpIkkatuSiwake::editTextChanged(QComboBox* box, const QString& text) {
    if (filling_ || box->findText(text) < 0) {
        return;
    }
    if (box == cmbTekiyou) {
        run([&] { logic_.cmbTekiyou_Click(text); });
    } else {
        run([this] { logic_.msShowSub(); });
    }
}

void InpIkkatuSiwake::fillLists() {
    filling_ = true;
    setItemsIfChanged(cmbKarikata, logic_.accounts());
    setItemsIfChanged(cmbKasikata, logic_.accounts());
    setItemsIfChanged(cmbTekiyou, logic_.descriptions());
    filling_ = false;
}

void InpIkkatuSiwake::refresh() {
    filling_ = true;
    const std::pair<QComboBox*, const QString*> lists[] = {{cmbKarikata, &logic_.cmbKarikata},
                                                           {cmbKasikata, &logic_.cmbKasikata},
                                                           {cmbTekiyou, &logic_.cmbTekiyou}};
    for (const auto& [box, text] : lists) {
        if (box->currentText() != *text) {
            box->setCurrentIndex(box->findText(*text));
            box->setEditText(*text);
        }
    }
    setTextIfChanged(txtIkkatuSiwake, logic_.txtIkkatuSiwake);
    setTextIfChanged(txtTekiyou, logic_.txtTekiyou);
    for (QWidget* box : {static_cast<QWidget*>(txtIkkatuSiwake), static_cast<QWidget*>(cmbTekiyou),
                         static_cast<QWidget*>(txtTekiyou)}) {
        box->setEnabled(logic_.textsEditable());
    }
    optTouroku->setChecked(logic_.mode() == JournalPatterns::Mode::Touroku);
    optTeisei->setChecked(logic_.mode() == JournalPatterns::Mode::Teisei);
    optDelete->setChecked(logic_.mode() == JournalPatterns::Mode::Delete);
    filling_ = false;
}

void InpIkkatuSiwake::setFocusTo(const QString& control) {
    if (auto* w = findChild<QWidget*>(control)) {
        w->setFocus(Qt::OtherFocusReason);
    }
}

bool InpIkkatuSiwake::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn && !filling_ && userMovedFocus(event)) {
        bool passed = true;
        if (watched == cmbKasikata) {
            run([&] { passed = logic_.cmbKasikata_GotFocus(); });
        } else if (watched == cmbTekiyou || watched == txtTekiyou) {
            run([&] { passed = logic_.description_GotFocus(); });
        }
        // The focus went back to an account box: this box does not take it.
        if (!passed) {
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void InpIkkatuSiwake::showEvent(QShowEvent* event) {
    // Each opening starts from the stored patterns; restoring a minimised window does not.
    if (!event->spontaneous()) {
        setWindowTitle(captionText());
        if (const QScreen* where = screen()) {
            move(where->availableGeometry().center() - rect().center());
        }
        const bool loaded = logic_.msFormInit();
        fillLists();
        if (loaded) {
            logic_.setMode(JournalPatterns::Mode::Touroku);
            refresh();
        } else {
            QTimer::singleShot(0, this, &QWidget::close);
        }
    }
    QWidget::showEvent(event);
}

void InpIkkatuSiwake::closeEvent(QCloseEvent* event) {
    // A failed write-back has been reported and leaves the set's patterns untouched.
    logic_.msUnForm();
    event->accept();
    Screens::showForm(QStringLiteral("SyokiSetMenu"));
}
