#pragma once

#include <QComboBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSignalBlocker>
#include <QString>
#include <QWidget>
#include <functional>
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

    // Shows a list's entries (anything with a text) with index chosen; -1 shows no text.
    template <typename Entry>
    static void showEntries(QComboBox* box, const QList<Entry>& entries, int index) {
        const QSignalBlocker block(box);
        if (box->count() != entries.size()) {
            box->clear();
            for (const Entry& entry : entries) {
                box->addItem(entry.text);
            }
        }
        box->setCurrentIndex(index);
    }

  protected:
    QPushButton* makeButton(const QString& name, const QString& caption);
    // The statements' buttons 打印预览(R), 打印(P), 帮助 and 返回(X) in a row, their letter keys
    // set (controls also hand the keys to the form); 返回 closes the screen, the others call
    // the handlers with the mode (0 preview, 1 print) or for help.
    QHBoxLayout* makeStatementButtons(const std::function<void(int)>& print,
                                      const std::function<void()>& help,
                                      const QList<QWidget*>& controls);
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
