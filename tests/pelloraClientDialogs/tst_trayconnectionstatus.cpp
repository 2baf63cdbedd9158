#include "FakeConnector.h"
#include "PrintClientImages.h"
#include "TrayConnectionStatus.h"

#include <QSystemTrayIcon>
#include <QTest>

namespace {
QImage imageOf(const QIcon &icon)
{
    return icon.pixmap(16, 16).toImage();
}
} // namespace

class TstTrayConnectionStatus : public QObject
{
    Q_OBJECT

private slots:
    void followsTheConnection_data()
    {
        QTest::addColumn<QString>("events"); // e = established, l = lost
        QTest::addColumn<bool>("withTray");
        QTest::addColumn<bool>("connected");
        QTest::addColumn<QString>("toolTip");

        const QString connecting = "Connecting to the Print Service at ps1.example.org...";
        const QString connected = "Connected to the Print Service at ps1.example.org";
        const QString reconnecting
            = "Not connected: trying to reconnect to the Print Service at ps1.example.org...";
        // clang-format off
        QTest::addRow("before the first answer") << ""      << true  << false << connecting;
        QTest::addRow("first attempt fails")     << "l"     << true  << false << reconnecting;
        QTest::addRow("connected")               << "e"     << true  << true  << connected;
        QTest::addRow("lost")                    << "el"    << true  << false << reconnecting;
        QTest::addRow("reconnected")             << "ele"   << true  << true  << connected;
        QTest::addRow("lost again, retrying")    << "elel"  << true  << false << reconnecting;
        QTest::addRow("no tray on the desktop")  << "ele"   << false << true  << connected;
        // clang-format on
    }

    void followsTheConnection()
    {
        QFETCH(QString, events);
        QFETCH(bool, withTray);
        QFETCH(bool, connected);
        QFETCH(QString, toolTip);

        FakeConnector connector;
        connector.host = QStringLiteral("ps1.example.org");
        QSystemTrayIcon tray; // never shown: no tray is needed
        TrayConnectionStatus status(withTray ? &tray : nullptr, &connector);
        for (QChar event : events)
            event == 'e' ? status.connectionEstablished() : status.connectionLost();

        QCOMPARE(status.state() == TrayConnectionStatus::State::Connected, connected);
        QCOMPARE(status.toolTip(), toolTip);
        const QImage online = imageOf(QIcon(PrintClientImages::pelloraClientImage()));
        const QImage offline = imageOf(QIcon(PrintClientImages::printClientBW()));
        QVERIFY(online != offline);
        QCOMPARE(imageOf(status.icon()), connected ? online : offline);
        if (withTray) {
            QCOMPARE(tray.toolTip(), toolTip);
            QCOMPARE(imageOf(tray.icon()), imageOf(status.icon()));
        } else {
            QVERIFY(tray.toolTip().isEmpty());
        }
    }

    // The address is the one in force when the state changes.
    void namesTheCurrentPrintService()
    {
        FakeConnector connector;
        connector.host = QStringLiteral("ps1.example.org");
        QSystemTrayIcon tray;
        TrayConnectionStatus status(&tray, &connector);
        connector.host = QStringLiteral("10.0.0.7");
        status.connectionEstablished();
        QCOMPARE(tray.toolTip(), QStringLiteral("Connected to the Print Service at 10.0.0.7"));
    }
};

QTEST_MAIN(TstTrayConnectionStatus)
#include "tst_trayconnectionstatus.moc"
