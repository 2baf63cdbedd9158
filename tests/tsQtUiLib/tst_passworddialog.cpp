#include "ImageButton.h"
#include "ModalHelper.h"
#include "PasswordDialog.h"
#include "TsInputDialog.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextEdit>

namespace {
PasswordDlgInfo makeInfo(
    bool staffId = false, bool reason = false, const QString &prefilled = QString())
{
    PasswordDlgInfo info(QString::fromLatin1(PasswordDlgInfo::PASSWORD_REQUIRED_CAPTION_TEXT),
        QString(), QString(), QString(),
        QString::fromLatin1(PasswordDlgInfo::STAFF_PASSWORD_PROMPT_TEXT));
    info.setRequireStaffId(staffId);
    info.setRequireReasonForOverride(reason);
    info.setPasswordInput(prefilled);
    return info;
}

QLineEdit *passwordField(QWidget *dialog)
{
    return dialog->findChild<QLineEdit *>(QStringLiteral("passwordDlg_passwordEntry"));
}

QAbstractButton *okButton(QWidget *dialog)
{
    return dialog->findChild<QAbstractButton *>(QStringLiteral("passwordDlg_OkBtn"));
}
} // namespace

class TstPasswordDialog : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        TsBaseDialog::setApplicationFolder(QStringLiteral(PELLORA_APP_DIR));
        TsBaseDialog::setDesktopGeometry(QRect(0, 0, 1024, 768));
    }
    void cleanup() { QTRY_VERIFY(noVisibleWindows()); }

    void info()
    {
        PasswordDlgInfo info(QStringLiteral("Caption"), QStringLiteral("Go"),
            QStringLiteral("Stop"), QStringLiteral("/logo.png"), QStringLiteral("PIN"));
        QCOMPARE(info.captionText(), QStringLiteral("Caption"));
        QCOMPARE(info.okBtnText(), QStringLiteral("Go"));
        QCOMPARE(info.cancelBtnText(), QStringLiteral("Stop"));
        QCOMPARE(info.imgPath(), QStringLiteral("/logo.png"));
        QCOMPARE(info.passwordText(), QStringLiteral("PIN"));
        QCOMPARE(info.dlgTimeout(), 45);
        QCOMPARE(info.keypadStyle(), 0);
        QVERIFY(!info.hasTranslationContext());
        info.setButtonTranslationContext(QStringLiteral("Buttons"));
        QVERIFY(info.hasButtonTranslationContext());
        PasswordDlgInfo copy = info;
        QCOMPARE(copy.buttonTranslationContext(), QStringLiteral("Buttons"));
    }

    void okEnabling_data()
    {
        // clang-format off
        QTest::addColumn<bool>("staffId");
        QTest::addColumn<bool>("reason");
        QTest::addColumn<QString>("staffText");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("reasonText");
        QTest::addColumn<bool>("enabled");
        QTest::addRow("empty") << false << false << "" << "" << "" << false;
        QTest::addRow("password") << false << false << "" << "pw" << "" << true;
        QTest::addRow("staff id missing") << true << false << "" << "pw" << "" << false;
        QTest::addRow("password missing") << true << false << "jo" << "" << "" << false;
        QTest::addRow("staff id and password") << true << false << "jo" << "pw" << "" << true;
        QTest::addRow("reason missing") << false << true << "" << "pw" << "" << false;
        QTest::addRow("everything") << true << true << "jo" << "pw" << "why" << true;
        // clang-format on
    }
    void okEnabling()
    {
        QFETCH(bool, staffId);
        QFETCH(bool, reason);
        QFETCH(QString, staffText);
        QFETCH(QString, password);
        QFETCH(QString, reasonText);
        QFETCH(bool, enabled);
        PasswordDialog dialog(nullptr, makeInfo(staffId, reason), false);
        QVERIFY(!okButton(&dialog)->isEnabled());
        auto *staff = dialog.findChild<QLineEdit *>(QStringLiteral("passwordDlg_staffIdEntry"));
        auto *why = dialog.findChild<QTextEdit *>(QStringLiteral("passwordDlg_reasonEntry"));
        QCOMPARE(staff != nullptr, staffId);
        QCOMPARE(why != nullptr, reason);
        if (staff)
            QTest::keyClicks(staff, staffText);
        QTest::keyClicks(passwordField(&dialog), password);
        if (why)
            why->setPlainText(reasonText);
        QCOMPARE(okButton(&dialog)->isEnabled(), enabled);
        QCOMPARE(dialog.password(), password);
        QCOMPARE(dialog.staffId(), staffText);
        QCOMPARE(dialog.reasonForOverride(), reasonText);
    }

    void reasonIsCut()
    {
        PasswordDialog dialog(nullptr, makeInfo(false, true), false);
        auto *why = dialog.findChild<QTextEdit *>(QStringLiteral("passwordDlg_reasonEntry"));
        why->setPlainText(QString(300, QLatin1Char('r')));
        QCOMPARE(dialog.reasonForOverride().size(), 253);
        QCOMPARE(why->textCursor().position(), 253);
        why->setPlainText(QString(253, QLatin1Char('s')));
        QCOMPARE(dialog.reasonForOverride().size(), 253);
    }

    void prefilledPassword()
    {
        PasswordDialog dialog(nullptr, makeInfo(false, false, QStringLiteral("given")), false);
        QVERIFY(!passwordField(&dialog)->isEnabled());
        QCOMPARE(dialog.password(), QStringLiteral("given"));
        // The request is complete as it stands, so OK can be touched.
        QVERIFY(okButton(&dialog)->isEnabled());
        whenModal([&](QWidget *) { okButton(&dialog)->click(); });
        QVERIFY(dialog.getUserInput());
        QCOMPARE(dialog.password(), QStringLiteral("given"));
    }

    void returnKey_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<int>("result");
        QTest::addRow("without password") << "" << 0;
        QTest::addRow("with password") << "secret" << 1;
    }
    void returnKey()
    {
        QFETCH(QString, password);
        QFETCH(int, result);
        PasswordDialog dialog(nullptr, makeInfo(), false);
        bool stillOpen = false;
        whenModal([&](QWidget *) {
            QTest::keyClicks(passwordField(&dialog), password);
            QTest::keyClick(passwordField(&dialog), Qt::Key_Return);
            stillOpen = dialog.isVisible();
            if (stillOpen)
                QTest::keyClick(passwordField(&dialog), Qt::Key_Escape);
        });
        QCOMPARE(dialog.exec(), result);
        QCOMPARE(stillOpen, result == 0);
    }

    void getUserInput_data()
    {
        QTest::addColumn<bool>("confirm");
        QTest::addRow("OK") << true;
        QTest::addRow("Cancel") << false;
    }
    void getUserInput()
    {
        QFETCH(bool, confirm);
        PasswordDialog dialog(nullptr, makeInfo(), false);
        passwordField(&dialog)->setText(QStringLiteral("left over"));
        QString seen;
        whenModal([&](QWidget *) {
            seen = passwordField(&dialog)->text();
            QTest::keyClicks(passwordField(&dialog), QStringLiteral("pw"));
            dialog
                .findChild<QAbstractButton *>(confirm ? QStringLiteral("passwordDlg_OkBtn")
                                                      : QStringLiteral("passwordDlg_CancelBtn"))
                ->click();
        });
        QCOMPARE(dialog.getUserInput(), confirm);
        QCOMPARE(seen, QString());
        QCOMPARE(dialog.password(), QStringLiteral("pw"));
    }

    void timeoutGivesFalse()
    {
        PasswordDlgInfo info = makeInfo();
        info.setDlgTimeout(45);
        PasswordDialog dialog(nullptr, info, false);
        QCOMPARE(dialog.timeout(), 45000);
        dialog.setTimeout(50);
        QVERIFY(!dialog.getUserInput());
    }

    void imageButtonDefaults()
    {
        PasswordDialog dialog(nullptr, makeInfo(), true);
        auto *ok = qobject_cast<UtilsLib::ImageButton *>(okButton(&dialog));
        auto *cancel
            = dialog.findChild<UtilsLib::ImageButton *>(QStringLiteral("passwordDlg_CancelBtn"));
        QVERIFY(ok && cancel);
        const QString images = QStringLiteral(PELLORA_APP_DIR "/images/");
        QCOMPARE(ok->enabledImage().toImage(), QImage(images + "button1.jpg"));
        QCOMPARE(ok->disabledImage().toImage(), QImage(images + "button1_disable.jpg"));
        QCOMPARE(cancel->enabledImage().toImage(), QImage(images + "button2.jpg"));
        QVERIFY(!ok->isEnabled());
        QVERIFY(cancel->isEnabled());
    }

    void texts()
    {
        PasswordDlgInfo info = makeInfo();
        info.setDialogText(QString::fromLatin1(PasswordDlgInfo::INSTRUCTION_TEXT));
        info.setOkBtnText(QStringLiteral("Approve"));
        PasswordDialog plain(nullptr, info, false);
        QCOMPARE(plain.windowTitle(), QStringLiteral("Password Required"));
        QCOMPARE(okButton(&plain)->text(), QStringLiteral("OK"));
        QVERIFY(plain.findChild<QWidget *>(QStringLiteral("passwordDlg_Instruction")));

        info.setButtonTranslationContext(QStringLiteral("Elsewhere"));
        PasswordDialog custom(nullptr, info, false);
        QCOMPARE(okButton(&custom)->text(), QStringLiteral("Approve"));
        QVERIFY(!PasswordDialog(nullptr, makeInfo(), false)
                     .findChild<QWidget *>(QStringLiteral("passwordDlg_Instruction")));
    }

    void inputDialog_data()
    {
        QTest::addColumn<bool>("useReturn");
        QTest::addRow("Return") << true;
        QTest::addRow("OK button") << false;
    }
    void inputDialog()
    {
        QFETCH(bool, useReturn);
        TsInputDialog dialog(QStringLiteral("Print Service"), QStringLiteral("Address"));
        QCOMPARE(dialog.timeout(), -1);
        auto *input = dialog.findChild<QLineEdit *>(QStringLiteral("input"));
        whenModal([&](QWidget *) {
            QTest::keyClicks(input, QStringLiteral("10.0.0.5"));
            if (useReturn)
                QTest::keyClick(input, Qt::Key_Return);
            else
                dialog.findChild<QPushButton *>(QStringLiteral("okButton"))->click();
        });
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        QCOMPARE(dialog.getInput(), QStringLiteral("10.0.0.5"));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Print Service"));
    }
};

QTEST_MAIN(TstPasswordDialog)
#include "tst_passworddialog.moc"
