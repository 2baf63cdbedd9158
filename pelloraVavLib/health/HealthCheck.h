#pragma once

#include <QDeadlineTimer>
#include <QJsonObject>
#include <QList>
#include <QString>

struct SiteTls;

// What an administrator asks of a kiosk: would printing work here, and if
// not, what to mend. Reads the site file, reaches the Print Service the way
// the client does and looks at the machine, changing nothing: no
// registration, no script run, no file written, no lock taken. The whole run
// ends within TotalMs, whatever the server does.
class HealthCheck
{
public:
    enum Verdict { Ok, Warning, Fail };
    struct Result
    {
        QString name;
        Verdict verdict = Ok;
        QString detail;
        QString advice; // what to do; empty when nothing needs doing
    };

    static constexpr int TotalMs = 15000;
    // Kept back from the network for the checks of the machine itself.
    static constexpr int LocalReserveMs = 2500;
    static constexpr int ExpiryWarningDays = 30;

    // applicationId: the client's single-instance key, to find its lock.
    explicit HealthCheck(const QString &applicationId);

    QList<Result> run();
    // 0 when printing would work, 1 otherwise.
    static int exitStatus(const QList<Result> &results);
    static QString verdictText(Verdict verdict);
    static QString toText(const QList<Result> &results);
    static QJsonObject toJson(const QList<Result> &results);

private:
    void add(const QString &name, Verdict verdict, const QString &detail,
        const QString &advice = QString());
    bool checkSiteFile();
    void checkNetwork();
    void checkScripts();
    SiteTls siteTls() const;
    void checkCups();
    void checkLocal();
    int networkRemainingMs() const;

    QString m_applicationId;
    // The CUPS file naming the groups that may add queues.
    QString m_cupsFilesConf;
    QDeadlineTimer m_deadline;
    QList<Result> m_results;
    // From the site file.
    QString m_address;
    bool m_tls = false;
    int m_tlsPort = 0;
    int m_httpsPort = 0;
    QString m_caFile;
};
