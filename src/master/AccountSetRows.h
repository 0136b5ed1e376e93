#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

class RecordSet;

// The values of the account-set screen, one per control.
struct AccountSetFields {
    // optTujo / optKichu: books kept from the start of a full year, or started mid-period.
    enum class Period { Tujo, Kichu };
    // optHojin / optKojin: corporation or individual.
    enum class Owner { Hojin, Kojin };
    // optRateNo / optRateYes.
    enum class RateUse { No, Yes };

    QString txtKaisyaName;
    QString txtKaisyaFurigana;
    QString txtYubin;
    QString txtTodohuken;
    QString txtJyusho1;
    QString txtJyusho2;
    QString txtTel;
    QString txtFax;
    QString txtDaihyoYakusyoku;
    QString txtDaihyoName;
    QString txtKaikeiNendo;
    // Dates as "yyyy/mm/dd" (the screen normalises what is typed when the box is left).
    QString txtKisyubi;
    QString txtKimatubi;
    QString txtSeturituNen;
    QString txtShihonkin;
    Period period = Period::Tujo;
    Owner owner = Owner::Hojin;
    RateUse rateUse = RateUse::No;
    double numRate = 0;
};

// Typed date text as a date; invalid when the text is empty or holds no date.
QDate accountSetDate(const QString& text);
// The last day of a full year from start: start + 1 year − 1 day.
QDate fullYearEnd(const QDate& start);
// "2024/04/01" gives "2024年04月01日".
QString periodText(const QString& date);

// The 27 values of a new T_COMP_MAIN row in table order, the derived columns included.
QStringList companyRowValues(const AccountSetFields& fields, const QString& cid);
// Writes the values over the stored row of cid. Throws DbError.
void updateCompanyRow(const AccountSetFields& fields, const QString& cid);
// The values of a stored T_COMP_MAIN row.
AccountSetFields companyRowFields(const RecordSet& row);
// Removes set cid from T_COMP_MAIN, from the session copy and from every table of its data.
// Throws DbError; the caller holds the transaction.
void deleteAccountSetRows(const QString& cid);
