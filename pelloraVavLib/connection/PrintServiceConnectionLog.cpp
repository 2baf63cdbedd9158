#include "PrintServiceConnectionLog.h"

#include "PrinterConnectorInterface.h"
#include "SystemLogObserver.h"

using UtilsLib::SystemLogObserver;

PrintServiceConnectionLog::PrintServiceConnectionLog(
    SystemLogObserver *log, PrinterConnectorInterface *connector)
    : m_log(log)
    , m_connector(connector)
{ }

QString PrintServiceConnectionLog::address() const
{
    return m_connector ? m_connector->getPrintServiceForPelloraPrinter() : QString();
}

void PrintServiceConnectionLog::connectionEstablished()
{
    if (m_state == Connected)
        return;
    if (m_state == Lost || m_state == Unreachable) {
        m_log->write(SystemLogObserver::Notice,
            QStringLiteral("Connection to the Print Service at %1 regained after %2 s")
                .arg(address())
                .arg(m_lostFor.elapsed() / 1000));
    } else {
        m_log->write(SystemLogObserver::Notice,
            QStringLiteral("Connected to the Print Service at %1").arg(address()));
    }
    m_state = Connected;
}

void PrintServiceConnectionLog::connectionLost()
{
    if (m_state == Connected) {
        m_log->write(SystemLogObserver::Warning,
            QStringLiteral("Connection to the Print Service at %1 lost").arg(address()));
        m_state = Lost;
    } else if (m_state == Starting) {
        m_log->write(SystemLogObserver::Warning,
            QStringLiteral("The Print Service at %1 cannot be reached; trying again every second")
                .arg(address()));
        m_state = Unreachable;
    } else {
        return;
    }
    m_lostFor.start();
}
