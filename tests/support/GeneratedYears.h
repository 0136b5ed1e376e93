#pragma once

#include <gtest/gtest.h>
#include <QDate>
#include <QString>
#include <QStringList>
#include <algorithm>

#include "generator/BookGenerator.h"

// A generated book on set cid (see BookSpec); fails the test when the generator refuses.
inline void generateYear(const QString& cid, const QDate& start, int days, int linesPerDay,
                         quint32 seed) {
    QString error;
    ASSERT_TRUE(generateBook({cid, start, days, linesPerDay, seed}, &error)) << error.toStdString();
}

// The set a writer of another set must leave unchanged: a book on it of the same shape
// (same voucher codes, days and accounts, other amounts) is made first.
inline const QString kOtherGeneratedSet = QStringLiteral("52");

// A generated book on set cid beside one of the same shape on kOtherGeneratedSet.
inline void generateTwoSets(const QString& cid, const QDate& start, int days, int linesPerDay,
                            quint32 seed) {
    generateYear(kOtherGeneratedSet, start, days, linesPerDay, seed + 1);
    generateYear(cid, start, days, linesPerDay, seed);
}

// Success when both lists hold the same rows; otherwise the first row that differs.
inline ::testing::AssertionResult sameRows(const QStringList& actual, const QStringList& expected) {
    for (qsizetype i = 0; i < std::max(actual.size(), expected.size()); ++i) {
        if (actual.value(i) != expected.value(i)) {
            return ::testing::AssertionFailure()
                   << "row " << i + 1 << " of " << actual.size() << "/" << expected.size() << ": "
                   << actual.value(i).toStdString() << " expected "
                   << expected.value(i).toStdString();
        }
    }
    return ::testing::AssertionSuccess();
}
