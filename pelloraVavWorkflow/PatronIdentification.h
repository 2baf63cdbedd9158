#pragma once

#include <QString>

class KoaPreferences;
class StalloSessionInfo;
class UserIdDialogModel;

namespace UtilsLib {
class Observable;
}

// The identification dialog as every handler that asks runs it: the input
// filters in force traced under the asking handler's name, then the dialog.
bool askPatronForIdentity(const UtilsLib::Observable *handler, const QString &className,
    UserIdDialogModel *model, KoaPreferences *preferences, StalloSessionInfo *reservationSession,
    long dialogTimeout);
