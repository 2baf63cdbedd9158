#pragma once

#include <QString>

class PrinterConnectorInterface
{
public:
    virtual ~PrinterConnectorInterface() = default;
    virtual bool addConnection(const QString &name) = 0;
    virtual bool removeConnection(const QString &name) = 0;
    virtual void setDefaultPrinter(const QString &name) = 0;
    virtual QString getDefaultPrinter() = 0;
    virtual QString getPrintServiceForPelloraPrinter() = 0;
    virtual void onTerminate() = 0;
    virtual bool initialize() = 0;
};
