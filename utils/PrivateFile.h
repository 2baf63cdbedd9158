#pragma once

class QByteArray;
class QString;

namespace UtilsLib {

// Files and folders that only their owner may read: the trace, the stored
// staff password, a patron's own settings. Modes are set when a file is
// created, never afterwards, so no other user can open it in between; an
// existing file or folder of the user's own is tightened.
class PrivateFile
{
public:
    // Creates the folder and its missing parents as 0700 and tightens an
    // existing one of the user's own to 0700. True when it is a folder
    // afterwards.
    static bool makeDirectory(const QString &directory);

    // Whether directory is a folder (not a link) of the user's own that
    // nobody else may enter.
    [[nodiscard]] static bool isPrivateDirectory(const QString &directory);

    // Replaces the file with data through a new file, created 0600 next to
    // it, synced, and renamed over it once complete: the old file stays whole
    // until then, and whoever had it open keeps reading the old one. False,
    // the file untouched, in a folder the user may not write.
    [[nodiscard]] static bool write(const QString &path, const QByteArray &data);

    // A descriptor that appends to path, created 0600. An existing regular
    // file is tightened to 0600; one that cannot be is refused. -1 on failure.
    [[nodiscard]] static int openForAppend(const QString &path);
};

} // namespace UtilsLib
