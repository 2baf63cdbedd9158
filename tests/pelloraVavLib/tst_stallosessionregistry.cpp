#include "EventRecorder.h"
#include "HexEncrypt.h"
#include "ObservableEvent.h"
#include "Observer.h"
#include "StalloSessionRegistry.h"
#include "TestEnvironment.h"
#include "TestHttpResponder.h"
#include "TsHttpMac.h"

#include <QSettings>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

class tst_StalloSessionRegistry : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void serviceDownNothingStored();
    void serviceDownUsesStoredValues();
    void language_data();
    void language();
    void storedPin_data();
    void storedPin();
    void answersFromService();
    void emptyAnswerAskedTwice();
    void descriptionDisabledMakesNoRequest();
    void pagesPrinted();
    void seesANewSessionOfTheProduct();
    void asksForItsOwnTimeout();
    void tracesRequests();
    void defaultStoreIsTheUserSettings();

private:
    std::unique_ptr<StalloSessionRegistry> makeRegistry(quint16 port);
    std::unique_ptr<QSettings> store() const;

    TestHttpResponder m_server;
    QTemporaryDir m_dir;
    TsHttpMac m_http;
    QString m_storePath;
};

void tst_StalloSessionRegistry::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(m_server.startListening());
    // Anything opened through the native user settings lands in the temporary folder.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
}

void tst_StalloSessionRegistry::init()
{
    m_storePath = m_dir.filePath(QStringLiteral("%1.ini").arg(QTest::currentTestFunction()));
    QFile::remove(m_storePath);
    m_server.clearRequests();
}

void tst_StalloSessionRegistry::cleanup()
{
    for (const char *name :
        {"/patron_id", "/patron_pin", "/computer_description", "/current_language_code"})
        m_server.setResponse(name, TestHttpResponder::reply(404, "none"));
}

std::unique_ptr<QSettings> tst_StalloSessionRegistry::store() const
{
    return std::make_unique<QSettings>(m_storePath, QSettings::IniFormat);
}

std::unique_ptr<StalloSessionRegistry> tst_StalloSessionRegistry::makeRegistry(quint16 port)
{
    auto registry = std::make_unique<StalloSessionRegistry>(&m_http, nullptr, port, store());
    registry->setHost(QStringLiteral("127.0.0.1"));
    return registry;
}

void tst_StalloSessionRegistry::serviceDownNothingStored()
{
    const auto registry = makeRegistry(closedLoopbackPort());
    QCOMPARE(registry->getUserId(), QString());
    QCOMPARE(registry->getUserPin(), QString());
    QCOMPARE(registry->getInSession(), false);
    QCOMPARE(registry->getLanguage(), QString());
    QCOMPARE(registry->getPcDescription(true), QString());
    QCOMPARE(registry->getPagesPrinted(), 0);
    QCOMPARE(registry->getEncryptPin(), false);
}

void tst_StalloSessionRegistry::serviceDownUsesStoredValues()
{
    {
        QSettings settings(m_storePath, QSettings::IniFormat);
        settings.setValue(StalloSessionRegistry::USER_ID_VAL, QStringLiteral("jdoe"));
        settings.setValue(StalloSessionRegistry::USER_PIN_VAL, QStringLiteral("1234"));
        settings.setValue(StalloSessionRegistry::IN_SESSION_VAL, 1);
        settings.setValue(StalloSessionRegistry::STALLO_PC_DESCRIPTION, QStringLiteral("Lab 3"));
        settings.setValue(StalloSessionRegistry::STALLO_LANGUAGE, QStringLiteral("es_MX"));
    }
    const auto registry = makeRegistry(closedLoopbackPort());
    QCOMPARE(registry->getUserId(), QStringLiteral("jdoe"));
    QCOMPARE(registry->getUserPin(), QStringLiteral("1234"));
    QCOMPARE(registry->getInSession(), true);
    QCOMPARE(registry->getPcDescription(true), QStringLiteral("Lab 3"));
    QCOMPARE(registry->getLanguage(), QStringLiteral("es_us"));
}

void tst_StalloSessionRegistry::language_data()
{
    // clang-format off
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("expected");

    QTest::addRow("en_GB") << QByteArray("en_GB") << QString() << "en_us";
    QTest::addRow("es") << QByteArray("es") << QString() << "es_us";
    QTest::addRow("fr_CA") << QByteArray("fr_CA") << QString() << "fr";
    QTest::addRow("de") << QByteArray("de") << QString() << "de";
    QTest::addRow("answer beats store") << QByteArray("fr") << "de" << "fr";
    QTest::addRow("stored en") << QByteArray() << "en" << "en_us";
    QTest::addRow("stored other") << QByteArray() << "nl_BE" << "nl_BE";
    // clang-format on
}

