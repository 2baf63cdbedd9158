#include "EventRecorder.h"
#include "MacPrinterConnector.h"
#include "MacPrintersManager.h"
#include "ObservableEvent.h"
#include "Observer.h"
#include "TestEnvironment.h"
#include "Trace.h"
#include "TsHttpFactory.h"
#include "XmlPreferences.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {
class FakeManager : public MacPrintersManager
{
public:
    bool installPrinters(const QString &address, TsHttpFactory *) override
    {
        calls << "install " + address;
        return result;
    }
    void uninstallPrinters() override { calls << "uninstall"; }
    QStringList calls;
    bool result = true;
};

class PromptedConnector : public MacPrinterConnector
{
public:
    PromptedConnector(std::unique_ptr<FakeManager> manager, const QString &folder)
        : MacPrinterConnector(std::move(manager))
    {
        setConfigDir(folder);
    }
    QStringList answers;
    int prompts = 0;
    bool abortDuringPrompt = false;

protected:
    QString askForAddress() override
    {
        ++prompts;
        if (abortDuringPrompt)
            abortInitialization();
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
};

} // namespace

class TestMacPrinterConnector : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_home.isValid());
        qputenv("HOME", m_home.path().toLocal8Bit());
    }

    void init() { qputenv("HOME", m_home.path().toLocal8Bit()); }

    void configuredAddressNeedsNoPrompt()
    {
        QTemporaryDir dir;
        UtilsLib::XmlPreferences config(QStringLiteral("Mac Printer Connector"));
        config.set(MacPrinterConnector::PRINT_SERVICE_ADDRESS, QStringLiteral("10.0.0.5"),
            QString(), false);
        const QString path = dir.filePath(MacPrinterConnector::CONFIG_FILE);
        QVERIFY(config.save(path));
        const QByteArray before = readAll(path);

        auto ownedManager = std::make_unique<FakeManager>();

        FakeManager *manager = ownedManager.get();
        PromptedConnector connector(std::move(ownedManager), dir.path());
        QVERIFY(connector.initialize());
        QCOMPARE(connector.prompts, 0);
        QCOMPARE(manager->calls, QStringList {"install 10.0.0.5"});
        QCOMPARE(readAll(path), before);
    }

    void missingFileAsksOnceAndSaves()
    {
        QTemporaryDir dir;
        PromptedConnector connector(std::make_unique<FakeManager>(), dir.path());
        EventRecorder recorder;
        connector.addObserver(&recorder);
        connector.answers = {QStringLiteral("127.0.0.1")};
        QVERIFY(connector.initialize());
        QCOMPARE(connector.getPrintServiceForPelloraPrinter(), QStringLiteral("127.0.0.1"));
        QCOMPARE(connector.prompts, 1);
        QVERIFY(recorder.lines().contains(
            "Warning Failed to load config file at " + connector.configFilePath()));
        QVERIFY(
            recorder.lines().contains("Info Print Service address not configured, prompting user"));

        UtilsLib::XmlPreferences saved(QStringLiteral("x"));
        QVERIFY(saved.load(connector.configFilePath(), false));
        QCOMPARE(saved.get(MacPrinterConnector::PRINT_SERVICE_ADDRESS, QString()),
            QStringLiteral("127.0.0.1"));
        QVERIFY(readAll(connector.configFilePath()).contains("Mac Printer Connector"));

        // A later start reads it back without asking.
        PromptedConnector next(std::make_unique<FakeManager>(), dir.path());
        QVERIFY(next.initialize());
        QCOMPARE(next.prompts, 0);
    }

    void emptyAnswerAsksAgain()
    {
        QTemporaryDir dir;
        PromptedConnector connector(std::make_unique<FakeManager>(), dir.path());
        connector.answers = {QString(), QStringLiteral("print-host")};
        QCOMPARE(connector.getPrintServiceForPelloraPrinter(), QString());
        QCOMPARE(connector.getPrintServiceForPelloraPrinter(), QStringLiteral("print-host"));
        QCOMPARE(connector.prompts, 2);
    }

    // The administrator's folder cannot take the answer: it goes to the
    // user's own file, read back by the next start unless the administrator
    // has set an address by then.
    void unsavableAnswerIsKeptForTheUser_data()
    {
        QTest::addColumn<bool>("homeWritable");

        QTest::addRow("home writable") << true;
        QTest::addRow("home not writable") << false;
    }

    void unsavableAnswerIsKeptForTheUser()
    {
        QFETCH(bool, homeWritable);
        QTemporaryDir dir;
        QFile blocker(dir.filePath(QStringLiteral("file")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const QString adminDir = blocker.fileName() + "/sub";
        const QString home
            = dir.filePath(homeWritable ? QStringLiteral("home") : QStringLiteral("file/home"));
        qputenv("HOME", home.toLocal8Bit());
        const QString userFile = MacPrinterConnector::userConfigFilePath();
        QCOMPARE(userFile, home + "/.pelloraVav/printClient.tsp");

        PromptedConnector connector(std::make_unique<FakeManager>(), adminDir);
        EventRecorder recorder;
        connector.addObserver(&recorder);
        connector.answers = {QStringLiteral("h")};
        QCOMPARE(connector.getPrintServiceForPelloraPrinter(), QStringLiteral("h"));
        QCOMPARE(connector.getPrintServiceForPelloraPrinter(), QStringLiteral("h"));
        QCOMPARE(connector.prompts, 1);
        QVERIFY(recorder.lines().contains("Warning Failed to save config file"));
        QVERIFY(recorder.lines().contains(homeWritable
                ? "Info Print Service address saved to " + userFile
                : "Warning Failed to save the Print Service address to " + userFile));

        auto ownedManager = std::make_unique<FakeManager>();
        FakeManager *manager = ownedManager.get();
        PromptedConnector next(std::move(ownedManager), adminDir);
        next.answers = {QStringLiteral("asked again")};
        QVERIFY(next.initialize());
        QCOMPARE(next.prompts, homeWritable ? 0 : 1);
        QCOMPARE(manager->calls.constFirst(), homeWritable ? "install h" : "install asked again");

        if (homeWritable) {
            QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("admin"))));
            UtilsLib::XmlPreferences admin(QStringLiteral("Mac Printer Connector"));
            admin.set(MacPrinterConnector::PRINT_SERVICE_ADDRESS, QStringLiteral("10.0.0.5"),
                QString(), false);
            QVERIFY(admin.save(dir.filePath(QStringLiteral("admin/printClient.tsp"))));
            PromptedConnector configured(
                std::make_unique<FakeManager>(), dir.filePath(QStringLiteral("admin")));
            QVERIFY(configured.initialize());
            QCOMPARE(configured.getPrintServiceForPelloraPrinter(), QStringLiteral("10.0.0.5"));
        }
    }

    void quitDuringPromptKeepsNothing()
    {
        QTemporaryDir dir;
        auto ownedManager = std::make_unique<FakeManager>();
        PromptedConnector connector(std::move(ownedManager), dir.path());
        connector.abortDuringPrompt = true;
        connector.answers = {QStringLiteral("192.168.")};
        connector.initialize();
        QVERIFY(!QFile::exists(connector.configFilePath()));
    }

    void platformOperations()
    {
        QTemporaryDir dir;
        auto ownedManager = std::make_unique<FakeManager>();
        FakeManager *manager = ownedManager.get();
        manager->result = false;
        PromptedConnector connector(std::move(ownedManager), dir.path());
        connector.answers = {QStringLiteral("h")};
        QVERIFY(!connector.initialize());
        QVERIFY(!connector.addConnection(QStringLiteral("\\\\srv\\q")));
        QVERIFY(!connector.removeConnection(QStringLiteral("q")));
        connector.setDefaultPrinter(QStringLiteral("q"));
        QCOMPARE(connector.getDefaultPrinter(), QString());
        connector.onTerminate();
        QCOMPARE(manager->calls, (QStringList {"install h", "uninstall"}));
    }

    // Whoever watches the connector also hears its printers manager (a failed
    // printer script).
    void managerLinesReachTheConnectorsObservers()
    {
        QTemporaryDir dir;
        auto ownedManager = std::make_unique<FakeManager>();
        const FakeManager *manager = ownedManager.get();
        PromptedConnector connector(std::move(ownedManager), dir.path());
        EventRecorder recorder;
        connector.addObserver(&recorder);
        Trace::log(manager, MacPrintersManager::ClassName, "runScript", Trace::Warning,
            Trace::WarningCode, QStringLiteral("failed"));
        QCOMPARE(recorder.lines(), QStringList {"Warning failed"});
    }

private:
    QTemporaryDir m_home;
};

QTEST_MAIN(TestMacPrinterConnector)
#include "tst_macprinterconnector.moc"
