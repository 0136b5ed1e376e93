#include "maintenance/ui/runBackUp.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QScreen>
#include <QVBoxLayout>

#include "common/Session.h"
#include "common/ui/FocusKeys.h"
#include "common/ui/Screens.h"

runBackUp::runBackUp(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("runBackUp"));

    lblReadMe = new QLabel(BackupMaintenance::readMeText(), this);
    lblReadMe->setObjectName(QStringLiteral("lblReadMe"));
    lblMessage = host_.makeMessageLabel();
    const auto button = [this](const QString& name, const QString& text) {
        return host_.makeButton(name, text);
    };
    cmdBackUp = button(QStringLiteral("cmdBackUp"), QStringLiteral("开始备份"));
    cmdLoalBack = button(QStringLiteral("cmdLoalBack"), QStringLiteral("开始恢复"));
    cmdCompack = button(QStringLiteral("cmdCompack"), QStringLiteral("压缩数据库"));
    cmdQuestion = button(QStringLiteral("cmdQuestion"), QStringLiteral("帮助"));
    cmdBack = button(QStringLiteral("cmdBack"), QStringLiteral("返回"));
    host_.bind(lblMessage, cmdBack);
    lstAutoBackup = new QListWidget(this);
    lstAutoBackup->setObjectName(QStringLiteral("lstAutoBackup"));
    numKeep = new QSpinBox(this);
    numKeep->setObjectName(QStringLiteral("numKeep"));
    numKeep->setRange(1, kMaxAutoBackups);
    cmdAutoRestore = button(QStringLiteral("cmdAutoRestore"), QStringLiteral("恢复自动备份"));
    FocusKeys::install(this, {cmdBackUp, cmdLoalBack, cmdCompack, lstAutoBackup, numKeep,
                              cmdAutoRestore, cmdQuestion, cmdBack});

    auto* grid = new QGridLayout(this);
    grid->addWidget(lblReadMe, 0, 0, 1, 3);
    grid->addWidget(cmdBackUp, 1, 0);
    grid->addWidget(cmdLoalBack, 1, 1);
    grid->addWidget(cmdCompack, 1, 2);
    grid->addWidget(lblMessage, 2, 0, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("自动备份（每天第一次保存时）："), this), 3, 0, 1, 3);
    grid->addWidget(lstAutoBackup, 4, 0, 1, 2);
    // The count and the restore button stay together at the top beside the list.
    auto* beside = new QVBoxLayout;
    beside->addWidget(new QLabel(QStringLiteral("保留份数："), this));
    beside->addWidget(numKeep);
    beside->addWidget(cmdAutoRestore);
    beside->addStretch();
    grid->addLayout(beside, 4, 2);
    grid->addWidget(cmdQuestion, 5, 1);
    grid->addWidget(cmdBack, 5, 2);

    connect(cmdBackUp, &QPushButton::clicked, this, [this] { logic_.cmdBackUp_Click(); });
    connect(cmdLoalBack, &QPushButton::clicked, this, [this] { logic_.cmdLoalBack_Click(); });
    connect(cmdCompack, &QPushButton::clicked, this, [this] { logic_.cmdCompack_Click(); });
    connect(cmdQuestion, &QPushButton::clicked, this, [this] { logic_.cmdQuestion_Click(); });
    connect(cmdBack, &QPushButton::clicked, this, &QWidget::close);
    connect(cmdAutoRestore, &QPushButton::clicked, this, [this] {
        logic_.cmdAutoRestore_Click(lstAutoBackup->currentRow());
        showAutoBackups();
    });
    connect(numKeep, &QSpinBox::editingFinished, this, [this] {
        if (numKeep->value() != autoBackupKeepCount()) {
            logic_.numKeep_Change(numKeep->value());
            showAutoBackups();
        }
    });
}

void runBackUp::showAutoBackups() {
    logic_.refreshAutoBackups();
    lstAutoBackup->clear();
    for (const AutoBackupEntry& entry : logic_.autoBackupList()) {
        lstAutoBackup->addItem(BackupMaintenance::autoBackupText(entry));
    }
    lstAutoBackup->setCurrentRow(0);
    cmdAutoRestore->setEnabled(lstAutoBackup->count() > 0);
    const QSignalBlocker quiet(numKeep);
    numKeep->setValue(autoBackupKeepCount());
}

void runBackUp::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous()) {
        return;
    }
    if (const QScreen* where = screen()) {
        move(where->availableGeometry().center() - rect().center());
    }
    host_.refreshCaption();
    showAutoBackups();
}

void runBackUp::closeEvent(QCloseEvent* event) {
    event->accept();
    Screens::showForm(QStringLiteral("SaveUpdateMenu"));
}
