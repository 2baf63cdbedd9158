#pragma once

#include <QString>

namespace Tessaly::Core {

// What a trace line may show of a text that crosses the Print Service
// connection or comes from the reservation service. Only the copy that goes
// into the trace is masked: the texts themselves are never changed. A masked
// value keeps its field, so the line still shows the text's layout.
class TraceMask
{
public:
    enum class Scope {
        Secrets, // PINs and the staff password
        SecretsAndUserIds, // also the patron's user id, for logs kept longer than a trace
    };

    static const QString Mask;

    // The text with the PIN of an AuthenticateMsg (55) and the staff password
    // of a SettingsMsg (58) masked; also inside "Message Not Handled: <text>".
    [[nodiscard]] static QString wireText(const QString &text, Scope scope = Scope::Secrets);

    // The answer of the reservation service to the query of that name.
    [[nodiscard]] static QString reservationAnswer(
        const QString &query, const QString &answer, Scope scope = Scope::Secrets);
};

} // namespace Tessaly::Core
