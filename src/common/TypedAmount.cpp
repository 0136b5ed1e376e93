#include "common/TypedAmount.h"

#include "common/Messages.h"

bool readTypedAmount(const QString& text, Money& amount) {
    if (text.trimmed().isEmpty()) {
        amount = Money();
        return true;
    }
    const std::optional<Money> parsed = Money::parse(text);
    if (!parsed) {
        messages().exclamation(
            QStringLiteral("“%1”不是金额，请输入数字（例如 1234.56）。").arg(text));
        return false;
    }
    if (!typedToTheCent(text)) {
        messages().exclamation(belowTheCentText(text));
        return false;
    }
    amount = *parsed;
    return true;
}

bool typedToTheCent(const QString& text) {
    const QString trimmed = text.trimmed();
    const qsizetype point = trimmed.indexOf(u'.');
    if (point < 0) {
        return true;
    }
    qsizetype end = trimmed.size();
    while (end > point + 1 && trimmed.at(end - 1) == u'0') {
        --end;
    }
    return end - point - 1 <= 2;
}

QString belowTheCentText(const QString& text) {
    return QStringLiteral("“%1”超过两位小数。金额只能输入到分（例如 1234.56）。")
        .arg(text.trimmed());
}
