#include "CliSupport.h"
#include "db/Database.h"

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
