#include "app/InOutMenu.h"

InOutMenu::InOutMenu()
    : MenuWindow(
          QStringLiteral("InOutMenu"), QStringLiteral("账簿管理"),
          {QStringLiteral("使用日间结算，录入每天的收支情况。"),
           QStringLiteral("日记账等其他账簿如有必要可打印出来。")},
          {{QStringLiteral("cmdInpKantan"), QStringLiteral("1) 日间结算"),
            QStringLiteral("录入每天的财会数据。"), QStringLiteral("InpKantanSiwake"),
            QStringLiteral("InOutMenu")},
           {QStringLiteral("cmdSiwakeNikki"), QStringLiteral("2) 日记账"),
            QStringLiteral("显示/打印日记帐。"), QStringLiteral("prtSiwakeNikki"), QString()},
           {QStringLiteral("cmdSoukanjo"), QStringLiteral("3) 总账"),
            QStringLiteral("显示/打印总帐。"), QStringLiteral("prtSoukanjoMotocho"), QString()},
           {QStringLiteral("cmdHojo"), QStringLiteral("4) 辅助账"),
            QStringLiteral("显示/打印辅助帐。"), QStringLiteral("prtSoukanjoHojoMotocho"),
            QString()},
           {QStringLiteral("cmdTaisyakuTaisyo"), QStringLiteral("5) 借贷对照表"),
            QStringLiteral("显示/打印借贷对照表。"), QStringLiteral("prtTaisyakuTaisyo"),
            QString()},
           {QStringLiteral("cmdSonekiKeisan"), QStringLiteral("6) 损益报表"),
            QStringLiteral("显示/打印损益报表。"), QStringLiteral("prtSonekiKeisan"), QString()},
           {QStringLiteral("cmdZichan"), QStringLiteral("7) 资产负债表"),
            QStringLiteral("显示/打印资产负债表。"), QStringLiteral("prtZichan"), QString()},
           {QStringLiteral("cmdLirun"), QStringLiteral("8) 利润及利润分配表"),
            QStringLiteral("显示/打印利润及利润分配表。"), QStringLiteral("prtLirun"), QString()},
           {QStringLiteral("Command1"), QStringLiteral("9) 选择打印机"), QString(),
            QStringLiteral("SetUsePrinter"), QString()},
           {QStringLiteral("cmdXiaoQiye"), QStringLiteral("0) 小企业会计报表"),
            QStringLiteral(
                "显示/打印小企业会计准则的资产负债表（会小企01表）和利润表（会小企02表）。"),
            QStringLiteral("prtXiaoQiye"), QString()}}) {}
