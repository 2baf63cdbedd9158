#include "TsBaseDialog.h"

#include "ChangeLanguageButton.h"
#include "CopyrightLabel.h"
#include "KeyboardInputFilter.h"
#include "KioskPalette.h"
#include "LanguageChangerInterface.h"
#include "LanguageSelectorExtension.h"
#include "PrintClientImages.h"
#include "VersionInfoInterface.h"

#include <QApplication>
#include <QBoxLayout>
#include <QKeyEvent>
#include <QLayout>
#include <QPointer>
#include <QScreen>
#include <QTimer>

#include <optional>

namespace {
int s_defaultTimeout = -1;
LanguageChangerInterface *s_languageChanger = nullptr;
std::unique_ptr<QFont> s_font;
int s_changeLanguageButtonInterval = 2500;
QString s_siteName;
QString s_languageCode;
std::optional<QLocale> s_dialogLocale;
TsBaseDialog::LanguageList s_languageList;
TsBaseDialog::LanguageMap s_languageMap;
QRect s_desktopGeometry;
QString s_applicationFolder;

bool isActivity(QEvent::Type type)
{
    return type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease
        || type == QEvent::MouseMove || type == QEvent::KeyPress;
}
} // namespace

::Qt::WindowFlags TsBaseDialog::titledWindowFlags()
{
    return ::Qt::Dialog | ::Qt::CustomizeWindowHint | ::Qt::WindowTitleHint
        | ::Qt::WindowStaysOnTopHint;
}

::Qt::WindowFlags TsBaseDialog::untitledWindowFlags()
{
    return ::Qt::Dialog | ::Qt::CustomizeWindowHint;
}

TsBaseDialog::TsBaseDialog(QWidget *parent, int timeoutSeconds, bool showLanguageButton,
    bool showCopyright, int margin, ::Qt::WindowFlags flags)
    : QDialog(parent, flags)
    , m_inactivityTimer(new QTimer(this))
{
    m_inactivityTimer->setSingleShot(true);
    connect(m_inactivityTimer, &QTimer::timeout, this, [this] {
        if (isVisible())
            reject();
    });

    // Before any text is shown: no label's markup ever reads a file.
    PrintClientImages::serveOnlyBuiltInImages();
    if (!s_font)
        s_font = std::make_unique<QFont>(QStringLiteral("Verdana"), 12);
    // Its buttons and fields inherit it.
    KioskPalette::apply(this);
    setAutoFillBackground(true);
    setFont(*s_font);

    m_changeLanguageButton = new ChangeLanguageButton(
        this, s_languageList, ulong(qMax(1, s_changeLanguageButtonInterval)));
    setWindowTitle(versionInfo->getFileDescription());
    m_copyrightLabel = new CopyrightLabel(this);

    m_frameLayout = new QHBoxLayout(this);
    m_frameLayout->setContentsMargins(0, 0, 0, 0);
    m_frameLayout->setSpacing(0);
    m_outerLayout = new QBoxLayout(QBoxLayout::BottomToTop);
    m_outerLayout->setContentsMargins(margin, margin, margin, margin);
    m_outerLayout->setSpacing(0);
    m_frameLayout->addLayout(m_outerLayout);

    if (showCopyright) {
        m_outerLayout->addWidget(m_copyrightLabel, 0);
        m_outerLayout->addSpacing(10);
    } else {
        m_copyrightLabel->hide();
    }

    if (s_languageList.size() >= 2 && showLanguageButton) {
        m_outerLayout->addWidget(m_changeLanguageButton, 0, ::Qt::AlignCenter);
        m_outerLayout->addSpacing(10);
        connect(
            m_changeLanguageButton, &QPushButton::clicked, this, &TsBaseDialog::toggleExtension);
        m_changeLanguageButton->setEnabled(true);
    } else {
        m_changeLanguageButton->hide();
    }

    if (timeoutSeconds > 0)
        m_timeout = timeoutSeconds * 1000;
    else if (timeoutSeconds < 0)
        m_timeout = -1;

    if (timeout() != -1)
        setMouseTracking(true);
    installEventFilter(this);
}

TsBaseDialog::~TsBaseDialog()
{
    // The selector panel is our child and goes with us; the filters are owned.
    m_inputFilters.clear();
}

void TsBaseDialog::setMainLayout(QLayout *layout)
{
    m_outerLayout->addLayout(layout, 0);
}

void TsBaseDialog::setTimeout(int ms)
{
    m_timeout = ms < -1 ? -1 : ms;
}

int TsBaseDialog::timeout() const
{
    return m_timeout != 0 ? m_timeout : s_defaultTimeout;
}

void TsBaseDialog::startTimer()
{
    m_inactivityTimer->stop();
    const int ms = timeout();
    if (ms > 0)
        m_inactivityTimer->start(ms);
}

void TsBaseDialog::stopTimer()
{
    m_inactivityTimer->stop();
}

bool TsBaseDialog::isTimerRunning() const
{
    return m_inactivityTimer->isActive();
}

int TsBaseDialog::remainingTimeout() const
{
    return m_inactivityTimer->remainingTime();
}

