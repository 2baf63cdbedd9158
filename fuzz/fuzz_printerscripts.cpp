#include "HexEncrypt.h"
#include "MacPrintersManager.h"
#include "OSInterface.h"
#include "TsHttpFactory.h"
#include "TsHttpInterface.h"

#include <QCoreApplication>
#include <QDir>
#include <QIODevice>

#include <fcntl.h>
#include <unistd.h>

// The Print Service's answer on /printers/ decoded into the installation and
// removal scripts, with the commands recorded instead of run. The encoding
// must give back every text it was given.

namespace {

QByteArray g_answer;
QString g_folder;

class RecordingOS : public OSInterface
{
public:
    int system(const char *command, QByteArray *) override
    {
        commands.append(QString::fromUtf8(command));
        return 0;
    }
    int run(const QString &, const QStringList &, QString *standardOutput) override
    {
        if (standardOutput)
            *standardOutput = QStringLiteral("system default destination: Office\n");
        return 0;
    }
    QStringList commands;
};

class AnsweringHttp : public TsHttpInterface
{
public:
    AnsweringHttp(MacPrintersManager *manager, int &attempts)
        : m_manager(manager)
        , m_attempts(attempts)
    { }
    bool get(const QString &, QIODevice *device) override
    {
        // One attempt only: a refused answer would be asked for again. The
        // second attempt gives up, as a quit request would.
        if (m_attempts++ > 0) {
            m_manager->abortInstall();
            return false;
        }
        return device->write(g_answer) == g_answer.size();
    }
    bool post(const QString &, int, const QString &, const QByteArray &, const QString &) override
    {
        return false;
    }
    bool deleteFile(const QString &, int, const QString &, const QString &) override
    {
        return false;
    }
    using TsHttpInterface::post;

private:
    MacPrintersManager *m_manager;
    int &m_attempts;
};

class AnsweringFactory : public TsHttpFactory
{
public:
    explicit AnsweringFactory(MacPrintersManager *manager)
        : m_manager(manager)
    { }
    std::unique_ptr<TsHttpInterface> createHttpInstance() override
    {
        return std::make_unique<AnsweringHttp>(m_manager, m_attempts);
    }

private:
    MacPrintersManager *m_manager;
    int m_attempts = 0;
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    new QCoreApplication(*argc, *argv);
    // The manager's progress lines would drown the fuzzer's own.
    const int null = ::open("/dev/null", O_WRONLY);
    if (null >= 0)
        ::dup2(null, STDOUT_FILENO);
    // The apostrophe tests the folder's quoting. The folder is never made:
    // defaultPrinter.txt, saved with a sync each time, would slow every run.
    g_folder = QDir::tempPath() + QStringLiteral("/fuzz printer's folder/absent");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    g_answer = QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
    auto os = std::make_unique<RecordingOS>();
    RecordingOS *recorder = os.get();
    MacPrintersManager manager(std::move(os));
    manager.setApplicationFolder(g_folder);
    manager.setRetryWaitTimeMillis(0);
    AnsweringFactory factory(&manager);
    const bool installed = manager.installPrinters(QStringLiteral("127.0.0.1"), &factory);
    // Removal first, then the installation: both scripts or nothing.
    if (recorder->commands.size() != (installed ? 2 : 0))
        __builtin_trap();
    manager.uninstallPrinters();

    const QString text = QString::fromUtf8(g_answer);
    if (UtilsLib::HexEncrypt::decryptData(UtilsLib::HexEncrypt::encryptData(text)) != text)
        __builtin_trap();
    return 0;
}
