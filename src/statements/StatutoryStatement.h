#pragma once

#include <QString>
#include <vector>

#include "statements/StatementLines.h"

// What the year-end statement screens share: the screen's texts, the fill, preview and print,
// help.
class StatutoryStatement {
  public:
    virtual ~StatutoryStatement() = default;

    virtual QString form() const = 0;
    virtual QString title() const = 0;
    virtual QString readMe() const = 0;
    virtual QString layout() const = 0;
    virtual void cmdQuestion_Click() = 0;

    // Computes and writes the work tables and the header slots without printing, in one
    // transaction when none is open, so that the totals pass and the tables are folded into the
    // file once. False after a reported failure.
    bool fill();
    // Fills, then previews (mode 0) or prints (mode 1) the layout.
    bool print_data(int mode);
    bool cmdHyouji_Click() { return print_data(0); }
    bool cmdInsatu_Click() { return print_data(1); }

  protected:
    virtual bool fillTables() = 0;
};

// One step of a statement's computation, in table order: the line takes the balances of the
// conditions in add (less those in subtract), or, with lines given, the sum of those lines
// (a negative number subtracts that line); negate turns the line's balance round afterwards.
struct LineStep {
    int line;
    std::vector<const char*> add;
    std::vector<int> lines = {};
    std::vector<const char*> subtract = {};
    bool negate = false;
};

// Sets column[step.line] from the lines step.lines names.
void sumLines(const LineStep& step, StatementColumn& column);

// The period of WK_COMPANY: KISYU and KIMATU ("yyyy/mm/dd"). Throws DbError.
struct CompanyPeriod {
    QString kisyu;
    QString kimatu;
};
CompanyPeriod readCompanyPeriod();

// The header slots of a statement: slot 1 the period end as 2024年12月31日, slot 2 the fiscal
// year as 2024年度 (the year the period starts in). False after a reported failure.
bool writeStatementHeader(const CompanyPeriod& period);

// Empties P_KESANSYO_S and P_KESANSYO_E and writes the two columns; in its own transaction when
// none is open. Throws DbError from the deletes; false when a write failed (reported).
bool writeStatementTables(const StatementColumn& first, const StatementColumn& second);