void TsBaseDialog::beep()
{
    QApplication::beep();
}

int TsBaseDialog::exec()
{
    if (timeout() != -1)
        startTimer();
    for (QObject *child : children()) {
        child->installEventFilter(this);
        // Mere movement over any part of the dialog is activity.
        if (timeout() > 0 && child->isWidgetType())
            static_cast<QWidget *>(child)->setMouseTracking(true);
    }
    // The dialog may be deleted while its loop runs (a parent going away).
    const QPointer<TsBaseDialog> guard(this);
    const int result = QDialog::exec();
    if (guard)
        stopTimer();
    return result;
}

void TsBaseDialog::setChildDialogY(int y)
{
    m_childDialogY = y;
    m_childDialogYSet = true;
}

void TsBaseDialog::setToForeground()
{
    redrawText();
    // The dialog may be raised from a background message: bring it in front of
    // whatever the patron is using.
    raise();
    activateWindow();
}

void TsBaseDialog::installKeyboardInputFilter(
    QObject *watched, std::unique_ptr<KeyboardInputFilter> filter)
{
    m_inputFilters.erase(watched);
    if (filter)
        m_inputFilters[watched] = std::move(filter);
}

bool TsBaseDialog::keyIsAllowed(QObject *watched, int key) const
{
    const auto it = m_inputFilters.find(watched);
    return it == m_inputFilters.end() || it->second->keyIsAllowed(key);
}

void TsBaseDialog::restartTimerOnActivity()
{
    if (timeout() > 0)
        startTimer();
}

