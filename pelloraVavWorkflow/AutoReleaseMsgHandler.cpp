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
// The box shows the handler's own markup: printer, place, labels and amounts
// go into it escaped, since they come from the Print Service or its
// translations.
const QString LineBreaks = QStringLiteral("<br><br>");

QString escaped(const QString &text)
{
    return text.toHtmlEscaped();
}
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
            const QString text = escaped(tr("Your job has been released.")) + LineBreaks
                + escaped(tr("Printer Family:") + QLatin1Char(' ') + release->printerFamily())
                + LineBreaks
                + escaped(tr("Pickup Location:") + QLatin1Char(' ') + release->pickupLocation())
                + getPaymentDetailsText(release->paymentOrder(), release->allocationAmount(),
                    release->depositAmount(), release->creditAmount());
            box->showMarkup(text, tr("Job Released"), PrintClientImages::printOk());
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
    QString text = LineBreaks + escaped(tr("Payment Details:")) + QStringLiteral("<table>");
    for (const PaymentRow &row : rows) {
        text += QStringLiteral("<tr><td>") + escaped(row.first) + QStringLiteral("</td><td>")
            + escaped(TsCurrency::decodeAmount(row.second)) + QStringLiteral("</td></tr>");
    }
    return text + QStringLiteral("</table>");
}
