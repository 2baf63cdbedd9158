#include "AutoReleaseMsg.h"
#include "AutoReleaseMsgHandler.h"
#include "CopyrightLabel.h"
#include "KioskDialogs.h"
#include "ModalHelper.h"
#include "PrefixTranslator.h"
#include "PrintClientDialog.h"
#include "TsBaseDialog.h"
#include "TsInputDialog.h"
#include "messagetesthelpers.h"

#include <QAbstractButton>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

#include <sys/stat.h>
#include <unistd.h>

// Whatever the Print Service puts in a text the client shows is shown as that
// text: no markup is obeyed, no file is read, no dialog grows beyond a screen.
// An <img> of /dev/zero or of a FIFO would block the test: a watchdog alarm
// ends the process instead, so such a row fails rather than hangs.

namespace {

enum class Place { ErrorBox, ReleaseBox, RefundBox, Receipt, Balances, Copyright, Translation };

constexpr unsigned WatchdogSeconds = 10;
const QSize LargestDialog(1200, 900);

struct Shown
{
    QStringList texts; // as the patron reads it, and a screen reader's words where they differ
    bool plain = false; // the outside text went in as text, not as markup
    QSize size;
};

// What a label shows, as a patron reads it. Plain also where the label
// renders the client's own markup, as long as no tag of the outside text
// survived into it.
Shown shownBy(const QLabel *label, const QWidget *dialog)
{
    QString text = label->text();
    const bool markup = label->textFormat() == Qt::RichText
        || (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(text));
    const bool plain = !markup
        || (!text.contains(QLatin1String("<img"), Qt::CaseInsensitive)
            && !text.contains(QLatin1String("<a "), Qt::CaseInsensitive));
    if (markup) {
        QTextDocument document;
        document.setHtml(text);
        text = document.toPlainText();
    }
    return {{text}, plain, dialog->sizeHint().expandedTo(dialog->size())};
}

// The message box as the handlers use it: what it showed while it was up.
template<typename Show> Shown shownInBox(Show show)
{
    PrintClientDialog box(nullptr);
    Shown shown;
    whenModal([&](QWidget *) {
        shown = shownBy(box.findChild<QLabel *>(QStringLiteral("messageLabel")), &box);
        box.button(0)->click();
    });
    show(&box);
    return shown;
}

Shown show(Place place, const QString &value)
{
    switch (place) {
    case Place::ErrorBox:
        return shownInBox([&](PrintClientDialog *box) { box->showError(value, "Login Failed"); });
    case Place::ReleaseBox:
        return shownInBox([&](PrintClientDialog *box) {
            AutoReleaseMsgHandler handler(box, nullptr);
            AutoReleaseMsg message;
            message.setReleased(true);
            message.setPrinterFamily(value);
            message.setPickupLocation(QStringLiteral("Main floor"));
            message.setPaymentOrder(QStringLiteral("D"));
            message.setDepositAmount(value);
            handler.handle(QStringLiteral("ps"), &message);
        });
    case Place::RefundBox:
        return shownInBox([&](PrintClientDialog *box) {
            AutoReleaseMsgHandler handler(box, nullptr);
            AutoReleaseMsg message;
            message.setErrorMessage(value);
            message.setRefundAmount(QStringLiteral("250"));
            message.setRefundId(QStringLiteral("R-17"));
            handler.handle(QStringLiteral("ps"), &message);
        });
    case Place::Receipt: {
        KioskDialogs::Job job;
        job.cost.setPageCost(value);
        job.cost.setTotalCost(value);
        const auto view = KioskDialogs::costDialog(job, 0);
        const auto *cost = view->findChild<QLabel *>(QStringLiteral("costLabel"));
        const Shown shown = shownBy(cost, view.view.get());
        return {shown.texts + QStringList {cost->accessibleDescription()}, shown.plain, shown.size};
    }
    case Place::Balances: {
        KioskDialogs::Job job;
        job.session.setDepositBalance(value);
        const auto view = KioskDialogs::accountsDialog(job, 0);
        return shownBy(view->findChild<QLabel *>(QStringLiteral("depositValue")), view.view.get());
    }
    case Place::Translation: {
        // An override translation from the Print Service in a dialog's label.
        PrefixTranslator translation("CommonDialogMessages", value);
        QCoreApplication::installTranslator(&translation);
        TsInputDialog dialog(QStringLiteral("Print Service Address"), QStringLiteral("Address:"));
        dialog.show();
        const Shown shown = shownBy(dialog.findChild<QLabel *>(QStringLiteral("label")), &dialog);
        QCoreApplication::removeTranslator(&translation);
        return shown;
    }
    case Place::Copyright: {
        TsBaseDialog::setSiteName(value);
        QWidget dialog;
        auto *line = new CopyrightLabel(&dialog);
        for (int step = 0; step < 5 && line->text() != value; ++step)
            line->changeText();
        return shownBy(line, &dialog);
    }
    }
    return {};
}

} // namespace

