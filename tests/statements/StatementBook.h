#pragma once

#include <map>

#include "master/CurrentAccountSet.h"
#include "statements/StatementLines.h"
#include "totals/TotalsBook.h"

// A small trading book on set 01 (2024/04-2025/03) that reaches most kinds of statement line:
// contra accounts (081 depreciation, 141 capital returned), "of which" lines (086, 105, 356),
// revenue less returns, finance costs less interest income, taxes and appropriations.
class StatementBook : public TotalsBook {
  protected:
    void SetUp() override {
        TotalsBook::SetUp();
        // Debits 004 1000, 009 5000, 034 2000, 070 10000, 086 3000, 105 500, 141 400 = 21900;
        // credits 081 2000, 124 3000, 165 14000, 171 2900 = 21900.
        for (const auto& [kocode, balance] : {std::pair{"004", "1000"},
                                              {"009", "5000"},
                                              {"034", "2000"},
                                              {"070", "10000"},
                                              {"086", "3000"},
                                              {"105", "500"},
                                              {"141", "400"},
                                              {"081", "2000"},
                                              {"124", "3000"},
                                              {"165", "14000"},
                                              {"171", "2900"}}) {
            opening(kocode, balance);
        }
        line("2024/05/10", "004", "", "180", "", "3000");
        line("2024/06/05", "263", "", "009", "", "1200.5");
        line("2024/07/01", "186", "", "004", "", "100");
        line("2024/08/10", "009", "", "333", "", "300");
        line("2024/09/30", "278", "", "081", "", "500");
        line("2024/10/01", "283", "", "009", "", "50");
        line("2024/10/02", "009", "", "314", "", "20");
        line("2024/11/08", "327", "", "004", "", "200");
        line("2024/12/15", "347", "", "138", "", "90");
        line("2025/01/10", "141", "", "009", "", "100");
        line("2025/02/28", "301", "", "138", "", "150");
        line("2025/03/31", "355", "", "159", "", "100");
        line("2025/03/31", "356", "", "170", "", "40");
        ASSERT_TRUE(ResetCompanyData());
    }

    // Lines 1-88 of a work table's one row.
    StatementColumn workTable(const QString& table) {
        StatementColumn column{};
        const QList<QVariantList> rows =
            Database::global().selectAll(QStringLiteral("SELECT * FROM ") + table);
        EXPECT_EQ(rows.size(), 1) << table.toStdString();
        for (int line = 1; !rows.isEmpty() && line <= kStatementLines; ++line) {
            column.at(line) = Money::fromDb(rows.first().at(line - 1));
        }
        return column;
    }

    // Compares a column with the expected non-zero lines; every other line must be 0.
    static void expectLines(const StatementColumn& actual, const std::map<int, const char*>& lines,
                            const char* what) {
        for (int line = 1; line <= kStatementLines; ++line) {
            const auto found = lines.find(line);
            const Money expected = found == lines.end()
                                       ? Money()
                                       : Money::parse(QString::fromLatin1(found->second)).value();
            EXPECT_EQ(actual.at(line).toText(), expected.toText()) << what << " line " << line;
        }
    }
};
