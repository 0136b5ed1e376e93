#include "maintenance/ui/runConverter.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QScreen>

#include "common/ui/FocusKeys.h"
#include "common/ui/Screens.h"

runConverter::runConverter(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("runConverter"));

    lblReadMe = new QLabel(ConverterMaintenance::readMeText(), this);
    lblReadMe->setObjectName(QStringLiteral("lblReadMe"));
    lblMessage = host_.makeMessageLabel();
    const auto button = [this](const QString& name, const QString& text) {
        return host_.makeButton(name, text);
    };
    cmdBackUp = button(QStringLiteral("cmdBackUp"), QStringLiteral("中文版数据导出"));
    cmdConverter = button(QStringLiteral("cmdConverter"), QStringLiteral("日文版数据导入"));
    cmdQuestion = button(QStringLiteral("cmdQuestion"), QStringLiteral("帮助"));
    cmdBack = button(QStringLiteral("cmdBack"), QStringLiteral("返回"));
    optYes = new QRadioButton(QStringLiteral("导入的文字用中文字符"), this);
    optYes->setObjectName(QStringLiteral("optYes"));
    optYes->setChecked(true);
    optNo = new QRadioButton(QStringLiteral("导入的文字用日文字符"), this);
    optNo->setObjectName(QStringLiteral("optNo"));
    host_.bind(lblMessage, cmdBack);
    FocusKeys::install(this, {cmdBackUp, cmdConverter, optYes, optNo, cmdQuestion, cmdBack});

    auto* grid = new QGridLayout(this);
    grid->addWidget(lblReadMe, 0, 0, 1, 2);
    grid->addWidget(cmdBackUp, 1, 0);
    grid->addWidget(cmdConverter, 1, 1);
    grid->addWidget(optYes, 2, 0);
    grid->addWidget(optNo, 2, 1);
    grid->addWidget(lblMessage, 3, 0, 1, 2);
    grid->addWidget(cmdQuestion, 4, 0);
    grid->addWidget(cmdBack, 4, 1);

    connect(cmdBackUp, &QPushButton::clicked, this, [this] { logic_.cmdBackUp_Click(); });
    connect(cmdConverter, &QPushButton::clicked, this, [this] {
        logic_.characters =
            optYes->isChecked() ? ImportedCharacters::Chinese : ImportedCharacters::Japanese;
        logic_.cmdConverter_Click();
    });
    connect(cmdQuestion, &QPushButton::clicked, this, [this] { logic_.cmdQuestion_Click(); });
    connect(cmdBack, &QPushButton::clicked, this, &QWidget::close);
}

void runConverter::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous()) {
        return;
    }
    if (const QScreen* where = screen()) {
        move(where->availableGeometry().center() - rect().center());
    }
    host_.refreshCaption();
}

void runConverter::closeEvent(QCloseEvent* event) {
    event->accept();
    Screens::showForm(QStringLiteral("SaveUpdateMenu"));
}
