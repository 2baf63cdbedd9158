#include "TraceMask.h"

#include <QStringList>

namespace Tessaly::Core {

const QString TraceMask::Mask = QStringLiteral("********");

namespace {

constexpr long AuthenticateMsgId = 55;
constexpr long SettingsMsgId = 58;
const QLatin1Char Separator('|');
const QLatin1Char StaffPasswordCode('A');
// The dispatcher's answer to a text it cannot handle repeats the text whole.
const QLatin1String NotHandledPrefix("Message Not Handled: ");

// Read as the dispatcher reads it, so that a text masked here is the text it routes.
long messageId(const QString &text)
{
    const qsizetype separator = text.indexOf(Separator);
    if (separator <= 0)
        return 0;
    bool ok = false;
    const long id = QStringView(text).left(separator).toLong(&ok, 10);
    return ok ? id : 0;
}

// The fields are counted with the empty ones, so that a missing value does not
// move the secret into a field that is left readable. The answer is built as
// id|time|guest|user id|user id|PIN (neither value can hold a separator); in a
// text of another shape the last value past the guest flag is masked as well.
bool isAuthenticationSecret(qsizetype index, qsizetype last, TraceMask::Scope scope)
{
    if (scope == TraceMask::Scope::SecretsAndUserIds)
        return index >= 3;
    return index >= 5 || (index >= 3 && index == last);
}

} // namespace

QString TraceMask::wireText(const QString &text, Scope scope)
{
    if (text.startsWith(NotHandledPrefix))
        return NotHandledPrefix + wireText(text.mid(NotHandledPrefix.size()), scope);

    const long id = messageId(text);
    if (id != AuthenticateMsgId && id != SettingsMsgId)
        return text;

    QStringList fields = text.split(Separator, ::Qt::KeepEmptyParts);
    const qsizetype last = fields.size() - 1;
    for (qsizetype i = 1; i <= last; ++i) {
        QString &field = fields[i];
        if (field.isEmpty())
            continue;
        if (id == AuthenticateMsgId && isAuthenticationSecret(i, last, scope))
            field = Mask;
        else if (id == SettingsMsgId && field.at(0) == StaffPasswordCode && field.size() > 1)
            field = StaffPasswordCode + Mask;
    }
    return fields.join(Separator);
}

QString TraceMask::reservationAnswer(const QString &query, const QString &answer, Scope scope)
{
    if (answer.isEmpty())
        return answer;
    if (query == QLatin1String("patron_pin"))
        return Mask;
    if (scope == Scope::SecretsAndUserIds && query == QLatin1String("patron_id"))
        return Mask;
    return answer;
}

} // namespace Tessaly::Core
