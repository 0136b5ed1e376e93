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
    amount = *parsed;
    return true;
}
