#include "master/AccountListFill.h"

#include "db/Database.h"

namespace {

const QString kTail = QStringLiteral(
    "KMCODE, KMNAME, TAIKBN, HOJOSET, KISYUZAN, AICODE, AINAME, DAIBUN, TYUBUN, JUN, KISYUMKBN");
const QString kAccount = QStringLiteral(
    "K_3.KMCODE, K_3.KANNAME, K_3.TAIKBN, K_3.HOJOSET, K_3.KISYUZAN, K_3.AICODE, %1.KANNAME, "
    "K_3.DAIBUN, K_3.TYUBUN, K_3.JUN, K_3.KISYUMKBN");

}  // namespace

void fillAccountList() {
    Database& db = Database::global();
    db.execute(QStringLiteral("DELETE FROM WK_KANJO_PRINT"));
    // Three levels below a top heading.
    db.execute(QStringLiteral(
                   "INSERT INTO WK_KANJO_PRINT (DAICODE, DAINAME, TYUCODE, TYUNAME, SYOCODE, "
                   "SYONAME, %1) SELECT K.KOCODE, K.KANNAME, K_1.KOCODE, K_1.KANNAME, K_2.KOCODE, "
                   "K_2.KANNAME, %2 FROM (((T_KANJO AS K LEFT JOIN T_KANJO AS K_1 ON K.KOCODE = "
                   "K_1.BUNCODE) LEFT JOIN T_KANJO AS K_2 ON K_1.KOCODE = K_2.BUNCODE) LEFT JOIN "
                   "T_KANJO AS K_3 ON K_2.KOCODE = K_3.BUNCODE) LEFT JOIN T_KANJO AS K_4 ON "
                   "K_3.AICODE = K_4.KOCODE WHERE K_3.KMCODE <> '' AND K.BUNCODE = '000' AND "
                   "K.SYORIKBN = '2' AND K_1.SYORIKBN = '2' AND K_2.SYORIKBN = '2' AND "
                   "K_3.SIYOU = 'Y'")
                   .arg(kTail, kAccount.arg(QStringLiteral("K_4"))));
    // Two levels below: the middle heading only.
    db.execute(
        QStringLiteral("INSERT INTO WK_KANJO_PRINT (DAICODE, DAINAME, TYUCODE, TYUNAME, %1) SELECT "
                       "K.KOCODE, K.KANNAME, K_1.KOCODE, K_1.KANNAME, %2 FROM ((T_KANJO AS K LEFT "
                       "JOIN T_KANJO AS K_1 ON K.KOCODE = K_1.BUNCODE) LEFT JOIN T_KANJO AS K_3 ON "
                       "K_1.KOCODE = K_3.BUNCODE) LEFT JOIN T_KANJO AS K_2 ON K_3.AICODE = "
                       "K_2.KOCODE WHERE K.BUNCODE = '000' AND K.SYORIKBN = '2' AND K_1.SYORIKBN = "
                       "'2' AND K_3.KMCODE <> '' AND K_3.SIYOU = 'Y'")
            .arg(kTail, kAccount.arg(QStringLiteral("K_2"))));
    // Directly under a top heading.
    db.execute(QStringLiteral(
                   "INSERT INTO WK_KANJO_PRINT (DAICODE, DAINAME, %1) SELECT K.KOCODE, "
                   "K.KANNAME, %2 FROM (T_KANJO AS K LEFT JOIN T_KANJO AS K_3 ON K.KOCODE = "
                   "K_3.BUNCODE) LEFT JOIN T_KANJO AS K_1 ON K_3.AICODE = K_1.KOCODE WHERE "
                   "K.BUNCODE = '000' AND K.SYORIKBN = '2' AND K_3.KMCODE <> '' AND K_3.SIYOU = "
                   "'Y'")
                   .arg(kTail, kAccount.arg(QStringLiteral("K_1"))));
}
