#pragma once

#include <QStringList>
#include <memory>

class RecordingReportOutput;

// Records the reports a test prints, without the report headers: their TotalsKind clashes with
// the month flags' one, which the totals fixtures include.
class LedgerReportRecorder {
  public:
    LedgerReportRecorder();
    ~LedgerReportRecorder();
    LedgerReportRecorder(const LedgerReportRecorder&) = delete;
    LedgerReportRecorder& operator=(const LedgerReportRecorder&) = delete;

    // "preview R_KANJYOMOTOTYO 20" per report.
    QStringList calls() const;

  private:
    std::unique_ptr<RecordingReportOutput> output_;
};
