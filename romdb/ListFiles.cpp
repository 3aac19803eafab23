#include "ListFiles.h"

#include <QList>
#include <QSaveFile>
#include <utility>

#include "Paths.h"

namespace romdb {
namespace {

std::optional<ListFileFailure> SaveOne(const QString &path, const QString &text)
{
    QSaveFile file(path);
    const QByteArray bytes = text.toLocal8Bit();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return ListFileFailure{path, file.errorString()};
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

} // namespace romdb