void tst_StalloSessionRegistry::language()
{
    QFETCH(QByteArray, answer);
    QFETCH(QString, stored);
    QFETCH(QString, expected);

    if (!answer.isEmpty())
        m_server.setResponse("/current_language_code", TestHttpResponder::reply(200, answer));
    if (!stored.isEmpty()) {
        QSettings settings(m_storePath, QSettings::IniFormat);
        settings.setValue(StalloSessionRegistry::STALLO_LANGUAGE, stored);
    }
    const auto registry = makeRegistry(m_server.port());
    QCOMPARE(registry->getLanguage(), expected);
}

void tst_StalloSessionRegistry::storedPin_data()
{
    // clang-format off
    QTest::addColumn<bool>("encrypted");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("expected");

    QTest::addRow("encrypted")
        << true << UtilsLib::HexEncrypt::encryptData(QStringLiteral("9876")) << "9876";
    QTest::addRow("plain") << false << "9876" << "9876";
    QTest::addRow("plain that looks encoded")
        << false << UtilsLib::HexEncrypt::encryptData(QStringLiteral("9876"))
        << UtilsLib::HexEncrypt::encryptData(QStringLiteral("9876"));
    // clang-format on
}

void tst_StalloSessionRegistry::storedPin()
{
    QFETCH(bool, encrypted);
    QFETCH(QString, stored);
    QFETCH(QString, expected);
    {
        QSettings settings(m_storePath, QSettings::IniFormat);
        settings.setValue(StalloSessionRegistry::STALLO_ENCRYPT_PIN, encrypted);
        settings.setValue(StalloSessionRegistry::USER_PIN_VAL, stored);
    }
    const auto registry = makeRegistry(closedLoopbackPort());
    QCOMPARE(registry->getEncryptPin(), encrypted);
    QCOMPARE(registry->getUserPin(), expected);
}

void tst_StalloSessionRegistry::answersFromService()
{
    m_server.setResponse("/patron_id",
        TestHttpResponder::reply(
            200, UtilsLib::HexEncrypt::encryptData(QStringLiteral("Zoë O'Neil")).toLatin1()));
    m_server.setResponse("/patron_pin",
        TestHttpResponder::reply(
            200, UtilsLib::HexEncrypt::encryptData(QStringLiteral("4321")).toLatin1()));
    m_server.setResponse("/computer_description",
        TestHttpResponder::reply(200, QStringLiteral("Salle café 2").toUtf8()));
    {
        QSettings settings(m_storePath, QSettings::IniFormat);
        settings.setValue(StalloSessionRegistry::USER_ID_VAL, QStringLiteral("stored"));
        settings.setValue(StalloSessionRegistry::IN_SESSION_VAL, 0);
    }
    const auto registry = makeRegistry(m_server.port());
    QCOMPARE(registry->getUserId(), QStringLiteral("Zoë O'Neil"));
    QCOMPARE(registry->getUserPin(), QStringLiteral("4321"));
    QCOMPARE(registry->getInSession(), true);
    QCOMPARE(registry->getPcDescription(true), QStringLiteral("Salle café 2"));
    QCOMPARE(m_server.requestCount(), 4);
    QVERIFY(m_server.requests().first().startsWith("GET /patron_id HTTP/1.0\r\n"));
}

void tst_StalloSessionRegistry::emptyAnswerAskedTwice()
{
    m_server.setResponse("/patron_id", TestHttpResponder::reply(200, ""));
    {
        QSettings settings(m_storePath, QSettings::IniFormat);
        settings.setValue(StalloSessionRegistry::USER_ID_VAL, QStringLiteral("fallback"));
    }
    const auto registry = makeRegistry(m_server.port());
    QCOMPARE(registry->getUserId(), QStringLiteral("fallback"));
    QCOMPARE(m_server.requestCount(), 2);

    m_server.clearRequests();
    QCOMPARE(
        registry->userInputFromStalloWebService(QStringLiteral("patron_id"), false), QString());
    QCOMPARE(m_server.requestCount(), 1);
}

void tst_StalloSessionRegistry::descriptionDisabledMakesNoRequest()
{
    m_server.setResponse("/computer_description", TestHttpResponder::reply(200, "desk"));
    const auto registry = makeRegistry(m_server.port());
    QCOMPARE(registry->getPcDescription(false), QString());
    QCOMPARE(m_server.requestCount(), 0);
    QCOMPARE(registry->getPcDescription(true), QStringLiteral("desk"));
    QCOMPARE(m_server.requestCount(), 1);
}

