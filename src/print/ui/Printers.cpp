#include "print/ui/Printers.h"

#include <QPrinterInfo>
#include <exception>

#include "common/Messages.h"

QStringList systemPrinterNames() {
    return QPrinterInfo::availablePrinterNames();
}

QString EnumPriName() {
    try {
        const QStringList names = systemPrinterNames();
        if (names.isEmpty()) {
            return QStringLiteral("0");
        }
        return QString::number(names.size()) + u',' + names.join(u',');
    } catch (const std::exception& e) {
        // Qt reports no failure of its own; what remains is running out of memory.
        messages().error(0, QString::fromLocal8Bit(e.what()), QStringLiteral("EnumPriName"));
        return QStringLiteral("ERROR");
    }
}
