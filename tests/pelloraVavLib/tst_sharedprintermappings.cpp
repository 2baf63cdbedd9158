#include "EventRecorder.h"
#include "FakeConnector.h"
#include "ObservableEvent.h"
#include "Observer.h"
#include "SharedPrinterMappings.h"

#include <QtTest>

namespace {
const QString ServerPath = QStringLiteral("\\\\srv\\queue1");
} // namespace

class TestSharedPrinterMappings : public QObject
{
    Q_OBJECT

private slots:
    void connect_data()
    {
        // clang-format off
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("accepted");
        QTest::addColumn<bool>("result");
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<int>("warnings");
        QTest::addRow("empty list")
            << QStringList {} << QStringList {} << true << QStringList {} << 0;
        QTest::addRow("server path and a refused one")
            << QStringList {ServerPath, "other"} << QStringList {ServerPath} << true
            << QStringList {"add " + ServerPath, "add other", "default " + ServerPath} << 1;
        QTest::addRow("all refused, as on this platform")
            << QStringList {"a", "b"} << QStringList {} << false << QStringList {"add a", "add b"}
            << 2;
        // clang-format on
    }

    void connect()
    {
        QFETCH(QStringList, names);
        FakeConnector connector;
        connector.defaultPrinter = QStringLiteral("old");
        QFETCH(QStringList, accepted);
        connector.accepted = accepted;
        EventRecorder recorder;
        SharedPrinterMappings mappings(&connector);
        mappings.addObserver(&recorder);
        QTEST(mappings.connectToSharedPrinters(names), "result");
        QTEST(connector.calls, "calls");
        QTEST(int(recorder.lines().filter(QRegularExpression("^Warning ")).size()), "warnings");
        if (names.isEmpty())
            QCOMPARE(recorder.lines(), QStringList {"Info No printers to connect"});
    }

    void defaultPrinterByQueueName_data()
    {
        // clang-format off
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("passed");
        QTest::addRow("queue of a server path") << "queue1" << ServerPath;
        QTest::addRow("no match") << "queue2" << "queue2";
        QTest::addRow("suffix without backslash") << "ueue1" << "ueue1";
        // clang-format on
    }

    void defaultPrinterByQueueName()
    {
        FakeConnector connector;
        connector.defaultPrinter = QStringLiteral("old");
        connector.accepted = {ServerPath};
        SharedPrinterMappings mappings(&connector);
        QVERIFY(mappings.connectToSharedPrinters({ServerPath}));
        connector.calls.clear();
        QFETCH(QString, name);
        mappings.setDefaultPrinter(name);
        QFETCH(QString, passed);
        QCOMPARE(connector.calls, QStringList {"default " + passed});
    }

    void restoreAndDisconnect()
    {
        FakeConnector connector;
        connector.defaultPrinter = QStringLiteral("old");
        connector.accepted = {"a", "b"};
        SharedPrinterMappings mappings(&connector);
        QVERIFY(mappings.connectToSharedPrinters({"a", "b"}));
        connector.calls.clear();
        mappings.restoreDefaultPrinter();
        mappings.disconnectFromSharedPrinters();
        mappings.disconnectFromSharedPrinters();
        QCOMPARE(connector.calls,
            (QStringList {"default old", "remove a", "remove b", "remove a", "remove b"}));
    }
};

QTEST_GUILESS_MAIN(TestSharedPrinterMappings)
#include "tst_sharedprintermappings.moc"
