#include "app/SaveUpdateMenu.h"

SaveUpdateMenu::SaveUpdateMenu()
    : MenuWindow(
          QStringLiteral("SaveUpdateMenu"), QStringLiteral("数据处理"),
          {QStringLiteral("数据处理就是对账套数据进行备份和恢复操作。"),
           QStringLiteral("会计年度变更时，选择年底结转进行处理。")},
          {{QStringLiteral("cmdBackUp"), QStringLiteral("账套数据表处理"),
            QStringLiteral("对数据进行保存和恢复处理。"), QStringLiteral("runBackUp"), QString()},
           {QStringLiteral("cmdNenjiUpdate"), QStringLiteral("年底结转"),
            QStringLiteral("年底结转处理。"), QStringLiteral("runNenjiUpdate"), QString()},
           {QStringLiteral("cmdOutData"), QStringLiteral("单月数据表备份"),
            QStringLiteral("对每月的数据进行备份处理。"), QStringLiteral("runDataout"), QString()},
           {QStringLiteral("cmdInData"), QStringLiteral("单月数据表恢复"),
            QStringLiteral("恢复指定月份的数据。"), QStringLiteral("runDatain"), QString()},
           {QStringLiteral("cmdConverter"), QStringLiteral("中日文版数据变换处理"),
            QStringLiteral("进行中文版数据输出和日文版数据读入处理。"),
            QStringLiteral("runConverter"), QString()}}) {}
