#pragma once

#include <QList>
#include <QObject>

class QWidget;

// Enter moves the focus to the next control and Escape to the previous one, as on every entry
// screen of the program.
class FocusKeys : public QObject {
    Q_OBJECT
  public:
    // Watches the given boxes; the filter belongs to owner.
    static void install(QWidget* owner, const QList<QWidget*>& boxes);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    explicit FocusKeys(QObject* parent) : QObject(parent) {}
};
