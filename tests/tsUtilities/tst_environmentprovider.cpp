#include "MacEnvironmentProvider.h"

#include <QtTest>

class TestEnvironmentProvider : public QObject
{
    Q_OBJECT

private slots:
    void userName_data()
    {
        QTest::addColumn<QByteArray>("user");
        QTest::addColumn<QByteArray>("logname");
        QTest::addColumn<QString>("expected");
        // A null array means the variable is unset.
        QTest::addRow("USER wins") << QByteArray("ann") << QByteArray("jo") << "ann";
        QTest::addRow("LOGNAME fallback") << QByteArray() << QByteArray("jo") << "jo";
        QTest::addRow("neither") << QByteArray() << QByteArray() << "unknown";
        QTest::addRow("USER set but empty") << QByteArray("") << QByteArray("jo") << "";
    }

    void userName()
    {
        QFETCH(QByteArray, user);
        QFETCH(QByteArray, logname);
        const QByteArray oldUser = qgetenv("USER");
        const QByteArray oldLogname = qgetenv("LOGNAME");
        auto set = [](const char *name, const QByteArray &value) {
            if (value.isNull())
                qunsetenv(name);
            else
                qputenv(name, value);
        };
        set("USER", user);
        set("LOGNAME", logname);
        MacEnvironmentProvider provider;
        const QString name = provider.getUserName();
        qputenv("USER", oldUser);
        qputenv("LOGNAME", oldLogname);
        QTEST(name, "expected");
    }

    void machine()
    {
        MacEnvironmentProvider provider;
        QVERIFY(!provider.getMachineName().isEmpty());
        QVERIFY(!provider.getUserDomain().isEmpty());
        QVERIFY(provider.getUserDomain() != QStringLiteral("(none)"));
        QVERIFY(!provider.isUserInDomain());
        QVERIFY(!provider.isServiceInstalled(QStringLiteral("cupsd")));
    }
};

QTEST_GUILESS_MAIN(TestEnvironmentProvider)
#include "tst_environmentprovider.moc"
