#pragma once

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

#include "maintenance/Converter.h"
#include "maintenance/ui/SetFolderHost.h"

// The converter screen: exports the current account set for the Japanese edition and imports
// a set that edition wrote (opened from the data menu, to which it returns).
class runConverter : public QWidget {
    Q_OBJECT
  public:
    explicit runConverter(QWidget* parent = nullptr);

    ConverterMaintenance& logic() { return logic_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    SetFolderHost host_{*this};
    ConverterMaintenance logic_{host_};
    QLabel* lblReadMe;
    QLabel* lblMessage;
    QPushButton* cmdBackUp;
    QPushButton* cmdConverter;
    QPushButton* cmdQuestion;
    QPushButton* cmdBack;
    QRadioButton* optYes;
    QRadioButton* optNo;
};
