#include "entry/Descriptions.h"

#include <QStringList>
#include <algorithm>
#include <optional>

#include "common/Messages.h"
#include "common/Session.h"
#include "db/Database.h"
#include "db/ErrorReport.h"
#include "print/PrintAccessReport.h"

namespace {

QString numberText(int number) {
    return QStringLiteral("%1").arg(number, 3, 10, QLatin1Char('0'));
}

QString withoutLeadingBlanks(const QString& text) {
    qsizetype start = 0;
    while (start < text.size() && text.at(start).isSpace()) {
        ++start;
    }
    return text.mid(start);
}

void refuseEmpty() {
    messages().exclamation(QStringLiteral("请输入摘要名称。"));
}

}  // namespace

QString Descriptions::readMe1() {
    return QStringList{
        QStringLiteral("当点击“▼”的时候，光标既移至录入位置范围外。"),
        QStringLiteral("所以当录入摘要名称时，一定要先将光标移至录入框范围内再进行录入。")}
        .join(Messages::kCrLf);
}

QString Descriptions::readMe2() {
    return QStringLiteral("摘要名称在全角20个字以内。");
}

bool Descriptions::Form_Load() {
    mode_ = Mode::Touroku;
    loaded_ = msFormInit();
    if (loaded_) {
        clearInputs();
    }
    return loaded_;
}

bool Descriptions::msFormInit() {
    items_.clear();
    clearInputs();
    Database& db = Database::global();
    try {
        {
            // Inside a caller's transaction (the command-line tool) the copy joins it.
            std::optional<TransactionGuard> transaction;
            if (!db.inTransaction()) {
                transaction.emplace(db);
            }
            db.execute(QStringLiteral("DELETE FROM WK_TEKIYO"));
            db.execute(QStringLiteral("INSERT INTO WK_TEKIYO SELECT * FROM T_TEKIYO WHERE CID = ?"),
                       {session().CurrentCid});
            if (transaction) {
                transaction->commit();
            }
        }
        RecordSet rs =
            db.query(QStringLiteral("SELECT TEKINO,TENAME FROM WK_TEKIYO ORDER BY TEKINO"));
        for (; !rs.eof(); rs.moveNext()) {
            items_.append({rs.text(QStringLiteral("TENAME")),
                           static_cast<int>(rs.number(QStringLiteral("TEKINO")))});
        }
        return true;
    } catch (const DbError& error) {
        items_.clear();
        reportError(error, QStringLiteral("msFormInit"));
        return false;
    }
}

bool Descriptions::msLeaveForm() {
    if (!loaded_) {
        return true;
    }
    Database& db = Database::global();
    try {
        TransactionGuard transaction(db);
        db.execute(QStringLiteral("DELETE FROM T_TEKIYO WHERE CID = ?"), {session().CurrentCid});
        // The work table holds only the current set's rows since the opening.
        db.execute(QStringLiteral("INSERT INTO T_TEKIYO SELECT * FROM WK_TEKIYO ORDER BY TEKINO"));
        transaction.commit();
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("msLeaveForm"));
        return false;
    }
    loaded_ = false;
    return true;
}

QString Descriptions::nextNumber() const {
    const int count = static_cast<int>(items_.size());
    for (int candidate = 1; candidate <= count; ++candidate) {
        const bool taken = std::any_of(items_.cbegin(), items_.cend(), [candidate](const auto& i) {
            return i.number == candidate;
        });
        if (!taken) {
            return numberText(candidate);
        }
    }
    return numberText(count + 1);
}

int Descriptions::itemForListText() const {
    if (chosen_ >= 0 && chosen_ < items_.size() && items_.at(chosen_).text == listText_) {
        return chosen_;
    }
    for (int i = 0; i < items_.size(); ++i) {
        if (items_.at(i).text == listText_) {
            return i;
        }
    }
    return -1;
}

bool Descriptions::fitsLength(const QString& text) {
    if (text.size() <= kMaxLength) {
        return true;
    }
    messages().exclamation(QStringLiteral("摘要名称要求在全角20个字以内。"));
    return false;
}

bool Descriptions::validate(int& index) const {
    index = itemForListText();
    const bool textMissing = text_.trimmed().isEmpty();
    const bool itemMissing = index < 0;
    bool ok = true;
    switch (mode_) {
        case Mode::Touroku:
            ok = !textMissing;
            break;
        case Mode::Teisei:
            ok = !textMissing && !itemMissing;
            break;
        case Mode::Delete:
            ok = !itemMissing;
            break;
    }
    if (!ok) {
        refuseEmpty();
    }
    return ok;
}

bool Descriptions::cmdTouroku_Click() {
    int index = -1;
    if (!validate(index)) {
        return false;
    }
    const QString cid = session().CurrentCid;
    Database& db = Database::global();
    try {
        switch (mode_) {
            case Mode::Touroku: {
                const QString name = withoutLeadingBlanks(text_);
                if (!fitsLength(name)) {
                    return false;
                }
                const QString number = nextNumber();
                db.execute(
                    QStringLiteral("INSERT INTO WK_TEKIYO (CID, TEKINO, TENAME) VALUES (?, ?, ?)"),
                    {cid, number, name});
                items_.append({name, number.toInt()});
                break;
            }
            case Mode::Teisei: {
                const QString name = text_.trimmed();
                if (!fitsLength(name)) {
                    return false;
                }
                db.execute(QStringLiteral("UPDATE WK_TEKIYO SET TENAME = ? "
                                          "WHERE CID = ? AND TEKINO = ?"),
                           {name, cid, numberText(items_.at(index).number)});
                items_[index].text = name;
                break;
            }
            case Mode::Delete:
                db.execute(QStringLiteral("DELETE FROM WK_TEKIYO WHERE CID = ? AND TEKINO = ?"),
                           {cid, numberText(items_.at(index).number)});
                items_.removeAt(index);
                break;
        }
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("cmdTouroku_Click"));
        return false;
    }
    clearInputs();
    return true;
}

void Descriptions::clearInputs() {
    listText_.clear();
    chosen_ = -1;
    text_.clear();
    textLocked_ = mode_ != Mode::Touroku;
}

void Descriptions::setMode(Mode mode) {
    mode_ = mode;
    clearInputs();
}

void Descriptions::chooseItem(int index) {
    if (index < 0 || index >= items_.size()) {
        return;
    }
    chosen_ = index;
    listText_ = items_.at(index).text;
    if (mode_ == Mode::Touroku) {
        return;
    }
    text_ = listText_;
    textLocked_ = mode_ == Mode::Delete;
}

void Descriptions::setListText(const QString& text) {
    if (text == listText_) {
        return;
    }
    listText_ = text;
    if (text.isEmpty()) {
        chosen_ = -1;
        text_.clear();
        return;
    }
    const int index = itemForListText();
    if (index >= 0) {
        chooseItem(index);
    } else {
        chosen_ = -1;
    }
}

void Descriptions::setText(const QString& text) {
    if (!textLocked_) {
        text_ = text;
    }
}

bool Descriptions::cmdHyouji_Click() {
    try {
        RecordSet rs = Database::global().query(QStringLiteral("SELECT CID FROM WK_TEKIYO"));
        if (rs.eof()) {
            messages().exclamation(QStringLiteral("没有符合条件的数据。"));
            return false;
        }
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("cmdHyouji_Click"));
        return false;
    }
    return printList(0);
}

void Descriptions::cmdInsatu_Click() {
    printList(1);
}

bool Descriptions::printList(int mode) {
    return PrintAccessReport(session().AppFolder + QStringLiteral("Kaikei.mdb"),
                             QStringLiteral("R_TEKIYO"), mode);
}
