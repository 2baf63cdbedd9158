#include "messagetesthelpers.h"

#include "AutoReleaseMsg.h"
#include "CancelJobReq.h"
#include "EndOfSessionMsg.h"
#include "JobDeletedMsg.h"
#include "JobReceivedMsg.h"
#include "KoaAckMsg.h"
#include "PrintJobConfirmationMsg.h"
#include "PrintJobReq.h"
#include "ShowSpoolingDialogMsg.h"

#include <QLocale>
#include <QTest>
#include <QVariantMap>

#include <functional>
#include <memory>

namespace {

QVariantMap fieldsOf(const JobReceivedMsg &m)
{
    const PageCountDialogModel &model = m; // the dialog reads it through its model
    return {{"pages", qlonglong(model.pageCount())}, {"pageCost", model.pageCost()},
        {"free", qlonglong(model.freePagesPrinted())}, {"requireUserId", model.requireUserId()},
        {"totalCost", model.totalCost()}, {"freeText", model.freeTextMessage()},
        {"freeJob", model.freeJob()}, {"sheets", qlonglong(model.sheetCount())},
        {"collated", model.collated()}};
}

QVariantMap fieldsOf(const AutoReleaseMsg &m)
{
    return {{"released", m.released()}, {"releaseNumber", qlonglong(m.releaseNumber())},
        {"family", m.printerFamily()}, {"pickup", m.pickupLocation()}, {"error", m.errorMessage()},
        {"order", m.paymentOrder()}, {"allocation", m.allocationAmount()},
        {"deposit", m.depositAmount()}, {"credit", m.creditAmount()}, {"refund", m.refundAmount()},
        {"refundId", m.refundId()}};
}

QVariantMap with(QVariantMap base, const QVariantMap &changes)
{
    for (auto it = changes.begin(); it != changes.end(); ++it)
        base.insert(it.key(), it.value());
    return base;
}

using Pairs = QList<PrintJobConfirmationMsg::PickupLocation>;

} // namespace

class tst_JobMessages : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase() { QLocale::setDefault(QLocale::c()); }

    void jobReceivedParse_data();
    void jobReceivedParse();
    void confirmationParse_data();
    void confirmationParse();
    void autoReleaseParse_data();
    void autoReleaseParse();
    void refundNotice_data();
    void refundNotice();
    void shortMessagesAccept_data();
    void shortMessagesAccept();
    void printJobReq_data();
    void printJobReq();
    void answerTexts_data();
    void answerTexts();
    void clonesCopyEveryField();

private:
    FixedTimeSource m_clock;
};

void tst_JobMessages::initTestCase()
{
    Tessaly::Core::Message::setTimeSource(&m_clock);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
}

void tst_JobMessages::jobReceivedParse_data()
{
    // clang-format off
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QVariantMap>("changes");

    QTest::addRow("every field") << received(4, "|A12|B$0.10|C2|D1|E$1.00|FHello there|G0|H6|I1")
                                 << true
                                 << QVariantMap {{"pages", 12}, {"pageCost", "$0.10"}, {"free", 2},
                                        {"requireUserId", true}, {"totalCost", "$1.00"},
                                        {"freeText", "Hello there"}, {"sheets", 6},
                                        {"collated", true}};
    QTest::addRow("any order, doubled separator")
        << received(4, "|G1||A3") << true << QVariantMap {{"pages", 3}, {"freeJob", true}};
    QTest::addRow("only id and stamp") << received(4, "") << true << QVariantMap {};
    QTest::addRow("id alone") << QString("4") << true << QVariantMap {};
    QTest::addRow("unknown codes and bare code")
        << received(4, "|Z9|A|B|x") << true << QVariantMap {};
    QTest::addRow("numbers that are not")
        << received(4, "|Aten|C1.5|Hx|D-1") << true << QVariantMap {{"requireUserId", true}};
    QTest::addRow("text kept as it stands")
        << received(4, "|F  two  words ") << true << QVariantMap {{"freeText", "  two  words "}};
    QTest::addRow("repeated code overwrites")
        << received(4, "|A1|A2") << true << QVariantMap {{"pages", 2}};
    QTest::addRow("wrong id") << received(5, "|A12") << false << QVariantMap {};
    QTest::addRow("id not a number")
        << QString("x4|%1|A12").arg(FixedTimeSource::stamp()) << false << QVariantMap {};
    QTest::addRow("leading separator") << "|" + received(4, "|A12") << false << QVariantMap {};
    QTest::addRow("empty") << QString() << false << QVariantMap {};
    // clang-format on
}

