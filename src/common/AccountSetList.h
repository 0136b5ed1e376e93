#pragma once

#include <QList>
#include <QString>

// One entry of the main window's account-set list: the company name, and the set's number as
// item data ("07" is 7).
struct AccountSetEntry {
    QString text;
    int itemData = 0;
};

// The main window's account-set list as other screens use it. Selecting an entry makes that set
// current, exactly as the user's choice in the list does.
class AccountSetList {
  public:
    virtual ~AccountSetList() = default;
    // The entries in list order (sorted by set number).
    virtual QList<AccountSetEntry> accountSets() const = 0;
    // The text shown for the current set.
    virtual QString currentAccountSetText() const = 0;
    // Adds an entry for a new set and selects it.
    virtual void addAccountSet(const QString& company, int itemData) = 0;
    // Removes the entry of a deleted set and selects the first entry.
    virtual void removeAccountSet(int itemData) = 0;
};
