#pragma once

#include <gtest/gtest.h>
#include <QTemporaryDir>

#include "support/QtPrinters.h"
#include "support/RecordingMessages.h"

// A fresh copy of the shipped database in a temporary program folder, opened on the global
// connection, with today fixed and message boxes recorded.
class DatabaseTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Runs a statement on the global connection; fails the test on error.
    void exec(const QString& sql, const QVariantList& params = {});
    // The first column of the first row as text ("" when there is no row).
    QString value(const QString& sql, const QVariantList& params = {});
    qint64 count(const QString& sql, const QVariantList& params = {});
    // All rows of a query, each row's columns joined by "|"; columns from firstAmount on are
    // amounts, shown in their plain decimal form ("1000.5").
    QStringList rows(const QString& sql, const QVariantList& params = {}, int firstAmount = -1);

    QTemporaryDir folder;
    RecordingMessages messages;
};
