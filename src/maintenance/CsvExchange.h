#pragma once

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include "totals/PeriodMonths.h"

// Monthly CSV exchange between two copies of the same account set: the export writes the set's
// not-yet-exported voucher lines and its account-set row, the import replaces a month's (or every
// month's) dated lines with them.

// What the two CSV screens need from a display.
class CsvExchangeHost {
  public:
    virtual ~CsvExchangeHost() = default;
    // Hourglass pointer and lblMessage while true.
    virtual void setBusy(bool busy) = 0;
    // The folder chooser shown modally: the folder chosen with OK, or a null string on cancel.
    // files receives the names the chooser lists there.
    virtual QString chooseFolder(QStringList& files) = 0;
    virtual void focusBack() = 0;
    // The text shown for the current account set in the main window.
    virtual QString accountSetText() const = 0;
};

// The file names of a month entry's text ("2024年3月"), or of all months when it is empty.
QString csvDataFileName(const QString& cid, const QString& monthText);
QString csvCompanyFileName(const QString& cid, const QString& monthText);

// The month list both screens fill from T_DAY_INPUT (FormInit); false after reporting a failure.
bool loadCsvMonths(QList<LedgerMonth>& months);
// The index of the entry of a "yyyy/mm" month, -1 when the list has none.
int csvMonthIndex(const QList<LedgerMonth>& months, const QString& month);

// The export screen's routines (runDataout).
class CsvExport {
  public:
    explicit CsvExport(CsvExchangeHost* host = nullptr) : host_(host) {}

    bool FormInit();
    QList<LedgerMonth> months;
    int selected = -1;  // no month: every month

    // The whole click: selection, question, folder, files, marking. True when exported.
    bool cmdStart_Click();
    // Writes the two files into folder and marks the lines; lines receives how many were
    // written. No lines to export is reported ("备份的数据不存在。") and false.
    bool exportTo(const QString& folder, int* lines = nullptr);

  private:
    // The selection of not-yet-exported dated lines, with its parameters.
    QString monthCondition() const;
    QVariantList selectionParams() const;
    bool writeFile(const QString& path, const QString& sql, const QVariantList& params,
                   const QString& table, int fieldCount, int& rows);

    CsvExchangeHost* host_;
};

// The import screen's routines (runDatain).
class CsvImport {
  public:
    explicit CsvImport(CsvExchangeHost* host = nullptr) : host_(host) {}

    bool FormInit();
    QList<LedgerMonth> months;
    int selected = -1;

    bool cmdStr_Click();
    // The import from folder in one transaction (the caller's when one is open, which the
    // caller then rolls back on false); lines receives how many were imported. A refused file
    // leaves the books as they were.
    bool importFrom(const QString& folder, int* lines = nullptr);

    // Reads one file of fieldCount-field rows into table; reports its failures.
    bool RWdata(const QString& file, int fieldCount, const QString& table);
    // The voucher of a date, made when the target has none yet.
    bool SetNewRec(const QString& date, QString& code);

  private:
    QString monthText() const;
    void readFile(const QString& file, int fieldCount, const QString& table);
    void checkLine(QStringList& fields, const QString& at) const;

    CsvExchangeHost* host_;
    QString periodStart_;
    QString periodEnd_;
    QSet<QString> accounts_;  // the chart's account keys
};
