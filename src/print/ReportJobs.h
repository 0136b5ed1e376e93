#pragma once

#include <QString>

#include "print/ReportOutput.h"

// The layout of that name from MT_REPORT with the rows and header texts it prints. Throws
// ReportFailure for a missing or malformed layout, DbError for a database failure.
ReportJob loadReportJob(const QString& layoutName);
