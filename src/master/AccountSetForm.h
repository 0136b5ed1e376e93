#pragma once

#include <QString>
#include <array>

#include "common/AccountSetList.h"
#include "master/AccountSetRows.h"

// The account-set screen without widgets: creates a new set (opened from the main window) or shows,
// changes and deletes the current one. The controls' values live in `fields`; the screen copies
// its controls into them and shows them again after every routine.
class AccountSetForm {
  public:
    // The controls that can take the focus after a refusal, by their objectNames.
    enum class Field {
        None,
        txtKaisyaName,
        txtKaisyaFurigana,
        txtYubin,
        txtTodohuken,
        txtJyusho1,
        txtJyusho2,
        txtTel,
        txtFax,
        txtDaihyoYakusyoku,
        txtDaihyoName,
        txtKaikeiNendo,
        txtKisyubi,
        txtKimatubi,
        txtSeturituNen,
        txtShihonkin,
        numRate,
    };
    using Fields = AccountSetFields;
    using Period = AccountSetFields::Period;
    using Owner = AccountSetFields::Owner;
    using RateUse = AccountSetFields::RateUse;
    // What cmdDelete_Click left behind.
    enum class DeleteResult { NotDeleted, Reloaded, Closed };

    explicit AccountSetForm(AccountSetList& accountSets) : list_(accountSets) {}

    static QString objectName(Field field);
    // The captions of the four labels (name, full name, representative, title) per owner kind.
    static std::array<QString, 4> labelCaptions(Owner owner);

    // Form load: a new set when the caller is the main window, otherwise the current set.
    void Form_Load(const QString& caller);
    bool set_data_to_form();
    // The new-set preparation: refuses at 99 sets, otherwise clears every input box.
    bool kaisha_num_check();
    // Leaving txtKisyubi: proposes or corrects the end date.
    void txtKisyubi_LostFocus();
    // Checks the fields, then creates or updates the set; false when nothing was saved.
    bool cmdTouroku_Click();
    bool validate();
    bool update_data();
    // Discards the edits and shows the stored values again.
    void cmdCancel_Click();
    DeleteResult cmdDelete_Click();
    void cmdQuestion1_Click();
    // Form unload: a moved start date removes the set's days; then the session is refreshed.
    bool unload_form();

    // Any input box or option changed by the user.
    void markEdited() { editPending_ = true; }
    void setOwner(Owner owner);
    void clearInputs();

    std::array<QString, 4> labelCaptions() const { return labelCaptions(fields.owner); }
    bool newSet() const { return newSet_; }
    bool editPending() const { return editPending_; }
    // txtKisyubi, txtKimatubi, optTujo and optKichu: locked once the set has day balances.
    bool periodLocked() const { return periodLocked_; }
    bool deleteEnabled() const { return !newSet_; }
    // Where the focus goes after the last refusal; None when nothing asked for it.
    Field focusField() const { return focusField_; }

    Fields fields;

  private:
    bool refuse(const QString& text, Field field);
    bool createAccountSet();
    // The number of the next new set (51-99), or 100 when all are taken.
    int nextAccountSetNumber() const;
    bool readPeriodLock();

    AccountSetList& list_;
    bool newSet_ = false;
    bool editPending_ = false;
    bool periodLocked_ = false;
    Field focusField_ = Field::None;
};
