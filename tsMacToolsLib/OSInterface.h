#pragma once

#include <QString>
#include <QStringList>

// The way to the operating system's commands. Tests replace it with a fake.
class OSInterface
{
public:
    virtual ~OSInterface() = default;

    // Hands the command line to the shell; for scripts that are shell by design.
    virtual int system(const char *command);

    // Runs a program with an argument list, no shell in between, and waits for
    // it. Returns its exit status, or -1 when it could not be started or
    // crashed. Standard output is captured when asked for.
    virtual int run(
        const QString &program, const QStringList &arguments, QString *standardOutput = nullptr);
};
