#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>
#include <cstdio>

#include "common/Session.h"
#include "db/DataSource.h"
#include "db/Database.h"
#include "db/DbError.h"

namespace {

const char* const kUsage =
    "usage: ombrel-cli --db FILE COMMAND\n"
    "commands:\n"
    "  sets    list the account sets: CID, company, period start, period end\n";

int fail(const QString& message) {
    QTextStream(stderr) << message << '\n';
    return 1;
}

int listSets(QTextStream& out) {
    RecordSet rs = Database::global().query(
        QStringLiteral("SELECT CID, COMPANY, KISYU, KIMATU FROM T_COMP_MAIN ORDER BY CID"));
    for (; !rs.eof(); rs.moveNext()) {
        out << rs.text(QStringLiteral("CID")) << '\t' << rs.text(QStringLiteral("COMPANY")) << '\t'
            << rs.text(QStringLiteral("KISYU")) << '\t' << rs.text(QStringLiteral("KIMATU"))
            << '\n';
    }
    return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QString dbFile;
    QStringList rest;
    for (int i = 0; i < args.size(); ++i) {
        if (args.at(i) == u"--db" && i + 1 < args.size()) {
            dbFile = args.at(++i);
        } else {
            rest.append(args.at(i));
        }
    }
    if (dbFile.isEmpty() || rest.isEmpty()) {
        return fail(QString::fromUtf8(kUsage));
    }
    const QFileInfo file(dbFile);
    session().AppFolder = file.absolutePath() + u'/';
    DataSource::setRegisteredPath(file.absoluteFilePath());
    if (!DataSource::RegisterDataSource(true)) {
        return fail(QStringLiteral("不能创建数据库文件: ") + dbFile);
    }
    QTextStream out(stdout);
    try {
        DataSource::open();
        const QString command = rest.takeFirst();
        if (command == u"sets" && rest.isEmpty()) {
            return listSets(out);
        }
        return fail(QStringLiteral("未知的命令: ") + rest.join(u' ').prepend(command + u' ') +
                    u'\n' + QString::fromUtf8(kUsage));
    } catch (const DbError& error) {
        return fail(QString::number(error.number()) + u' ' + error.description());
    }
}