Q_DECLARE_METATYPE(Place)

class TstOutsideText : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The release box's handler answers with a stamped text.
        Tessaly::Core::Message::setTimeSource(&m_clock);
        QVERIFY(m_folder.isValid());
        m_fifo = m_folder.filePath(QStringLiteral("fifo"));
        QCOMPARE(::mkfifo(QFile::encodeName(m_fifo).constData(), 0600), 0);
        KioskDialogs::setUp();
    }
    void init() { ::alarm(WatchdogSeconds); }
    void cleanup()
    {
        ::alarm(0);
        TsBaseDialog::setSiteName(QString());
    }

    void shownAsText_data()
    {
        QTest::addColumn<Place>("place");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("expected");
        const QString zero = QStringLiteral("<img src=\"/dev/zero\">");
        const QString fifo = QStringLiteral("<img src=\"FIFO\">");
        const QString huge = QStringLiteral("<img width=4000 height=3000>");
        const QString link = QStringLiteral("<a href=\"file:///etc/passwd\">Main floor</a>");
        const QString amount = QStringLiteral("&#36;0.50");
        const QString dollars = QStringLiteral("$0.50");
        const struct
        {
            const char *name;
            Place place;
        } places[] = {{"error box", Place::ErrorBox}, {"release box", Place::ReleaseBox},
            {"refund box", Place::RefundBox}, {"receipt", Place::Receipt},
            {"balances", Place::Balances}, {"site name", Place::Copyright},
            {"translated label", Place::Translation}};
        for (const auto &[name, place] : places) {
            QTest::addRow("%s: /dev/zero", name) << place << zero << zero;
            QTest::addRow("%s: fifo", name) << place << fifo << fifo;
            QTest::addRow("%s: huge picture", name) << place << huge << huge;
            QTest::addRow("%s: link", name) << place << link << link;
        }
        // Amounts arrive with the symbol as a character reference.
        QTest::addRow("release box: amount") << Place::ReleaseBox << amount << dollars;
        QTest::addRow("receipt: amount") << Place::Receipt << amount << dollars;
        QTest::addRow("receipt: wrapped amount")
            << Place::Receipt << QStringLiteral("<html>&#36;</html>0.50") << dollars;
        QTest::addRow("balances: amount") << Place::Balances << amount << dollars;
    }
    void shownAsText()
    {
        QFETCH(Place, place);
        QFETCH(QString, value);
        QFETCH(QString, expected);
        value.replace(QLatin1String("FIFO"), m_fifo);
        expected.replace(QLatin1String("FIFO"), m_fifo);

        const Shown shown = show(place, value);
        for (const QString &text : shown.texts)
            QVERIFY2(text.contains(expected), qPrintable(text));
        QVERIFY(shown.plain);
        QVERIFY2(shown.size.width() <= LargestDialog.width()
                && shown.size.height() <= LargestDialog.height(),
            qPrintable(QStringLiteral("%1x%2").arg(shown.size.width()).arg(shown.size.height())));
    }

private:
    FixedTimeSource m_clock;
    QTemporaryDir m_folder;
    QString m_fifo;
};

QTEST_MAIN(TstOutsideText)
#include "tst_outsidetext.moc"
