#pragma once

#include <QString>
#include <QStringList>

#include "print/ReportOutput.h"

// Prints the named layout over its work tables: mode 0 preview, 1 print; any other mode says
// "方法错误。" and returns true. False after a failure, which it has reported.
bool PrintAccessReport(const QString& databaseName, const QString& layoutName, int mode);

// The message of a failed print or preview, as PrintAccessReport classifies it by number.
void showReportFailure(const ReportFailure& failure);

// Replaces the one row of the header table with slotTexts 1..9 (trimmed; slot 0 is never written).
bool WritePrintKomokuTable(const QStringList& slotTexts, const QString& table);

// The program's current printer for the run; empty means the system default.
QString& currentPrinterName();
