#include "AccountInfoDialogController.h"
#include "AccountInfoDialogView.h"
#include "JobReceivedMsg.h"
#include "KoaSessionInfo.h"
#include "ModalHelper.h"
#include "PageCountDialogController.h"
#include "PageCountDialogView.h"
#include "PrintClientImages.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

namespace {
const QString Table = "<table cellpadding='1' cellspacing='0' width='250' >";
const QString Pages = "<tr><td /><td align=left><nobr>Total Pages:</nobr></td><td "
                      "align=right><nobr>%1</nobr></td></tr>";
const QString Rule = "<tr><td valign=bottom colspan=3><hr></td></tr>";
const QString Total = "<tr><td></td><td valign=top align=left><nobr><b><big>Total "
                      "Cost:</big></b></nobr></td><td valign=top align=right><nobr><b><big>%1"
                      "</big></b></nobr></td></tr>";
const QString Marked = "<tr><td align=center><nobr>%1</nobr></td><td align=left><nobr>%2</nobr>"
                       "</td><td align=right><nobr>%3</nobr></td></tr>";

QString text(const QWidget &dialog, const char *name)
{
    const auto *label = dialog.findChild<QLabel *>(QLatin1String(name));
    return label ? label->text() : QStringLiteral("<absent>");
}
} // namespace

