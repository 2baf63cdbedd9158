#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

class QTranslator;

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

    // A larger file is refused before it is read or parsed: reading one costs
    // many times its size, and overrides come from the network.
    static constexpr qsizetype MaxFileSize = 4 * 1024 * 1024;

    // The bytes of a file of at most MaxFileSize; false otherwise.
    static bool readFile(const QString &path, QByteArray *data);
    // False when the bytes are not a translation file or are larger than
    // MaxFileSize; messages without a source text (files compiled stripped)
    // are left out.
    static bool read(const QByteArray &data, QList<Message> *messages);
    // The complete form, loadable by QTranslator.
    static QByteArray write(const QList<Message> &messages);
    // Loads the translator with the file's messages as write() puts them: the
    // toolkit's translator trusts every offset of the bytes it is given, and
    // a damaged or hostile file (overrides come from the network) would make
    // it read outside them. *data is replaced by the bytes the translator
    // reads, which must live as long as it does.
    static bool load(QTranslator *translator, QByteArray *data);
};
