#pragma once

#include <QList>
#include <QString>

// One entry of the description list: the text shown and the description's number ("003" is 3).
struct DescriptionItem {
    QString text;
    int number = 0;
};

// The description screen's state and routines, without widgets. Every change goes to the work
// table WK_TEKIYO and the list; leaving the screen writes the work table back over the current
// set's descriptions.
class Descriptions {
  public:
    enum class Mode { Touroku, Teisei, Delete };
    // Longest description, in characters.
    static constexpr int kMaxLength = 20;

    static QString readMe1();
    static QString readMe2();

    // Form load: register mode, msFormInit, then cleared inputs; false after a reported error.
    bool Form_Load();
    // Copies the set's descriptions into the work table and fills the list from it.
    bool msFormInit();
    // Replaces the set's descriptions by the work table, in one transaction. Does nothing when
    // the opening failed, so that a half-filled work table never reaches the set.
    bool msLeaveForm();

    // The number a new description gets: the lowest free one, as "0##".
    QString nextNumber() const;
    // Validates and carries out the chosen mode; true when the change was made.
    bool cmdTouroku_Click();
    // Empties the inputs; the text box is locked except in register mode.
    void clearInputs();
    void setMode(Mode mode);

    // The user picked list entry index.
    void chooseItem(int index);
    // The list's text as the user left it (typed or completed).
    void setListText(const QString& text);
    // The text box as the user typed it; ignored while it is locked.
    void setText(const QString& text);

    // Preview and print of the description list.
    bool cmdHyouji_Click();
    void cmdInsatu_Click();

    const QList<DescriptionItem>& items() const { return items_; }
    Mode mode() const { return mode_; }
    const QString& listText() const { return listText_; }
    // The entry the list's text stands for; -1 when none.
    int chosenIndex() const { return chosen_; }
    const QString& text() const { return text_; }
    bool textLocked() const { return textLocked_; }
    bool loaded() const { return loaded_; }

  private:
    bool printList(int mode);
    // The entry the list's text names, preferring the one picked; -1 when the text names none.
    int itemForListText() const;
    // Shows the validation message and returns false when the inputs do not allow the mode.
    bool validate(int& index) const;
    static bool fitsLength(const QString& text);

    QList<DescriptionItem> items_;
    Mode mode_ = Mode::Touroku;
    QString listText_;
    int chosen_ = -1;
    QString text_;
    bool textLocked_ = false;
    bool loaded_ = false;
};
