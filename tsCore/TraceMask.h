#pragma once

#include <QList>
#include <QString>

namespace Tessaly::Core {

// What a trace line may show of a text that crosses the Print Service
// connection. Each message class declares its secret fields once, next to the
// code that writes or reads them; every trace of a text with that class's id
// is then masked, whoever traces it. Only the copy that goes into the trace is
// masked: the texts themselves are never changed. A masked value keeps its
// field, so the line still shows the text's layout.
class TraceMask
{
public:
    struct SecretFields
    {
        // Coded fields, by their field code.
        QString codes;
        // Plain fields, by position (0 is the id), empty fields counted.
        QList<int> positions;
        // With plain secrets: how many fields the class writes. A text of any
        // other shape shows none of its values, since a secret may have moved.
        int fieldCount = 0;
    };

    static const QString Mask;

    // Declares the secret fields of the class with this message id; meant for
    // the initialiser of a class-wide constant of the message class.
    static bool declare(long messageId, const SecretFields &fields);

    // The text with every secret field its id's class declares masked; also
    // inside "Message Not Handled: <text>".
    [[nodiscard]] static QString wireText(const QString &text);
};

} // namespace Tessaly::Core