void tst_StalloSessionRegistry::pagesPrinted()
{
    {
        QSettings settings(m_storePath, QSettings::IniFormat);
        settings.setValue(StalloSessionRegistry::PAGES_PRINTED_VAL, 4);
    }
    {
        const auto registry = makeRegistry(closedLoopbackPort());
        registry->incrementPagesPrinted(3);
        registry->incrementPagesPrinted(3);
        QCOMPARE(registry->getPagesPrinted(), 10);
    }
    QSettings reread(m_storePath, QSettings::IniFormat);
    QCOMPARE(reread.value(StalloSessionRegistry::PAGES_PRINTED_VAL).toInt(), 10);
    QCOMPARE(m_server.requestCount(), 0);
}

// The reservation product rewrites its settings when the next patron's session
// starts; the registry must not go on with the previous patron.
void tst_StalloSessionRegistry::seesANewSessionOfTheProduct()
{
    // Written as another process writes it: past any settings object here.
    auto writeStore = [this](const QByteArray &user, int pages) {
        QFile file(m_storePath);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("[General]\nCurrent%20User=" + user
            + "\nPages%20Printed%20This%20Session=" + QByteArray::number(pages) + "\n");
    };
    writeStore("alice", 10);
    const auto registry = makeRegistry(closedLoopbackPort());
    QCOMPARE(registry->getUserId(), QStringLiteral("alice"));
    writeStore("bob", 0);
    registry->incrementPagesPrinted(2);
    QCOMPARE(registry->getUserId(), QStringLiteral("bob"));
    QFile file(m_storePath);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().contains("Pages%20Printed%20This%20Session=2"));
}

void tst_StalloSessionRegistry::asksForItsOwnTimeout()
{
    TsHttpMac http;
    StalloSessionRegistry registry(&http, nullptr, StalloSessionRegistry::DefaultPort, store());
    // A client created afterwards keeps its own 30 seconds and leaves ours alone.
    TsHttpMac later;
    QCOMPARE(http.timeoutSeconds(), 5);
    QCOMPARE(later.timeoutSeconds(), 30);
    QCOMPARE(registry.port(), 4567);
    QCOMPARE(registry.host(), QStringLiteral("localhost"));

    StalloSessionRegistry withoutClient(
        nullptr, nullptr, StalloSessionRegistry::DefaultPort, store());
    QCOMPARE(withoutClient.getUserId(), QString());
}

void tst_StalloSessionRegistry::tracesRequests()
{
    m_server.setResponse("/current_language_code", TestHttpResponder::reply(200, "en_GB"));
    EventRecorder recorder;
    StalloSessionRegistry registry(&m_http, &recorder, m_server.port(), store());
    registry.setHost(QStringLiteral("127.0.0.1"));
    QCOMPARE(registry.getLanguage(), QStringLiteral("en_us"));
    const QString url = m_server.url(QStringLiteral("/current_language_code"));
    QCOMPARE(recorder.details(),
        QStringList({QStringLiteral("Enter: getLanguage"), QStringLiteral("request string: ") + url,
            QStringLiteral("response string: en_GB"), QStringLiteral("Exit: getLanguage")}));

    recorder.events.clear();
    QCOMPARE(registry.getUserId(), QString());
    const QString idUrl = m_server.url(QStringLiteral("/patron_id"));
    QCOMPARE(recorder.details(),
        QStringList({QStringLiteral("request string: ") + idUrl,
            QStringLiteral("request failed: response string: "),
            QStringLiteral("request string: ") + idUrl}));
}

void tst_StalloSessionRegistry::defaultStoreIsTheUserSettings()
{
    {
        QSettings settings(
            QSettings::UserScope, QStringLiteral("Merrow Software"), QStringLiteral("Stallo"));
        QVERIFY(settings.fileName().startsWith(m_dir.path()));
        settings.setValue(StalloSessionRegistry::USER_ID_VAL, QStringLiteral("native"));
    }
    StalloSessionRegistry registry(nullptr, nullptr, closedLoopbackPort(), nullptr);
    QVERIFY(registry.settings()->fileName().startsWith(m_dir.path()));
    QCOMPARE(registry.getUserId(), QStringLiteral("native"));
}

QTEST_GUILESS_MAIN(tst_StalloSessionRegistry)
#include "tst_stallosessionregistry.moc"
