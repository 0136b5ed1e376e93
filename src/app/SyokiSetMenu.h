#pragma once

#include "app/MenuWindow.h"

// The initial-settings menu: the account set, opening balances, chart, patterns, descriptions and
// the password.
class SyokiSetMenu : public MenuWindow {
    Q_OBJECT
  public:
    SyokiSetMenu();
};
