#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The way to the operating system's commands. Tests replace it with a fake.
class OSInterface
{
public:
    virtual ~OSInterface() = default;

    // Hands the command line to the shell; for scripts that are shell by design.
    // Returns its exit status, or -1 when it could not be started or was
    // killed. What it writes to standard output and error goes on to this
    // process's standard output; the last OUTPUT_TAIL bytes of it are kept in
    // output when asked for.
    virtual int system(const char *command, QByteArray *output = nullptr);

    // Runs a program with an argument list, no shell in between, and waits for
    // it. Returns its exit status, or -1 when it could not be started or
    // crashed. Standard output is captured when asked for.
    virtual int run(
        const QString &program, const QStringList &arguments, QString *standardOutput = nullptr);

    static constexpr int OUTPUT_TAIL = 4096;
};
