#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

// Splits a command line into named options (-name=value or -name:value,
// names case-insensitive, first occurrence wins) and positional fields.
class ArgumentParser
{
public:
    ArgumentParser() = default;
    ArgumentParser(int argc, char **argv);
    explicit ArgumentParser(const QString &commandLine);

    void parseArguments(int argc, char **argv);
    void parseArguments(const QString &commandLine);
    void parseArgument(const QString &word);

    int numArgumentsInMap() const { return int(m_argumentsMap.size()); }
    bool isArgumentInMap(QString name) const;
    QString getArgument(const QString &name) const;
    QStringList getArgumentValues(const QString &name, const QString &separator) const;
    QMap<QString, QString> getArgumentsMap() const { return m_argumentsMap; }
    QStringList getFieldList() const { return m_fieldList; }

private:
    QMap<QString, QString> m_argumentsMap;
    QStringList m_fieldList;
};