void tst_JobMessages::jobReceivedParse()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QFETCH(QVariantMap, changes);

    const QVariantMap defaults = fieldsOf(JobReceivedMsg());
    JobReceivedMsg msg;
    // A previous job that was free and duplex: none of it may carry over.
    QVERIFY(msg.fromText(received(4, "|A99|BB|C9|D1|EE|FF|G1|H9|I1")));
    const QVariantMap old = fieldsOf(msg);

    QCOMPARE(msg.fromText(text), accepted);
    QCOMPARE(fieldsOf(msg), with(accepted ? defaults : old, changes));
    QCOMPARE(msg.toText(), QString());
}

void tst_JobMessages::confirmationParse_data()
{
    // clang-format off
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<bool>("showDialog");
    QTest::addColumn<long>("jobNumber");
    QTest::addColumn<QString>("expireTime");
    QTest::addColumn<Pairs>("pickups");
    QTest::addColumn<QString>("joined");

    // Before each row the object holds job 77, expiry "old" and one location.
    QTest::addRow("two pairs")
        << received(6, "|1|J1234|T10:30 PM|PDesk#^#Floor 1#^#Lab#^#Floor 2") << true << true
        << 1234L << "10:30 PM" << Pairs {{"Desk", "Floor 1"}, {"Lab", "Floor 2"}}
        << "Desk#^#Floor 1#^#Lab#^#Floor 2";
    QTest::addRow("odd piece pairs with empty")
        << received(6, "|0|J5|T|Pa#^#b#^#c") << true << false << 5L << ""
        << Pairs {{"a", "b"}, {"c", ""}} << "a#^#b#^#c#^#";
    QTest::addRow("empty pieces kept")
        << received(6, "|1|J5|Tx|P#^#b#^##^#") << true << true << 5L << "x"
        << Pairs {{"", "b"}, {"", ""}} << "#^#b#^##^#";
    QTest::addRow("no locations")
        << received(6, "|1|J5|Tx|P") << true << true << 5L << "x" << Pairs {} << "";
    QTest::addRow("job number not a number")
        << received(6, "|1|Jabc|Tx|Pa#^#b") << true << true << 0L << "x" << Pairs {{"a", "b"}}
        << "a#^#b";
    QTest::addRow("seventh field keeps job number, clears pickups")
        << received(6, "|1|J1|Tx|Pa#^#b|extra") << false << false << 77L << "old" << Pairs {} << "";
    QTest::addRow("five fields")
        << received(6, "|1|J1|Tx") << false << false << 77L << "old" << Pairs {} << "";
    // clang-format on
}

void tst_JobMessages::confirmationParse()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);

    PrintJobConfirmationMsg msg;
    QCOMPARE(msg.jobNumber(), -1L);
    msg.setJobNumber(77);
    msg.setExpireTime("old");
    msg.setPickupLocations({{"Old", "Place"}});
    QCOMPARE(msg.prtLocationString(), QString("Old#^#Place"));

    QCOMPARE(msg.fromText(text), accepted);
    QTEST(msg.showDialog(), "showDialog");
    QTEST(msg.jobNumber(), "jobNumber");
    QTEST(msg.expireTime(), "expireTime");
    QTEST(msg.pickupLocations(), "pickups");
    QTEST(msg.prtLocationString(), "joined");
    QCOMPARE(msg.pickupLocationsToText(), msg.prtLocationString());
}

void tst_JobMessages::autoReleaseParse_data()
{
    // clang-format off
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QVariantMap>("changes");

    QTest::addRow("released, every field")
        << received(62, "|A1|B17|CLaser|DFront desk|E|FADC|G$1.00|H$0.50|I$0.25|Y0|Z") << true
        << QVariantMap {{"released", true}, {"releaseNumber", 17}, {"family", "Laser"},
               {"pickup", "Front desk"}, {"order", "ADC"}, {"allocation", "$1.00"},
               {"deposit", "$0.50"}, {"credit", "$0.25"}, {"refund", "0"}};
    QTest::addRow("eleven fields, mostly unknown codes")
        << received( 62, "|J1|K2|L3|M4|N5|X6|!7|Eno paper|A0") << true
        << QVariantMap {{"error", "no paper"}};
    QTest::addRow("E alone empties the error")
        << received(62, "|Eold|J|K|L|M|N|O|P|E") << true << QVariantMap {};
    QTest::addRow("ten fields")
        << received(62, "|A1|B2|C3|D4|E5|F6|G7|H8") << false << QVariantMap {};
    QTest::addRow("eleven with empty pieces dropped is ten")
        << received(62, "|A1|B2|C3|D4|E5|F6|G7||H8") << false << QVariantMap {};
    QTest::addRow("wrong id")
        << received(63, "|A1|B2|C3|D4|E5|F6|G7|H8|I9") << false << QVariantMap {};
    QTest::addRow("negative id")
        << received(-62, "|A1|B2|C3|D4|E5|F6|G7|H8|I9") << false << QVariantMap {};
    // clang-format on
}

