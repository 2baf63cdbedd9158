#pragma once

#include "MessageHandler.h"

class ClientProcessingDialog;
class EnvironmentProvider;
class KoaPreferences;
class KoaSessionInfo;
class PageCountDialogController;
class PageCountDialogModel;
class PageCountValidator;
class StalloSessionInfo;
class UserIdDialogModel;

// Shows the patron the cost of a spooled job and answers whether to print
// it, within the page limit of a reservation session. Borrows everything.
class JobReceivedMsgHandler : public Tessaly::Core::MessageHandler
{
public:
    static const QString ClassName;

    JobReceivedMsgHandler(KoaPreferences *preferences, KoaSessionInfo *sessionInfo,
        StalloSessionInfo *reservationSession, PageCountValidator *validator,
        ClientProcessingDialog *processingDialog, long dialogTimeout, UtilsLib::Observer *observer,
        EnvironmentProvider *environment);

    QString handle(const QString &source, Tessaly::Core::Message *message) override;
    [[nodiscard]] std::unique_ptr<Tessaly::Core::MessageHandler> clone() const override;
    virtual bool userAcceptsPageCount(
        PageCountDialogController *controller, PageCountDialogModel *model);
    // The identity is asked for but neither stored nor sent: the Print
    // Service only wants to know that the patron is there.
    virtual bool getUserId(UserIdDialogModel *model);

private:
    KoaPreferences *m_preferences;
    KoaSessionInfo *m_sessionInfo;
    StalloSessionInfo *m_reservationSession;
    PageCountValidator *m_validator;
    ClientProcessingDialog *m_processingDialog;
    long m_dialogTimeout;
    EnvironmentProvider *m_environment;
};
