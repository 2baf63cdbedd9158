#include "FakeConnector.h"
#include "FakePreferences.h"
#include "LanguageChangerInterface.h"
#include "PrintClientLanguageChanger.h"
#include "PrintClientTranslator.h"
#include "PrintClientTranslatorInterface.h"
#include "QmMessageFile.h"
#include "SettingsMsg.h"
#include "SettingsMsgHandler.h"
#include "SharedPrinterMappingsInterface.h"
#include "StalloSessionRegistry.h"
#include "TestHttpResponder.h"
#include "Trace.h"
#include "TsBaseDialog.h"
#include "TsHttp.h"
#include "messagetesthelpers.h"

#include <QElapsedTimer>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Records the order of the writes that matter for the stored session.
class RecordingPreferences : public FakePreferences
{
public:
    void saveIfDedicated() override { calls << QStringLiteral("save"); }
    void setStaffPassword(const QString &password) override
    {
        calls << QStringLiteral("password ") + password;
    }
    void setThirdPartyUserInfoPath(const QString &path) override
    {
        calls << QStringLiteral("identity file ") + path;
    }
    bool getStalloUseLanguage() const override { return useLanguage; }
    void setStalloUseLanguage(bool on) override { useLanguage = on; }

    QStringList calls;
    bool useLanguage = false;
};

class FakeTranslator : public PrintClientTranslatorInterface
{
public:
    void installDefaultTranslations() override { }
    void installOverrideTranslations(int) override { }
    QString getLocale() override { return locale; }
    void setLocale(const QString &l, int port) override
    {
        locale = l;
        calls << QStringLiteral("setLocale %1 %2").arg(l).arg(port);
    }
    void installSupportedLanguageDialects(const QString &dialects) override
    {
        calls << QStringLiteral("dialects ") + dialects;
    }
    void removeOldTranslators() override { }

    QString locale = QStringLiteral("en_us");
    QStringList calls;
};

class RecordingChanger : public LanguageChangerInterface
{
public:
    int changeLanguage(const QString &code) override
    {
        codes << code;
        return 1;
    }
    QStringList codes;
};

class RecordingMappings : public SharedPrinterMappingsInterface
{
public:
    bool connectToSharedPrinters(const QStringList &) override { return true; }
    void disconnectFromSharedPrinters() override { }
    void setDefaultPrinter(const QString &name) override { defaults << name; }
    QStringList defaults;
};

class FakeRegistry : public StalloSessionRegistry
{
public:
    explicit FakeRegistry(const QString &file)
        : StalloSessionRegistry(
            nullptr, nullptr, 0, std::make_unique<QSettings>(file, QSettings::IniFormat))
    { }
    bool getInSession() override { return inSession; }
    QString getLanguage() override { return language; }
    bool inSession = false;
    QString language;
};

} // namespace

class SettingsHandlerTest : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        Tessaly::Core::Message::setTimeSource(&m_clock);
        gOverridesInitialized = false;
    }
    void languageDecisions_data();
    void languageDecisions();
    void preferencesCopiedAndAnswered();
    void nullMessageChangesNothing();
    void overrideDownloadsShareOneWait();

private:
    FixedTimeSource m_clock;
    QTemporaryDir m_dir;
};

