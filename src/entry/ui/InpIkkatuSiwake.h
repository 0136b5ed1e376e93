#pragma once

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

#include "entry/JournalPatterns.h"

// The journal-pattern screen: registers, corrects and deletes the debit/credit account pairs
// that the daily entry screen offers, each with a name and a default description.
class InpIkkatuSiwake : public QWidget, private JournalPatternsHost {
    Q_OBJECT
  public:
    explicit InpIkkatuSiwake(QWidget* parent = nullptr);

    JournalPatterns& logic() { return logic_; }
    // Shows the state of the logic in the controls.
    void refresh();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void setFocusTo(const QString& control) override;
    // Takes what was typed into the boxes over into the logic.
    void collect();
    // Runs a handler of the logic on the current input and shows the result.
    template <typename Handler>
    void run(Handler handler);
    // Typing that completes a box to one of its items counts as choosing that item.
    void editTextChanged(QComboBox* box, const QString& text);
    void fillLists();
    void buildLayout();
    QString captionText() const;

    JournalPatterns logic_;
    bool filling_ = false;
    bool running_ = false;
    QComboBox* cmbKarikata;
    QComboBox* cmbKasikata;
    QLineEdit* txtIkkatuSiwake;
    QLineEdit* txtTekiyou;
    QComboBox* cmbTekiyou;
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
