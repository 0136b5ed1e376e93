#include "print/ReportOutput.h"

namespace {

class SilentOutput : public ReportOutput {
  public:
    bool preview(const ReportJob&) override { return true; }
    bool print(const ReportJob&) override { return true; }
};

ReportOutput* installed = nullptr;

}  // namespace

ReportOutput& ReportOutput::current() {
    static SilentOutput silent;
    return installed ? *installed : silent;
}

void ReportOutput::install(ReportOutput* output) {
    installed = output;
}
