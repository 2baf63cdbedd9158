#include "messagetesthelpers.h"

#include "HexEncrypt.h"
#include "PrintClientUpdateMsg.h"
#include "SettingsMsg.h"
#include "SettingsResponseMsg.h"

#include <QTest>
#include <QVariantMap>

#include <memory>

namespace {

QVariantMap fieldsOf(const SettingsMsg &m)
{
    return {{"password", m.getPassword()}, {"stallo", m.getStalloIntegration()},
        {"pageLimit", m.getStalloPageLimit()}, {"allowOverride", m.getStalloAllowOverride()},
        {"stalloId", m.getStalloId()}, {"maskUserId", m.getMaskUserId()},
        {"defaultPrinter", m.getDefaultPrinter()}, {"useDescription", m.getStalloUseDescription()},
        {"thirdParty", m.getThirdPartyUserInfoPath()}, {"siteName", m.getSiteName()},
        {"httpPort", m.getHttpPort()}, {"useLanguage", m.getStalloUseLanguage()},
        {"credentialsPort", m.getStalloUserCredentialsPort()},
        {"switching", m.isLanguageSwitchingAllowed()},
        {"dialects", m.getSupportedLanguageDialects()},
        {"defaultDialect", m.getDefaultLanguageDialect()},
        {"idFilter", m.isUserIdInputFilterEnabled()},
        {"idExceptions", m.getUserIdInputFilterExceptions()},
        {"pinFilter", m.isUserPinInputFilterEnabled()},
        {"pinExceptions", m.getUserPinInputFilterExceptions()}};
}

QVariantMap with(QVariantMap base, const QVariantMap &changes)
{
    for (auto it = changes.begin(); it != changes.end(); ++it)
        base.insert(it.key(), it.value());
    return base;
}

QString encrypted(const QString &clear)
{
    return UtilsLib::HexEncrypt::encryptData(clear);
}

} // namespace

class tst_SettingsMessages : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { Tessaly::Core::Message::setTimeSource(&m_clock); }

    void settingsParse_data();
    void settingsParse();
    void settingsKeepEarlierValues();
    void inputFilters_data();
    void inputFilters();
    void settingsAnswer_data();
    void settingsAnswer();
    void updateParse_data();
    void updateParse();
    void clonesCopyEveryField();

private:
    FixedTimeSource m_clock;
};

void tst_SettingsMessages::settingsParse_data()
{
    // clang-format off
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QVariantMap>("changes"); // to the defaults

    QTest::addRow("every field") << received(58,
        "|A" + encrypted("staff!")
            + "|B1|C25|D1|E1|F1|GLab Laser|H1|I/tmp/u.txt"
              "|JMain Library|Kx|L30044|M1|N4567|O1|Pen_us,fr_ca|Qfr_ca|R1|S-_|T1|U.")
                                 << true
                                 << QVariantMap {{"password", "staff!"}, {"stallo", true},
                                        {"pageLimit", 25}, {"allowOverride", true},
                                        {"stalloId", true}, {"maskUserId", true},
                                        {"defaultPrinter", "Lab Laser"}, {"useDescription", true},
                                        {"thirdParty", "/tmp/u.txt"}, {"siteName", "Main Library"},
                                        {"httpPort", 30044}, {"useLanguage", true},
                                        {"credentialsPort", 4567}, {"switching", true},
                                        {"dialects", "en_us,fr_ca"}, {"defaultDialect", "fr_ca"},
                                        {"idFilter", true}, {"idExceptions", "-_"},
                                        {"pinFilter", true}, {"pinExceptions", "."}};
    QTest::addRow("only id and stamp") << received(58, "") << true << QVariantMap {};
    QTest::addRow("Q alone empties the dialect")
        << received(58, "|Q") << true << QVariantMap {{"defaultDialect", ""}};
    QTest::addRow("repeated code overwrites")
        << received(58, "|JOld|B1|JNew|B0") << true << QVariantMap {{"siteName", "New"}};
    QTest::addRow("values not trimmed")
        << received(58, "|J  Site  ") << true << QVariantMap {{"siteName", "  Site  "}};
    QTest::addRow("page limit letters") << received(58, "|Cabc") << true << QVariantMap {};
    QTest::addRow("page limit negative") << received(58, "|C-5") << true << QVariantMap {};
    QTest::addRow("page limit beyond int")
        << received(58, "|C4294967295") << true << QVariantMap {{"pageLimit", 2147483647}};
    QTest::addRow("ports not numbers") << received(58, "|Lhttp|N4567x") << true << QVariantMap {};
    QTest::addRow("flag not a number")
        << received(58, "|Btrue|O2") << true << QVariantMap {{"switching", true}};
    QTest::addRow("K and unknown codes")
        << received(58, "|K1|V1|Z9|a1|#") << true << QVariantMap {};
    QTest::addRow("empty password") << received(58, "|A") << true << QVariantMap {};
    QTest::addRow("wrong id") << received(57, "|JSite|B1") << false << QVariantMap {};
    QTest::addRow("negative id") << received(-58, "|JSite") << false << QVariantMap {};
    QTest::addRow("id not a number")
        << QString("5x8|%1|JSite").arg(FixedTimeSource::stamp()) << false << QVariantMap {};
    QTest::addRow("empty") << QString() << false << QVariantMap {};
    // clang-format on
}

void tst_SettingsMessages::settingsParse()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QFETCH(QVariantMap, changes);

    SettingsMsg msg;
    const QVariantMap defaults = fieldsOf(msg);
    QCOMPARE(defaults.value("defaultDialect").toString(), QString("en_us"));
    QCOMPARE(msg.fromText(text), accepted);
    QCOMPARE(fieldsOf(msg), with(defaults, changes));
    QCOMPARE(msg.toText(), QString());
}

