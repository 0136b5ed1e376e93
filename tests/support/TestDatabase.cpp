#include "support/TestDatabase.h"

#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>

#include "common/Clock.h"
#include "common/Money.h"
#include "common/Session.h"
#include "db/DataSource.h"
#include "db/Database.h"
#include "db/ShippedDatabase.h"

namespace {

// Building the shipped file once and copying it keeps each test cheap.
const QString& shippedCopy() {
    static QTemporaryDir dir;
    static const QString path = [] {
        const QString file = dir.filePath(QStringLiteral("shipped.mdb"));
        ShippedDatabase::create(file);
        return file;
    }();
    return path;
}

}  // namespace

void DatabaseTest::SetUp() {
    ASSERT_TRUE(folder.isValid());
    session().reset();
    session().AppFolder = folder.path() + u'/';
    DataSource::setRegisteredPath(QString());
    Clock::setFixedToday(QDate(2024, 5, 20));
    ASSERT_TRUE(QFile::copy(shippedCopy(), DataSource::defaultPath()));
    Database::global().open(DataSource::defaultPath());
}

void DatabaseTest::TearDown() {
    Database::global().close();
    Clock::clearFixedToday();
    DataSource::setRegisteredPath(QString());
    session().reset();
}

void DatabaseTest::exec(const QString& sql, const QVariantList& params) {
    try {
        Database::global().execute(sql, params);
    } catch (const DbError& error) {
        ADD_FAILURE() << sql.toStdString() << ": " << error.what();
    }
}

QString DatabaseTest::value(const QString& sql, const QVariantList& params) {
    return Database::global().scalar(sql, params).toString();
}

qint64 DatabaseTest::count(const QString& sql, const QVariantList& params) {
    return Database::global().scalar(sql, params).toLongLong();
}

QStringList DatabaseTest::rows(const QString& sql, const QVariantList& params, int firstAmount) {
    QSqlQuery query(Database::global().connection());
    query.prepare(sql);
    for (int i = 0; i < params.size(); ++i) {
        query.bindValue(i, params.at(i));
    }
    EXPECT_TRUE(query.exec()) << sql.toStdString();
    QStringList all;
    while (query.next()) {
        QStringList columns;
        for (int i = 0; i < query.record().count(); ++i) {
            columns.append(firstAmount < 0 || i < firstAmount
                               ? query.value(i).toString()
                               : Money::fromDb(query.value(i)).toText());
        }
        all.append(columns.join(u'|'));
    }
    return all;
}
