#include "UserIdDialogModel.h"

UserIdDialogModel::UserIdDialogModel(bool pinRequired, bool guestAllowed)
    : m_pinRequired(pinRequired)
    , m_guestAllowed(guestAllowed)
{ }
