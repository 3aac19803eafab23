// A program killed in the instant before its save's copy replaces the file:
// it saves its second argument as the whole of the file named by its first,
// and is killed once the copy has its name. The save tests start it, so that
// the kill meets a program of its own, as it would in use.

#include <QFileInfo>

#include <algorithm>
#include <csignal>

#include "Paths.h"
#include "SaveFile.h"

int main(int argc, char **argv)
{
    if (argc != 3)
        return 2;
    const QString path = paths::DecodeFileName(argv[1]);
    const QString folder = QFileInfo(path).path();
    const QString copyName = QFileInfo(path).fileName() + QStringLiteral(".zandrel-save-");
    savefile::SetFaultHook([&](savefile::Step step) {
        if (step != savefile::Step::Replace)
            return 0;
        // An unnamed copy passes this step once before it gets its name.
        const QList<paths::FolderEntry> entries = paths::ListFolder(folder);
        if (std::any_of(entries.cbegin(), entries.cend(),
                        [&](const paths::FolderEntry &entry) { return entry.name.startsWith(copyName); }))
            std::raise(SIGKILL);
        return 0;
    });
    savefile::SaveWhole(path, argv[2]);
    return 1; // not killed: the save never reached its replacement
}
