#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The messages of a compiled translation file. The toolkit's translator can
// load such a file but neither list its messages nor write one.
class QmMessageFile
{
public:
    struct Message
    {
        QByteArray context;
        QByteArray sourceText;
        QByteArray comment;
        QString translation;
    };

    // False when the bytes are not a translation file; messages without a
    // source text (files compiled stripped) are left out.
    static bool read(const QByteArray &data, QList<Message> *messages);
    // The complete form, loadable by QTranslator.
    static QByteArray write(const QList<Message> &messages);
};
