#include "common/ui/GuidanceLabel.h"

#include "common/Messages.h"

QLabel* makeGuidanceLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(QString(text).replace(Messages::kCrLf, QStringLiteral("\n")), parent);
    label->setObjectName(QStringLiteral("lblReadMe"));
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setFrameShape(QFrame::StyledPanel);
    label->setMargin(8);
    label->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    return label;
}
