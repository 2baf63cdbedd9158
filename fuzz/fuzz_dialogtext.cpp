#include "AutoReleaseMsg.h"
#include "AutoReleaseMsgHandler.h"
#include "ClientProcessingDialog.h"
#include "CopyrightLabel.h"
#include "KioskDialogs.h"
#include "MessageDialog.h"
#include "PrintClientDialog.h"
#include "TsBaseDialog.h"
#include "TsCurrency.h"

#include <QApplication>
#include <QLabel>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

// Field values as the Print Service could send them, through every dialog
// that shows outside text, offscreen: each box is built, laid out, shown and
// closed again. Nothing may crash, hang or put outside markup into the
// receipt's table.

namespace {

QApplication *application()
{
    static int argc = 1;
    static char name[] = "fuzz_dialogtext";
    static char *argv[] = {name, nullptr};
    static QApplication *app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    return app;
}

#define check(condition) checkThat((condition), #condition)
void checkThat(bool condition, const char *what)
{
    if (!condition) {
        std::fprintf(stderr, "failed: %s\n", what);
        std::abort();
    }
}

// Lays the dialog out. Its size is not bounded here: a long word or many
// lines of plain text widen or lengthen a box as they would any text.
void layOut(const QWidget &widget)
{
    (void)widget.sizeHint();
}

// Closes every modal dialog as soon as it runs, as a patron's OK would.
class Closer
{
public:
    Closer()
    {
        m_timer.setInterval(0);
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [] {
            if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
                layOut(*dialog);
                dialog->done(0);
            }
        });
        m_timer.start();
    }

private:
    QTimer m_timer;
};

QString field(const QStringList &fields, int index)
{
    return index < fields.size() ? fields.at(index) : QString();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    application();
    KioskDialogs::setUp();
    // Fonts are loaded once, on the first text drawn, and kept for the
    // process: before the inputs, so that no input is charged with them.
    PrintClientDialog warmUp(nullptr);
    warmUp.show();
    (void)warmUp.grab();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QStringList fields = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size))
                                   .split(QLatin1Char('\n'));
    const Closer closer;

    for (const QString &text : fields) {
        const QString decoded = TsCurrency::decodeAmount(text);
        check(decoded.size() <= text.size());
    }

    // The message box, its question, and the release box both ways.
    PrintClientDialog box(nullptr);
    box.showError(field(fields, 0), field(fields, 1));
    // Shown as it came, up to a NUL: the box looks its texts up for translation
    // as C strings.
    check(box.messageText() == field(fields, 0).section(QChar(0), 0, 0));
    box.showQuestion(field(fields, 0), field(fields, 1));
    AutoReleaseMsgHandler release(&box, nullptr);
    for (const char *released : {"1", "0"}) {
        AutoReleaseMsg message;
        const QString text = QStringLiteral("62|20261209101500|A%1|B7|C%2|D%3|E%4|F%5|G%6|H%7|I%8|Y%9|Z")
                                 .arg(QLatin1String(released), field(fields, 1), field(fields, 2),
                                     field(fields, 0), field(fields, 3), field(fields, 4),
                                     field(fields, 5), field(fields, 6), field(fields, 7))
            + field(fields, 8);
        if (message.fromText(text))
            release.handle(QStringLiteral("ps"), &message);
    }

    // The receipt, with and without accounts, and the balances behind it.
    KioskDialogs::Job job;
    KoaSessionInfo &session = job.session;
    session.setDepositBalance(field(fields, 4));
    session.setMaxDepositBalance(field(fields, 5));
    session.setCreditBalance(field(fields, 6));
    session.setMaxCreditBalance(field(fields, 4));
    session.setAllocationBalance(field(fields, 5));
    session.setMaxAllocationBalance(field(fields, 6));
    session.setLibraryDepositBalance(field(fields, 7));
    job.cost.setPageCount(long(field(fields, 7).size()));
    job.cost.setSheetCount(long(field(fields, 8).size()));
    job.cost.setFreePagesPrinted(long(field(fields, 3).size() % 3));
    job.cost.setPageCost(field(fields, 4));
    job.cost.setTotalCost(field(fields, 5));
    job.cost.setFreeTextMessage(field(fields, 9));
    const auto receipt = KioskDialogs::costDialog(job, 0);
    receipt->redrawText();
    layOut(*receipt.view);
    // The receipt is the client's own markup: no outside tag gets into it.
    check(!receipt->findChild<QLabel *>(QStringLiteral("costLabel"))
               ->text()
               .contains(QLatin1String("<img"), ::Qt::CaseInsensitive));
    const auto balances = KioskDialogs::accountsDialog(job, 0);
    layOut(*balances.view);

    // The job confirmation.
    job.confirmation.setJobNumber(long(size));
    job.confirmation.setExpireTime(field(fields, 10));
    const QStringList pieces = field(fields, 11).split(QStringLiteral("#^#"));
    QList<JobConfirmationDialogModel::PickupLocation> pickups;
    for (qsizetype i = 0; i < pieces.size(); i += 2)
        pickups.append({pieces.at(i), i + 1 < pieces.size() ? pieces.at(i + 1) : QString()});
    job.confirmation.setPickupLocations(pickups);
    const auto confirmation = KioskDialogs::confirmationDialog(job);
    confirmation.controller->showDialog();

    // The copyright line with the site's name, a message dialog and the processing window.
    TsBaseDialog::setSiteName(field(fields, 12));
    CopyrightLabel line(nullptr);
    for (int step = 0; step < 5; ++step) {
        line.changeText();
        layOut(line);
    }
    MessageDialog message(field(fields, 1), {field(fields, 0)}, {field(fields, 2)},
        QMessageBox::Warning, nullptr, -1, 1002, field(fields, 3), QString(), field(fields, 4));
    layOut(message);
    ClientProcessingDialog processing(nullptr, -1, TsBaseDialog::titledWindowFlags());
    processing.setOverrideText(field(fields, 0));
    processing.show();
    layOut(processing);
    processing.hide();
    return 0;
}
