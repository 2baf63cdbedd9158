#pragma once

#include "MessageHandler.h"

#include <QList>
#include <QObject>
#include <QPair>

class ClientProcessingDialog;
class MessageBoxInterface;

// Tells the patron that a held job was released, where to collect it and
// which accounts paid for it, or why it was not released.
class AutoReleaseMsgHandler : public QObject, public Tessaly::Core::MessageHandler
{
    Q_OBJECT
public:
    static const QString ClassName;
    static const char *const ErrorCaption;

    // Both borrowed, both may be null. Without a message box every call
    // makes a box of its own.
    AutoReleaseMsgHandler(
        MessageBoxInterface *messageBox, ClientProcessingDialog *processingDialog);

    QString handle(const QString &source, Tessaly::Core::Message *message) override;
    [[nodiscard]] std::unique_ptr<Tessaly::Core::MessageHandler> clone() const override;

    // Rich text: empty when no account was charged, else the heading and
    // one table row per usable letter of order (A, D or C).
    QString getPaymentDetailsText(const QString &order, const QString &allocation,
        const QString &deposit, const QString &credit) const;

private:
    using PaymentRow = QPair<QString, QString>;
    QString formatPaymentDetails(const QList<PaymentRow> &rows) const;

    MessageBoxInterface *m_messageBox;
    ClientProcessingDialog *m_processingDialog;
};
