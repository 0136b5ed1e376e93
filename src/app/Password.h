#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "session/PasswordLogic.h"

// Sets or changes the password (opened from the initial-settings menu), or asks for it at
// start-up (login use). All the work is done when the form unloads.
class Password : public QDialog {
    Q_OBJECT
  public:
    explicit Password(QWidget* parent = nullptr);

    PasswordLogic& logic() { return logic_; }
    // True when the last unload's check passed.
    bool passed() const { return passed_; }

  public slots:
    void reject() override;

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Form_Load();
    void Form_Activate();
    // Runs the check and save once per showing, then hides the form and shows its caller.
    void unloadForm();

    PasswordLogic logic_;
    bool loaded_ = false;
    bool passed_ = false;
    QLabel* lblTital;
    QLabel* lblPassword0;
    QLabel* lblPassword1;
    QLabel* lblPassword2;
    QLineEdit* txtPassword0;
    QLineEdit* txtPassword1;
    QLineEdit* txtPassword2;
    QPushButton* cmdOk;
};

// Asks for the password before the main window can be used. False when the program must end
// (RunState is then 2).
bool askLoginPassword(QWidget* parent);
