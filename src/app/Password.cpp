#include "app/Password.h"

#include <QCloseEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QVBoxLayout>

#include "common/Session.h"
#include "common/ui/FocusKeys.h"
#include "common/ui/Screens.h"

Password::Password(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Password"));
    setWindowTitle(logic_.caption());

    lblTital = new QLabel(logic_.caption(), this);
    lblTital->setObjectName(QStringLiteral("lblTital"));
    lblTital->setAlignment(Qt::AlignCenter);
    QFont titleFont = lblTital->font();
    titleFont.setPointSize(titleFont.pointSize() + 4);
    titleFont.setBold(true);
    lblTital->setFont(titleFont);

    const auto makeLabel = [this](const QString& name) {
        auto* label = new QLabel(this);
        label->setObjectName(name);
        return label;
    };
    const auto makeBox = [this](const QString& name) {
        auto* box = new QLineEdit(this);
        box->setObjectName(name);
        box->setEchoMode(QLineEdit::Password);
        box->setMinimumWidth(200);
        box->installEventFilter(this);
        FocusKeys::install(this, {box});
        return box;
    };
    lblPassword0 = makeLabel(QStringLiteral("lblPassword0"));
    lblPassword1 = makeLabel(QStringLiteral("lblPassword1"));
    lblPassword2 = makeLabel(QStringLiteral("lblPassword2"));
    txtPassword0 = makeBox(QStringLiteral("txtPassword0"));
    txtPassword1 = makeBox(QStringLiteral("txtPassword1"));
    txtPassword2 = makeBox(QStringLiteral("txtPassword2"));
    lblPassword0->setBuddy(txtPassword0);
    lblPassword1->setBuddy(txtPassword1);
    lblPassword2->setBuddy(txtPassword2);
    cmdOk = new QPushButton(QStringLiteral("确定"), this);
    cmdOk->setObjectName(QStringLiteral("cmdOk"));
    // Enter moves between the boxes; only a click (or Space) on the button ends the input.
    cmdOk->setAutoDefault(false);

    auto* fields = new QGridLayout;
    fields->addWidget(lblPassword0, 0, 0);
    fields->addWidget(txtPassword0, 0, 1);
    fields->addWidget(lblPassword1, 1, 0);
    fields->addWidget(txtPassword1, 1, 1);
    fields->addWidget(lblPassword2, 2, 0);
    fields->addWidget(txtPassword2, 2, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblTital);
    layout->addLayout(fields);
    layout->addWidget(cmdOk, 0, Qt::AlignRight);
    setTabOrder(txtPassword0, txtPassword1);
    setTabOrder(txtPassword1, txtPassword2);
    setTabOrder(txtPassword2, cmdOk);

    connect(cmdOk, &QPushButton::clicked, this, &Password::unloadForm);
}

void Password::Form_Load() {
    logic_.load(session().CallerForm);
    loaded_ = true;
    passed_ = false;
    setWindowTitle(logic_.caption());
    lblTital->setText(logic_.caption());
    lblPassword0->setText(PasswordLogic::label0());
    lblPassword1->setText(logic_.label1());
    lblPassword2->setText(logic_.label2());
    for (QLineEdit* box : {txtPassword0, txtPassword1, txtPassword2}) {
        box->clear();
    }
    txtPassword0->setEnabled(logic_.txtPassword0Enabled());
    // Logging in needs only the one box.
    const bool settings = !logic_.loginUse();
    for (QWidget* w : {static_cast<QWidget*>(lblPassword0), static_cast<QWidget*>(txtPassword0),
                       static_cast<QWidget*>(lblPassword2), static_cast<QWidget*>(txtPassword2)}) {
        w->setVisible(settings);
    }
}

void Password::Form_Activate() {
    if (!logic_.loginUse() && txtPassword0->isEnabled()) {
        txtPassword0->setFocus();
    } else {
        txtPassword1->setFocus();
    }
}

void Password::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) {
        Form_Load();
        Form_Activate();
    }
}

void Password::unloadForm() {
    if (!loaded_) {
        return;
    }
    loaded_ = false;
    logic_.txtPassword0 = txtPassword0->text();
    logic_.txtPassword1 = txtPassword1->text();
    logic_.txtPassword2 = txtPassword2->text();
    passed_ = logic_.Form_Unload();
    for (QLineEdit* box : {txtPassword0, txtPassword1, txtPassword2}) {
        box->clear();
    }
    if (logic_.loginUse()) {
        QDialog::done(passed_ ? QDialog::Accepted : QDialog::Rejected);
        return;
    }
    hide();
    Screens::showForm(session().CallerForm);
}

void Password::reject() {
    if (loaded_) {
        unloadForm();
    } else {
        QDialog::reject();
    }
}

void Password::closeEvent(QCloseEvent* event) {
    unloadForm();
    event->accept();
}

bool Password::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut && watched == txtPassword1 && logic_.loginUse() &&
        loaded_) {
        // Leaving the box ends the login, but not when another window merely takes the focus.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            unloadForm();
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool askLoginPassword(QWidget* parent) {
    session().CallerForm = QStringLiteral("MainMenu");
    Password dialog(parent);
    dialog.exec();
    // Only the password decides: a start that failed before (RunState 2) still needs it.
    return dialog.passed();
}
