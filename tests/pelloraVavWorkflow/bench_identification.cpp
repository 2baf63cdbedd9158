// Time from an identification request reaching the client to the dialog being
// painted on screen, against a bare QDialog with two line edits built and shown the
// same way, both with the display settings of the client (its application
// object and kiosk palette; or Qt's own with --qt-defaults). Run on the platform of your choice (offscreen by default).

#include "messagetesthelpers.h"

#include "AuthenticateReq.h"
#include "AuthenticateReqHandler.h"
#include "FakePreferences.h"
#include "KioskPalette.h"
#include "KoaSessionInfo.h"
#include "TsBaseDialog.h"
#include "TsSingleApplication.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {
// Notes the first paint of a dialog since arm(), then closes it: on a real
// display that is when the patron sees it, after the window server mapped it.
class ShowWatch : public QObject
{
public:
    void arm()
    {
        timer.start();
        elapsedMs = -1;
    }
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && elapsedMs < 0) {
            auto *dialog = qobject_cast<QDialog *>(watched);
            if (dialog && dialog->isWindow()) {
                elapsedMs = double(timer.nsecsElapsed()) / 1e6;
                QTimer::singleShot(0, dialog, &QDialog::reject);
            }
        }
        return false;
    }
    QElapsedTimer timer;
    double elapsedMs = -1;
};

struct Figures
{
    double median;
    double p99;
};

Figures measure(int runs, ShowWatch &watch, const std::function<void()> &once)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        watch.arm();
        once();
        if (watch.elapsedMs >= 0)
            times.push_back(watch.elapsedMs);
    }
    std::sort(times.begin(), times.end());
    if (times.empty())
        return {-1, -1};
    const auto at = [&](double q) {
        return times[std::min(times.size() - 1, size_t(q * double(times.size() - 1) + 0.5))];
    };
    return {at(0.5), at(0.99)};
}
} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const bool qtDefaults = argc > 1 && qstrcmp(argv[1], "--qt-defaults") == 0;
    // The client's own application object, or a plain one.
    const std::unique_ptr<QApplication> app = qtDefaults
        ? std::make_unique<QApplication>(argc, argv)
        : std::make_unique<TsSingleApplication>(
            QStringLiteral("bench_identification-%1").arg(QCoreApplication::applicationPid()), argc,
            argv);
    if (!qtDefaults)
        KioskPalette::install();
    const int runs = 100;
    FixedTimeSource clock;
    Tessaly::Core::Message::setTimeSource(&clock);
    TsBaseDialog::setDefaultTimeout(45000);
    TsBaseDialog::setDesktopGeometry(QRect(0, 0, 1024, 768));

    ShowWatch watch;
    app->installEventFilter(&watch);

    FakePreferences preferences;
    FakeReservationSession reservation;
    KoaSessionInfo session;
    AuthenticateReq request(std::make_unique<AuthenticateReqHandler>(
        &preferences, &session, &reservation, nullptr, 45, nullptr));
    const QString text = received(54, QStringLiteral("|7"));
    // Warm-up of fonts, styles and pictures for both sides.
    measure(3, watch, [&] { request.handle(QStringLiteral("ps"), text); });
    const auto bare = [] {
        QDialog dialog;
        auto *layout = new QVBoxLayout(&dialog);
        layout->addWidget(new QLineEdit(&dialog));
        auto *pin = new QLineEdit(&dialog);
        pin->setEchoMode(QLineEdit::Password);
        layout->addWidget(pin);
        dialog.exec();
    };
    measure(3, watch, bare);

    const Figures client
        = measure(runs, watch, [&] { request.handle(QStringLiteral("ps"), text); });
    const Figures minimal = measure(runs, watch, bare);
    std::printf("requests: %d, display settings: %s\n", runs, qtDefaults ? "Qt's" : "the client's");
    std::printf("identification dialog: median %.2f ms, p99 %.2f ms\n", client.median, client.p99);
    std::printf(
        "minimal QDialog:       median %.2f ms, p99 %.2f ms\n", minimal.median, minimal.p99);
    const double ratio = minimal.median > 0 ? client.median / minimal.median : -1;
    std::printf("ratio of medians %.2f (target <= 1.5): %s; p99 under 50 ms: %s\n", ratio,
        ratio >= 0 && ratio <= 1.5 ? "met" : "NOT met", client.p99 < 50 ? "met" : "NOT met");
    return 0;
}
