#include "AutoReleaseMsg.h"
#include "AutoReleaseMsgHandler.h"
#include "ClientProcessingDialog.h"
#include "JobConfirmationDialogView.h"
#include "JobDeletedMsg.h"
#include "JobDeletedMsgHandler.h"
#include "KoaSessionInfo.h"
#include "MacPrintClientPreferences.h"
#include "ModalHelper.h"
#include "PrefixTranslator.h"
#include "PrintClientDialog.h"
#include "PrintClientImages.h"
#include "PrintJobConfirmationMsg.h"
#include "PrintJobConfirmationMsgHandler.h"
#include "RecordingMessageBox.h"
#include "ShowSpoolingDialogMsg.h"
#include "ShowSpoolingDialogMsgHandler.h"
#include "StalloSessionInfo.h"
#include "messagetesthelpers.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLocale>
#include <QTest>
#include <QTimer>
#include <QTranslator>

namespace {

class FakeStalloSession : public StalloSessionInfo
{
public:
    int getPagesPrinted() override { return 0; }
    bool getInSession() override
    {
        ++inSessionAsked;
        return inSession;
    }
    QString getUserId() override { return {}; }
    QString getUserPin() override { return {}; }
    QString getPcDescription(bool) override { return {}; }
    void incrementPagesPrinted(int pages) override { increments.append(pages); }

    bool inSession = false;
    int inSessionAsked = 0;
    QList<int> increments;
};

QString answer(long id)
{
    return QString::number(id) + QLatin1Char('|') + FixedTimeSource::stamp();
}

const QString ReleasedText = QStringLiteral("Your job has been released.<br><br>Printer Family: "
                                            "Lab Laser<br><br>Pickup Location: Main floor");
const QString Heading = QStringLiteral("<br><br>Payment Details:<table>");
const QString TableEnd = QStringLiteral("</table>");
QString row(const char *label, const char *amount)
{
    return QStringLiteral("<tr><td>%1</td><td>%2</td></tr>")
        .arg(QLatin1String(label), QString::fromUtf8(amount));
}

} // namespace

