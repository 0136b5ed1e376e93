#include "app/Manyual.h"

#include <QCloseEvent>
#include <QScrollArea>
#include <QVBoxLayout>

#include "common/Session.h"
#include "common/ui/Screens.h"

namespace {

const QString kTitle = QStringLiteral("操作说明");
const QString kEntryScreen = QStringLiteral("InpKantanSiwake");

}  // namespace

QString Manyual::manualText() {
    return QStringList{
        QStringLiteral("日间结算的操作步骤"),
        QString(),
        QStringLiteral("1. 在日期栏输入要录入的日期（yyyy/mm/dd），或用“前一日”“后一日”移动。"),
        QStringLiteral("2. 收入栏：在收入科目的金额栏输入当天的金额，需要时选择或输入摘要。"),
        QStringLiteral("3. 支出栏：在支出科目的金额栏输入当天的金额，需要时选择或输入摘要。"),
        QStringLiteral("   收入和支出的对方科目都是现金。"),
        QStringLiteral("4. 转账栏：不经过现金的业务，选择借方科目、贷方科目（或汇总分类），"
                       "输入金额和摘要。"),
        QStringLiteral("   单击行头的“D”可以删除该行。"),
        QStringLiteral("5. 确认合计金额后，单击“确 定”登录当天的账目。"),
        QStringLiteral("   单击“删 除”删除当天的全部账目。"),
        QStringLiteral("6. 单击“退 出”结束日间结算。"),
        QString(),
        QStringLiteral("按键说明"),
        QStringLiteral("   Enter：移到下一个输入项目"),
        QStringLiteral("   Esc：返回上一个输入项目"),
        QString(),
        QStringLiteral("录入的数据可在“账簿管理”菜单中打印日记账、总账和各种报表。")}
        .join(u'\n');
}

Manyual::Manyual(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Manyual"));
    setWindowTitle(kTitle);

    // There is no manual picture; the label shows the steps as text instead.
    Image1 = new QLabel(manualText(), this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setTextFormat(Qt::PlainText);
    Image1->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    Image1->setMargin(12);
    Image1->setWordWrap(true);
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(Image1);
    scroll->setWidgetResizable(true);

    cmdBack = new QPushButton(QStringLiteral("返回(X)"), this);
    cmdBack->setObjectName(QStringLiteral("cmdBack"));
    cmdBack->setToolTip(QStringLiteral("返回日间结算画面。"));
    cmdBack->setShortcut(QKeySequence(Qt::ALT | Qt::Key_X));
    connect(cmdBack, &QPushButton::clicked, this, &QWidget::close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(scroll, 1);
    layout->addWidget(cmdBack, 0, Qt::AlignRight);
    resize(640, 480);
}

void Manyual::showEvent(QShowEvent* event) {
    setWindowTitle(kTitle + QStringLiteral(" — ") + session().PeriodLabel);
    QWidget::showEvent(event);
}

void Manyual::closeEvent(QCloseEvent* event) {
    // Closing the viewer any way returns to the daily entry screen that opened it.
    Screens::showForm(kEntryScreen);
    event->accept();
}
