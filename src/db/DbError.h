#pragma once

#include <QString>
#include <exception>

// A failure of the database engine: its own error number and description. Thrown by the database
// layer; every named routine catches it at its boundary and reports it.
class DbError : public std::exception {
  public:
    DbError(int number, QString description)
        : number_(number), description_(std::move(description)), what_(description_.toUtf8()) {}

    int number() const { return number_; }
    const QString& description() const { return description_; }
    const char* what() const noexcept override { return what_.constData(); }

    // Numbers for failures the program detects itself rather than the engine.
    static constexpr int kInvalidValue = 13;     // a value that cannot go into its column
    static constexpr int kNotOpen = 3704;        // no open connection
    static constexpr int kTransaction = 3246;    // transaction begun twice, or none to end
    static constexpr int kInUse = 3045;          // the file is held by another copy of the program
    static constexpr int kUnrecognized = 3049;   // not one of our files, or a damaged one
    static constexpr int kNewerVersion = 3343;   // made by a newer program, left as it is
    static constexpr int kUpgradeFailed = 3344;  // an older file not brought up to date

  private:
    int number_;
    QString description_;
    QByteArray what_;
};
