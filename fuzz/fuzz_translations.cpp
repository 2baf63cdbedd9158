#include "QmMessageFile.h"
#include "TranslationFileManager.h"
#include "TsBaseDialog.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

// A default and an override translation file of one dialect, as the Print
// Service or a broken installation might leave them in the languages folder:
// the file manager loads both and builds the language map. Whatever the
// reader accepts must survive being written and read again.

namespace {

QTemporaryDir *folder = nullptr;

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        __builtin_trap();
}

bool same(const QmMessageFile::Message &a, const QmMessageFile::Message &b)
{
    return a.context == b.context && a.sourceText == b.sourceText && a.comment == b.comment
        && a.translation == b.translation;
}

void checkRoundTrip(const QByteArray &bytes)
{
    QList<QmMessageFile::Message> messages;
    if (!QmMessageFile::read(bytes, &messages))
        return;
    QList<QmMessageFile::Message> again;
    if (!QmMessageFile::read(QmMessageFile::write(messages), &again)
        || again.size() != messages.size())
        __builtin_trap();
    for (qsizetype i = 0; i < messages.size(); ++i) {
        if (!same(messages.at(i), again.at(i)))
            __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    new QCoreApplication(*argc, *argv);
    // Outside the source tree, removed at exit.
    folder = new QTemporaryDir(QDir::tempPath() + QStringLiteral("/fuzz_translations-XXXXXX"));
    if (!folder->isValid() || !QDir(folder->path()).mkdir(QStringLiteral("languages")))
        __builtin_trap();
    TsBaseDialog::setApplicationFolder(folder->path());
    std::atexit([] { delete folder; });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The first two bytes give the default file's share of the rest.
    if (size < 2)
        return 0;
    const size_t split = qMin(size - 2, size_t((data[0] << 8) | data[1]));
    const QByteArray defaults(reinterpret_cast<const char *>(data + 2), qsizetype(split));
    const QByteArray overrides(
        reinterpret_cast<const char *>(data + 2 + split), qsizetype(size - 2 - split));
    checkRoundTrip(defaults);
    checkRoundTrip(overrides);

    const QString languages = folder->path() + QStringLiteral("/languages/");
    writeFile(languages + QStringLiteral("xx_yy.qm"), defaults);
    writeFile(languages + QStringLiteral("xx_yy_OVERRIDE.qm"), overrides);
    TranslationFileManager manager;
    if (manager.loadTranslationFiles(
            QStringLiteral("xx_yy.qm"), QStringLiteral("xx_yy_OVERRIDE.qm")))
        (void)manager.getTranslation("Language Preferences", "<<Language Name>>");
    (void)manager.getMasterTranslationContainer();
    (void)manager.getLanguageMap();
    return 0;
}
