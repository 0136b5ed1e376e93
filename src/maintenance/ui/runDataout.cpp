#include "maintenance/ui/runDataout.h"

runDataout::runDataout(QWidget* parent)
    : CsvScreen(QStringLiteral("runDataout"), QStringLiteral("cmdStart"),
                QStringLiteral("选择月份后按“开始”，把该月尚未备份的凭证明细写成两个 CSV 文件；"
                               "不选月份则备份所有月份。"),
                FileDialogUse::Export, parent),
      logic_(this) {
    connect(cmdStart, &QPushButton::clicked, this, [this] { logic_.cmdStart_Click(); });
}
