#include "ClientProcessingDialog.h"
#include "FakeConnector.h"
#include "ModalHelper.h"
#include "PrintClientMessager.h"
#include "ProcessingDialogConnectionListener.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

// The processing window against a real connection that goes away.
class TstProcessingDialogConnectionListener : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QTRY_VERIFY(noVisibleWindows()); }

    void hiddenWhenTheConnectionIsLost_data()
    {
        QTest::addColumn<QString>("loss");
        QTest::addRow("the Print Service closes the connection") << "close";
        QTest::addRow("the Print Service goes away") << "stop";
        QTest::addRow("the next attempt is refused") << "refused";
    }
    void hiddenWhenTheConnectionIsLost()
    {
        QFETCH(QString, loss);
        QTcpServer server;
        QVERIFY(server.listen(QHostAddress::LocalHost, 0));
        FakeConnector connector;
        ClientProcessingDialog dialog(nullptr, -1, TsBaseDialog::titledWindowFlags());
        ProcessingDialogConnectionListener listener(&dialog);
        PrintClientMessager messager(nullptr);
        messager.setPrinterConnector(&connector);
        messager.setPrintServicePort(server.serverPort());
        messager.setReconnectDelay(60000);
        messager.addConnectionListener(&listener);

        // Up while the connection comes up: a connection alone says nothing
        // about the job the window waits for.
        dialog.setOverrideText(ClientProcessingDialog::PROCESSING_JOB_TEXT);
        dialog.show();
        messager.reconnect();
        QTRY_VERIFY(server.hasPendingConnections());
        QTcpSocket *peer = server.nextPendingConnection();
        QTRY_VERIFY(messager.isConnected());
        QVERIFY(dialog.isVisible());

        if (loss == QLatin1String("close")) {
            peer->close();
        } else if (loss == QLatin1String("stop")) {
            server.close();
            peer->abort();
        } else {
            // Lost once and shown again meanwhile; the failed attempt hides it too.
            peer->close();
            QTRY_VERIFY(!dialog.isVisible());
            server.close();
            dialog.show();
            messager.reconnect();
        }
        QTRY_VERIFY(!dialog.isVisible());
        QVERIFY(!messager.isConnected());
        QCOMPARE(dialog.getText(), ClientProcessingDialog::PLEASE_WAIT);
    }
};

QTEST_MAIN(TstProcessingDialogConnectionListener)
#include "tst_processingdialogconnectionlistener.moc"
