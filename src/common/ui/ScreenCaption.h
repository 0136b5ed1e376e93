#pragma once

#include <QString>

// The company name as the main window shows it; the account set can change between showings.
QString mainWindowCompanyName();

// The caption of a book screen: company name, " — ", period, " — ", the screen's own title.
QString screenCaption(const QString& title);
