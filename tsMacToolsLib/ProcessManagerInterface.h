#pragma once

#include <QString>
#include <QStringList>

class ProcessManagerInterface
{
public:
    virtual ~ProcessManagerInterface() = default;
    virtual bool killProcess(const char *name, unsigned long waitMs) = 0;
    virtual bool startProcess(const QString &command) = 0;
    virtual bool startProcess(const QStringList &commandAndArguments) = 0;
    virtual bool restartProcessOnCurrentDesktop(const char *name, unsigned long waitMs) = 0;
};
