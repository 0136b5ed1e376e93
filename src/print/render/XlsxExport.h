#pragma once

#include <QString>

#include "print/ReportOutput.h"

// Writes the report's rows to an .xlsx workbook for reuse: the title and header texts above, the
// column headings, then one row per work-table row (amounts as numbers in the money format,
// everything else as text) and the totals. Throws ReportFailure when the file cannot be written.
void writeXlsx(const ReportJob& job, const QString& filePath);
