#include "statements/FormMapping.h"

#include <QRegularExpression>
#include <algorithm>
#include <map>

#include "db/Database.h"

namespace {

bool isKey(const QString& text) {
    static const QRegularExpression key(QStringLiteral("^[0-9]{3}$"));
    return key.match(text).hasMatch();
}

}  // namespace

std::optional<FormMapping> FormMapping::parse(const QString& form, const QList<FormLineRow>& rows,
                                              const QStringList& chartKeys,
                                              const QStringList& postingKeys, QString* error) {
    const auto refuse = [&](int line, const QString& what) -> std::optional<FormMapping> {
        if (error) {
            *error = QStringLiteral("%1 第%2行：%3").arg(form).arg(line).arg(what);
        }
        return std::nullopt;
    };
    std::map<int, const FormLineRow*> byLine;
    for (const FormLineRow& row : rows) {
        if (row.line < 1 || row.line > kMaxLines) {
            return refuse(row.line, QStringLiteral("行号应在 1 到 %1 之间。").arg(kMaxLines));
        }
        if (!byLine.emplace(row.line, &row).second) {
            return refuse(row.line, QStringLiteral("行号重复。"));
        }
    }
    FormMapping mapping;
    for (const auto& [number, row] : byLine) {
        Line line{number, {}, {}};
        for (QString item : row->accounts.split(u',', Qt::SkipEmptyParts)) {
            item = item.trimmed();
            const int sign = item.startsWith(u'-') ? -1 : 1;
            const QString keys = sign < 0 ? item.mid(1).trimmed() : item;
            const QStringList ends = keys.split(u'-');
            if (ends.size() > 2 || !isKey(ends.first()) || !isKey(ends.last())) {
                return refuse(number, QStringLiteral("科目“%1”的写法错误。").arg(item));
            }
            if (ends.size() == 1) {
                if (!chartKeys.contains(keys)) {
                    return refuse(number, QStringLiteral("科目“%1”不在科目表中。").arg(keys));
                }
                line.accounts.append({sign, keys});
                continue;
            }
            if (ends.first() > ends.last()) {
                return refuse(number, QStringLiteral("科目范围“%1”的首尾颠倒。").arg(keys));
            }
            for (const QString& key : postingKeys) {
                if (key >= ends.first() && key <= ends.last()) {
                    line.accounts.append({sign, key});
                }
            }
        }
        static const QRegularExpression term(QStringLiteral("\\s*([+-])\\s*([0-9]+)\\s*"));
        const QString formula = row->formula.trimmed();
        qsizetype at = 0;
        while (at < formula.size()) {
            const QRegularExpressionMatch match =
                term.match(formula, at, QRegularExpression::NormalMatch,
                           QRegularExpression::AnchorAtOffsetMatchOption);
            if (!match.hasMatch()) {
                return refuse(number, QStringLiteral("公式“%1”的写法错误。").arg(formula));
            }
            const int lower = match.captured(2).toInt();
            if (lower >= number || byLine.count(lower) == 0) {
                return refuse(number, QStringLiteral("公式“%1”只能引用本表前面的行，没有第%2行。")
                                          .arg(formula)
                                          .arg(lower));
            }
            line.formula.append({match.captured(1) == u"-" ? -1 : 1, lower});
            at = match.capturedEnd();
        }
        mapping.lines_.push_back(std::move(line));
    }
    return mapping;
}

std::optional<FormMapping> FormMapping::load(const QString& form, QString* error) {
    Database& db = Database::global();
    QList<FormLineRow> rows;
    for (const QVariantList& row :
         db.selectAll(QStringLiteral("SELECT LINE, ACCOUNTS, FORMULA FROM MT_FORMLINE WHERE "
                                     "FORM = ? ORDER BY LINE"),
                      {form})) {
        rows.append({row.at(0).toInt(), row.at(1).toString(), row.at(2).toString()});
    }
    QStringList chart;
    QStringList posting;
    for (const QVariantList& row :
         db.selectAll(QStringLiteral("SELECT KOCODE, SYORIKBN FROM T_KANJO ORDER BY KOCODE"))) {
        chart.append(row.at(0).toString());
        if (row.at(1).toString() == u"0") {
            posting.append(row.at(0).toString());
        }
    }
    if (rows.isEmpty()) {
        if (error) {
            *error = QStringLiteral("%1 没有设置任何行。").arg(form);
        }
        return std::nullopt;
    }
    return parse(form, rows, chart, posting, error);
}

std::vector<Money> FormMapping::evaluate(const QHash<QString, Money>& balances) const {
    std::vector<Money> values(kMaxLines + 1);
    for (const Line& line : lines_) {
        Money value;
        for (const auto& [sign, key] : line.accounts) {
            const Money balance = balances.value(key);
            value += sign < 0 ? -balance : balance;
        }
        for (const auto& [sign, lower] : line.formula) {
            value += sign < 0 ? -values[lower] : values[lower];
        }
        values[line.number] = value;
    }
    return values;
}

QHash<QString, int> FormMapping::weights(int number) const {
    std::vector<QHash<QString, int>> byLine(kMaxLines + 1);
    for (const Line& line : lines_) {
        QHash<QString, int>& own = byLine[line.number];
        for (const auto& [sign, key] : line.accounts) {
            own[key] += sign;
        }
        for (const auto& [sign, lower] : line.formula) {
            for (auto it = byLine[lower].cbegin(); it != byLine[lower].cend(); ++it) {
                own[it.key()] += sign * it.value();
            }
        }
    }
    return number >= 0 && number <= kMaxLines ? byLine[number] : QHash<QString, int>();
}
