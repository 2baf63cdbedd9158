#pragma once

#include "Observable.h"
#include "SharedPrinterMappingsInterface.h"

class PrinterConnectorInterface;

// The shared printers connected for this run and the default printer among them.
class SharedPrinterMappings : public SharedPrinterMappingsInterface, public UtilsLib::Observable
{
public:
    explicit SharedPrinterMappings(PrinterConnectorInterface *connector);

    bool connectToSharedPrinters(const QStringList &names) override;
    void disconnectFromSharedPrinters() override;
    void setDefaultPrinter(const QString &name) override;
    void restoreDefaultPrinter();

    QStringList connectedPrinters() const { return m_connectedPrinters; }

    static const QString ClassName;

private:
    QStringList m_connectedPrinters;
    PrinterConnectorInterface *m_connector;
    QString m_previousDefaultPrinter;
};
