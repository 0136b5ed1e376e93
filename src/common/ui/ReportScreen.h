#pragma once

#include <QPushButton>
#include <QString>
#include <QWidget>
#include <utility>
#include <vector>

// What the books menu's print screens share: buttons pressed by their letter keys without Shift,
// Ctrl or Alt (the form sees the keys before its controls do), centring on the first showing,
// the caption with company and period, the busy pointer, and the books menu shown again when the
// screen closes. Each opening starts from a fresh load, as the closed form is unloaded.
class ReportScreen : public QWidget {
    Q_OBJECT
  public:
    ReportScreen(const QString& form, const QString& title, QWidget* parent = nullptr);

    // The busy pointer on (true) or off, for the logic's busy handler.
    static void showBusy(bool busy);

  protected:
    QPushButton* makeButton(const QString& name, const QString& caption);
    // The letter keys and their buttons; controls that see the keys first hand them to the form.
    void setKeyButtons(std::vector<std::pair<int, QPushButton*>> keys,
                       const QList<QWidget*>& controls);

    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    // True when the key was one of the buttons'.
    bool pressButtonOfKey(const QKeyEvent* event);

    QString title_;
    bool centred_ = false;
    std::vector<std::pair<int, QPushButton*>> keys_;
};
