#include "print/PrinterChoice.h"

#include "common/Messages.h"
#include "print/PrintAccessReport.h"

bool PrinterChoice::load(const QString& enumerated) {
    names_.clear();
    if (enumerated == u'0') {
        messages().plain(QStringLiteral("未发现打印机驱动程序。"));
        return false;
    }
    if (enumerated == QStringLiteral("ERROR")) {
        return false;
    }
    QStringList parts = enumerated.split(u',');
    parts.removeFirst();  // the count
    names_ = parts;
    return filled();
}

bool PrinterChoice::cmdSetPrinter_Click(const QString& comboText, const QStringList& devices) {
    for (const QString& device : devices) {
        if (device == comboText) {
            currentPrinterName() = device;
            messages().exclamation(QStringLiteral("通常使用的打印机设置为[ ") +
                                   comboText.trimmed() + QStringLiteral(" ]。"));
            return true;
        }
    }
    messages().plain(QStringLiteral("通常使用的打印机设置失败！"));
    return false;
}
