#pragma once

#include <QString>

namespace KoaConstants {
// The answer of a handler whose message needs none; it is still sent back.
inline const QString NO_RESPONSE = QStringLiteral("No Response");
} // namespace KoaConstants
