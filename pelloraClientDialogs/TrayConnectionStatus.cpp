#include "TrayConnectionStatus.h"

#include "PrintClientImages.h"
#include "PrinterConnectorInterface.h"

#include <QCoreApplication>
#include <QSystemTrayIcon>

namespace {
const char *const CONNECTING_TEXT
    = QT_TRANSLATE_NOOP("TrayConnectionStatus", "Connecting to the Print Service at %1...");
const char *const CONNECTED_TEXT
    = QT_TRANSLATE_NOOP("TrayConnectionStatus", "Connected to the Print Service at %1");
const char *const RECONNECTING_TEXT = QT_TRANSLATE_NOOP(
    "TrayConnectionStatus", "Not connected: trying to reconnect to the Print Service at %1...");
} // namespace

TrayConnectionStatus::TrayConnectionStatus(
    QSystemTrayIcon *trayIcon, PrinterConnectorInterface *connector)
    : m_trayIcon(trayIcon)
    , m_connector(connector)
{
    update(State::Connecting);
}

void TrayConnectionStatus::connectionEstablished()
{
    update(State::Connected);
}

void TrayConnectionStatus::connectionLost()
{
    update(State::Reconnecting);
}

QString TrayConnectionStatus::toolTip() const
{
    const char *text = m_state == State::Connected ? CONNECTED_TEXT
        : m_state == State::Reconnecting           ? RECONNECTING_TEXT
                                                   : CONNECTING_TEXT;
    // The address is asked each time: a settings message may move it.
    const QString host = m_connector ? m_connector->getPrintServiceForPelloraPrinter() : QString();
    return QCoreApplication::translate("TrayConnectionStatus", text).arg(host);
}

QIcon TrayConnectionStatus::icon() const
{
    // Grey until the Print Service answers.
    return QIcon(m_state == State::Connected ? PrintClientImages::pelloraClientImage()
                                             : PrintClientImages::printClientBW());
}

void TrayConnectionStatus::update(State state)
{
    m_state = state;
    if (!m_trayIcon)
        return;
    m_trayIcon->setIcon(icon());
    m_trayIcon->setToolTip(toolTip());
}
