#pragma once

#include "app/MenuWindow.h"

// The books menu: daily entry, the journal, the ledgers, the statements and the printer.
class InOutMenu : public MenuWindow {
    Q_OBJECT
  public:
    InOutMenu();
};
