#include "SharedPrinterMappings.h"

#include "PrinterConnectorInterface.h"
#include "Trace.h"

const QString SharedPrinterMappings::ClassName = QStringLiteral("SharedPrinterMappings");

SharedPrinterMappings::SharedPrinterMappings(PrinterConnectorInterface *connector)
    : m_connector(connector)
    , m_previousDefaultPrinter(connector->getDefaultPrinter())
{ }

bool SharedPrinterMappings::connectToSharedPrinters(const QStringList &names)
{
    static const char *const Function = "connectToSharedPrinters";
    Trace trace(this, ClassName, Function);
    if (names.isEmpty()) {
        Trace::log(this, ClassName, Function, Trace::Info, Trace::InfoCode,
            QStringLiteral("No printers to connect"));
        return true;
    }
    for (const QString &name : names) {
        Trace::logf(this, ClassName, Function, Trace::Info, Trace::InfoCode,
            "Attempting to connect to %1", name);
        if (m_connector->addConnection(name)) {
            Trace::logf(this, ClassName, Function, Trace::Verbose, Trace::VerboseCode,
                "Successfully connected to %1", name);
            m_connectedPrinters.append(name);
        } else {
            Trace::logf(this, ClassName, Function, Trace::Warning, Trace::WarningCode,
                "Failed to connect to %1", name);
        }
    }
    if (m_connectedPrinters.isEmpty())
        return false;
    Trace::logf(this, ClassName, Function, Trace::Verbose, Trace::VerboseCode,
        "Attempting to set default printer to %1", m_connectedPrinters.constFirst());
    setDefaultPrinter(m_connectedPrinters.constFirst());
    return true;
}

void SharedPrinterMappings::setDefaultPrinter(const QString &name)
{
    static const char *const Function = "setDefaultPrinter";
    Trace trace(this, ClassName, Function);
    Trace::logf(this, ClassName, Function, Trace::Verbose, Trace::VerboseCode,
        "Attempting to set default printer to %1", name);
    // A connection written as a server path (\\server\queue) is found by its queue name.
    const QString suffix = QLatin1Char('\\') + name;
    for (const QString &connected : std::as_const(m_connectedPrinters)) {
        if (connected.endsWith(suffix)) {
            m_connector->setDefaultPrinter(connected);
            return;
        }
    }
    m_connector->setDefaultPrinter(name);
}

void SharedPrinterMappings::restoreDefaultPrinter()
{
    static const char *const Function = "restoreDefaultPrinter";
    Trace trace(this, ClassName, Function);
    Trace::logf(this, ClassName, Function, Trace::Verbose, Trace::VerboseCode,
        "Attempting to restore default printer to %1", m_previousDefaultPrinter);
    m_connector->setDefaultPrinter(m_previousDefaultPrinter);
}

void SharedPrinterMappings::disconnectFromSharedPrinters()
{
    static const char *const Function = "disconnectFromSharedPrinters";
    Trace trace(this, ClassName, Function);
    for (const QString &name : std::as_const(m_connectedPrinters)) {
        Trace::logf(this, ClassName, Function, Trace::Verbose, Trace::VerboseCode,
            "Attempting to remove connection to %1", name);
        m_connector->removeConnection(name);
    }
}
