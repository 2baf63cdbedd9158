#include "EventRecorder.h"
#include "HexEncrypt.h"
#include "MacPrintClientPreferences.h"
#include "ObservableEvent.h"
#include "Observer.h"
#include "TestEnvironment.h"
#include "XmlPreferences.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>
#include <sys/resource.h>

namespace {
// The stored form of one string: byte count, big-endian, then UTF-16BE.
QByteArray streamed(const QString &text)
{
    QByteArray bytes;
    const quint32 count = quint32(text.size() * 2);
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes.append(char((count >> shift) & 0xff));
    for (const QChar c : text) {
        bytes.append(char(c.unicode() >> 8));
        bytes.append(char(c.unicode() & 0xff));
    }
    return bytes;
}
} // namespace

class TestMacPrintClientPreferences : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void defaults();
    void defaultDialectRestored();
    void ignoredSetters();
    void inputFilters_data();
    void inputFilters();
    void dedicatedMode_data();
    void dedicatedMode();
    void dedicatedModeReadAfresh();
    void staffPasswordSurvivesRestart_data();
    void staffPasswordSurvivesRestart();
    void sharedMachineNeverWrites();
    void unusableSessionFile_data();
    void unusableSessionFile();
    void failedSaveKeepsSessionFile();
    void dataPaths();

private:
    void writeConfig(const QString &value);
    std::unique_ptr<MacPrintClientPreferences> makePreferences() const;

    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<QTemporaryDir> m_appDir;
    QByteArray m_savedHome;
};

void TestMacPrintClientPreferences::init()
{
    m_home = std::make_unique<QTemporaryDir>();
    m_appDir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_home->isValid() && m_appDir->isValid());
    m_savedHome = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(m_home->path()));
}

void TestMacPrintClientPreferences::cleanup()
{
    qputenv("HOME", m_savedHome);
}

void TestMacPrintClientPreferences::writeConfig(const QString &value)
{
    UtilsLib::XmlPreferences config(QStringLiteral("Mac Printer Connector"));
    config.set(MacPrintClientPreferences::DEDICATED_MODE, value);
    QVERIFY(config.save(m_appDir->filePath(MacPrintClientPreferences::CONFIG_FILE)));
}

std::unique_ptr<MacPrintClientPreferences> TestMacPrintClientPreferences::makePreferences() const
{
    auto preferences = std::make_unique<MacPrintClientPreferences>();
    preferences->setConfigDir(m_appDir->path());
    return preferences;
}

void TestMacPrintClientPreferences::defaults()
{
    const MacPrintClientPreferences preferences;
    const KoaPreferences &koa = preferences;
    QCOMPARE(koa.getStaffPassword(), QStringLiteral("marrowlintel"));
    QVERIFY(!koa.isTemporaryClientAllowed());
    QVERIFY(!koa.getStalloIntegration());
    QVERIFY(!koa.getStalloId());
    QVERIFY(!koa.getMaskUserId());
    QVERIFY(!koa.isLanguageSwitchingAllowed());
    QCOMPARE(koa.getSupportedLanguageDialects(), QString());
    QCOMPARE(koa.getDefaultLanguageDialect(), QStringLiteral("en_us"));
    QCOMPARE(KoaPreferences::DEFAULT_LANGUAGE_DIALECT, QStringLiteral("en_us"));
    QCOMPARE(koa.getCurrentLocale(), QString());
    QVERIFY(!koa.isUserIdInputFilterEnabled());
    QCOMPARE(koa.getUserIdInputFilterExceptions(), QString());
    QVERIFY(!koa.isUserPinInputFilterEnabled());
    QCOMPARE(koa.getUserPinInputFilterExceptions(), QString());
    QCOMPARE(preferences.getConfigFileName(),
        QDir(QCoreApplication::applicationDirPath())
            .absoluteFilePath(QStringLiteral("printClient.tsp")));
}

void TestMacPrintClientPreferences::defaultDialectRestored()
{
    MacPrintClientPreferences preferences;
    preferences.setDefaultLanguageDialect(QStringLiteral("fr"));
    QCOMPARE(preferences.getDefaultLanguageDialect(), QStringLiteral("fr"));
    preferences.setDefaultLanguageDialect(QString());
    QCOMPARE(preferences.getDefaultLanguageDialect(), QStringLiteral("en_us"));
}

