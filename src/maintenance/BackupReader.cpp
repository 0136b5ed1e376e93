#include "maintenance/BackupReader.h"

#include <iconv.h>

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <cerrno>
#include <optional>

#include "common/Session.h"
#include "db/Database.h"
#include "db/ErrorReport.h"
#include "db/RowWriters.h"

namespace {

// The widest table of the set (BT_KESANSYO).
constexpr int kMaxFields = 66;
constexpr int kAccountSetSeqNo = 2;
constexpr int kPeriodStart = 14;
constexpr int kPeriodEnd = 15;
constexpr int kPeriodKind = 16;
constexpr int kPeriodNumber = 19;

DbError formatError(const QString& what) {
    return DbError(DbError::kInvalidValue, what);
}

std::optional<QString> strictUtf8(QByteArrayView bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder(bytes);
    if (decoder.hasError()) {
        return std::nullopt;
    }
    return text;
}

// glibc's converter refuses every byte sequence that is no GB18030 text.
std::optional<QString> strictGb18030(QByteArrayView bytes) {
    iconv_t cd = iconv_open("UTF-8", "GB18030");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return std::nullopt;
    }
    // Four GB18030 bytes never give more than four UTF-8 bytes, two never more than three.
    QByteArray out(bytes.size() * 2 + 4, Qt::Uninitialized);
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = static_cast<size_t>(bytes.size());
    char* outPtr = out.data();
    size_t outLeft = static_cast<size_t>(out.size());
    const size_t done = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    const bool complete = done != static_cast<size_t>(-1) && inLeft == 0 &&
                          iconv(cd, nullptr, nullptr, &outPtr, &outLeft) == 0;
    iconv_close(cd);
    if (!complete) {
        return std::nullopt;
    }
    out.truncate(out.size() - static_cast<qsizetype>(outLeft));
    return QString::fromUtf8(out);
}

QString cidOf(const QStringList& fields, const QList<Column>& columns) {
    for (int i = 0; i < columns.size() && i < fields.size(); ++i) {
        if (columns.at(i).name.compare(u"CID", Qt::CaseInsensitive) == 0) {
            return fields.at(i).trimmed();
        }
    }
    return QString();
}

}  // namespace

void takeAccountSetRow(const QStringList& fields, RestoredPeriod* period) {
    Database& db = Database::global();
    db.execute(QStringLiteral("DELETE FROM WK_COMPANY"));
    db.execute(QStringLiteral("INSERT INTO WK_COMPANY SELECT * FROM T_COMP_MAIN WHERE CID = ?"),
               {session().CurrentCid});
    const QString start = fields.at(kPeriodStart - 1);
    session().PeriodLabel =
        fields.at(kPeriodKind - 1).trimmed() == u"1"
            ? QStringLiteral("第 ") + fields.at(kPeriodNumber - 1).trimmed() + QStringLiteral(" 期")
            : start.trimmed().left(4) + QStringLiteral(" 年度");
    if (period) {
        *period = RestoredPeriod{true, start, fields.at(kPeriodEnd - 1)};
    }
}

namespace {

void restoreFile(const QString& file, const QString& table, int seqNo, int fieldCount,
                 RestoredPeriod* period) {
    const QString name = QFileInfo(file).fileName();
    const RowWriter writer = rowWriterForSeqNo(seqNo);
    if (!writer) {
        throw formatError(QStringLiteral("备份表的序号 %1 没有对应的写入方法。").arg(seqNo));
    }
    if (fieldCount < 1 || fieldCount > kMaxFields) {
        throw formatError(QStringLiteral("%1 的字段数 %2 不在 1 到 %3 之间。")
                              .arg(name)
                              .arg(fieldCount)
                              .arg(kMaxFields));
    }
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) {
        throw DbError(DbError::kNotOpen, QStringLiteral("不能读取文件: ") + file);
    }
    // Failures name the file, and the line where there is one.
    const auto inFile = [&name](const DbError& error) {
        return DbError(error.number(), name + u' ' + error.description());
    };
    std::optional<BackupFieldReader> reader;
    try {
        reader.emplace(decodeBackupText(in.readAll()));
    } catch (const DbError& error) {
        throw inFile(error);
    }
    in.close();

    Database& db = Database::global();
    const QList<Column>& columns = db.columns(table);
    const QString cid = session().CurrentCid;
    QStringList fields;
    for (;;) {
        try {
            if (!reader->nextRow(fields, fieldCount)) {
                break;
            }
        } catch (const DbError& error) {
            throw inFile(error);
        }
        const auto atRow = [&](const QString& what) {
            return QStringLiteral("%1 第 %2 行：").arg(name).arg(reader->rowLine()) + what;
        };
        if (fields.size() != fieldCount) {
            throw formatError(atRow(
                QStringLiteral("有 %1 个字段，应为 %2 个。").arg(fields.size()).arg(fieldCount)));
        }
        if (seqNo > 1) {
            const QString rowCid = cidOf(fields, columns);
            if (rowCid != cid) {
                throw formatError(atRow(
                    QStringLiteral("这一行属于账套 %1，不属于现在的账套 %2。").arg(rowCid, cid)));
            }
        }
        if (!writer(fields, table)) {
            throw DbError(db.lastErrorNumber(), atRow(db.lastErrorText()));
        }
        if (seqNo == kAccountSetSeqNo) {
            takeAccountSetRow(fields, period);
        }
    }
}

}  // namespace

