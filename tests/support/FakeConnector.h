#pragma once

#include "PrinterConnectorInterface.h"

#include <QStringList>

// Keeps every printer call as "add <name>", "remove <name>" or "default <name>";
// adds only the accepted names and names the Print Service it is told.
class FakeConnector : public PrinterConnectorInterface
{
public:
    bool addConnection(const QString &name) override
    {
        calls << QStringLiteral("add ") + name;
        return accepted.contains(name);
    }
    bool removeConnection(const QString &name) override
    {
        calls << QStringLiteral("remove ") + name;
        return true;
    }
    void setDefaultPrinter(const QString &name) override
    {
        calls << QStringLiteral("default ") + name;
    }
    QString getDefaultPrinter() override { return defaultPrinter; }
    QString getPrintServiceForPelloraPrinter() override
    {
        ++asked;
        return host;
    }
    void onTerminate() override { }
    bool initialize() override { return true; }

    QString host = QStringLiteral("127.0.0.1");
    QString defaultPrinter;
    QStringList accepted;
    QStringList calls;
    int asked = 0;
};
