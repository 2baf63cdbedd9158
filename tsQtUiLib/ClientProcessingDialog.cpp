#include "ClientProcessingDialog.h"

#include "PrintClientImages.h"

#include <QBoxLayout>
#include <QCoreApplication>
#include <QLabel>
#include <QTimer>

namespace {
const char *const pleaseWait = QT_TRANSLATE_NOOP("ClientProcessingDialog", "Please Wait...");
const char *const processingJob
    = QT_TRANSLATE_NOOP("ClientProcessingDialog", "Please Wait... Processing Job");
const char *const submittingJob
    = QT_TRANSLATE_NOOP("ClientProcessingDialog", "Please Wait... Submitting Job");
const char *const registration
    = QT_TRANSLATE_NOOP("ClientProcessingDialog", "Please Wait... Registering with Print Service");
const char *const releasingJob
    = QT_TRANSLATE_NOOP("ClientProcessingDialog", "Please Wait... Releasing Job");
} // namespace

QString ClientProcessingDialog::PLEASE_WAIT = QString::fromLatin1(pleaseWait);
QString ClientProcessingDialog::PROCESSING_JOB_TEXT = QString::fromLatin1(processingJob);
QString ClientProcessingDialog::SUBMITTING_JOB_TEXT = QString::fromLatin1(submittingJob);
QString ClientProcessingDialog::REGISTRATION_TEXT = QString::fromLatin1(registration);
QString ClientProcessingDialog::RELEASING_JOB_TEXT = QString::fromLatin1(releasingJob);

void ClientProcessingDialog::translateTexts()
{
    const char *context = "ClientProcessingDialog";
    PLEASE_WAIT = QCoreApplication::translate(context, pleaseWait);
    PROCESSING_JOB_TEXT = QCoreApplication::translate(context, processingJob);
    SUBMITTING_JOB_TEXT = QCoreApplication::translate(context, submittingJob);
    REGISTRATION_TEXT = QCoreApplication::translate(context, registration);
    RELEASING_JOB_TEXT = QCoreApplication::translate(context, releasingJob);
}

ClientProcessingDialog::ClientProcessingDialog(
    QWidget *parent, int timeoutSeconds, ::Qt::WindowFlags flags)
    : TsBaseDialog(parent, timeoutSeconds, false, true, 5, flags)
    , m_text(PLEASE_WAIT)
{
    setObjectName(QStringLiteral("ClientProcessingDialog"));
    auto *row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(10);
    row->setAlignment(::Qt::AlignCenter);
    // The status text sits between the two pictures, so that the patron reads
    // what the client is waiting for.
    for (int i = 0; i < 2; ++i) {
        auto *picture = new QLabel(this);
        picture->setPixmap(PrintClientImages::pelloraClientImage());
        picture->setFixedSize(picture->sizeHint());
        row->addWidget(picture);
        if (i == 0) {
            m_textLabel = new QLabel(this);
            m_textLabel->setObjectName(QStringLiteral("statusText"));
            m_textLabel->setTextFormat(::Qt::PlainText);
            m_textLabel->setAlignment(::Qt::AlignCenter);
            m_textLabel->setMinimumWidth(260);
            row->addWidget(m_textLabel, 1);
        }
    }
    setMainLayout(row);
    redrawText();

    // Keeps the event loop turning while the window is up; it only runs while
    // the window is shown, so an idle client is not woken every 10 ms.
    m_timer = new QTimer(this);
    m_timer->setInterval(10);
    connect(m_timer, &QTimer::timeout, this, &ClientProcessingDialog::timerDone);
}

bool ClientProcessingDialog::isTicking() const
{
    return m_timer->isActive();
}

void ClientProcessingDialog::setOverrideText(const QString &text)
{
    m_text = text;
    redrawText();
}

void ClientProcessingDialog::clearOverrideText()
{
    m_text = PLEASE_WAIT;
    redrawText();
}

void ClientProcessingDialog::redrawText()
{
    // The texts were translated when the program started.
    m_textLabel->setText(m_text);
}

void ClientProcessingDialog::timerDone() { }

void ClientProcessingDialog::showEvent(QShowEvent *event)
{
    TsBaseDialog::showEvent(event);
    m_timer->start();
}

void ClientProcessingDialog::hideEvent(QHideEvent *event)
{
    m_timer->stop();
    clearOverrideText();
    TsBaseDialog::hideEvent(event);
}