void tst_SettingsMessages::settingsKeepEarlierValues()
{
    SettingsMsg msg;
    QVERIFY(msg.fromText(received(58, "|A" + encrypted("pw") + "|JSite|C10|R1|Sab")));
    const QVariantMap before = fieldsOf(msg);

    // A partial push changes only what it names; a rejected one changes nothing.
    QVERIFY(msg.fromText(received(58, "|C0")));
    QCOMPARE(fieldsOf(msg), with(before, {{"pageLimit", 0}}));
    QVERIFY(!msg.fromText(received(59, "|JOther|C5")));
    QCOMPARE(fieldsOf(msg), with(before, {{"pageLimit", 0}}));
    QCOMPARE(msg.getPassword(), QString("pw"));
}

void tst_SettingsMessages::inputFilters_data()
{
    // clang-format off
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QString>("exceptions");
    QTest::addColumn<QString>("stored");

    QTest::addRow("enable") << true << "-_." << "-_.";
    QTest::addRow("disable forgets exceptions") << false << "-_." << "";
    // clang-format on
}

void tst_SettingsMessages::inputFilters()
{
    QFETCH(bool, enabled);
    QFETCH(QString, exceptions);
    QFETCH(QString, stored);

    SettingsMsg msg;
    msg.enableUserIdInputFilter(true, "old");
    msg.enableUserPinInputFilter(true, "old");
    msg.enableUserIdInputFilter(enabled, exceptions);
    QCOMPARE(msg.isUserIdInputFilterEnabled(), enabled);
    QCOMPARE(msg.getUserIdInputFilterExceptions(), stored);
    QCOMPARE(msg.getUserPinInputFilterExceptions(), QString("old"));
    msg.enableUserPinInputFilter(enabled, exceptions);
    QCOMPARE(msg.isUserPinInputFilterEnabled(), enabled);
    QCOMPARE(msg.getUserPinInputFilterExceptions(), stored);

    // Parsing sets flag and exceptions independently.
    QVERIFY(msg.fromText(received(58, "|R0|T0")));
    QCOMPARE(msg.getUserPinInputFilterExceptions(), stored);
}

void tst_SettingsMessages::settingsAnswer_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("expected");

    const QString head = "59|" + FixedTimeSource::stamp();
    QTest::addRow("en_us") << "en_us" << head + "|Aen_us";
    QTest::addRow("no locale") << "" << head + "|A";
    QTest::addRow("separator left out") << "fr|ca" << head + "|Afrca";
}

void tst_SettingsMessages::settingsAnswer()
{
    QFETCH(QString, locale);
    QFETCH(QString, expected);

    SettingsResponseMsg answer(locale);
    QCOMPARE(answer.getTextForSending(), expected);
    QCOMPARE(answer.locale(), locale);
    QVERIFY(!answer.fromText(expected)); // only ever sent
    QVERIFY(!answer.fromText(QString()));
}

void tst_SettingsMessages::updateParse_data()
{
    // clang-format off
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("url");

    // The object holds version "1.0" and url "old" before each row.
    QTest::addRow("both")
        << received(64, "|A4.9.3|Zskip|Bhttp://ps:30044/client.pkg") << true << "4.9.3"
        << "http://ps:30044/client.pkg";
    QTest::addRow("version only") << received(64, "|A5") << true << "5" << "old";
    QTest::addRow("codes alone") << received(64, "|A|B") << true << "" << "";
    QTest::addRow("no fields") << received(64, "") << true << "1.0" << "old";
    QTest::addRow("wrong id") << received(65, "|A5|Bu") << false << "1.0" << "old";
    // clang-format on
}

void tst_SettingsMessages::updateParse()
{
    QFETCH(QString, text);
    QFETCH(bool, accepted);

    PrintClientUpdateMsg msg;
    msg.setVersion("1.0");
    msg.setLauncherUrl("old");
    QCOMPARE(msg.fromText(text), accepted);
    QTEST(msg.getVersion(), "version");
    QTEST(msg.getLauncherUrl(), "url");
    QCOMPARE(msg.getTextForSending(), "64|" + FixedTimeSource::stamp() + "Not Implemented");
}

void tst_SettingsMessages::clonesCopyEveryField()
{
    EventRecorder events;
    SettingsMsg msg(std::make_unique<RecordingHandler>(&events), &events);
    QVERIFY(
        msg.fromText(received(58, "|A" + encrypted("x") + "|B1|C3|GP|JS|L1|N2|Pa|Q|R1|Sb|T1|Uc")));
    const std::unique_ptr<SettingsMsg> copy = cloneAs(msg);
    QCOMPARE(fieldsOf(*copy), fieldsOf(msg));
    QVERIFY(copy->handler() && copy->handler() != msg.handler());

    PrintClientUpdateMsg update;
    update.setVersion("v");
    update.setLauncherUrl("u");
    const std::unique_ptr<PrintClientUpdateMsg> updateCopy = cloneAs(update);
    QCOMPARE(updateCopy->getVersion(), QString("v"));
    QCOMPARE(updateCopy->getLauncherUrl(), QString("u"));

    SettingsResponseMsg answer("de_de");
    QCOMPARE(cloneAs(answer)->getTextForSending(), answer.getTextForSending());
}

QTEST_GUILESS_MAIN(tst_SettingsMessages)
#include "tst_settingsmessages.moc"
