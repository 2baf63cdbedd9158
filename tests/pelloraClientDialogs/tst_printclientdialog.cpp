#include "ImageButton.h"
#include "KoaPasswordDialog.h"
#include "ModalHelper.h"
#include "PrintClientDialog.h"
#include "PrintClientImages.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

Q_DECLARE_METATYPE(QMessageBox::Icon)

namespace {
enum class Answer { Button1, Button2, Escape, Timeout };

void answer(Answer how)
{
    if (how == Answer::Timeout)
        return;
    whenModal([how](QWidget *modal) {
        if (how == Answer::Escape) {
            QTest::keyClick(modal, Qt::Key_Escape);
            return;
        }
        const QString name = how == Answer::Button1 ? "button1" : "button2";
        modal->findChild<QPushButton *>(name)->click();
    });
}
} // namespace

Q_DECLARE_METATYPE(Answer)

class TstPrintClientDialog : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        TsBaseDialog::setDefaultTimeout(100);
        TsBaseDialog::setDesktopGeometry(QRect(0, 0, 1024, 768));
    }
    void cleanup() { QTRY_VERIFY(noVisibleWindows()); }

    void construction()
    {
        PrintClientDialog dialog(nullptr);
        QCOMPARE(dialog.buttonCount(), 1);
        QVERIFY(!dialog.hasImageButtons());
        QCOMPARE(dialog.button(0)->text(), QStringLiteral("OK"));
        QCOMPARE(dialog.timeout(), 100); // the default
        QVERIFY(dialog.windowFlags() & Qt::WindowStaysOnTopHint);
    }

    void showOperations_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QMessageBox::Icon>("icon");
        QTest::addRow("error") << 0 << QMessageBox::Critical;
        QTest::addRow("warning") << 1 << QMessageBox::Warning;
        QTest::addRow("info") << 2 << QMessageBox::Information;
    }
    void showOperations()
    {
        QFETCH(int, kind);
        QFETCH(QMessageBox::Icon, icon);
        PrintClientDialog dialog(nullptr);
        MessageBoxInterface *box = &dialog;
        QString shownText;
        QString shownCaption;
        QImage shownIcon;
        whenModal([&](QWidget *modal) {
            QCOMPARE(modal, &dialog);
            shownText = dialog.messageText();
            shownCaption = dialog.windowTitle();
            shownIcon = dialog.findChild<QLabel *>(QStringLiteral("iconLabel"))->pixmap().toImage();
            dialog.button(0)->click();
        });
        const QString message = QStringLiteral("Message %1").arg(kind);
        const QString caption = QStringLiteral("Caption %1").arg(kind);
        if (kind == 0)
            box->showError(message, caption);
        else if (kind == 1)
            box->showWarning(message, caption);
        else
            box->showInfo(message, caption);
        QCOMPARE(shownText, message);
        QCOMPARE(shownCaption, caption);
        QCOMPARE(shownIcon, MessageDialog::standardIcon(icon).toImage());
    }

    void showMessageResult_data()
    {
        QTest::addColumn<Answer>("how");
        QTest::addColumn<int>("result");
        QTest::addRow("OK") << Answer::Button1 << 1;
        QTest::addRow("Escape") << Answer::Escape << 0;
        QTest::addRow("timeout") << Answer::Timeout << 0;
    }
    void showMessageResult()
    {
        QFETCH(Answer, how);
        QFETCH(int, result);
        PrintClientDialog dialog(nullptr);
        answer(how);
        QCOMPARE(dialog.showMessage(
                     QStringLiteral("Unable to print"), QString(), PrintClientImages::printOk()),
            result);
        // Reused: the next message replaces the last.
        answer(Answer::Button1);
        dialog.showError(QStringLiteral("Second"), QString());
        QCOMPARE(dialog.messageText(), QStringLiteral("Second"));
    }

    void showQuestion_data()
    {
        QTest::addColumn<Answer>("how");
        QTest::addColumn<bool>("yes");
        QTest::addRow("Yes") << Answer::Button1 << true;
        QTest::addRow("No") << Answer::Button2 << false;
        QTest::addRow("Escape") << Answer::Escape << false;
        QTest::addRow("timeout") << Answer::Timeout << false;
    }
    void showQuestion()
    {
        QFETCH(Answer, how);
        QFETCH(bool, yes);
        QWidget owner;
        PrintClientDialog dialog(&owner);
        QString yesText;
        QString noText;
        QWidget *askedIn = nullptr;
        whenModal([&](QWidget *modal) {
            askedIn = modal;
            yesText = modal->findChild<QPushButton *>(QStringLiteral("button1"))->text();
            noText = modal->findChild<QPushButton *>(QStringLiteral("button2"))->text();
        });
        answer(how);
        QCOMPARE(
            dialog.showQuestion(QStringLiteral("Print as a guest?"), QStringLiteral("Guest")), yes);
        QVERIFY(askedIn && askedIn != &dialog);
        QCOMPARE(yesText, QStringLiteral("Yes"));
        QCOMPARE(noText, QStringLiteral("No"));
        // The question dialog is gone, not merely hidden.
        QVERIFY(owner.findChildren<MessageDialog *>().size() == 1);
    }

    void staffPasswordDialog_data()
    {
        QTest::addColumn<bool>("confirm");
        QTest::addRow("OK") << true;
        QTest::addRow("Cancel") << false;
    }
    void staffPasswordDialog()
    {
        QFETCH(bool, confirm);
        PasswordDlgInfo info {QString(), QString(), QString(), QString(), QString()};
        info.setCaptionText(QString::fromLatin1(PasswordDlgInfo::PASSWORD_REQUIRED_CAPTION_TEXT));
        info.setDialogText(QString::fromLatin1(PasswordDlgInfo::INSTRUCTION_TEXT));
        info.setPasswordText(QString::fromLatin1(PasswordDlgInfo::STAFF_PASSWORD_PROMPT_TEXT));
        KoaPasswordDialog dialog(nullptr, info);
        PasswordDialogInterface *asker = &dialog;
        auto *logo = dialog.findChild<QLabel *>(QStringLiteral("passwordDlg_Logo"));
        QCOMPARE(logo->pixmap().toImage(), PrintClientImages::password().toImage());
        auto *ok = dialog.findChild<QPushButton *>(QStringLiteral("passwordDlg_OkBtn"));
        QVERIFY(!qobject_cast<UtilsLib::ImageButton *>(ok));
        whenModal([&](QWidget *) {
            QTest::keyClicks(
                dialog.findChild<QLineEdit *>(QStringLiteral("passwordDlg_passwordEntry")),
                QStringLiteral("staff"));
            dialog
                .findChild<QPushButton *>(confirm ? QStringLiteral("passwordDlg_OkBtn")
                                                  : QStringLiteral("passwordDlg_CancelBtn"))
                ->click();
        });
        QCOMPARE(asker->getUserInput(), confirm);
        QCOMPARE(asker->password(), QStringLiteral("staff"));
    }

    void alwaysPlainText_data()
    {
        // clang-format off
        QTest::addColumn<QString>("message");
        QTest::addRow("line breaks") << "Printer jammed.<br><br>You are due a refund.";
        QTest::addRow("a table")
            << "Released.<br><br>Payment Details:<table><tr><td>Paid</td><td>$1</td></tr></table>";
        QTest::addRow("a plain text with a less-than sign") << "Pages < 5 left";
        QTest::addRow("plain lines") << "Unable to print\n\nPlease see staff";
        // clang-format on
    }
    void alwaysPlainText()
    {
        QFETCH(QString, message);
        PrintClientDialog dialog(nullptr);
        // The box is reused: every text it shows is plain, markup or not.
        answer(Answer::Button1);
        dialog.showInfo(QStringLiteral("a<br>b"), QString());
        Qt::TextFormat shownFormat = Qt::AutoText;
        whenModal([&](QWidget *) {
            shownFormat = dialog.findChild<QLabel *>(QStringLiteral("messageLabel"))->textFormat();
            dialog.button(0)->click();
        });
        dialog.showMessage(message, QStringLiteral("Job Released"), PrintClientImages::printOk());
        QCOMPARE(shownFormat, Qt::PlainText);
        QCOMPARE(dialog.messageText(), message);
    }
};

QTEST_MAIN(TstPrintClientDialog)
#include "tst_printclientdialog.moc"
