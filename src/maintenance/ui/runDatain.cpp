#include "maintenance/ui/runDatain.h"

runDatain::runDatain(QWidget* parent)
    : CsvScreen(QStringLiteral("runDatain"), QStringLiteral("cmdStr"),
                QStringLiteral("选择月份后按“开始”，用另一份账簿导出的两个 CSV 文件替换该月的"
                               "凭证明细；不选月份则替换所有月份。"),
                FileDialogUse::Import, parent),
      logic_(this) {
    connect(cmdStart, &QPushButton::clicked, this, [this] { logic_.cmdStr_Click(); });
}