QString decodeBackupText(const QByteArray& bytes) {
    QByteArrayView view(bytes);
    if (view.startsWith("\xEF\xBB\xBF")) {
        view = view.sliced(3);
    }
    std::optional<QString> text = strictUtf8(view);
    if (!text) {
        text = strictGb18030(view);
    }
    if (!text) {
        throw formatError(QStringLiteral("文件内容既不是 UTF-8 也不是 GB18030 文本。"));
    }
    for (const QChar c : *text) {
        if (c.unicode() < 0x20 && c != u'\r' && c != u'\n' && c != u'\t') {
            throw formatError(QStringLiteral("文件中有不属于文本的控制字符 (0x%1)。")
                                  .arg(c.unicode(), 2, 16, QLatin1Char('0')));
        }
    }
    return *text;
}

BackupFieldReader::BackupFieldReader(QString text, bool bareFields)
    : text_(std::move(text)), bareFields_(bareFields) {}

void BackupFieldReader::fail(const QString& what) const {
    throw formatError(QStringLiteral("第 %1 行：").arg(line_) + what);
}

bool BackupFieldReader::atLineEnd() const {
    return text_.at(pos_) == u'\n' ||
           (text_.at(pos_) == u'\r' && pos_ + 1 < text_.size() && text_.at(pos_ + 1) == u'\n');
}

void BackupFieldReader::skipLineEnd() {
    pos_ += text_.at(pos_) == u'\r' ? 2 : 1;
    ++line_;
}

bool BackupFieldReader::nextRow(QStringList& fields, int maxFields) {
    fields.clear();
    const qsizetype size = text_.size();
    while (pos_ < size && atLineEnd()) {
        skipLineEnd();
    }
    if (pos_ >= size) {
        return false;
    }
    rowLine_ = line_;
    for (;;) {
        const bool quoted = text_.at(pos_) == u'"';
        if (quoted) {
            readQuoted(fields);
        } else if (bareFields_) {
            readBare(fields);
        } else {
            fail(QStringLiteral("第 %1 个字段没有用双引号括起来。").arg(fields.size() + 1));
        }
        if (fields.size() > maxFields) {
            fail(QStringLiteral("一行的字段多于 %1 个。").arg(maxFields));
        }
        if (pos_ >= size) {
            return true;
        }
        if (atLineEnd()) {
            skipLineEnd();
            return true;
        }
        if (text_.at(pos_) != u',') {
            fail(quoted
                     ? QStringLiteral("第 %1 个字段的双引号后面不是逗号或行尾。").arg(fields.size())
                     : QStringLiteral("第 %1 个字段后面有单独的回车符。").arg(fields.size()));
        }
        ++pos_;
        if (pos_ >= size || atLineEnd()) {
            if (!bareFields_) {
                fail(QStringLiteral("逗号后面缺少字段。"));
            }
            // A spreadsheet ends a line whose last value is empty with the comma.
            fields.append(QString());
            if (pos_ < size) {
                skipLineEnd();
            }
            return true;
        }
    }
}

void BackupFieldReader::readQuoted(QStringList& fields) {
    const qsizetype size = text_.size();
    ++pos_;
    QString field;
    for (;;) {
        const qsizetype quote = text_.indexOf(u'"', pos_);
        if (quote < 0) {
            fail(QStringLiteral("第 %1 个字段的双引号到文件末尾也没有结束。")
                     .arg(fields.size() + 1));
        }
        const QStringView part = QStringView(text_).sliced(pos_, quote - pos_);
        line_ += static_cast<int>(part.count(u'\n'));
        field += part;
        pos_ = quote + 1;
        if (pos_ < size && text_.at(pos_) == u'"') {
            field += u'"';
            ++pos_;
            continue;
        }
        break;
    }
    fields.append(field);
}

void BackupFieldReader::readBare(QStringList& fields) {
    const qsizetype size = text_.size();
    qsizetype end = pos_;
    while (end < size && text_.at(end) != u',' && text_.at(end) != u'\n' &&
           text_.at(end) != u'\r') {
        if (text_.at(end) == u'"') {
            fail(QStringLiteral("第 %1 个字段没有用双引号括起来，却含有双引号。")
                     .arg(fields.size() + 1));
        }
        ++end;
    }
    fields.append(text_.sliced(pos_, end - pos_));
    pos_ = end;
}

bool write_data_to_table(const QString& file, const QString& table, int seqNo, int fieldCount,
                         RestoredPeriod* period) {
    Database& db = Database::global();
    try {
        if (db.inTransaction()) {
            restoreFile(file, table, seqNo, fieldCount, period);
        } else {
            TransactionGuard transaction(db);
            restoreFile(file, table, seqNo, fieldCount, period);
            transaction.commit();
        }
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("write_data_to_table"));
        return false;
    }
}
