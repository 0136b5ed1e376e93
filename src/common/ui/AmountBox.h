#pragma once

#include <QLineEdit>

// A read-only, right-aligned box for a computed amount (a total), skipped by the focus chain.
QLineEdit* makeAmountBox(const QString& name, QWidget* parent);