void tst_JobMessages::autoReleaseParse()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QFETCH(QVariantMap, changes);

    const QVariantMap defaults = fieldsOf(AutoReleaseMsg());
    AutoReleaseMsg msg;
    // An earlier release with a refund: it must not be reported with this one.
    QVERIFY(msg.fromText(received(62, "|A1|B2|CC|DD|EE|FF|GG|HH|II|Y500|ZR-1")));
    const QVariantMap old = fieldsOf(msg);

    QCOMPARE(msg.fromText(text), accepted);
    QCOMPARE(fieldsOf(msg), with(accepted ? defaults : old, changes));
}

void tst_JobMessages::refundNotice_data()
{
    // clang-format off
    QTest::addColumn<QString>("error");
    QTest::addColumn<QString>("refund");
    QTest::addColumn<QString>("refundId");
    QTest::addColumn<QString>("expected");

    const QString notice("You are due a refund of %1.  The Refund Id is %2.  Please see staff "
                         "for additional assistance.");
    QTest::addRow("refund due")
        << "Printer jammed." << "150" << "R-42"
        << "Printer jammed.\n\n" + notice.arg("$1.50", "R-42");
    QTest::addRow("large refund")
        << "E" << "123456" << "7" << "E\n\n" + notice.arg("$1,234.56", "7");
    QTest::addRow("zero amount") << "Printer jammed." << "0" << "R-42" << "Printer jammed.";
    QTest::addRow("negative amount") << "x" << "-5" << "R" << "x";
    QTest::addRow("amount not a number") << "x" << "1.50" << "R" << "x";
    QTest::addRow("no refund id") << "x" << "150" << "" << "x";
    QTest::addRow("placeholders in the texts stay")
        << "%2 and %1" << "1" << "%1" << "%2 and %1\n\n" + notice.arg("$0.01", "%1");
    // clang-format on
}

void tst_JobMessages::refundNotice()
{
    QFETCH(QString, error);
    QFETCH(QString, refund);
    QFETCH(QString, refundId);

    AutoReleaseMsg msg;
    msg.setErrorMessage(error);
    msg.setRefundAmount(refund);
    msg.setRefundId(refundId);
    QTEST(msg.getErrorMessage(), "expected");
}

void tst_JobMessages::shortMessagesAccept_data()
{
    using Factory = std::function<Tessaly::Core::Message *()>;
    QTest::addColumn<Factory>("make");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");

    const Factory ack = [] {
        return new KoaAckMsg;
    };
    const Factory end = [] {
        return new EndOfSessionMsg;
    };
    const Factory cancel = [] {
        return new CancelJobReq;
    };
    const Factory spooling = [] {
        return new ShowSpoolingDialogMsg;
    };
    const Factory deleted = [] {
        return new JobDeletedMsg;
    };

    QTest::addRow("ack") << ack << received(80, "") << true;
    QTest::addRow("ack, trailing separator") << ack << received(80, "|") << true;
    QTest::addRow("ack with a field") << ack << received(80, "|x") << false;
    QTest::addRow("ack with another id") << ack << received(86, "") << false;
    QTest::addRow("ack, id alone") << ack << QString("80") << false;
    QTest::addRow("end") << end << received(86, "") << true;
    QTest::addRow("end with another id") << end << received(80, "") << false;
    QTest::addRow("end with a field") << end << received(86, "|1") << false;
    QTest::addRow("cancel, any id") << cancel << received(99, "") << true;
    QTest::addRow("cancel with a field") << cancel << received(7, "|1") << false;
    QTest::addRow("cancel, one field") << cancel << QString("7|") << false;
    QTest::addRow("spooling") << spooling << received(60, "") << true;
    QTest::addRow("spooling with a field") << spooling << received(60, "|x") << false;
    QTest::addRow("deleted, empty") << deleted << QString() << true;
    QTest::addRow("deleted, anything") << deleted << received(51, "|a|b|c") << true;
}

void tst_JobMessages::shortMessagesAccept()
{
    QFETCH(std::function<Tessaly::Core::Message *()>, make);
    QFETCH(QString, text);
    QFETCH(bool, accepted);

    std::unique_ptr<Tessaly::Core::Message> msg(make());
    QCOMPARE(msg->fromText(text), accepted);
}

