#pragma once

#include <QString>
#include <QStringList>

// The printers the system lists (CUPS queues on Linux), in its order.
QStringList systemPrinterNames();

// "0" when there is no printer, else the count and the names, all separated by ","; "ERROR"
// after a failure, which it has reported.
QString EnumPriName();
