#pragma once

#include <QLabel>
#include <QList>
#include <QPushButton>
#include <QStringList>
#include <QWidget>

// One button of a menu: the screen it opens, and the CallerForm it sets first ("" = leave it).
struct MenuButton {
    QString name;
    QString caption;
    QString toolTip;
    QString form;
    QString callerForm;
};

// What the three menus below the main window share: a column of buttons that each open one
// screen, a back button to the main window and a guidance text. The caption carries the period
// and the company of the current account set.
class MenuWindow : public QWidget {
    Q_OBJECT
  public:
    MenuWindow(const QString& form, const QString& title, const QStringList& readMe,
               const QList<MenuButton>& buttons);

    // The title followed by the period label and the company name shown by the main window.
    QString captionText() const;

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void openTarget(const MenuButton& button);

    QString title_;
    QLabel* lblReadMe;
    QPushButton* cmdBack;
};
