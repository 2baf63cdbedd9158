#include "TraceMask.h"

#include "Message.h"

#include <QHash>
#include <QMutex>
#include <QStringList>

namespace Tessaly::Core {

const QString TraceMask::Mask = QStringLiteral("********");

namespace {

// The dispatcher's answer to a text it cannot handle repeats the text whole.
const QLatin1String NotHandledPrefix("Message Not Handled: ");

// Filled while the program's static constants are made, read by every thread
// that traces.
struct Declarations
{
    QMutex mutex;
    QHash<long, TraceMask::SecretFields> byId;
};

Declarations &declarations()
{
    static Declarations table;
    return table;
}

bool isSecret(const TraceMask::SecretFields &secrets, qsizetype index, const QString &field,
    qsizetype fieldCount)
{
    if (!secrets.positions.isEmpty()
        && (fieldCount != secrets.fieldCount || secrets.positions.contains(int(index))))
        return true;
    return field.size() > 1 && secrets.codes.contains(field.at(0));
}

} // namespace

bool TraceMask::declare(long messageId, const SecretFields &fields)
{
    Declarations &table = declarations();
    const QMutexLocker lock(&table.mutex);
    table.byId.insert(messageId, fields);
    return true;
}

QString TraceMask::wireText(const QString &text)
{
    if (text.startsWith(NotHandledPrefix))
        return NotHandledPrefix + wireText(text.mid(NotHandledPrefix.size()));

    SecretFields secrets;
    {
        Declarations &table = declarations();
        const QMutexLocker lock(&table.mutex);
        const auto found = table.byId.constFind(Message::getMessageIdFromText(text));
        if (found == table.byId.cend())
            return text;
        secrets = *found;
    }
    QStringList fields = text.split(Message::fieldSeparator(), ::Qt::KeepEmptyParts);
    // From field 1: a text without its time stamp has a value there. An empty
    // value shows that there was none.
    for (qsizetype i = 1; i < fields.size(); ++i) {
        QString &field = fields[i];
        if (field.isEmpty() || !isSecret(secrets, i, field, fields.size()))
            continue;
        const bool coded = field.size() > 1 && secrets.codes.contains(field.at(0));
        field = coded ? field.at(0) + Mask : Mask;
    }
    return fields.join(Message::fieldSeparator());
}

} // namespace Tessaly::Core