class TstPageCountDialog : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        TsBaseDialog::setDefaultTimeout(5000);
        TsBaseDialog::setDesktopGeometry(QRect(0, 0, 1024, 768));
    }
    void cleanup() { QTRY_VERIFY(noVisibleWindows()); }

    void receipt_data()
    {
        QTest::addColumn<long>("pages");
        QTest::addColumn<long>("sheets");
        QTest::addColumn<long>("free");
        QTest::addColumn<bool>("freeJob");
        QTest::addColumn<QString>("expected");
        // clang-format off
        QTest::addRow("free job of 3 pages") << 3L << 0L << 0L << true
            << Table + "<tr><td /><td colspan=2 align=left><nobr>There is no charge to print this "
                       "job.</nobr></td></tr>" + Pages.arg(3) + "</table>";
        QTest::addRow("duplex, 10 pages on 5 sheets, 1 free sheet") << 10L << 5L << 1L << false
            << Table + Pages.arg(10)
               + "<tr><td /><td align=left><nobr>Duplex Mode:</nobr></td><td align=right><nobr>"
                 "Enabled</nobr></td></tr>"
               + "<tr><td /><td align=left><nobr>Total Sheets:</nobr></td><td align=right><nobr>5"
                 "</nobr></td></tr>"
               + Marked.arg("-", "Free Sheet:", "1") + Marked.arg("x", "Price Per Sheet:", "0.20")
               + Rule + Total.arg("0.80") + "</table>";
        QTest::addRow("simplex, 2 free pages") << 7L << 0L << 2L << false
            << Table + Pages.arg(7) + Marked.arg("-", "Free Pages:", "2")
               + Marked.arg("x", "Price Per Page:", "0.20") + Rule + Total.arg("0.80") + "</table>";
        // clang-format on
    }
    void receipt()
    {
        QFETCH(long, pages);
        QFETCH(long, sheets);
        QFETCH(long, free);
        QFETCH(bool, freeJob);
        QFETCH(QString, expected);
        JobReceivedMsg job;
        job.setPageCount(pages);
        job.setSheetCount(sheets);
        job.setFreePagesPrinted(free);
        job.setFreeJob(freeJob);
        job.setPageCost(QStringLiteral("0.20"));
        job.setTotalCost(QStringLiteral("0.80"));
        QCOMPARE(PageCountDialogView::receiptText(job, 250), expected);

        KoaSessionInfo session;
        PageCountDialogController controller(&session, 45);
        PageCountDialogView view(nullptr, &controller, &job);
        QCOMPARE(text(view, "costLabel"), expected);
        QCOMPARE(view.windowTitle(), QStringLiteral("Print this job?"));
        QCOMPARE(text(view, "freeTextLabel"), QStringLiteral("<absent>"));
    }

    // A screen reader reads the receipt a row a line, with the characters that
    // the Print Service's references stand for.
    void speaksTheReceiptPlain_data()
    {
        QTest::addColumn<QString>("cost");
        QTest::addRow("plain") << "$0.10";
        QTest::addRow("decimal reference in html") << "<html>&#36;</html>0.10";
        QTest::addRow("decimal reference") << "&#36;0.10";
        QTest::addRow("hexadecimal reference") << "&#x24;0.10";
    }
    void speaksTheReceiptPlain()
    {
        QFETCH(QString, cost);
        JobReceivedMsg job;
        job.setPageCount(10);
        job.setPageCost(cost);
        job.setTotalCost(cost);
        KoaSessionInfo session;
        PageCountDialogController controller(&session, 45);
        PageCountDialogView view(nullptr, &controller, &job);
        auto *receipt = view.findChild<QLabel *>(QStringLiteral("costLabel"));
        QVERIFY(receipt);
        QCOMPARE(receipt->accessibleDescription().split(QLatin1Char('\n')),
            QStringList({"Total Pages: 10", "x Price Per Page: $0.10", "Total Cost: $0.10"}));
    }

    // Keyboard alone, and the Accounts button only for a patron with accounts.
    void answers_data()
    {
        // clang-format off
        QTest::addColumn<bool>("accounts");
        QTest::addColumn<QByteArray>("keys");
        QTest::addColumn<int>("result");
        QTest::addRow("Return prints") << false << QByteArray("R") << 1;
        QTest::addRow("Escape cancels") << true << QByteArray("E") << 0;
        QTest::addRow("Tab, Return on Cancel") << false << QByteArray("TR") << 0;
        QTest::addRow("Tab Tab reaches Accounts, Escape closes it, Tab to OK, Return")
            << true << QByteArray("TTRETR") << 1;
        QTest::addRow("timeout") << false << QByteArray() << 0;
        // clang-format on
    }
    void answers()
    {
        QFETCH(bool, accounts);
        QFETCH(QByteArray, keys);
        QFETCH(int, result);
        TsBaseDialog::setDefaultTimeout(1000);
        KoaSessionInfo session;
        if (accounts)
            session.setMaxAllocationBalance(QStringLiteral("10.00"));
        JobReceivedMsg job;
        job.setPageCount(2);
        job.setFreeTextMessage(QStringLiteral("Color <b>pages</b> cost more."));
        PageCountDialogController controller(&session, 1);
        QCOMPARE(controller.showAccountInfoButton(), accounts);
        PageCountDialogView view(nullptr, &controller, &job);
        auto *accountsButton
            = view.findChild<QPushButton *>(QStringLiteral("userIdDialog_AccountInfoBtn"));
        QCOMPARE(accountsButton != nullptr, accounts);
        QCOMPARE(text(view, "freeTextLabel"), job.freeTextMessage());
        const auto buttons = view.findChildren<QPushButton *>(
            QRegularExpression(QStringLiteral("^userIdDialog_")));
        QCOMPARE(buttons.size(), accounts ? 3 : 2);
        for (const QPushButton *button : buttons)
            QCOMPARE(button->accessibleName(), button->text());

        bool stoppedWhileOpen = false;
        int remainingAfter = -1;
        std::function<void(int)> press = [&](int i) {
            if (i >= keys.size())
                return;
            whenModal([&, i](QWidget *modal) {
                const char key = keys.at(i);
                if (modal == &view) {
                    remainingAfter = view.remainingTimeout();
                } else {
                    stoppedWhileOpen = !view.isTimerRunning();
                    QTest::qWait(300);
                }
                // The next key before this one: it may open a dialog of its own.
                press(i + 1);
                if (key == 'T') {
                    QTest::keyClick(modal->focusWidget(), Qt::Key_Tab);
                } else if (key == 'R') {
                    QWidget *target = modal->focusWidget();
                    QTest::keyClick(target ? target : modal, Qt::Key_Return);
                } else {
                    QTest::keyClick(modal, Qt::Key_Escape);
                }
            });
        };
        press(0);
        QCOMPARE(view.execDialog(), result);
        if (accounts && keys.size() > 2) {
            QVERIFY(stoppedWhileOpen);
            // The full interval again, not what was left before the accounts.
            QVERIFY(remainingAfter > 900);
        }
    }

    void accounts_data()
    {
        // clang-format off
        QTest::addColumn<QString>("session");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QList<int>>("gapRows");
        QTest::addRow("expired deposit")
            << "deposit expired"
            << QStringList {"deposit_disable", "Deposit Account Expired", "", "Max Deposit Balance",
                   "50.00", "<absent>", "<absent>"}
            << QList<int> {};
        QTest::addRow("credit in parentheses")
            << "credit"
            << QStringList {"<absent>", "<absent>", "<absent>", "<absent>", "<absent>",
                   "Current Credit Balance:", "(2.50)"}
            << QList<int> {};
        QTest::addRow("allocation only") << "allocation"
                                         << QStringList {"<absent>", "<absent>", "<absent>",
                                                "<absent>", "<absent>", "<absent>", "<absent>"}
                                         << QList<int> {};
        QTest::addRow("all four") << "deposit credit allocation library"
                                  << QStringList {"deposit", "Current Deposit Balance:", "12.00",
                                         "Max Deposit Balance", "50.00",
                                         "Current Credit Balance:", "(2.50)"}
                                  << QList<int> {2, 5, 8};
        // Blocks that are not neighbours in the full dialog still get their gap.
        QTest::addRow("deposit and library deposit")
            << "deposit library"
            << QStringList {"deposit", "Current Deposit Balance:", "12.00", "Max Deposit Balance",
                   "50.00", "<absent>", "<absent>"}
            << QList<int> {8};
        QTest::addRow("expired credit and allocation")
            << "credit expired allocation"
            << QStringList {"<absent>", "<absent>", "<absent>", "<absent>", "<absent>",
                   "Credit Account Expired", ""}
            << QList<int> {5};
        // clang-format on
    }
    void accounts()
    {
        QFETCH(QString, session);
        QFETCH(QStringList, shown);
        QFETCH(QList<int>, gapRows);
        const QStringList words = session.split(' ');
        KoaSessionInfo info;
        const bool expired = words.contains("expired");
        if (words.contains("deposit")) {
            info.setDepositBalance("12.00");
            info.setMaxDepositBalance("50.00");
            info.setIsDepositExpired(expired);
        }
        if (words.contains("credit")) {
            info.setCreditBalance("2.50");
            info.setMaxCreditBalance("20.00");
            info.setIsCreditExpired(expired);
        }
        if (words.contains("allocation")) {
            info.setAllocationBalance("3.00");
            info.setMaxAllocationBalance("5.00");
        }
        if (words.contains("library")) {
            info.setLibraryDepositEnabled(true);
            info.setLibraryDepositBalance("7.00");
        }
        AccountInfoDialogController controller(&info, 45);
        AccountInfoDialogView view(nullptr, &controller);
        QCOMPARE(view.windowTitle(), QStringLiteral("Account Information"));
        const auto *picture = view.findChild<QLabel *>("depositImage");
        QCOMPARE(picture ? QString(controller.depositImageName()) : QStringLiteral("<absent>"),
            shown.at(0));
        if (picture)
            QCOMPARE(
                picture->pixmap().toImage(), PrintClientImages::findImage(shown.at(0)).toImage());
        const char *names[] = {"currentDepositText", "depositValue", "maxDepositText",
            "maxDepositValue", "currentCreditText", "creditValue"};
        for (int i = 0; i < 6; ++i)
            QCOMPARE(text(view, names[i]), shown.at(i + 1));
        QCOMPARE(
            view.findChild<QLabel *>("allocationValue") != nullptr, words.contains("allocation"));
        QCOMPARE(
            view.findChild<QLabel *>("libraryDepositValue") != nullptr, words.contains("library"));
        if (words.contains("credit"))
            QCOMPARE(view.findChild<QLabel *>("creditImage")->pixmap().toImage(),
                PrintClientImages::findImage(expired ? "credit_disable" : "credit").toImage());

        auto *grid = view.findChild<QGridLayout *>();
        QList<int> gaps;
        for (int row = 0; row < grid->rowCount(); ++row) {
            if (grid->rowMinimumHeight(row) == 20)
                gaps << row;
        }
        QCOMPARE(gaps, gapRows);

        auto *ok = view.findChild<QPushButton *>("allocationInfoDialog_okButton");
        QCOMPARE(ok->accessibleName(), QStringLiteral("OK"));
        whenModal([](QWidget *modal) { QTest::keyClick(modal, Qt::Key_Escape); });
        QCOMPARE(view.exec(), 0);
    }
};

QTEST_MAIN(TstPageCountDialog)
#include "tst_pagecountdialog.moc"
