#pragma once

#include "app/MenuWindow.h"

// The data-processing menu: backup and restore, year-end update, monthly CSV files and the
// exchange with the Japanese edition.
class SaveUpdateMenu : public MenuWindow {
    Q_OBJECT
  public:
    SaveUpdateMenu();
};
