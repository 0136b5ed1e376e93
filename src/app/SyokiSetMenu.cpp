#include "app/SyokiSetMenu.h"

SyokiSetMenu::SyokiSetMenu()
    : MenuWindow(
          QStringLiteral("SyokiSetMenu"), QStringLiteral("基础设置"),
          {QStringLiteral("初次使用时请先设置账套选项。"),
           QStringLiteral(
               "按从1)到6)的顺序进行设置。对1)设置完毕后，就可以使用“日间结算”录入数据。"),
           QStringLiteral("如果没有期初余额，可以不录入。"),
           QStringLiteral("会计科目、汇总分类、摘要和密码等可随时登录。")},
          {{QStringLiteral("cmdKaisyaJoho"), QStringLiteral("1) 账套选项"),
            QStringLiteral("登录账套的基础信息。"), QStringLiteral("InpKaisyaJoho"),
            QStringLiteral("SyokiSetMenu")},
           {QStringLiteral("cmdKisyuZandaka"), QStringLiteral("2) 期初余额"),
            QStringLiteral("登录帐套的期初余额。"), QStringLiteral("InpKisyuZandaka"), QString()},
           {QStringLiteral("cmdKanjyoKamoku"), QStringLiteral("3) 会计科目"),
            QStringLiteral("登录帐套的辅助科目。"), QStringLiteral("prtKanjoKamokuSet"), QString()},
           {QStringLiteral("cmdSiwake"), QStringLiteral("4) 汇总分类"),
            QStringLiteral("登录帐套的汇总分类。"), QStringLiteral("InpIkkatuSiwake"), QString()},
           {QStringLiteral("cmdTekiyou"), QStringLiteral("5) 摘要管理"),
            QStringLiteral("登录帐套的摘要项目。"), QStringLiteral("InpTekiyouTouroku"), QString()},
           {QStringLiteral("cmdPassword"), QStringLiteral("6) 设置密码"),
            QStringLiteral("设置或修改密码。"), QStringLiteral("Password"),
            QStringLiteral("SyokiSetMenu")}}) {}
