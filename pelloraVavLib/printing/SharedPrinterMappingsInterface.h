#pragma once

#include <QStringList>

class SharedPrinterMappingsInterface
{
public:
    virtual ~SharedPrinterMappingsInterface() = default;
    virtual bool connectToSharedPrinters(const QStringList &names) = 0;
    virtual void disconnectFromSharedPrinters() = 0;
    virtual void setDefaultPrinter(const QString &name) = 0;
};
