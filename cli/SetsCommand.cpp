#include "CliSupport.h"
#include "db/Database.h"

Command setsCommand(const QStringList& arguments) {
    if (!arguments.isEmpty()) {
        badArguments(QStringLiteral("sets 没有参数: ") + arguments.join(u' '));
    }
    return [](QTextStream& out) {
        RecordSet rs = Database::global().query(
            QStringLiteral("SELECT CID, COMPANY, KISYU, KIMATU FROM T_COMP_MAIN ORDER BY CID"));
        for (; !rs.eof(); rs.moveNext()) {
            out << rs.text(QStringLiteral("CID")) << '\t' << rs.text(QStringLiteral("COMPANY"))
                << '\t' << rs.text(QStringLiteral("KISYU")) << '\t'
                << rs.text(QStringLiteral("KIMATU")) << '\n';
        }
        return 0;
    };
}
