#pragma once

#include <QString>
#include <QStringList>

// The printer screen's state: the printers it offers and the run's choice among them. The
// printer list arrives as EnumPriName's text, the devices as names, so any list can be given.
class PrinterChoice {
  public:
    // Fills the list from EnumPriName's text: "0" says that no driver was found, "ERROR" (already
    // reported) leaves the list empty. True when the list was filled; the first entry is selected.
    bool load(const QString& enumerated);

    const QStringList& names() const { return names_; }
    bool filled() const { return !names_.isEmpty(); }

    // The first device whose name equals comboText exactly becomes the run's current printer.
    // Says which one or that none did; true when one was set.
    bool cmdSetPrinter_Click(const QString& comboText, const QStringList& devices);

  private:
    QStringList names_;
};
