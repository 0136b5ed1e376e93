#pragma once

#include <QLabel>
#include <QProgressBar>
#include <QWidget>

// The progress window shown while the program starts.
class frmOpenscr : public QWidget {
    Q_OBJECT
  public:
    explicit frmOpenscr(QWidget* parent = nullptr);
    void setStep(int value, const QString& status);

  private:
    QProgressBar* Progress;
    QLabel* Status;
};
