#include "app/AllScreens.h"

#include "app/InOutMenu.h"
#include "app/Manyual.h"
#include "app/Password.h"
#include "app/SaveUpdateMenu.h"
#include "app/SyokiSetMenu.h"
#include "common/ui/Screens.h"
#include "entry/ui/InpIkkatuSiwake.h"
#include "entry/ui/InpKantanSiwake.h"
#include "entry/ui/InpTekiyouTouroku.h"
#include "entry/ui/prtSiwakeNikki.h"
#include "maintenance/ui/runBackUp.h"
#include "maintenance/ui/runConverter.h"
#include "maintenance/ui/runDatain.h"
#include "maintenance/ui/runDataout.h"
#include "maintenance/ui/runNenjiUpdate.h"
#include "master/ui/InpKaisyaJoho.h"
#include "master/ui/InpKanjokamokuCh.h"
#include "master/ui/InpKisyuZandaka.h"
#include "master/ui/prtKanjoKamokuSet.h"
#include "print/ui/SetUsePrinter.h"
#include "statements/ui/MonthStatementScreen.h"
#include "statements/ui/prtLirun.h"
#include "statements/ui/prtXiaoQiye.h"
#include "statements/ui/prtZichan.h"
#include "totals/ui/InpSoukanjoMotchoH.h"
#include "totals/ui/prtSoukanjoHojoMotocho.h"
#include "totals/ui/prtSoukanjoMotocho.h"

// Each screen is made on first use and kept, so that it keeps its state like a loaded form.
void registerAllScreens() {
    // Menus, manual viewer and password:
    Screens::add(QStringLiteral("SyokiSetMenu"), [] { return new SyokiSetMenu; });
    Screens::add(QStringLiteral("InOutMenu"), [] { return new InOutMenu; });
    Screens::add(QStringLiteral("SaveUpdateMenu"), [] { return new SaveUpdateMenu; });
    Screens::add(QStringLiteral("Manyual"), [] { return new Manyual; });
    Screens::add(QStringLiteral("Password"), [] { return new Password; });
    // Master data:
    Screens::add(QStringLiteral("InpKaisyaJoho"), [] { return new InpKaisyaJoho; });
    Screens::add(QStringLiteral("prtKanjoKamokuSet"), [] { return new prtKanjoKamokuSet; });
    Screens::add(QStringLiteral("InpKanjokamokuCh"), [] { return new InpKanjokamokuCh; });
    Screens::add(QStringLiteral("InpKisyuZandaka"), [] { return new InpKisyuZandaka; });
    // Journal entry:
    Screens::add(QStringLiteral("InpKantanSiwake"), [] { return new InpKantanSiwake; });
    Screens::add(QStringLiteral("InpTekiyouTouroku"), [] { return new InpTekiyouTouroku; });
    Screens::add(QStringLiteral("InpIkkatuSiwake"), [] { return new InpIkkatuSiwake; });
    Screens::add(QStringLiteral("prtSiwakeNikki"), [] { return new prtSiwakeNikki; });
    // Ledgers:
    Screens::add(QStringLiteral("prtSoukanjoMotocho"), [] { return new prtSoukanjoMotocho; });
    Screens::add(QStringLiteral("InpSoukanjoMotchoH"), [] { return new InpSoukanjoMotchoH; });
    Screens::add(QStringLiteral("prtSoukanjoHojoMotocho"),
                 [] { return new prtSoukanjoHojoMotocho; });
    // Statements:
    Screens::add(QStringLiteral("prtTaisyakuTaisyo"), [] { return new prtTaisyakuTaisyo; });
    Screens::add(QStringLiteral("prtSonekiKeisan"), [] { return new prtSonekiKeisan; });
    Screens::add(QStringLiteral("prtXiaoQiye"), [] { return new prtXiaoQiye; });
    Screens::add(QStringLiteral("prtZichan"), [] { return new prtZichan; });
    Screens::add(QStringLiteral("prtLirun"), [] { return new prtLirun; });
    // Data maintenance:
    Screens::add(QStringLiteral("runNenjiUpdate"), [] { return new runNenjiUpdate; });
    Screens::add(QStringLiteral("runBackUp"), [] { return new runBackUp; });
    Screens::add(QStringLiteral("runDataout"), [] { return new runDataout; });
    Screens::add(QStringLiteral("runDatain"), [] { return new runDatain; });
    Screens::add(QStringLiteral("runConverter"), [] { return new runConverter; });
    // Printing:
    Screens::add(QStringLiteral("SetUsePrinter"), [] { return new SetUsePrinter; });
}
