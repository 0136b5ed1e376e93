#include "app/AllScreens.h"

#include "common/ui/Screens.h"

// Each screen is made on first use and kept, so that it keeps its state like a loaded form.
void registerAllScreens() {
    // Menus, manual viewer and password:
    // [SyokiSetMenu]
    // [InOutMenu]
    // [SaveUpdateMenu]
    // [Manyual]
    // [Password]
    // Master data:
    // [InpKaisyaJoho]
    // [prtKanjoKamokuSet]
    // [InpKanjokamokuCh]
    // [InpKisyuZandaka]
}
