#include "ListFiles.h"

#include <QList>
#include <utility>

#include "Paths.h"
#include "SaveFile.h"

namespace romdb {
namespace {

std::optional<ListFileFailure> SaveOne(const QString &path, const QString &text)
{
    // A list belongs in the listed folder: a link of its name gives way to the
    // new file and never carries the write elsewhere. The names it lists keep
    // their bytes, UTF-8 or not, so the list names the very files.
    if (const auto error = savefile::SaveWhole(path, paths::EncodeFileName(text), savefile::Links::Replace))
        return ListFileFailure{path, error->reason};
    return std::nullopt;
}

} // namespace

std::optional<ListFileFailure> SaveListFiles(const QString &folder, const RomListTexts &texts, bool withLog)
{
    QList<std::pair<QString, const QString *>> files = {
        {QStringLiteral("VBoyHave.txt"), &texts.haveText()},
        {QStringLiteral("VBoyMiss.txt"), &texts.missText()},
        {QStringLiteral("VBoyDupes.txt"), &texts.dupesText()},
    };
    if (withLog)
        files.append({QStringLiteral("VBoyLog.txt"), &texts.changeLog()});
    for (const auto &[name, text] : files)
        if (auto failure = SaveOne(paths::AppendFileToDir(folder, name), *text))
            return failure;
    return std::nullopt;
}

std::optional<ListFileFailure> SaveChangeLogFile(const QString &folder, const RomListTexts &texts)
{
    return SaveOne(paths::AppendFileToDir(folder, QStringLiteral("VBoyLog.txt")), texts.changeLog());
}

} // namespace romdb
