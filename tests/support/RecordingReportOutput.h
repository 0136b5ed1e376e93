#pragma once

#include <QList>
#include <QString>

#include "print/ReportOutput.h"

// Records each report instead of showing or printing it ("preview"/"print" and the job).
// Installs itself for its lifetime.
class RecordingReportOutput : public ReportOutput {
  public:
    RecordingReportOutput() { ReportOutput::install(this); }
    ~RecordingReportOutput() override { ReportOutput::install(nullptr); }

    bool preview(const ReportJob& job) override { return record(QStringLiteral("preview"), job); }
    bool print(const ReportJob& job) override { return record(QStringLiteral("print"), job); }

    // "preview R_TEKIYO 3" per report: the way, the layout and the number of rows.
    QStringList calls() const { return calls_; }
    const ReportJob& last() const { return jobs.last(); }

    QList<ReportJob> jobs;

  private:
    bool record(const QString& way, const ReportJob& job) {
        jobs.append(job);
        calls_.append(
            QStringLiteral("%1 %2 %3").arg(way, job.layout.name).arg(job.data.rows.size()));
        return true;
    }
    QStringList calls_;
};
