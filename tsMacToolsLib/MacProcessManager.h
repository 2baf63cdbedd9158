#pragma once

#include "ProcessManagerInterface.h"

class OSInterface;

class MacProcessManager : public ProcessManagerInterface
{
public:
    // The OS interface is borrowed; without one the manager uses its own.
    explicit MacProcessManager(OSInterface *os = nullptr);
    ~MacProcessManager() override;

    bool killProcess(const char *name, unsigned long waitMs) override;
    bool startProcess(const QString &command) override;
    bool startProcess(const QStringList &commandAndArguments) override;
    bool restartProcessOnCurrentDesktop(const char *name, unsigned long waitMs) override;

private:
    bool signalAll(const QString &name, const QString &signal);

    OSInterface *m_os;
    OSInterface *m_ownOs = nullptr;
};
