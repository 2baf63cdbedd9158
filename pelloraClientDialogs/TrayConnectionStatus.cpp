#include "TrayConnectionStatus.h"

#include "KoaMainWindow.h"
#include "PrintClientImages.h"
#include "PrinterConnectorInterface.h"

#include <QCoreApplication>
#include <QSystemTrayIcon>
#include <QTextDocument>

namespace {
const char *const CONNECTING_TEXT
    = QT_TRANSLATE_NOOP("TrayConnectionStatus", "Connecting to the Print Service at %1…");
const char *const CONNECTED_TEXT
    = QT_TRANSLATE_NOOP("TrayConnectionStatus", "Connected to the Print Service at %1");
const char *const RECONNECTING_TEXT = QT_TRANSLATE_NOOP(
    "TrayConnectionStatus", "Not connected: trying to reconnect to the Print Service at %1…");
const char *const FAILED_TEXT = QT_TRANSLATE_NOOP(
    "TrayConnectionStatus", "Not connected (%2): trying to reconnect to the Print Service at %1…");
} // namespace

TrayConnectionStatus::TrayConnectionStatus(
    QSystemTrayIcon *trayIcon, PrinterConnectorInterface *connector)
    : m_trayIcon(trayIcon)
    , m_connector(connector)
{
    update(State::Connecting);
}

TrayConnectionStatus::~TrayConnectionStatus()
{
    // The window's source asks this status.
    if (m_window)
        m_window->setWaitingSource({});
}

void TrayConnectionStatus::setMainWindow(KoaMainWindow *window)
{
    m_window = window;
    if (m_window)
        m_window->setWaitingSource([this] { return waitingText(); });
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
    // The address is asked each time: a settings message may move it.
    const QString host = m_connector ? m_connector->getPrintServiceForPelloraPrinter() : QString();
    const QString failure
        = m_state != State::Connected && m_failureSource ? m_failureSource() : QString();
    if (!failure.isEmpty())
        return QCoreApplication::translate("TrayConnectionStatus", FAILED_TEXT).arg(host, failure);
    const char *text = m_state == State::Connected ? CONNECTED_TEXT
        : m_state == State::Reconnecting           ? RECONNECTING_TEXT
                                                   : CONNECTING_TEXT;
    return QCoreApplication::translate("TrayConnectionStatus", text).arg(host);
}

QString TrayConnectionStatus::waitingText() const
{
    return m_state == State::Connected ? QString() : toolTip();
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
    if (m_window)
        m_window->refreshWaitingText();
    if (!m_trayIcon)
        return;
    m_trayIcon->setIcon(icon());
    // The tray renders what looks like markup as markup: the plain text goes
    // in escaped, so a host name or a translation shows as written.
    m_trayIcon->setToolTip(::Qt::convertFromPlainText(toolTip(), ::Qt::WhiteSpaceNormal));
}