bool TsBaseDialog::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (m_inputMethodBlocked && type == QEvent::InputMethod) {
        beep();
        event->accept();
        return true;
    }
    if (type == QEvent::KeyPress) {
        auto *keyEvent = static_cast<QKeyEvent *>(event);
        if (keyEvent->key() == ::Qt::Key_Escape) {
            reject();
            return true;
        }
        if (!keyIsAllowed(watched, keyEvent->key())) {
            beep();
            return true;
        }
    }
    if (timeout() <= 0)
        return QDialog::eventFilter(watched, event);
    if (isActivity(type)) {
        startTimer();
    } else if (int(type) == ABORT_TIMEOUT) {
        reject();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TsBaseDialog::mousePressEvent(QMouseEvent *event)
{
    restartTimerOnActivity();
    QDialog::mousePressEvent(event);
}

void TsBaseDialog::mouseMoveEvent(QMouseEvent *event)
{
    restartTimerOnActivity();
    QDialog::mouseMoveEvent(event);
}

void TsBaseDialog::keyPressEvent(QKeyEvent *event)
{
    // Deliberately not QDialog's handling: Return must not press a default
    // button behind the patron's back.
    restartTimerOnActivity();
    event->accept();
}

void TsBaseDialog::showEvent(QShowEvent *event)
{
    // The window role names the kind of dialog whatever the language of its
    // caption: window-manager rules and the unattended demo go by it.
    setWindowRole(
        objectName().isEmpty() ? QString::fromLatin1(metaObject()->className()) : objectName());
    redrawText();
    positionDialog();
    QDialog::showEvent(event);
}

void TsBaseDialog::hideEvent(QHideEvent *event)
{
    stopTimer();
    QDialog::hideEvent(event);
}

void TsBaseDialog::changeEvent(QEvent *event)
{
    // A translator installed from anywhere (a settings message, start-up)
    // relabels an open dialog as the language selector does.
    if (event->type() == QEvent::LanguageChange) {
        redrawText();
        if (isVisible())
            positionDialog();
    }
    QDialog::changeEvent(event);
}

void TsBaseDialog::positionDialog()
{
    fitToDesktop(this);
    const QRect desktop = desktopGeometry();
    const QSize size = frameGeometry().size();
    const int y
        = m_childDialogYSet ? m_childDialogY : desktop.y() + (desktop.height() - size.height()) / 2;
    move(desktop.x() + (desktop.width() - size.width()) / 2, y);
}

void TsBaseDialog::toggleExtension()
{
    if (!m_extension) {
        m_extension = new LanguageSelectorExtension(this);
        m_extension->hide();
        connect(m_extension, &LanguageSelectorExtension::languageSelected, this,
            &TsBaseDialog::languageChange);
        connect(m_extension, &LanguageSelectorExtension::dismissed, this,
            &TsBaseDialog::toggleExtension);
        m_extension->loadLanguages(s_languageMap);
        m_frameLayout->addWidget(m_extension);
    }
    const int dialogHeight = height();
    m_extension->setMinimumHeight(dialogHeight);
    m_extension->setMaximumHeight(dialogHeight);
    if (m_extension->isHidden()) {
        m_changeLanguageButton->setToggleMode(true);
        m_extension->show();
        m_extension->selectLanguage(s_languageCode);
        m_extension->setFocus(::Qt::OtherFocusReason);
    } else {
        const bool hadFocus = m_extension->hasFocus();
        m_changeLanguageButton->setToggleMode(false);
        m_extension->hide();
        if (hadFocus)
            m_changeLanguageButton->setFocus(::Qt::OtherFocusReason);
        // Give the room of the panel back.
        m_extension->setMinimumHeight(0);
        fitToDesktop(this);
    }
}

void TsBaseDialog::languageChange(const QString &code)
{
    // Only an open selector closes: a direct call must not open it.
    if (m_extension && !m_extension->isHidden())
        toggleExtension();
    if (!s_languageChanger || s_languageChanger->changeLanguage(code) == 0)
        return;
    s_languageCode = code;
    redrawText();
    positionDialog();
    const QList<TsBaseDialog *> dialogs = findChildren<TsBaseDialog *>();
    for (TsBaseDialog *dialog : dialogs) {
        dialog->redrawText();
        fitToDesktop(dialog);
    }
}

void TsBaseDialog::setDefaultTimeout(int ms)
{
    s_defaultTimeout = ms;
}

int TsBaseDialog::defaultTimeout()
{
    return s_defaultTimeout;
}

void TsBaseDialog::setLanguageChanger(LanguageChangerInterface *changer)
{
    s_languageChanger = changer;
}

LanguageChangerInterface *TsBaseDialog::languageChanger()
{
    return s_languageChanger;
}

void TsBaseDialog::setChangeLanguageButtonInterval(int ms)
{
    s_changeLanguageButtonInterval = ms;
}

int TsBaseDialog::changeLanguageButtonInterval()
{
    return s_changeLanguageButtonInterval;
}

void TsBaseDialog::setSiteName(const QString &name)
{
    s_siteName = name;
}

QString TsBaseDialog::siteName()
{
    return s_siteName;
}

void TsBaseDialog::setLanguageCode(const QString &code)
{
    s_languageCode = code;
}

QString TsBaseDialog::languageCode()
{
    return s_languageCode;
}

void TsBaseDialog::setDialogLocale(const QLocale &locale)
{
    s_dialogLocale = locale;
}

QLocale TsBaseDialog::dialogLocale()
{
    return s_dialogLocale.value_or(QLocale());
}

QLocale TsBaseDialog::localeOfDialect(const QString &dialect)
{
    // Dialects are written "ES_US"; QLocale reads "es_US".
    const QString language = dialect.section(QLatin1Char('_'), 0, 0).toLower();
    const QString territory = dialect.section(QLatin1Char('_'), 1).toUpper();
    return QLocale(territory.isEmpty() ? language : language + QLatin1Char('_') + territory);
}

void TsBaseDialog::setLanguageList(const LanguageList &list)
{
    s_languageList = list;
}

TsBaseDialog::LanguageList TsBaseDialog::languageList()
{
    return s_languageList;
}

void TsBaseDialog::setLanguageMap(const LanguageMap &map)
{
    s_languageMap = map;
}

TsBaseDialog::LanguageMap TsBaseDialog::languageMap()
{
    return s_languageMap;
}

void TsBaseDialog::setDefaultFont(const QString &family, int pointSize)
{
    if (s_font) {
        s_font->setFamily(family);
        s_font->setPointSize(pointSize);
    } else {
        s_font = std::make_unique<QFont>(family, pointSize);
    }
}

QFont TsBaseDialog::defaultFont()
{
    return s_font ? *s_font : QFont();
}

void TsBaseDialog::setDefaults()
{
    s_font.reset();
    s_changeLanguageButtonInterval = 2500;
}

bool TsBaseDialog::setLanguageOverridesForDialect(
    const QString &dialect, const QString &languageName, const QString &closeText)
{
    const auto mapped = s_languageMap.find(dialect);
    if (mapped == s_languageMap.end())
        return false;
    auto entry = std::find_if(s_languageList.begin(), s_languageList.end(),
        [&](const auto &pair) { return pair.first == mapped.value(); });
    if (entry == s_languageList.end())
        return false;
    if (!languageName.isEmpty()) {
        mapped.value() = languageName;
        entry->first = languageName;
    }
    if (!closeText.isEmpty())
        entry->second = closeText;
    return true;
}

void TsBaseDialog::setDesktopGeometry(const QRect &geometry)
{
    s_desktopGeometry = geometry;
}

QRect TsBaseDialog::desktopGeometry()
{
    if (!s_desktopGeometry.isEmpty())
        return s_desktopGeometry;
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

void TsBaseDialog::fitToDesktop(QWidget *window)
{
    window->ensurePolished();
    QLayout *layout = window->layout();
    if (layout)
        layout->activate();
    QSize size = window->sizeHint();
    if (layout && layout->hasHeightForWidth())
        size.setHeight(layout->totalHeightForWidth(size.width()));
    const QSize frame = window->frameGeometry().size() - window->size();
    size = size.boundedTo(desktopGeometry().size() - frame).expandedTo(window->minimumSize());
    if (size.isValid())
        window->resize(size);
}

void TsBaseDialog::setApplicationFolder(const QString &folder)
{
    s_applicationFolder = folder;
}

QString TsBaseDialog::applicationFolder()
{
    return s_applicationFolder.isEmpty() ? QCoreApplication::applicationDirPath()
                                         : s_applicationFolder;
}
