#pragma once

#include "print/PageBuilder.h"
#include "print/ReportJobs.h"
#include "support/GoldenText.h"

// The page model a layout builds from its work tables, against tests/<folder>/golden/<name>.txt
// (the layout's name unless given).
inline void expectGoldenPages(const QString& folder, const QString& layout,
                              const QString& name = QString()) {
    const ReportJob job = loadReportJob(layout);
    expectGoldenText(folder, name.isEmpty() ? layout : name,
                     buildPages(job.layout, job.data).toText());
}