void TestMacPrintClientPreferences::ignoredSetters()
{
    MacPrintClientPreferences preferences;
    KoaPreferences &koa = preferences;
    koa.setStalloPageLimit(50);
    koa.setStalloAllowOverride(true);
    koa.setStalloUseDescription(true);
    koa.setThirdPartyUserInfoPath(QStringLiteral("/tmp/users.txt"));
    koa.setStalloUseLanguage(true);
    koa.setStalloUserCredentialsPort(4567);
    QCOMPARE(koa.getStalloPageLimit(), 0);
    QVERIFY(!koa.getStalloAllowOverride());
    QVERIFY(!koa.getStalloUseDescription());
    QCOMPARE(koa.getThirdPartyUserInfoPath(), QString());
    QVERIFY(!koa.getStalloUseLanguage());
    QCOMPARE(koa.getStalloUserCredentialsPort(), 0);
}

void TestMacPrintClientPreferences::inputFilters_data()
{
    // clang-format off
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<QString>("exceptions");
    QTest::addColumn<QString>("kept");
    QTest::addRow("on keeps exceptions") << true << "-_." << "-_.";
    QTest::addRow("off drops exceptions") << false << "-_." << "";
    QTest::addRow("on without exceptions") << true << "" << "";
    // clang-format on
}

void TestMacPrintClientPreferences::inputFilters()
{
    QFETCH(bool, enabled);
    QFETCH(QString, exceptions);
    QFETCH(QString, kept);

    MacPrintClientPreferences preferences;
    preferences.enableUserIdInputFilter(enabled, exceptions);
    QCOMPARE(preferences.isUserIdInputFilterEnabled(), enabled);
    QCOMPARE(preferences.getUserIdInputFilterExceptions(), kept);
    QVERIFY(!preferences.isUserPinInputFilterEnabled());

    preferences.enableUserPinInputFilter(enabled, exceptions + QLatin1Char('#'));
    QCOMPARE(preferences.isUserPinInputFilterEnabled(), enabled);
    QCOMPARE(preferences.getUserPinInputFilterExceptions(),
        enabled ? kept + QLatin1Char('#') : QString());
    QCOMPARE(preferences.getUserIdInputFilterExceptions(), kept);
}

void TestMacPrintClientPreferences::dedicatedMode_data()
{
    // clang-format off
    QTest::addColumn<QByteArray>("configFile"); // null: no file
    QTest::addColumn<bool>("dedicated");
    QTest::addColumn<bool>("warned");

    const QByteArray head = "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\r\n<Settings>\r\n"
                            "<version>1.1</version>\r\n<type>Mac Printer Connector</type>\r\n";
    auto withEntry = [&head](const QByteArray &entry) {
        return head + entry + "\r\n</Settings>\r\n";
    };
    QTest::addRow("missing file") << QByteArray() << true << true;
    QTest::addRow("0") << withEntry("<entry name='Dedicated Mode'>0</entry>") << false << false;
    QTest::addRow("1") << withEntry("<entry name='Dedicated Mode'>1</entry>") << true << false;
    QTest::addRow("2") << withEntry("<entry name='Dedicated Mode'>2</entry>") << true << false;
    QTest::addRow("-1") << withEntry("<entry name='Dedicated Mode'>-1</entry>") << true << false;
    QTest::addRow("non-numeric")
        << withEntry("<entry name='Dedicated Mode'>yes</entry>") << false << false;
    QTest::addRow("other case")
        << withEntry("<entry name='DEDICATED MODE'>0</entry>") << false << false;
    QTest::addRow("no entry")
        << withEntry("<entry name='Print Service'>ps.example</entry>") << true << false;
    QTest::addRow("malformed")
        << QByteArray(head + "<entry name='Dedicated Mode'>0") << false << true;
    QTest::addRow("malformed before the entry")
        << withEntry("<entry name='Print Service Address'>ps\x01</entry>\r\n"
                     "<entry name='Dedicated Mode'>1</entry>") << false << true;
    QTest::addRow("0 before a malformed tail")
        << QByteArray(head + "<entry name='Dedicated Mode'>0</entry>\r\n<entry") << false << true;
    // clang-format on
}

