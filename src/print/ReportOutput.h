#pragma once

#include "print/ReportData.h"
#include "print/ReportLayout.h"

// A report ready to be shown or printed: its layout and the rows it prints.
struct ReportJob {
    ReportLayout layout;
    ReportData data;
};

// Where reports go: the program's preview window and printer, or a test's recorder. Installed
// like the messages service.
class ReportOutput {
  public:
    virtual ~ReportOutput() = default;
    // Shows the report; returns when the user closes it (or at once for a window that stays).
    virtual bool preview(const ReportJob& job) = 0;
    // Prints on the program's current printer; false after a failure it has reported.
    virtual bool print(const ReportJob& job) = 0;

    // The output in use; without one installed, reports go nowhere and succeed.
    static ReportOutput& current();
    // Installs an output (not owned); nullptr restores the silent one.
    static void install(ReportOutput* output);
};

inline ReportOutput& reportOutput() {
    return ReportOutput::current();
}

// A failure while showing or printing, numbered as the report printing classifies it.
struct ReportFailure {
    static constexpr int kNoPrinter = 2202;
    static constexpr int kFileNotFound = 7866;
    static constexpr int kCancelled = 2455;  // the user cancelled: nothing to say
    int number = 0;
    QString description;
};
