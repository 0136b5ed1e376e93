#pragma once

#include <QString>

// The values every screen reads about the running program and the current account set. One
// process-wide instance, alive from start to end.
struct Session {
    // CurrentCid holds this marker until an account set is known.
    static const QString kNoAccountSetMarker;  // "没有"

    QString CurrentCid = kNoAccountSetMarker;
    QString PeriodLabel;
    QString CallerForm;
    // 0 normal; 1 opening the database failed; 2 start-up or password check failed.
    qint16 RunState = 0;
    bool CurrentYearLoaded = true;
    // Folder of the program file, always ending in "/".
    QString AppFolder;
    // Voucher range of the daily entry screen.
    QString MinDencode;
    QString MaxDencode;

    static Session& current();
    // Back to the values of a fresh start (the program folder is kept).
    void reset();
};

inline Session& session() {
    return Session::current();
}
