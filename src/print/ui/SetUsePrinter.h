#pragma once

#include <QComboBox>
#include <QPushButton>
#include <QWidget>

#include "print/PrinterChoice.h"

// Chooses the printer the program prints on for the rest of the run (opened from the books menu,
// to which it returns).
class SetUsePrinter : public QWidget {
    Q_OBJECT
  public:
    explicit SetUsePrinter(QWidget* parent = nullptr);

    PrinterChoice& logic() { return logic_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void Form_Load();

    PrinterChoice logic_;
    QComboBox* cmbPrinterList;
    QPushButton* cmdSetPrinter;
    QPushButton* cmdCancel;
};
