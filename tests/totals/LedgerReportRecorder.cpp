#include "totals/LedgerReportRecorder.h"

#include "support/RecordingReportOutput.h"

LedgerReportRecorder::LedgerReportRecorder() : output_(std::make_unique<RecordingReportOutput>()) {}

LedgerReportRecorder::~LedgerReportRecorder() = default;

QStringList LedgerReportRecorder::calls() const {
    return output_->calls();
}
