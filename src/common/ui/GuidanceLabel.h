#pragma once

#include <QLabel>

// The framed guidance text (lblReadMe) that many screens show; text lines may be joined by CR LF.
QLabel* makeGuidanceLabel(const QString& text, QWidget* parent);
