#pragma once

#include <gtest/gtest.h>
#include <QStringList>

#include "common/AccountSetList.h"
#include "common/Session.h"
#include "db/Database.h"
#include "db/RowWriters.h"
#include "master/CurrentAccountSet.h"

// Stands in for the main window's list: the sets of T_COMP_MAIN (or whatever entries a test
// puts in), recording every call. Adding or removing an entry switches the current set the way
// the main window does.
class FakeAccountSets : public AccountSetList {
  public:
    void reload() {
        entries.clear();
        RecordSet rs = Database::global().query(
            QStringLiteral("SELECT CID, COMPANY FROM T_COMP_MAIN ORDER BY CID"));
        for (; !rs.eof(); rs.moveNext()) {
            entries.append(
                {rs.text(QStringLiteral("COMPANY")), rs.text(QStringLiteral("CID")).toInt()});
        }
    }

    QList<AccountSetEntry> accountSets() const override { return entries; }
    QString currentAccountSetText() const override {
        for (const AccountSetEntry& e : entries) {
            if (e.itemData == session().CurrentCid.toInt()) {
                return e.text;
            }
        }
        return QString();
    }
    void addAccountSet(const QString& company, int itemData) override {
        calls.append(QStringLiteral("add %1 %2").arg(company).arg(itemData));
        qsizetype at = 0;
        while (at < entries.size() && entries.at(at).itemData < itemData) {
            ++at;
        }
        entries.insert(at, {company, itemData});
        switchTo(cidOf(itemData));
    }
    void removeAccountSet(int itemData) override {
        calls.append(QStringLiteral("remove %1").arg(itemData));
        entries.removeIf([itemData](const AccountSetEntry& e) { return e.itemData == itemData; });
        if (!entries.isEmpty()) {
            switchTo(cidOf(entries.first().itemData));
        }
    }

    static QString cidOf(int number) {
        return QStringLiteral("%1").arg(number, 2, 10, QLatin1Char('0'));
    }
    // Makes a set current as a choice in the main window's list does.
    static void switchTo(const QString& cid) {
        session().CurrentCid = cid;
        TransactionGuard transaction;
        bool ok = ResetCompanyData();
        if (ok) {
            change_kanjo_data(ok);
        }
        EXPECT_TRUE(ok) << cid.toStdString();
        if (ok) {
            transaction.commit();
        }
    }
    // A user set with a real period, written as a backup restore would.
    static void writeSet(const QString& cid, const QString& name, const QString& kisyu,
                         const QString& kimatu) {
        QStringList fields(27);
        fields[0] = cid;
        fields[1] = name;
        fields[12] = QStringLiteral("0");
        fields[13] = kisyu;
        fields[14] = kimatu;
        fields[15] = QStringLiteral("1");
        fields[17] = QStringLiteral("0");
        fields[18] = QStringLiteral("1");
        fields[21] = kisyu.left(7);
        fields[25] = QStringLiteral("004");
        EXPECT_TRUE(WriteCompanyTable(fields, QStringLiteral("T_COMP_MAIN"))) << cid.toStdString();
    }

    QList<AccountSetEntry> entries;
    QStringList calls;
};
