#pragma once

#include <QLabel>
#include <memory>

#include "common/ui/ReportScreen.h"
#include "statements/StatutoryStatement.h"

// A year-end statement screen: what the statement is for, preview, print, help and back. The
// balance sheet and the profit statement differ only in their logic.
class StatementScreen : public ReportScreen {
    Q_OBJECT
  public:
    explicit StatementScreen(std::unique_ptr<StatutoryStatement> logic, QWidget* parent = nullptr);

  protected:
    StatutoryStatement& statement() { return *logic_; }

  private:
    std::unique_ptr<StatutoryStatement> logic_;
    QLabel* lblReadMe;
};
