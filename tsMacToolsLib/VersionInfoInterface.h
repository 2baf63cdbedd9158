#pragma once

#include <QString>
#include <QStringList>

class VersionInfoInterface
{
public:
    virtual ~VersionInfoInterface() = default;
    virtual bool initialize() = 0;

    QString getCompanyName() const { return companyName; }
    QString getLegalCopyright() const { return legalCopyright; }
    QString getVersionString() const { return versionString; }
    QString getFileDescription() const { return fileDescription; }
    QString getProductName() const { return productName; }
    int getMajorVersion() const { return majorVersion; }
    int getMinorVersion() const { return minorVersion; }
    int getIncrementalVersion() const { return incrementalVersion; }
    int getBuildNumber() const { return buildNumber; }
    QString getCopyrightText();
    QString executableName() const;
    bool isCurrentVersionBefore(const QString &version) const;

    static int versionCmp(const QString &a, const QString &b);
    static QStringList stripRevision(QStringList components);

protected:
    QString companyName;
    QString legalCopyright;
    QString versionString;
    QString fileDescription;
    QString productName;
    QString copyrightText;
    int majorVersion = 0;
    int minorVersion = 0;
    int incrementalVersion = 0;
    int buildNumber = 0;
};

// Points at the program-wide version information; start-up may repoint it.
extern VersionInfoInterface *versionInfo;
