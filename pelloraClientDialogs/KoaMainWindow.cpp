#include "KoaMainWindow.h"

#include "AboutInfoDialog.h"
#include "CopyrightLabel.h"
#include "KioskPalette.h"
#include "KoaMainWindowControllerInterface.h"
#include "PrintClientImages.h"
#include "TsBaseDialog.h"

#include <QBoxLayout>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

KoaMainWindow *mainWindow = nullptr;

namespace {
const char *const ABOUT_TEXT = QT_TRANSLATE_NOOP("KoaMainWindow", "About Pellora");
const char *const STOP_TEXT = QT_TRANSLATE_NOOP("KoaMainWindow", "Stop Print Client");
constexpr int MINIMUM_WIDTH = 300;
constexpr int COPYRIGHT_MINIMUM_WIDTH = 280;
constexpr int GAP = 10;
constexpr int BUTTON_INSET = 20;

void setWhiteBackground(QWidget *widget)
{
    KioskPalette::apply(widget);
    widget->setAutoFillBackground(true);
}
} // namespace

const char *const KoaMainWindow::Caption = "Pellora\u2122 Print Client";

KoaMainWindow::KoaMainWindow(bool dedicated)
    : QWidget(nullptr,
        ::Qt::Window | ::Qt::CustomizeWindowHint | ::Qt::WindowTitleHint
            | ::Qt::WindowSystemMenuHint | ::Qt::WindowMinimizeButtonHint
            | ::Qt::WindowCloseButtonHint)
    , m_dedicated(dedicated)
{
    setObjectName(QStringLiteral("Thin Client Main Window"));
    // Closing the window is not stopping the client.
    setAttribute(::Qt::WA_QuitOnClose, false);
    setWhiteBackground(this);
    setFont(QFont(QStringLiteral("Verdana"), 10));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto *logo = new QLabel(this);
    logo->setObjectName(QStringLiteral("logoLabel"));
    logo->setPixmap(PrintClientImages::pelloraOne());
    logo->setAlignment(::Qt::AlignCenter);
    setWhiteBackground(logo);
    layout->addWidget(logo);
    layout->addSpacing(GAP);

    m_stopButton = new QPushButton(this);
    m_stopButton->setObjectName(QStringLiteral("mainWindow_OkBtn"));
    setWhiteBackground(m_stopButton);
    auto *buttonRow = new QHBoxLayout;
    buttonRow->addSpacing(BUTTON_INSET);
    buttonRow->addWidget(m_stopButton);
    buttonRow->addSpacing(BUTTON_INSET);
    layout->addLayout(buttonRow);
    layout->addSpacing(GAP);
    connect(m_stopButton, &QPushButton::clicked, this, &KoaMainWindow::stopClient);

    const int waitingLineIndex = layout->count();

    // A link to the eye, a button to a screen reader (which then tells the
    // patron it can be pressed); reachable by Tab, opened with Return or Space.
    m_aboutLink = new QPushButton(this);
    m_aboutLink->setObjectName(QStringLiteral("aboutLabel"));
    m_aboutLink->setFlat(true);
    m_aboutLink->setAutoDefault(false);
    QPalette linkPalette = m_aboutLink->palette();
    linkPalette.setColor(QPalette::ButtonText, ::Qt::blue);
    linkPalette.setColor(QPalette::Button, ::Qt::white);
    m_aboutLink->setPalette(linkPalette);
    QFont linkFont = font();
    linkFont.setUnderline(true);
    m_aboutLink->setFont(linkFont);
    m_aboutLink->setCursor(::Qt::PointingHandCursor);
    m_aboutLink->setFocusPolicy(::Qt::StrongFocus);
    m_aboutLink->installEventFilter(this);
    connect(m_aboutLink, &QPushButton::clicked, this, &KoaMainWindow::showAboutInfo);
    layout->addWidget(m_aboutLink, 0, ::Qt::AlignHCenter);

    // The waiting line, above the link though made after it: it stays out of
    // the focus chain between the two. Host names and reasons come from
    // outside: never markup, wrapped whole.
    m_waitingLabel = new QLabel(this);
    m_waitingLabel->setObjectName(QStringLiteral("waitingLabel"));
    m_waitingLabel->setTextFormat(::Qt::PlainText);
    m_waitingLabel->setWordWrap(true);
    m_waitingLabel->setAlignment(::Qt::AlignCenter);
    m_waitingLabel->setTextInteractionFlags(::Qt::NoTextInteraction);
    m_waitingLabel->setFocusPolicy(::Qt::NoFocus);
    m_waitingLabel->setContentsMargins(BUTTON_INSET, 0, BUTTON_INSET, GAP);
    setWhiteBackground(m_waitingLabel);
    m_waitingLabel->hide();
    layout->insertWidget(waitingLineIndex, m_waitingLabel);

    m_copyrightLabel = new CopyrightLabel(this);
    m_copyrightLabel->setMinimumWidth(COPYRIGHT_MINIMUM_WIDTH);
    layout->addWidget(m_copyrightLabel);
    layout->addSpacing(GAP);

    setTabOrder(m_stopButton, m_aboutLink);
    redrawText();
    setMinimumWidth(MINIMUM_WIDTH);
    TsBaseDialog::fitToDesktop(this);
    centreOnDesktop();
}