class TstJobStatusHandlers : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        Tessaly::Core::Message::setTimeSource(&m_clock);
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        TsBaseDialog::setDefaultTimeout(5000);
        TsBaseDialog::setDesktopGeometry(QRect(0, 0, 1024, 768));
    }
    void init()
    {
        m_processing = std::make_unique<ClientProcessingDialog>(
            nullptr, -1, TsBaseDialog::titledWindowFlags());
        m_box.calls.clear();
        m_processingShownMeanwhile = false;
        m_box.whileShown = [this] {
            if (m_processing && m_processing->isVisible())
                m_processingShownMeanwhile = true;
        };
    }
    void cleanup()
    {
        m_processing.reset();
        QTRY_VERIFY(noVisibleWindows());
    }

    void spooling_data()
    {
        QTest::addColumn<bool>("nullMessage");
        QTest::addColumn<bool>("withDialog");
        QTest::addRow("message") << false << true;
        QTest::addRow("null message") << true << true;
        QTest::addRow("no processing dialog") << false << false;
    }
    void spooling()
    {
        QFETCH(bool, nullMessage);
        QFETCH(bool, withDialog);
        EventRecorder recorder;
        auto *handler = new ShowSpoolingDialogMsgHandler(
            withDialog ? m_processing.get() : nullptr, &recorder);
        ShowSpoolingDialogMsg message {std::unique_ptr<Tessaly::Core::MessageHandler>(handler)};
        QVERIFY(message.fromText(received(60, QString())));

        QCOMPARE(
            handler->handle(QStringLiteral("ps"), nullMessage ? nullptr : &message), answer(80));
        const bool shown = !nullMessage && withDialog;
        QCOMPARE(m_processing->isVisible(), shown);
        if (shown)
            QCOMPARE(m_processing->getText(), ClientProcessingDialog::PROCESSING_JOB_TEXT);
        QCOMPARE(recorder.count(QStringLiteral("Application ")), nullMessage ? 0 : 1);
        if (!nullMessage) {
            const auto event = *std::find_if(recorder.events.cbegin(), recorder.events.cend(),
                [](const UtilsLib::ObservableEvent &e) {
                    return e.category() == QLatin1String("Application");
                });
            QCOMPARE(event.senderId(), QStringLiteral("ShowSpoolingDialogMsgHandler"));
            QCOMPARE(event.details(), QStringLiteral("Handling ShowSpoolingDialogMsg - "));
            QCOMPARE(event.severityCode(), short(9));
            QCOMPARE(event.function(), QStringLiteral("handle"));
        }
    }

    void confirmation_data()
    {
        QTest::addColumn<bool>("integration");
        QTest::addColumn<bool>("inSession");
        QTest::addColumn<bool>("showDialog");
        QTest::addColumn<bool>("nullMessage");
        QTest::addColumn<QList<int>>("increments");
        QTest::addColumn<int>("inSessionAsked");

        // clang-format off
        QTest::addRow("integration on, session runs") << true << true << true << false << QList<int> {7} << 1;
        QTest::addRow("integration on, no session") << true << false << true << false << QList<int> {} << 1;
        QTest::addRow("integration off") << false << true << true << false << QList<int> {} << 0;
        QTest::addRow("no dialog still counts") << true << true << false << false << QList<int> {7} << 1;
        QTest::addRow("null message") << true << true << true << true << QList<int> {} << 0;
        // clang-format on
    }
    void confirmation()
    {
        QFETCH(bool, integration);
        QFETCH(bool, inSession);
        QFETCH(bool, showDialog);
        QFETCH(bool, nullMessage);
        MacPrintClientPreferences preferences;
        preferences.setStalloIntegration(integration);
        KoaSessionInfo session;
        session.setPageCountForPendingPrintJob(7);
        FakeStalloSession stallo;
        stallo.inSession = inSession;
        EventRecorder recorder;
        auto *handler = new PrintJobConfirmationMsgHandler(
            &preferences, &session, &stallo, m_processing.get(), 45, &recorder);
        PrintJobConfirmationMsg message {std::unique_ptr<Tessaly::Core::MessageHandler>(handler)};
        QVERIFY(message.fromText(received(6,
            QStringLiteral("|%1|J1234|T2026-12-09T17:30:00|Lfront desk#^#Main floor")
                .arg(showDialog ? 1 : 0))));
        m_processing->show();

        QString shownJobNumber;
        bool processingHidden = false;
        bool dialogShown = false;
        // Watches for as long as the call runs, so that a dialog that must not
        // come is caught as well.
        QTimer watcher;
        watcher.setInterval(5);
        connect(&watcher, &QTimer::timeout, this, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal)
                return;
            auto *view = qobject_cast<JobConfirmationDialogView *>(modal);
            dialogShown = view != nullptr;
            processingHidden = !m_processing->isVisible();
            if (view)
                shownJobNumber = view->jobNumberText();
            QTest::keyClick(modal, Qt::Key_Return);
        });
        watcher.start();
        QCOMPARE(
            handler->handle(QStringLiteral("ps"), nullMessage ? nullptr : &message), answer(86));
        watcher.stop();
        QCOMPARE(dialogShown, showDialog && !nullMessage);
        if (dialogShown) {
            QVERIFY(processingHidden);
            QCOMPARE(shownJobNumber, QStringLiteral("Job Number: 1234"));
        }
        QCOMPARE(m_processing->isVisible(), nullMessage);
        QTEST(stallo.increments, "increments");
        QTEST(stallo.inSessionAsked, "inSessionAsked");
        QCOMPARE(recorder.count(
                     QStringLiteral("Application Handling PrintJobConfirmationMsg - Not Used")),
            nullMessage ? 0 : 1);
        // A second confirmation counts again, once.
        if (!nullMessage && !showDialog) {
            handler->handle(QStringLiteral("ps"), &message);
            QCOMPARE(stallo.increments.size(), integration && inSession ? 2 : 0);
        }
    }

    void jobDeleted_data()
    {
        QTest::addColumn<bool>("ownBox");
        QTest::addRow("the given box") << false;
        QTest::addRow("a box of its own") << true;
    }
    void jobDeleted()
    {
        QFETCH(bool, ownBox);
        JobDeletedMsgHandler handler(ownBox ? nullptr : &m_box, nullptr, m_processing.get());
        JobDeletedMsg message;
        QVERIFY(message.fromText(received(51, QString())));
        m_processing->show();

        RecordingMessageBox::Call shown;
        if (ownBox) {
            whenModal([&](QWidget *modal) {
                auto *dialog = qobject_cast<PrintClientDialog *>(modal);
                QVERIFY(dialog);
                shown = {QStringLiteral("info"), dialog->messageText(), dialog->windowTitle(),
                    dialog->findChild<QLabel *>(QStringLiteral("iconLabel"))->pixmap().toImage()};
                m_processingShownMeanwhile = m_processing->isVisible();
                dialog->button(0)->click();
            });
        }
        QCOMPARE(handler.handle(QStringLiteral("ps"), &message), answer(86));
        if (!ownBox) {
            QCOMPARE(m_box.calls.size(), 1);
            shown = m_box.calls.constFirst();
        }
        QCOMPARE(shown.kind, QStringLiteral("info"));
        QCOMPARE(shown.text, QStringLiteral("The document will be canceled"));
        QCOMPARE(shown.caption, QStringLiteral("Job Canceled"));
        QVERIFY(!m_processingShownMeanwhile);
        // The box of its own is gone with the call.
        const auto windows = QApplication::topLevelWidgets();
        QVERIFY(std::none_of(windows.cbegin(), windows.cend(),
            [](QWidget *w) { return qobject_cast<PrintClientDialog *>(w); }));
    }

    void released_data()
    {
        QTest::addColumn<QString>("order");
        QTest::addColumn<QString>("allocation");
        QTest::addColumn<QString>("deposit");
        QTest::addColumn<QString>("credit");
        QTest::addColumn<QString>("payment");

        // clang-format off
        QTest::addRow("DA, only a deposit") << "DA" << "" << "$0.30" << ""
            << Heading + row("Paid From Deposit Account", "$0.30");
        QTest::addRow("all three amounts empty") << "ADC" << "" << "" << "" << "";
        QTest::addRow("three accounts in order") << "CAD" << "$0.10" << "$0.20" << "$0.05"
            << Heading + row("Paid From Credit Account", "$0.05")
                + row("Paid From Allocation Account", "$0.10")
                + row("Paid From Deposit Account", "$0.20");
        QTest::addRow("a letter twice") << "AA" << "$0.10" << "" << ""
            << Heading + row("Paid From Allocation Account", "$0.10")
                + row("Paid From Allocation Account", "$0.10");
        // U+0141, U+0144, U+0143 end in the bytes of A, D and C.
        QTest::addRow("unknown and wide letters skipped")
            << QString::fromUtf8("xa\u0141\u0144\u0143-D") << "$0.10" << "$0.20" << "$0.05"
            << Heading + row("Paid From Deposit Account", "$0.20");
        QTest::addRow("no usable letter") << "XYZ" << "$0.10" << "$0.20" << "$0.05"
            << Heading;
        QTest::addRow("no order at all") << "" << "" << "<html>&#36;</html>0.20" << ""
            << Heading;
        QTest::addRow("amounts as the Print Service writes them") << "DC" << ""
            << "<html>&#36;</html>0.20" << "&#x24;0.05"
            << Heading + row("Paid From Deposit Account", "$0.20")
                + row("Paid From Credit Account", "$0.05");
        // clang-format on
    }
    void released()
    {
        QFETCH(QString, order);
        QFETCH(QString, allocation);
        QFETCH(QString, deposit);
        QFETCH(QString, credit);
        QFETCH(QString, payment);
        AutoReleaseMsgHandler handler(&m_box, m_processing.get());
        AutoReleaseMsg message;
        message.setReleased(true);
        message.setPrinterFamily(QStringLiteral("Lab Laser"));
        message.setPickupLocation(QStringLiteral("Main floor"));
        message.setPaymentOrder(order);
        message.setAllocationAmount(allocation);
        message.setDepositAmount(deposit);
        message.setCreditAmount(credit);
        m_processing->show();

        QCOMPARE(handler.handle(QStringLiteral("ps"), &message), answer(86));
        QCOMPARE(m_box.calls.size(), 1);
        const RecordingMessageBox::Call call = m_box.calls.constFirst();
        QCOMPARE(call.kind, QStringLiteral("message"));
        QCOMPARE(call.text, ReleasedText + payment + (payment.isEmpty() ? QString() : TableEnd));
        QCOMPARE(call.caption, QStringLiteral("Job Released"));
        QCOMPARE(call.icon, PrintClientImages::printOk().toImage());
        QVERIFY(!m_processingShownMeanwhile);
    }

    void notReleased_data()
    {
        // clang-format off
        QTest::addColumn<QString>("refund");
        QTest::addColumn<QString>("refundId");
        QTest::addColumn<QString>("shown");

        const QString notice = QStringLiteral("You are due a refund of $2.50.  The Refund Id is "
                                              "R-17.  Please see staff for additional assistance.");
        QTest::addRow("refund due") << "250" << "R-17" << "Printer offline\n\n" + notice;
        QTest::addRow("no refund id") << "250" << "" << "Printer offline";
        QTest::addRow("nothing to refund") << "0" << "R-17" << "Printer offline";
        // clang-format on
    }
    void notReleased()
    {
        QFETCH(QString, refund);
        QFETCH(QString, refundId);
        AutoReleaseMsgHandler handler(&m_box, m_processing.get());
        AutoReleaseMsg message;
        QVERIFY(message.fromText(received(62,
            QStringLiteral("|A0|B5|C|D|EPrinter offline|F|G|H|I|Y%1|Z%2").arg(refund, refundId))));
        m_processing->show();

        QCOMPARE(handler.handle(QStringLiteral("ps"), &message), answer(86));
        QCOMPARE(m_box.calls.size(), 1);
        QCOMPARE(m_box.calls.constFirst().kind, QStringLiteral("error"));
        QTEST(m_box.calls.constFirst().text, "shown");
        QCOMPARE(m_box.calls.constFirst().caption, QStringLiteral("Error"));
        QVERIFY(!m_processing->isVisible());
    }

    void releaseTextsTranslateInOwnContext()
    {
        PrefixTranslator own("AutoReleaseMsgHandler", QStringLiteral("de:"));
        QVERIFY(QCoreApplication::installTranslator(&own));
        AutoReleaseMsgHandler handler(&m_box, nullptr);
        AutoReleaseMsg message;
        message.setReleased(true);
        message.setPrinterFamily(QStringLiteral("Lab Laser"));
        message.setPickupLocation(QStringLiteral("Main floor"));
        message.setPaymentOrder(QStringLiteral("C"));
        message.setCreditAmount(QStringLiteral("$0.05"));
        handler.handle(QStringLiteral("ps"), &message);
        message.setReleased(false);
        message.setErrorMessage(QStringLiteral("Printer offline"));
        handler.handle(QStringLiteral("ps"), &message);
        QCoreApplication::removeTranslator(&own);

        QCOMPARE(m_box.calls.size(), 2);
        QCOMPARE(m_box.calls.at(0).text,
            QStringLiteral("de:Your job has been released.<br><br>de:Printer Family: Lab Laser"
                           "<br><br>de:Pickup Location: Main floor<br><br>de:Payment Details:"
                           "<table><tr><td>de:Paid From Credit Account</td><td>$0.05</td></tr>"
                           "</table>"));
        QCOMPARE(m_box.calls.at(0).caption, QStringLiteral("de:Job Released"));
        // The failure caption is not translated.
        QCOMPARE(m_box.calls.at(1).caption, QStringLiteral("Error"));
    }

    void clonesKeepWhatTheyBorrow()
    {
        EventRecorder recorder;
        ShowSpoolingDialogMsg spooling {
            std::make_unique<ShowSpoolingDialogMsgHandler>(m_processing.get(), &recorder)};
        const std::unique_ptr<Tessaly::Core::Message> copy = spooling.clone();
        QVERIFY(copy->handler() && copy->handler() != spooling.handler());
        QCOMPARE(copy->handle(QStringLiteral("ps"), received(60, QString())), answer(80));
        QVERIFY(m_processing->isVisible());
        QCOMPARE(recorder.count(QStringLiteral("Application Handling ShowSpoolingDialogMsg")), 1);

        AutoReleaseMsg release {
            std::make_unique<AutoReleaseMsgHandler>(&m_box, m_processing.get())};
        const std::unique_ptr<Tessaly::Core::Message> releaseCopy = release.clone();
        QCOMPARE(releaseCopy->handle(QStringLiteral("ps"),
                     received(62, QStringLiteral("|A1|B1|CLab|DDesk|E|F|G|H|I|Y|Z"))),
            answer(86));
        QCOMPARE(m_box.calls.size(), 1);
        QVERIFY(!m_processing->isVisible());
    }

private:
    FixedTimeSource m_clock;
    RecordingMessageBox m_box;
    // Whether the processing window was still up while a box was shown.
    bool m_processingShownMeanwhile = false;
    std::unique_ptr<ClientProcessingDialog> m_processing;
};

QTEST_MAIN(TstJobStatusHandlers)
#include "tst_jobstatushandlers.moc"