void SettingsHandlerTest::languageDecisions_data()
{
    QTest::addColumn<QString>("body");
    QTest::addColumn<bool>("commandLine");
    QTest::addColumn<bool>("overridesDone");
    QTest::addColumn<bool>("withChanger");
    QTest::addColumn<bool>("inSession");
    QTest::addColumn<QString>("stalloLanguage");
    QTest::addColumn<int>("messages");
    QTest::addColumn<QStringList>("codes");
    QTest::addColumn<QStringList>("translatorCalls");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<int>("warnings");

    const QString switching = QStringLiteral("|O1|Pen_us, es_us ,fr|Qfr_ca|L8080");
    const QString plain = QStringLiteral("|Pen_us,fr_ca|Qfr_ca|L8080");
    const QStringList none;
    // clang-format off
    QTest::addRow("switching: every dialect, then the previous locale")
        << switching << true << true << true << false << QString() << 1
        << QStringList{"EN_US", "ES_US", "FR", "DE_DE"}
        << QStringList{"dialects en_us, es_us ,fr"} << "en_us" << 0;
    QTest::addRow("switching without changer: dialects installed only")
        << switching << true << true << false << false << QString() << 1
        << none << QStringList{"dialects en_us, es_us ,fr"} << "en_us" << 0;
    QTest::addRow("first message: overrides and site default")
        << plain << false << false << true << false << QString() << 1
        << QStringList{"de_de"} << QStringList{"setLocale fr_ca 8080"} << "fr_ca" << 0;
    QTest::addRow("second identical message: neither")
        << plain << false << false << true << false << QString() << 2
        << QStringList{"de_de"} << QStringList{"setLocale fr_ca 8080"} << "fr_ca" << 0;
    QTest::addRow("overrides already applied by start-up")
        << plain << false << true << true << false << QString() << 1
        << none << QStringList{"setLocale fr_ca 8080"} << "fr_ca" << 0;
    QTest::addRow("command-line locale never overridden")
        << plain << true << false << true << false << QString() << 2
        << QStringList{"de_de"} << none << "en_us" << 0;
    QTest::addRow("reservation on, no session: site default")
        << plain + "|B1|M1" << false << true << false << false << "es_us" << 1
        << none << QStringList{"dialects en_us,fr_ca", "setLocale fr_ca 8080"} << "fr_ca" << 0;
    QTest::addRow("reservation language in any case")
        << "|B1|M1|PEn_Us,Es_uS|L81" << false << true << false << true << "ES_US" << 1
        << none << QStringList{"dialects En_Us,Es_uS", "setLocale ES_US 81"} << "ES_US" << 0;
    QTest::addRow("reservation language not offered")
        << "|B1|M1|Pen_us|L81" << false << true << false << true << "ja_jp" << 1
        << none << QStringList{"dialects en_us"} << "en_us" << 1;
    QTest::addRow("empty reservation language is not a match")
        << "|B1|M1|Pen_us|L81" << false << true << false << true << "" << 1
        << none << QStringList{"dialects en_us"} << "en_us" << 1;
    // clang-format on
}

void SettingsHandlerTest::languageDecisions()
{
    QFETCH(QString, body);
    QFETCH(bool, commandLine);
    QFETCH(bool, overridesDone);
    QFETCH(bool, withChanger);
    QFETCH(bool, inSession);
    QFETCH(QString, stalloLanguage);
    QFETCH(int, messages);
    QFETCH(QStringList, codes);
    QFETCH(QStringList, translatorCalls);
    QFETCH(QString, locale);
    QFETCH(int, warnings);

    gOverridesInitialized = overridesDone;
    RecordingPreferences preferences;
    preferences.setCurrentLocale(QStringLiteral("de_de"));
    FakeTranslator translator;
    RecordingChanger changer;
    RecordingMappings mappings;
    FakeRegistry registry(m_dir.filePath(QStringLiteral("stallo.ini")));
    registry.inSession = inSession;
    registry.language = stalloLanguage;
    EventRecorder recorder;
    SettingsMsgHandler handler(
        &preferences, &registry, &mappings, &translator, commandLine, &recorder);
    if (withChanger)
        handler.setLanguageChanger(&changer);

    SettingsMsg message;
    QVERIFY(message.fromText(received(58, body)));
    QString answer;
    for (int i = 0; i < messages; ++i)
        answer = handler.handle(QString(), &message);

    QCOMPARE(changer.codes, codes);
    QCOMPARE(translator.calls, translatorCalls);
    QCOMPARE(answer, received(59, "|A" + locale));
    QVERIFY(gOverridesInitialized);
    QCOMPARE(recorder.details(Trace::Warning).size(), warnings);
}

