#pragma once

#include <QString>

// The password screen without widgets. One password guards the whole database file; it is kept
// in the rows 'P1' (first four characters) and 'P2' (the rest) of T_TUKISIMECHECK.
class PasswordLogic {
  public:
    // Login: opened by the main window to let the user in. Set and Change: opened from the
    // initial-settings menu, depending on whether a password is stored.
    enum class Mode { Login, Set, Change };

    // The stored password ("" when none is set); throws DbError.
    static QString storedPassword();

    // Form load: decides the mode from the screen that opened it (the main window asks to log
    // in) and the stored password, empties the fields.
    void load(const QString& caller);
    // Compares the entered password (login) or the current one (settings) with the stored one.
    bool check_password();
    // Form unload: trims the fields, checks, and in settings use saves the new password when the
    // confirmation matches. True when the check passed.
    bool Form_Unload();

    Mode mode() const { return mode_; }
    bool loginUse() const { return mode_ == Mode::Login; }
    // Caption of the form and of lblTital.
    QString caption() const;
    // Labels of txtPassword0, txtPassword1 and txtPassword2.
    static QString label0() { return QStringLiteral("现在的密码"); }
    QString label1() const;
    QString label2() const;
    // txtPassword0 holds the current password only in change mode.
    bool txtPassword0Enabled() const { return mode_ == Mode::Change; }

    QString txtPassword0;
    QString txtPassword1;
    QString txtPassword2;

  private:
    void save(const QString& password);

    Mode mode_ = Mode::Login;
};
