// A program killed in the instant before its save's copy replaces the file:
// it saves its second argument as the whole of the file named by its first,
// and is killed once the copy has its name. The save tests start it, so that
// the kill meets a program of its own, as it would in use.

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <csignal>

#include "SaveFile.h"

int main(int argc, char **argv)
{
    if (argc != 3)
        return 2;
    const QString path = QFile::decodeName(argv[1]);
    const QDir folder = QFileInfo(path).dir();
    const QStringList copies{QFileInfo(path).fileName() + QStringLiteral(".zandrel-save-*")};
    savefile::SetFaultHook([&](savefile::Step step) {
        // An unnamed copy passes this step once before it gets its name.
        if (step == savefile::Step::Replace && !folder.entryList(copies, QDir::Files | QDir::Hidden).isEmpty())
            std::raise(SIGKILL);
        return 0;
    });
    savefile::SaveWhole(path, argv[2]);
    return 1; // not killed: the save never reached its replacement
}
