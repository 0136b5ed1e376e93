#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include "common/Money.h"

enum class EntryGrid { Income, Expense };

// Columns of the transfer grid as the user sees them (the row header is column 0).
enum TransferColumn {
    kPatternColumn = 1,
    kDebitColumn = 2,
    kCreditColumn = 3,
    kDebitSubColumn = 4,
    kCreditSubColumn = 5,
    kAmountColumn = 6,
    kDescriptionColumn = 7,
};

// One account of the income or expense grid and what was typed for it on the day shown.
struct SimpleEntryRow {
    QString KANNAME;
    Money amount;
    QString description;
    QString KOCODE;
    QString KMCODE;
    QString TECODE;
    QString AICODE;
    QString TAIKBN;
};

// One free journal line of the transfer grid. Account cells hold "KMCODE KANNAME", subsidiary
// cells "HOCODE HONAME"; the lists are the subsidiaries the account offers (empty: none).
struct TransferEntryRow {
    QString pattern;
    QString debit;
    QString credit;
    QString debitSub;
    QString creditSub;
    Money amount;
    QString description;
    QString debitKocode;
    QString creditKocode;
    QStringList debitSubList;
    QStringList creditSubList;
};

struct DayTotals {
    Money income;
    Money expense;
    Money received;
    Money paid;
    Money profit;
    Money closing;
};

// The working chart and the set's subsidiaries, read once per load so that recomputing the
// totals and filling cells ask the database nothing.
class EntryChart {
  public:
    struct Account {
        QString KOCODE;
        QString KMCODE;
        QString KANNAME;
        QString TAIKBN;
        bool hasSubsidiaries = false;
        bool income = false;
        bool expense = false;
    };
    struct Subsidiary {
        QString HOKOCODE;
        QString HOCODE;
        QString HONAME;
    };

    // Throws DbError.
    void load(const QString& cid);

    const Account* byKocode(const QString& kocode) const;
    // return_KanjoKoCode: "" when no account has that number and name.
    QString return_KanjoKoCode(const QString& kmcode, const QString& kanname) const;
    // return_KanjoKMCode.
    QString return_KanjoKMCode(const QString& kocode) const;
    // The name of the first account with that number; false when no account has it.
    bool nameOfNumber(const QString& kmcode, QString& kanname) const;
    // "KMCODE KANNAME" of an account, "" for an unknown key.
    QString accountText(const QString& kocode) const;
    // The subsidiary list of an account cell's text; empty when it has none.
    QStringList subsidiaryList(const QString& accountText) const;
    // "HOCODE HONAME" of one subsidiary of an account, "" when there is none.
    QString subsidiaryText(const QString& kocode, const QString& hokocode) const;
    // The HOKOCODE behind a subsidiary number of an account, "" when none.
    QString subsidiaryKey(const QString& kocode, const QString& hocode) const;

    // kingaku_keisan: adds one side of a transfer line to income and expense when the account
    // belongs to the income or expense accounts; false when it belongs to neither.
    bool kingaku_keisan(const QString& kocode, Money amount, bool debitSide, Money& income,
                        Money& expense) const;

  private:
    QHash<QString, Account> accounts_;
    QHash<QString, QString> byNumberAndName_;
    QHash<QString, QString> nameByNumber_;
    QHash<QString, QList<Subsidiary>> subsidiaries_;
};

// set_day_gokei: the six totals of a day from its grids.
DayTotals dayTotals(const EntryChart& chart, const QString& cashKocode, Money previousBalance,
                    const QList<SimpleEntryRow>& income, const QList<SimpleEntryRow>& expense,
                    const QList<TransferEntryRow>& transfer);
