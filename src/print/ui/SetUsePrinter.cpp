#include "print/ui/SetUsePrinter.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

#include "common/ui/Screens.h"
#include "print/ui/Printers.h"

SetUsePrinter::SetUsePrinter(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("SetUsePrinter"));
    setWindowTitle(QStringLiteral("选择打印机"));

    cmbPrinterList = new QComboBox(this);
    cmbPrinterList->setObjectName(QStringLiteral("cmbPrinterList"));
    cmbPrinterList->setMinimumWidth(320);
    cmdSetPrinter = new QPushButton(QStringLiteral("设定"), this);
    cmdSetPrinter->setObjectName(QStringLiteral("cmdSetPrinter"));
    cmdCancel = new QPushButton(QStringLiteral("取消"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdSetPrinter);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("通常使用的打印机："), this));
    layout->addWidget(cmbPrinterList);
    layout->addLayout(buttons);

    connect(cmdSetPrinter, &QPushButton::clicked, this, [this] {
        logic_.cmdSetPrinter_Click(cmbPrinterList->currentText(), systemPrinterNames());
        close();
    });
    connect(cmdCancel, &QPushButton::clicked, this, &QWidget::close);
}

void SetUsePrinter::Form_Load() {
    if (const QScreen* where = screen()) {
        move(where->availableGeometry().center() - rect().center());
    }
    cmbPrinterList->clear();
    if (logic_.load(EnumPriName())) {
        cmbPrinterList->addItems(logic_.names());
        cmbPrinterList->setCurrentIndex(0);
    }
}

void SetUsePrinter::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) {
        Form_Load();
    }
}

void SetUsePrinter::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // Nothing to choose from: the screen goes away as soon as it comes up.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !logic_.filled()) {
        QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
    }
}

void SetUsePrinter::closeEvent(QCloseEvent* event) {
    event->accept();
    Screens::showForm(QStringLiteral("InOutMenu"));
}
