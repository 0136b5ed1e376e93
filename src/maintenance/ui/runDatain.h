#pragma once

#include "maintenance/ui/CsvScreen.h"

// The CSV import screen: replaces one month's (or every month's) dated lines with the two files
// another copy of the same set exported.
class runDatain : public CsvScreen {
    Q_OBJECT
  public:
    explicit runDatain(QWidget* parent = nullptr);

    CsvImport& logic() { return logic_; }

  protected:
    bool formInit() override { return logic_.FormInit(); }
    const QList<LedgerMonth>& monthList() const override { return logic_.months; }
    void choose(int index) override { logic_.selected = index; }

  private:
    CsvImport logic_;
};
