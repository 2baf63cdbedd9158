#include "FakeConnector.h"
#include "KoaMainWindow.h"
#include "PrintClientImages.h"
#include "TrayConnectionStatus.h"

#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QScopeGuard>
#include <QSystemTrayIcon>
#include <QTest>
#include <QTextDocument>

namespace {
QImage imageOf(const QIcon &icon)
{
    return icon.pixmap(16, 16).toImage();
}

// What the tray shows: it renders markup as markup.
QString shown(const QString &toolTip)
{
    QTextDocument document;
    if (::Qt::mightBeRichText(toolTip))
        document.setHtml(toolTip);
    else
        document.setPlainText(toolTip);
    return document.toPlainText();
}

// The texts a screen reader was told of, per changed object.
QList<QPair<QObject *, QString>> announced;
void recordAnnouncement(QAccessibleEvent *event)
{
    if (event->type() != QAccessible::NameChanged)
        return;
    QAccessibleInterface *face = event->accessibleInterface();
    announced.append({event->object(), face ? face->text(QAccessible::Name) : QString()});
}
} // namespace

class TstTrayConnectionStatus : public QObject
{
    Q_OBJECT

private slots:
    void followsTheConnection_data()
    {
        QTest::addColumn<QString>("host");
        // e = established, l = lost, f = lost with the failure named
        QTest::addColumn<QString>("events");
        QTest::addColumn<bool>("withTray");
        QTest::addColumn<bool>("connected");
        QTest::addColumn<QString>("toolTip");

        const QString ps = QStringLiteral("ps1.example.org");
        const QString connecting = "Connecting to the Print Service at ps1.example.org…";
        const QString connected = "Connected to the Print Service at ps1.example.org";
        const QString reconnecting
            = "Not connected: trying to reconnect to the Print Service at ps1.example.org…";
        const QString failed = "Not connected (certificate for ps1.example.org has expired): "
                               "trying to reconnect to the Print Service at ps1.example.org…";
        const QString markup = QStringLiteral("<img src=\"/dev/zero\"><b>ps</b>");
        // clang-format off
        QTest::addRow("before the first answer") << ps << ""      << true  << false << connecting;
        QTest::addRow("first attempt fails")     << ps << "l"     << true  << false << reconnecting;
        QTest::addRow("connected")               << ps << "e"     << true  << true  << connected;
        QTest::addRow("lost")                    << ps << "el"    << true  << false << reconnecting;
        QTest::addRow("reconnected")             << ps << "ele"   << true  << true  << connected;
        QTest::addRow("lost again, retrying")    << ps << "elel"  << true  << false << reconnecting;
        QTest::addRow("no tray on the desktop")  << ps << "ele"   << false << true  << connected;
        QTest::addRow("certificate refused")     << ps << "f"     << true  << false << failed;
        QTest::addRow("refused, then connected") << ps << "fe"    << true  << true  << connected;
        QTest::addRow("a host name of markup")   << markup << "e" << true  << true
            << "Connected to the Print Service at " + markup;
        QTest::addRow("markup while waiting")    << markup << "l" << false << false
            << "Not connected: trying to reconnect to the Print Service at " + markup + "…";
        // clang-format on
    }

    void followsTheConnection()
    {
        QFETCH(QString, host);
        QFETCH(QString, events);
        QFETCH(bool, withTray);
        QFETCH(bool, connected);
        QFETCH(QString, toolTip);

        FakeConnector connector;
        connector.host = host;
        QSystemTrayIcon tray; // never shown: no tray is needed
        KoaMainWindow window(true);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QWidget patronWindow;
        patronWindow.show();
        patronWindow.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&patronWindow));
        announced.clear();
        QAccessible::installUpdateHandler(recordAnnouncement);
        auto restore = qScopeGuard([] { QAccessible::installUpdateHandler(nullptr); });
        TrayConnectionStatus status(withTray ? &tray : nullptr, &connector);
        status.setMainWindow(&window);
        // As the messager keeps it: named on a failure, gone once connected.
        QString failure;
        status.setFailureSource([&failure] { return failure; });
        for (QChar event : events) {
            if (event == 'e') {
                failure.clear();
                status.connectionEstablished();
            } else {
                if (event == 'f')
                    failure = QStringLiteral("certificate for ps1.example.org has expired");
                status.connectionLost();
            }
        }

        QCOMPARE(status.state() == TrayConnectionStatus::State::Connected, connected);
        QCOMPARE(status.toolTip(), toolTip);
        const QImage online = imageOf(QIcon(PrintClientImages::pelloraClientImage()));
        const QImage offline = imageOf(QIcon(PrintClientImages::printClientBW()));
        QVERIFY(online != offline);
        QCOMPARE(imageOf(status.icon()), connected ? online : offline);

        // The window's line says what the tray says until connected, then goes.
        QLabel *line = window.waitingLabel();
        QCOMPARE(line->isVisible(), !connected);
        QCOMPARE(status.waitingText(), connected ? QString() : toolTip);
        QCOMPARE(line->textFormat(), ::Qt::PlainText);
        QCOMPARE(line->focusPolicy(), ::Qt::NoFocus);
        if (!connected) {
            QCOMPARE(line->text(), toolTip);
            QAccessibleInterface *face = QAccessible::queryAccessibleInterface(line);
            QVERIFY(face);
            QCOMPARE(face->text(QAccessible::Name), toolTip);
            // Events reach the handler only where a platform bridge (AT-SPI)
            // is active; the offscreen platform has none.
            if (QAccessible::isActive()) {
                QVERIFY(!announced.isEmpty());
                QCOMPARE(announced.last().first, line);
                QCOMPARE(announced.last().second, toolTip);
            }
        }
        // The line never takes the keyboard from the patron's window.
        QCOMPARE(QApplication::activeWindow(), &patronWindow);

        if (withTray) {
            QCOMPARE(shown(tray.toolTip()), toolTip);
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
        QCOMPARE(
            shown(tray.toolTip()), QStringLiteral("Connected to the Print Service at 10.0.0.7"));
    }
};

QTEST_MAIN(TstTrayConnectionStatus)
#include "tst_trayconnectionstatus.moc"
