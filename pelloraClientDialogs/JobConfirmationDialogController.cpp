#include "JobConfirmationDialogController.h"

#include "JobConfirmationDialogModel.h"
#include "JobConfirmationDialogView.h"
#include "TsBaseDialog.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QLocale>

const char *const JobConfirmationDialogController::CONTEXT = "JobConfirmationDialogController";
const char *const JobConfirmationDialogController::CaptionText
    = QT_TRANSLATE_NOOP("JobConfirmationDialogController", "Print Complete");
const char *const JobConfirmationDialogController::ConfirmationText
    = QT_TRANSLATE_NOOP("JobConfirmationDialogController", "Your job has been received.");
const char *const JobConfirmationDialogController::JobNumberText
    = QT_TRANSLATE_NOOP("JobConfirmationDialogController", "Job Number:");
const char *const JobConfirmationDialogController::ExpireTimeText
    = QT_TRANSLATE_NOOP("JobConfirmationDialogController", "Expire Time:");
const char *const JobConfirmationDialogController::OkText
    = QT_TRANSLATE_NOOP("JobConfirmationDialogController", "OK");

namespace {
QString translated(const char *text)
{
    return QCoreApplication::translate(JobConfirmationDialogController::CONTEXT, text);
}
} // namespace

JobConfirmationDialogController::JobConfirmationDialogController(
    JobConfirmationDialogModel *model, JobConfirmationDialogView *view, long timeout)
    : m_model(model)
    , m_view(view)
    , m_timeout(timeout)
{ }

int JobConfirmationDialogController::showDialog()
{
    m_view->setController(this);
    m_view->setTimeout(int(m_timeout));
    // The confirmation arrives while the patron works in another program.
    m_view->setToForeground();
    return m_view->exec();
}

void JobConfirmationDialogController::updateView()
{
    if (!m_model || !m_view)
        return;
    m_view->setWindowTitle(translated(CaptionText));
    m_view->setConfirmationText(translated(ConfirmationText));
    m_view->setColumnText(0,
        QCoreApplication::translate(
            JobConfirmationDialogView::CONTEXT, JobConfirmationDialogView::ReleaseTerminalText));
    m_view->setColumnText(1,
        QCoreApplication::translate(
            JobConfirmationDialogView::CONTEXT, JobConfirmationDialogView::LocationText));
    m_view->setJobNumberText(QStringLiteral("%1 %2").arg(
        translated(JobNumberText), QString::number(m_model->getJobNumber())));

    const QString expireTime = m_model->getExpireTime();
    m_view->setExpireTimeVisible(!expireTime.isEmpty());
    // A time that is no ISO date gives an invalid date, written as nothing.
    const QDateTime expiry = QDateTime::fromString(expireTime, ::Qt::ISODate);
    m_view->setExpireTimeText(QStringLiteral("%1 %2").arg(
        translated(ExpireTimeText), TsBaseDialog::dialogLocale().toString(expiry, QLocale::ShortFormat)));

    // Refilled, not appended: a language change redraws the same rows.
    m_view->clearPickupLocations();
    const auto locations = m_model->getPickupLocations();
    for (const auto &location : locations)
        m_view->addPickupLocation(location.first, location.second);
    m_view->setOkButtonText(translated(OkText));
}
