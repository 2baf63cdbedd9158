// Child process for the platform tests: a second program that holds the
// single-instance key, or that waits for the quit request.
#include "QuitSignalHandler.h"
#include "TsSingleInstanceGuard.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdio>

namespace {
void say(const QString &line)
{
    std::fputs(qPrintable(line + QLatin1Char('\n')), stdout);
    std::fflush(stdout);
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString mode = args.value(1);

    if (mode == QLatin1String("quit-handler")) {
        QuitSignalHandler handler;
        if (!handler.install())
            return 2;
        QObject::connect(&handler, &QuitSignalHandler::quitRequestReceived, &app,
            [](int signalNumber) { say(QStringLiteral("SIGNAL %1").arg(signalNumber)); });
        QObject::connect(&app, &QCoreApplication::aboutToQuit, &app,
            [] { say(QStringLiteral("ABOUT_TO_QUIT")); });
        QTimer::singleShot(0, &app, [] { say(QStringLiteral("READY")); });
        const int status = app.exec();
        say(QStringLiteral("EXIT %1").arg(status));
        return status;
    }

    if (mode == QLatin1String("hold-key") && args.size() == 4) {
        TsSingleInstanceGuard guard(args.at(3), args.at(2));
        if (!guard.initialize()) {
            say(QStringLiteral("RUNNING"));
            return 3;
        }
        QObject::connect(&guard, &TsSingleInstanceGuard::messageReceived, &app,
            [](const QString &message) { say(QLatin1String("MESSAGE ") + message); });
        say(QStringLiteral("HOLDING"));
        return app.exec();
    }

    return 1;
}