void tst_JobMessages::printJobReq_data()
{
    // clang-format off
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("fallback");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("expected");

    const QString head = "5|" + FixedTimeSource::stamp();
    QTest::addRow("description") << "Lab PC 3" << "host-3" << "en_us" << head + "|ALab PC 3|Ben_us";
    QTest::addRow("fallback") << "" << "host-3" << "fr_ca" << head + "|Ahost-3|Bfr_ca";
    QTest::addRow("both empty") << "" << "" << "" << head + "|A|B";
    QTest::addRow("separator left out") << "PC|1" << "" << "en|us" << head + "|APC1|Benus";
    // clang-format on
}

void tst_JobMessages::printJobReq()
{
    QFETCH(QString, description);
    QFETCH(QString, fallback);
    QFETCH(QString, locale);
    QFETCH(QString, expected);

    PrintJobReq req(locale);
    req.setPcDescription(description, fallback);
    QCOMPARE(req.getTextForSending(), expected);

    PrintJobReq parsed;
    QVERIFY(parsed.fromText(req.getTextForSending()));
    QCOMPARE(parsed.pcDescription(), req.pcDescription().remove('|'));
    QVERIFY(!parsed.fromText(received(5, "")));
}

void tst_JobMessages::answerTexts_data()
{
    // clang-format off
    using Factory = std::function<Tessaly::Core::Message *()>;
    QTest::addColumn<Factory>("make");
    QTest::addColumn<QString>("expected");

    const QString stamp = FixedTimeSource::stamp();
    QTest::addRow("ack") << Factory([] { return new KoaAckMsg; }) << "80|" + stamp;
    QTest::addRow("end of session") << Factory([] { return new EndOfSessionMsg; }) << "86|" + stamp;
    QTest::addRow("cancel") << Factory([] { return new CancelJobReq; }) << "7|" + stamp;
    QTest::addRow("spooling") << Factory([] { return new ShowSpoolingDialogMsg; }) << "60|" + stamp;
    QTest::addRow("job received") << Factory([] { return new JobReceivedMsg; }) << "4|" + stamp;
    QTest::addRow("confirmation")
        << Factory([] { return new PrintJobConfirmationMsg; }) << "6|" + stamp + "Not Used";
    QTest::addRow("deleted")
        << Factory([] { return new JobDeletedMsg; }) << "51|" + stamp + "NOT USED";
    QTest::addRow("auto release") << Factory([] { return new AutoReleaseMsg; }) << "62|" + stamp;
    // clang-format on
}

void tst_JobMessages::answerTexts()
{
    QFETCH(std::function<Tessaly::Core::Message *()>, make);
    QFETCH(QString, expected);

    std::unique_ptr<Tessaly::Core::Message> msg(make());
    QCOMPARE(msg->getTextForSending(), expected);
}

void tst_JobMessages::clonesCopyEveryField()
{
    EventRecorder events;
    JobReceivedMsg job(std::make_unique<RecordingHandler>(&events));
    QVERIFY(job.fromText(received(4, "|A12|B1|C2|D1|E5|Fhi|G1|H6|I1")));
    const std::unique_ptr<JobReceivedMsg> jobCopy = cloneAs(job);
    QCOMPARE(fieldsOf(*jobCopy), fieldsOf(job));
    QVERIFY(jobCopy->handler() && jobCopy->handler() != job.handler());

    AutoReleaseMsg release;
    QVERIFY(release.fromText(received(62, "|A1|B2|CC|DD|EE|FF|GG|HH|II|Y500|ZR-1")));
    QCOMPARE(fieldsOf(*cloneAs(release)), fieldsOf(release));

    PrintJobConfirmationMsg confirmation;
    QVERIFY(confirmation.fromText(received(6, "|1|J9|Tsoon|Pa#^#b")));
    const std::unique_ptr<PrintJobConfirmationMsg> confirmationCopy = cloneAs(confirmation);
    QCOMPARE(confirmationCopy->jobNumber(), 9L);
    QCOMPARE(confirmationCopy->showDialog(), true);
    QCOMPARE(confirmationCopy->expireTime(), QString("soon"));
    QCOMPARE(confirmationCopy->pickupLocations(), Pairs({{"a", "b"}}));
    QCOMPARE(confirmationCopy->prtLocationString(), QString("a#^#b"));

    PrintJobReq req("de_de");
    req.setPcDescription("PC", QString());
    QCOMPARE(cloneAs(req)->getTextForSending(), req.getTextForSending());

    QCOMPARE(PrintJobConfirmationMsg::nullProtect(QString()), QString(""));
    QVERIFY(!PrintJobConfirmationMsg::nullProtect(QString()).isNull());
}

QTEST_GUILESS_MAIN(tst_JobMessages)
#include "tst_jobmessages.moc"
