#include "PatronIdentification.h"

#include "KoaPreferences.h"
#include "Trace.h"
#include "UserIdDialogController.h"
#include "UserIdDialogView.h"

bool askPatronForIdentity(const UtilsLib::Observable *handler, const QString &className,
    UserIdDialogModel *model, KoaPreferences *preferences, StalloSessionInfo *reservationSession,
    long dialogTimeout)
{
    if (preferences) {
        Trace::logf(handler, className, "getUserId", Trace::Verbose, Trace::VerboseCode,
            "User Id Input Filter Enabled: %1 (Exceptions: %2)",
            QString::number(int(preferences->isUserIdInputFilterEnabled())),
            preferences->getUserIdInputFilterExceptions());
        Trace::logf(handler, className, "getUserId", Trace::Verbose, Trace::VerboseCode,
            "User Pin Input Filter Enabled: %1 (Exceptions: %2)",
            QString::number(int(preferences->isUserPinInputFilterEnabled())),
            preferences->getUserPinInputFilterExceptions());
    }
    UserIdDialogController controller(model, preferences, reservationSession, dialogTimeout);
    UserIdDialogView view(nullptr, &controller);
    return controller.getUserInput();
}
