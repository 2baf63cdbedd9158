// Time of one language change as a patron's selector makes it: the shipped
// default file, then the override file from a loopback Print Service; from a
// Print Service that refuses the connection; and the bounded wait on one that
// accepts but never answers.
#include "PrintClientLanguageChanger.h"
#include "TestHttpResponder.h"
#include "TsBaseDialog.h"
#include "TsHttpFactory.h"
#include "TsHttpInterface.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>

#include <algorithm>
#include <vector>

namespace {
double medianMs(LanguageChanger &changer, int runs, int expected, bool *ok)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer clock;
        clock.start();
        *ok = changer.changeLanguage(QStringLiteral("EN_US")) == expected && *ok;
        times.push_back(clock.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}
} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);
    TsBaseDialog::setApplicationFolder(QStringLiteral(PELLORA_APP_DIR));

    QFile sample(QStringLiteral(PELLORA_APP_DIR "/demo-languages/EN_US_OVERRIDE.qm"));
    if (!QFile::exists(QStringLiteral(PELLORA_APP_DIR "/languages/en_us.qm"))
        || !sample.open(QIODevice::ReadOnly)) {
        out << "build pelloraVav and printservicesim first\n";
        return 1;
    }
    TestHttpResponder responder;
    if (!responder.startListening())
        return 1;
    responder.setResponse(
        "/languages/EN_US_OVERRIDE.qm", TestHttpResponder::reply(200, sample.readAll()));

    bool ok = true;
    {
        PrintClientLanguageChanger changer(nullptr, TsHttpFactory().createHttpInstance(),
            responder.url(QStringLiteral("/languages")));
        out << "override from loopback: " << medianMs(changer, 50, 4, &ok)
            << " ms (median of 50)\n";
    }
    responder.setResponse("/languages/EN_US_OVERRIDE.qm",
        TestHttpResponder::Response {QByteArray(), TestHttpResponder::Hang});
    {
        PrintClientLanguageChanger changer(nullptr, TsHttpFactory().createHttpInstance(),
            responder.url(QStringLiteral("/languages")));
        out << "accepts, never answers: " << medianMs(changer, 1, 2, &ok) << " ms (one run)\n";
    }
    const quint16 closedPort = responder.port();
    responder.stopListening();
    {
        PrintClientLanguageChanger changer(nullptr, TsHttpFactory().createHttpInstance(),
            QStringLiteral("http://127.0.0.1:%1/languages").arg(closedPort));
        out << "connection refused: " << medianMs(changer, 50, 2, &ok) << " ms (median of 50)\n";
    }
    out << (ok ? "results as expected\n" : "UNEXPECTED RESULT CODES\n");
    return ok ? 0 : 1;
}
