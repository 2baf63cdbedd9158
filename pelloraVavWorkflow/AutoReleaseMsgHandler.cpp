#include "AutoReleaseMsgHandler.h"

#include "AutoReleaseMsg.h"
#include "CallMessageBox.h"
#include "ClientProcessingDialog.h"
#include "EndOfSessionMsg.h"
#include "PrintClientImages.h"
#include "TsCurrency.h"
#include "Trace.h"

const QString AutoReleaseMsgHandler::ClassName = QStringLiteral("AutoReleaseMsgHandler");
const char *const AutoReleaseMsgHandler::ErrorCaption = "Error";

namespace {
// The box shows plain text: printer, place and amounts come from the Print Service.
const QString LineBreaks = QStringLiteral("\n\n");
} // namespace

AutoReleaseMsgHandler::AutoReleaseMsgHandler(
    MessageBoxInterface *messageBox, ClientProcessingDialog *processingDialog)
    : MessageHandler(nullptr)
    , m_messageBox(messageBox)
    , m_processingDialog(processingDialog)
{ }

QString AutoReleaseMsgHandler::handle(const QString & /*source*/, Tessaly::Core::Message *message)
{
    Trace trace(this, ClassName, "handle");
    if (m_processingDialog)
        m_processingDialog->hide();

    if (auto *release = dynamic_cast<AutoReleaseMsg *>(message)) {
        CallMessageBox box(m_messageBox);
        if (release->released()) {
            const QString text = tr("Your job has been released.") + LineBreaks
                + tr("Printer Family:") + QLatin1Char(' ') + release->printerFamily() + LineBreaks
                + tr("Pickup Location:") + QLatin1Char(' ') + release->pickupLocation()
                + getPaymentDetailsText(release->paymentOrder(), release->allocationAmount(),
                    release->depositAmount(), release->creditAmount());
            box->showMessage(text, tr("Job Released"), PrintClientImages::printOk());
        } else {
            box->showError(release->getErrorMessage(), QString::fromLatin1(ErrorCaption));
        }
    }
    return EndOfSessionMsg().getTextForSending();
}

std::unique_ptr<Tessaly::Core::MessageHandler> AutoReleaseMsgHandler::clone() const
{
    auto copy = std::make_unique<AutoReleaseMsgHandler>(m_messageBox, m_processingDialog);
    copyObservers(*copy);
    return copy;
}

QString AutoReleaseMsgHandler::getPaymentDetailsText(const QString &order,
    const QString &allocation, const QString &deposit, const QString &credit) const
{
    if (allocation.isEmpty() && deposit.isEmpty() && credit.isEmpty())
        return QString();
    QList<PaymentRow> rows;
    for (const QChar letter : order) {
        // Compared as code points: a character above 255 must not pass for
        // the letter its low byte happens to spell.
        switch (letter.unicode()) {
        case u'A':
            if (!allocation.isEmpty())
                rows.append({tr("Paid From Allocation Account"), allocation});
            break;
        case u'D':
            if (!deposit.isEmpty())
                rows.append({tr("Paid From Deposit Account"), deposit});
            break;
        case u'C':
            if (!credit.isEmpty())
                rows.append({tr("Paid From Credit Account"), credit});
            break;
        default:
            break;
        }
    }
    return formatPaymentDetails(rows);
}

QString AutoReleaseMsgHandler::formatPaymentDetails(const QList<PaymentRow> &rows) const
{
    // One line per account, its amount after a tab stop.
    QString text = LineBreaks + tr("Payment Details:");
    for (const PaymentRow &row : rows)
        text += QLatin1Char('\n') + row.first + QLatin1Char('\t') + TsCurrency::decodeAmount(row.second);
    return text;
}