void TestMacPrintClientPreferences::dedicatedMode()
{
    QFETCH(QByteArray, configFile);
    QFETCH(bool, dedicated);
    QFETCH(bool, warned);

    const QString configPath = m_appDir->filePath(QStringLiteral("printClient.tsp"));
    if (!configFile.isNull())
        QVERIFY(writeAll(configPath, configFile));

    auto preferences = makePreferences();
    EventRecorder recorder;
    preferences->addObserver(&recorder);
    QCOMPARE(preferences->getDedicatedMode(), dedicated);
    QCOMPARE(preferences->getDedicatedMode(), dedicated);

    const QStringList expectedWarnings = warned
        ? QStringList(2, QStringLiteral("Failed to load config file at %1").arg(configPath))
        : QStringList();
    QCOMPARE(recorder.details(QStringLiteral("Warning")), expectedWarnings);
    QCOMPARE(recorder.details(QStringLiteral("Info")),
        QStringList(2, QStringLiteral("dedicated mode = %1").arg(dedicated ? 1 : 0)));
    for (const UtilsLib::ObservableEvent &event : recorder.events)
        QCOMPARE(event.senderId(), QStringLiteral("MacPrintClientPreferences"));
    preferences->removeObserver(&recorder);
}

void TestMacPrintClientPreferences::dedicatedModeReadAfresh()
{
    auto preferences = makePreferences();
    writeConfig(QStringLiteral("0"));
    QVERIFY(!preferences->getDedicatedMode());
    writeConfig(QStringLiteral("1"));
    QVERIFY(preferences->getDedicatedMode());
    QVERIFY(QFile::remove(m_appDir->filePath(QStringLiteral("printClient.tsp"))));
    QVERIFY(preferences->getDedicatedMode());
}

void TestMacPrintClientPreferences::staffPasswordSurvivesRestart_data()
{
    // clang-format off
    QTest::addColumn<QString>("password");
    QTest::addColumn<QByteArray>("stored");

    QTest::addRow("ascii") << "abc" << streamed(QStringLiteral("707274"));
    QTest::addRow("empty is a zero-length string") << "" << QByteArray(4, '\0');
    QTest::addRow("non-ascii") << QStringLiteral("é") << streamed(QStringLiteral("3501"));
    QTest::addRow("specials")
        << "p:a|s\\s w'o\"rd"
        << streamed(UtilsLib::HexEncrypt::encryptData( QStringLiteral("p:a|s\\s w'o\"rd")));
    // clang-format on
}

void TestMacPrintClientPreferences::staffPasswordSurvivesRestart()
{
    QFETCH(QString, password);
    QFETCH(QByteArray, stored);

    writeConfig(QStringLiteral("1"));
    {
        auto preferences = makePreferences();
        QVERIFY(!preferences->loadFromFile());
        QCOMPARE(preferences->getStaffPassword(), QStringLiteral("marrowlintel"));
        preferences->setStaffPassword(password);
        preferences->saveIfDedicated();
    }
    const QString datFile = m_home->filePath(QStringLiteral(".pelloraVav/session.dat"));
    QCOMPARE(readAll(datFile), stored);

    auto restarted = makePreferences();
    QVERIFY(restarted->loadFromFile());
    QCOMPARE(restarted->getStaffPassword(), password);
}

void TestMacPrintClientPreferences::sharedMachineNeverWrites()
{
    writeConfig(QStringLiteral("0"));
    auto preferences = makePreferences();
    preferences->setStaffPassword(QStringLiteral("changed"));
    preferences->saveIfDedicated();
    QVERIFY(!QFileInfo::exists(preferences->getDatDirName()));

    // A file left from a dedicated past is still read, and left alone.
    QVERIFY(preferences->createDatDir());
    const QByteArray old = streamed(UtilsLib::HexEncrypt::encryptData(QStringLiteral("earlier")));
    QVERIFY(writeAll(preferences->getDatFileName(), old));
    preferences->saveIfDedicated();
    QCOMPARE(readAll(preferences->getDatFileName()), old);

    auto restarted = makePreferences();
    QVERIFY(restarted->loadFromFile());
    QCOMPARE(restarted->getStaffPassword(), QStringLiteral("earlier"));
}

