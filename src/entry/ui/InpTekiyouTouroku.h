#pragma once

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

#include "entry/Descriptions.h"

// The description screen: registers, corrects and deletes the descriptions of the current
// account set on a work copy that replaces the set's descriptions when the screen closes.
class InpTekiyouTouroku : public QWidget {
    Q_OBJECT
  public:
    explicit InpTekiyouTouroku(QWidget* parent = nullptr);

    Descriptions& logic() { return logic_; }
    // Shows the state of the logic in the controls.
    void refresh();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    QPushButton* makeButton(const QString& name, const QString& caption);
    QRadioButton* makeOption(const QString& name, const QString& caption, Descriptions::Mode mode);
    // The text box and its lock, which follow the list without touching what is typed there.
    void showTextBox();
    void showFocus();
    QString captionText() const;

    Descriptions logic_;
    bool filling_ = false;
    bool centred_ = false;
    QComboBox* cmbTekiyou;
    QLineEdit* txtTekiyou;
    QRadioButton* optTouroku;
    QRadioButton* optTeisei;
    QRadioButton* optDelete;
    QPushButton* cmdTouroku;
    QPushButton* cmdCancel;
    QPushButton* cmdHyouji;
    QPushButton* cmdInsatu;
    QPushButton* cmdBack;
    QLabel* lblReadMe1;
    QLabel* lblReadMe2;
};
