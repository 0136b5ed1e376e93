#pragma once

#include "maintenance/ui/CsvScreen.h"

// The CSV export screen: the current set's not-yet-exported lines of one month or of all.
class runDataout : public CsvScreen {
    Q_OBJECT
  public:
    explicit runDataout(QWidget* parent = nullptr);

    CsvExport& logic() { return logic_; }

  protected:
    bool formInit() override { return logic_.FormInit(); }
    const QList<LedgerMonth>& monthList() const override { return logic_.months; }
    void choose(int index) override { logic_.selected = index; }

  private:
    CsvExport logic_;
};