void TestMacPrintClientPreferences::unusableSessionFile_data()
{
    // clang-format off
    QTest::addColumn<QByteArray>("content"); // null: session.dat is a folder
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<QString>("password");

    const QByteArray full = streamed(QStringLiteral("707274"));
    QTest::addRow("empty file") << QByteArray("") << false << "marrowlintel";
    QTest::addRow("cut inside the length") << QByteArray("\0\0", 2) << false << "marrowlintel";
    QTest::addRow("shorter than its length")
        << full.left(full.size() - 2) << false << "marrowlintel";
    QTest::addRow("huge length")
        << QByteArray("\x7f\xff\xff\xfe\0\x37", 6) << false << "marrowlintel";
    QTest::addRow("odd byte count")
        << QByteArray("\0\0\0\x03\0\x37\0", 7) << false << "marrowlintel";
    QTest::addRow("folder instead of file") << QByteArray() << false << "marrowlintel";
    QTest::addRow("null string reads as empty") << QByteArray("\xff\xff\xff\xff", 4) << true << "";
    QTest::addRow("trailing bytes ignored") << full + "junk" << true << "abc";
    // clang-format on
}

void TestMacPrintClientPreferences::unusableSessionFile()
{
    QFETCH(QByteArray, content);
    QFETCH(bool, loaded);
    QFETCH(QString, password);

    auto preferences = makePreferences();
    QVERIFY(!preferences->loadFromFile()); // no folder yet
    QVERIFY(preferences->createDatDir());
    QVERIFY(!preferences->loadFromFile()); // folder without file
    if (content.isNull())
        QVERIFY(QDir().mkdir(preferences->getDatFileName()));
    else
        QVERIFY(writeAll(preferences->getDatFileName(), content));

    QCOMPARE(preferences->loadFromFile(), loaded);
    QCOMPARE(preferences->getStaffPassword(), password);
}

void TestMacPrintClientPreferences::failedSaveKeepsSessionFile()
{
    writeConfig(QStringLiteral("1"));
    auto preferences = makePreferences();
    preferences->setStaffPassword(QStringLiteral("kept"));
    preferences->saveIfDedicated();
    const QByteArray before = readAll(preferences->getDatFileName());
    QCOMPARE(before, streamed(UtilsLib::HexEncrypt::encryptData(QStringLiteral("kept"))));

    preferences->setStaffPassword(QString(100000, QLatin1Char('n')));
    {
        FileSizeLimit limit(1024);
        preferences->saveIfDedicated();
    }
    QCOMPARE(readAll(preferences->getDatFileName()), before);
    QCOMPARE(QDir(preferences->getDatDirName()).entryList(QDir::Files | QDir::Hidden),
        QStringList {QStringLiteral("session.dat")});
    // The password in memory is still the current one.
    QCOMPARE(preferences->getStaffPassword().size(), 100000);

    // A regular file where the folder belongs: nothing is written, nothing breaks.
    QVERIFY(QDir(preferences->getDatDirName()).removeRecursively());
    QVERIFY(writeAll(preferences->getDatDirName(), "in the way"));
    preferences->saveIfDedicated();
    QVERIFY(!preferences->createDatDir());
    QCOMPARE(readAll(preferences->getDatDirName()), QByteArray("in the way"));
    QVERIFY(!preferences->loadFromFile());
}

void TestMacPrintClientPreferences::dataPaths()
{
    const MacPrintClientPreferences preferences;
    QCOMPARE(preferences.getDatDirName(), m_home->path() + QStringLiteral("/.pelloraVav"));
    QCOMPARE(
        preferences.getDatFileName(), m_home->path() + QStringLiteral("/.pelloraVav/session.dat"));
    QVERIFY(preferences.createDatDir());
    QVERIFY(QFileInfo(preferences.getDatDirName()).isDir());

    // Only the last level is created: a missing home folder stays missing.
    qputenv("HOME", QFile::encodeName(m_home->filePath(QStringLiteral("gone/home"))));
    QVERIFY(!preferences.createDatDir());
    QVERIFY(!QFileInfo::exists(m_home->filePath(QStringLiteral("gone"))));
}

QTEST_GUILESS_MAIN(TestMacPrintClientPreferences)
#include "tst_macprintclientpreferences.moc"
