#pragma once

#include "ConnectionListenerInterface.h"

#include <QElapsedTimer>

class PrinterConnectorInterface;

namespace UtilsLib {
class SystemLogObserver;
}

// Tells the system log when the Print Service is lost and regained. The
// messager reports every failed attempt as a loss, about once a second while
// the Print Service is away: only the changes are written.
class PrintServiceConnectionLog : public ConnectionListenerInterface
{
public:
    PrintServiceConnectionLog(
        UtilsLib::SystemLogObserver *log, PrinterConnectorInterface *connector);

    void connectionEstablished() override;
    void connectionLost() override;

private:
    QString address() const;

    enum State { Starting, Connected, Unreachable, Lost };

    UtilsLib::SystemLogObserver *m_log; // not owned
    PrinterConnectorInterface *m_connector; // not owned
    State m_state = Starting;
    QElapsedTimer m_lostFor;
};
