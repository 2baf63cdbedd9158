#include "ArgumentParser.h"

ArgumentParser::ArgumentParser(int argc, char **argv)
{
    parseArguments(argc, argv);
}

ArgumentParser::ArgumentParser(const QString &commandLine)
{
    parseArguments(commandLine);
}

void ArgumentParser::parseArguments(int argc, char **argv)
{
    for (int i = 0; i < argc; ++i)
        parseArgument(QString::fromLocal8Bit(argv[i]));
}

void ArgumentParser::parseArguments(const QString &commandLine)
{
    // Quotes do not group words: a quoted name with a blank gives two fields.
    const QStringList words
        = commandLine.simplified().split(QLatin1Char(' '), ::Qt::SkipEmptyParts);
    for (const QString &word : words)
        parseArgument(word);
}

void ArgumentParser::parseArgument(const QString &word)
{
    if (!word.startsWith(QLatin1Char('-'))) {
        QString field = word;
        field.remove(QLatin1Char('\'')).remove(QLatin1Char('"'));
        m_fieldList.append(field);
        return;
    }

    const QString option = word.mid(1);
    const QStringList atEquals = option.split(QLatin1Char('='), ::Qt::SkipEmptyParts);
    QStringList pieces = atEquals;
    if (atEquals.size() < 2) {
        pieces = option.split(QLatin1Char(':'), ::Qt::SkipEmptyParts);
        // -name= is the option name with an empty value, not an option
        // called "name=".
        if (pieces.size() == 1 && atEquals.size() == 1)
            pieces = atEquals;
    }
    if (pieces.isEmpty())
        return;

    const QString name = pieces.takeFirst().toUpper();
    if (!m_argumentsMap.contains(name))
        m_argumentsMap.insert(name, pieces.join(QLatin1Char(':')));
}

bool ArgumentParser::isArgumentInMap(QString name) const
{
    return m_argumentsMap.contains(name.toUpper());
}

QString ArgumentParser::getArgument(const QString &name) const
{
    return m_argumentsMap.value(name.toUpper());
}

QStringList ArgumentParser::getArgumentValues(const QString &name, const QString &separator) const
{
    const QString value = getArgument(name);
    if (separator.isEmpty())
        return value.isEmpty() ? QStringList() : QStringList {value};
    return value.split(separator, ::Qt::SkipEmptyParts);
}
