#include "entry/VoucherRange.h"

#include "common/Session.h"
#include "db/Database.h"
#include "db/ErrorReport.h"

bool GetMinMaxSiwakeDenCode() {
    try {
        RecordSet rs = Database::global().query(
            QStringLiteral("SELECT MIN(DENCODE) AS MIN_DENCODE, MAX(DENCODE) AS MAX_DENCODE "
                           "FROM T_SIWAKE WHERE CID = ?"),
            {session().CurrentCid});
        session().MinDencode = rs.eof() ? QString() : rs.text(QStringLiteral("MIN_DENCODE"));
        session().MaxDencode = rs.eof() ? QString() : rs.text(QStringLiteral("MAX_DENCODE"));
        return true;
    } catch (const DbError& error) {
        reportError(error, QStringLiteral("GetMinMaxSiwakeDenCode"));
        return false;
    }
}