void SettingsHandlerTest::preferencesCopiedAndAnswered()
{
    RecordingPreferences preferences;
    FakeTranslator translator;
    translator.locale = QStringLiteral("es_us");
    RecordingMappings mappings;
    FakeRegistry registry(m_dir.filePath(QStringLiteral("stallo.ini")));
    EventRecorder recorder;
    SettingsMsgHandler handler(&preferences, &registry, &mappings, &translator, true, &recorder);

    SettingsMsg message;
    QVERIFY(
        message.fromText(received(58, "|B1|E1|F1|H1|I/tmp/id.txt|JNorth Branch|R1|S-_|T0|Uxy|G")));
    message.setPassword(QStringLiteral("staff"));
    QCOMPARE(handler.handle(QString(), &message), QStringLiteral("59|20261208093005|Aes_us"));

    // The password is in place before the session is stored; the rest follows.
    QCOMPARE(
        preferences.calls, (QStringList {"password staff", "save", "identity file /tmp/id.txt"}));
    QVERIFY(preferences.stalloIntegration && preferences.stalloId && preferences.maskUserId
        && preferences.useDescription);
    QVERIFY(preferences.isUserIdInputFilterEnabled());
    QCOMPARE(preferences.getUserIdInputFilterExceptions(), QStringLiteral("-_"));
    QVERIFY(!preferences.isUserPinInputFilterEnabled());
    QCOMPARE(preferences.getUserPinInputFilterExceptions(), QString());
    QCOMPARE(TsBaseDialog::siteName(), QStringLiteral("North Branch"));
    // An empty default printer is handed on too: it clears the site's default.
    QCOMPARE(mappings.defaults, QStringList {QString()});
    QVERIFY(recorder.details().contains(
        QStringLiteral("User Id Input Filter Enabled: 1 (Exceptions: -_)")));
    QVERIFY(recorder.details().contains(QStringLiteral("Response=59|20261208093005|Aes_us")));
}

void SettingsHandlerTest::nullMessageChangesNothing()
{
    RecordingPreferences preferences;
    FakeTranslator translator;
    RecordingMappings mappings;
    FakeRegistry registry(m_dir.filePath(QStringLiteral("stallo.ini")));
    EventRecorder recorder;
    SettingsMsgHandler handler(&preferences, &registry, &mappings, &translator, false, &recorder);
    QCOMPARE(handler.handle(QString(), nullptr), QString());
    QCOMPARE(recorder.details(Trace::Warning), QStringList {"Message is NULL"});
    QVERIFY(
        preferences.calls.isEmpty() && mappings.defaults.isEmpty() && translator.calls.isEmpty());
}

// A Print Service that never answers, and a message that lists dialects
// twice, cost one bounded wait in all: not one wait per listed dialect.
void SettingsHandlerTest::overrideDownloadsShareOneWait()
{
    QTemporaryDir application;
    QVERIFY(QDir().mkpath(application.filePath(QStringLiteral("languages"))));
    for (const char *code : {"en_us", "es_us", "fr", "de_de"}) {
        QFile file(application.filePath(QStringLiteral("languages/%1.qm").arg(code)));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.write(QmMessageFile::write({})) > 0);
    }
    TsBaseDialog::setApplicationFolder(application.path());
    const auto restore = qScopeGuard([] { TsBaseDialog::setApplicationFolder(QString()); });
    TestHttpResponder server;
    QVERIFY(server.startListening());
    for (const char *code : {"EN_US", "ES_US", "FR", "DE_DE"})
        server.setResponse(
            QByteArray("/languages/") + code + "_OVERRIDE.qm", QByteArray(), TestHttpResponder::Hang);

    RecordingPreferences preferences;
    preferences.setCurrentLocale(QStringLiteral("de_de"));
    EventRecorder recorder;
    FakeConnector connector;
    PrintClientTranslator translator(QStringLiteral("en_us"), &recorder);
    translator.setPrinterConnector(&connector);
    PrintClientLanguageChanger changer(&preferences, std::make_unique<TsHttp>(),
        server.url(QStringLiteral("/languages")), &recorder);
    RecordingMappings mappings;
    FakeRegistry registry(m_dir.filePath(QStringLiteral("stallo.ini")));
    SettingsMsgHandler handler(&preferences, &registry, &mappings, &translator, false, &recorder);
    handler.setLanguageChanger(&changer);
    handler.setDownloadBudget(1000);

    SettingsMsg message;
    QVERIFY(message.fromText(
        received(58, "|O1|Pen_us,fr,EN_US, fr,es_us|Qfr|L" + QString::number(server.port()))));
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(handler.handle(QString(), &message), received(59, "|Afr"));
    QVERIFY2(clock.elapsed() < 2 * LanguageChanger::OverrideTimeout, "one wait per dialect");

    const QList<QByteArray> requests = server.requests();
    QCOMPARE(QSet<QByteArray>(requests.cbegin(), requests.cend()).size(), requests.size());
    const QStringList warnings = recorder.details(Trace::Warning);
    QVERIFY(std::any_of(warnings.cbegin(), warnings.cend(), [](const QString &line) {
        return line.startsWith(QLatin1String("No time left to retrieve override translations"));
    }));
}

QTEST_MAIN(SettingsHandlerTest)
#include "tst_settingshandler.moc"
