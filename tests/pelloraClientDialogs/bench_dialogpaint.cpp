// How long one paint of a kiosk dialog takes, as the patron's screen gets it
// after every key, timer tick and language change. Run before and after a
// change to how dialogs draw (palette, style caches):
//   QT_QPA_PLATFORM=offscreen build/tests/bench_dialogpaint
#include "FakePreferences.h"
#include "KioskDialogs.h"
#include "PrintClientDialog.h"
#include "UserIdDialogController.h"
#include "UserIdDialogModel.h"
#include "UserIdDialogView.h"

#include <QImage>
#include <QTest>

#include <memory>

namespace {
enum class Dialog { PageCount, UserId, MessageBox, JobConfirmation, Accounts };

// One dialog with everything it borrows, shown.
struct Shown
{
    KioskDialogs::Job job;
    FakePreferences preferences;
    UserIdDialogModel identity {true, true};
    std::shared_ptr<void> dialog; // whichever dialog, with its controller
    QWidget *window = nullptr;
};

template<typename View, typename Controller>
void keep(Shown *shown, KioskDialogs::Dialog<View, Controller> dialog)
{
    shown->window = dialog.view.get();
    shown->dialog = std::make_shared<KioskDialogs::Dialog<View, Controller>>(std::move(dialog));
}

std::unique_ptr<Shown> show(Dialog dialog)
{
    auto shown = std::make_unique<Shown>();
    switch (dialog) {
    case Dialog::PageCount:
        keep(shown.get(), KioskDialogs::costDialog(shown->job));
        break;
    case Dialog::Accounts:
        keep(shown.get(), KioskDialogs::accountsDialog(shown->job));
        break;
    case Dialog::JobConfirmation:
        keep(shown.get(), KioskDialogs::confirmationDialog(shown->job));
        break;
    case Dialog::UserId: {
        auto controller = std::make_unique<UserIdDialogController>(
            &shown->identity, &shown->preferences, nullptr, 45);
        auto view = std::make_unique<UserIdDialogView>(nullptr, controller.get());
        keep(shown.get(),
            KioskDialogs::Dialog<UserIdDialogView, UserIdDialogController> {
                std::move(controller), std::move(view)});
        break;
    }
    case Dialog::MessageBox: {
        auto box = std::make_shared<PrintClientDialog>(nullptr);
        box->setCaptionText(QStringLiteral("Job Canceled"));
        box->setLabel1Text({QStringLiteral("Your print job was deleted.")});
        box->redrawText();
        shown->window = box.get();
        shown->dialog = box;
        break;
    }
    }
    shown->window->show();
    return shown;
}
} // namespace

Q_DECLARE_METATYPE(Dialog)

class BenchDialogPaint : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { KioskDialogs::setUp(); }

    void repaint_data()
    {
        QTest::addColumn<Dialog>("dialog");
        // A new dialog per paint, as every job's dialog is a new one, or the
        // same dialog painted again, as after a key or a timer tick.
        QTest::addColumn<bool>("fresh");
        const struct
        {
            const char *name;
            Dialog dialog;
        } dialogs[] = {{"page count", Dialog::PageCount}, {"user id", Dialog::UserId},
            {"message box", Dialog::MessageBox}, {"job confirmation", Dialog::JobConfirmation},
            {"accounts", Dialog::Accounts}};
        for (const auto &[name, dialog] : dialogs) {
            QTest::addRow("%s, new", name) << dialog << true;
            QTest::addRow("%s, again", name) << dialog << false;
        }
    }
    void repaint()
    {
        QFETCH(Dialog, dialog);
        QFETCH(bool, fresh);
        // One dialog before, so that fonts and pictures are loaded already.
        std::unique_ptr<Shown> shown = show(dialog);
        QImage screen(shown->window->size(), QImage::Format_ARGB32_Premultiplied);
        shown->window->render(&screen);
        QBENCHMARK
        {
            if (fresh)
                shown = show(dialog);
            shown->window->render(&screen);
        }
    }
};

QTEST_MAIN(BenchDialogPaint)
#include "bench_dialogpaint.moc"
