#include "MacEnvironmentProvider.h"

#include <QtGlobal>

#include <unistd.h>

namespace {
// At most 256 bytes, always terminated, as the C calls do not promise that.
QString readName(int (*reader)(char *, size_t), const char *fallback)
{
    char buffer[257] = {};
    if (reader(buffer, 256) != 0 || buffer[0] == '\0')
        return QString::fromUtf8(fallback);
    return QString::fromLocal8Bit(buffer);
}

int readDomain(char *buffer, size_t size)
{
    const int result = ::getdomainname(buffer, size);
    // Linux reports an unset NIS domain as "(none)".
    if (result == 0 && qstrcmp(buffer, "(none)") == 0)
        return -1;
    return result;
}
} // namespace

QString MacEnvironmentProvider::getUserName()
{
    for (const char *variable : {"USER", "LOGNAME"}) {
        if (qEnvironmentVariableIsSet(variable))
            return qEnvironmentVariable(variable);
    }
    return QStringLiteral("unknown");
}

QString MacEnvironmentProvider::getMachineName()
{
    return readName(&::gethostname, "some-Mac-running-pelloraVav");
}

QString MacEnvironmentProvider::getUserDomain()
{
    return readName(&readDomain, "localdomain");
}
