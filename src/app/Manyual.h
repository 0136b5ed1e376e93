#pragma once

#include <QLabel>
#include <QPushButton>
#include <QWidget>

// The manual viewer, opened from the daily entry screen.
class Manyual : public QWidget {
    Q_OBJECT
  public:
    explicit Manyual(QWidget* parent = nullptr);

    static QString manualText();

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    QLabel* Image1;
    QPushButton* cmdBack;
};
