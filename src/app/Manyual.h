#pragma once

#include <QPushButton>
#include <QTextBrowser>
#include <QWidget>

// The manual viewer: the manual's pages (Markdown with the pictures the build makes), opened from
// the daily entry screen or from a screen's help box on that screen's page.
class Manyual : public QWidget {
    Q_OBJECT
  public:
    explicit Manyual(QWidget* parent = nullptr);

    // The manual's folder: beside the program (a build folder) or where it is installed; empty
    // when neither has it.
    static QString findFolder(const QString& programDir);
    // The folders findFolder tries, in order.
    static QStringList candidateFolders(const QString& programDir);
    // Where the viewer looks from; the program's folder unless a test says otherwise.
    static void setProgramDir(const QString& dir);

    // Shows a page by name ("daily-entry" for daily-entry.md; the index when empty). False when
    // the manual or the page is missing: the window then says so instead.
    bool openPage(const QString& page);
    // The name of the page shown ("" when none).
    QString currentPage() const;

    // Opens the viewer on a page from a screen's help box; the screen stays open behind it.
    static void showHelp(const QString& page);

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void showMissing(const QString& what);

    QTextBrowser* Image1;
    QPushButton* cmdIndex;
    QPushButton* cmdPrevious;
    QPushButton* cmdBack;
    bool fromHelp_ = false;
};
