#include "VersionInfoInterface.h"

#include <QCoreApplication>
#include <QFileInfo>

QString VersionInfoInterface::getCopyrightText()
{
    if (copyrightText.isEmpty())
        copyrightText = legalCopyright;
    return copyrightText;
}

QString VersionInfoInterface::executableName() const
{
    QString path = QCoreApplication::applicationFilePath();
    if (path.isEmpty() && !QCoreApplication::arguments().isEmpty())
        path = QCoreApplication::arguments().constFirst();
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.indexOf(QLatin1Char('.'));
    return dot < 0 ? name : name.left(dot);
}

bool VersionInfoInterface::isCurrentVersionBefore(const QString &version) const
{
    return versionCmp(versionString, version) < 0;
}

QStringList VersionInfoInterface::stripRevision(QStringList components)
{
    // The fourth component is a revision or build number and takes no part.
    while (components.size() > 3)
        components.removeLast();
    return components;
}

int VersionInfoInterface::versionCmp(const QString &a, const QString &b)
{
    QStringList left = stripRevision(a.split(QLatin1Char('.'), Qt::SkipEmptyParts));
    QStringList right = stripRevision(b.split(QLatin1Char('.'), Qt::SkipEmptyParts));
    while (!left.isEmpty() || !right.isEmpty()) {
        const long x = left.isEmpty() ? 0 : left.constFirst().toLong();
        const long y = right.isEmpty() ? 0 : right.constFirst().toLong();
        if (x < y)
            return -1;
        if (x > y)
            return 1;
        if (!left.isEmpty())
            left.removeFirst();
        if (!right.isEmpty())
            right.removeFirst();
    }
    return 0;
}