void KoaMainWindow::setController(KoaMainWindowControllerInterface *controller)
{
    m_controller = controller;
}

// No shortcuts: a patron's key press must not stop or open anything.
QMenuBar *KoaMainWindow::addFileMenu()
{
    if (m_menuBar)
        return m_menuBar;
    m_menuBar = new QMenuBar(this);
    m_menuBar->setObjectName(QStringLiteral("menuBar"));
    m_fileMenu = m_menuBar->addMenu(QString());
    m_fileMenu->setObjectName(QStringLiteral("fileMenu"));
    m_aboutAction = m_fileMenu->addAction(QString());
    connect(m_aboutAction, &QAction::triggered, this, &KoaMainWindow::showAboutInfo);
    m_quitAction = m_fileMenu->addAction(QString());
    connect(m_quitAction, &QAction::triggered, this, &KoaMainWindow::stopClient);
    layout()->setMenuBar(m_menuBar);
    redrawText();
    return m_menuBar;
}

void KoaMainWindow::setWaitingSource(std::function<QString()> source)
{
    m_waitingSource = std::move(source);
    refreshWaitingText();
}

void KoaMainWindow::refreshWaitingText()
{
    setWaitingText(m_waitingSource ? m_waitingSource() : QString());
}

void KoaMainWindow::setWaitingText(const QString &text)
{
    if (text == m_waitingLabel->text() && m_waitingLabel->isHidden() == text.isEmpty())
        return;
    m_waitingLabel->setText(text);
    // A new name is announced (NameChanged), as a live region's change would
    // be; one event, so a screen reader says it once.
    m_waitingLabel->setAccessibleName(text);
    m_waitingLabel->setAccessibleDescription(text);
    // Shown or hidden without show(): the patron's window keeps the keyboard.
    m_waitingLabel->setHidden(text.isEmpty());
    fitWaitingLine();
}

// A window's layout sizes a wrapped label for its minimum width, not the
// width it has: the line would lose its last row.
void KoaMainWindow::fitWaitingLine()
{
    if (m_waitingLabel->isHidden()) {
        m_waitingLabel->setMinimumHeight(0);
        return;
    }
    const int height = m_waitingLabel->heightForWidth(width());
    if (height == m_waitingLabel->minimumHeight())
        return;
    m_waitingLabel->setMinimumHeight(height);
    if (layout())
        layout()->activate();
}

void KoaMainWindow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    fitWaitingLine();
}

void KoaMainWindow::showAboutInfo()
{
    AboutInfoDialog about;
    about.exec();
    // The language may have changed in the box.
    redrawText();
}

bool KoaMainWindow::stopClient()
{
    if (!m_controller || !m_controller->isOkToClose())
        return false;
    QCoreApplication::exit(0);
    return true;
}

void KoaMainWindow::redrawText()
{
    setWindowTitle(QString::fromUtf8(Caption));
    setAccessibleName(windowTitle());
    const QString about = QCoreApplication::translate("KoaMainWindow", ABOUT_TEXT);
    m_aboutLink->setText(about);
    m_aboutLink->setAccessibleName(about);
    const QString stop = QCoreApplication::translate("KoaMainWindow", STOP_TEXT);
    m_stopButton->setText(stop);
    m_stopButton->setAccessibleName(stop);
    if (m_menuBar) {
        m_menuBar->setAccessibleName(QCoreApplication::translate("main", "Menu"));
        m_fileMenu->setTitle(QCoreApplication::translate("main", "File"));
        m_aboutAction->setText(QCoreApplication::translate("main", "About"));
        m_quitAction->setText(QCoreApplication::translate("main", "Quit"));
    }
    refreshWaitingText();
}

bool KoaMainWindow::event(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange)
        redrawText();
    return QWidget::event(event);
}

bool KoaMainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_aboutLink) {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent *>(event)->key();
            if (key == ::Qt::Key_Return || key == ::Qt::Key_Enter || key == ::Qt::Key_Space) {
                showAboutInfo();
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

void KoaMainWindow::showEvent(QShowEvent *event)
{
    redrawText();
    QWidget::showEvent(event);
    activateWindow();
    raise();
}

void KoaMainWindow::closeEvent(QCloseEvent *event)
{
    // Closing hides the window; stopping the client is the stop button's.
    event->accept();
}

void KoaMainWindow::centreOnDesktop()
{
    const QRect desktop = TsBaseDialog::desktopGeometry();
    const QSize size = frameGeometry().size();
    move(desktop.x() + (desktop.width() - size.width()) / 2,
        desktop.y() + (desktop.height() - size.height()) / 2);
}
