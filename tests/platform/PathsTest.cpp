#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>
#include <vector>

#include "Paths.h"
#include "TestSupport.h"

TEST(Paths, AppendFileToDirJoinsWithOneSlash)
{
    EXPECT_EQ(paths::AppendFileToDir(QStringLiteral("/"), QStringLiteral("a.vb")), QStringLiteral("/a.vb"));
    EXPECT_EQ(paths::AppendFileToDir(QStringLiteral("/roms"), QStringLiteral("a.vb")), QStringLiteral("/roms/a.vb"));
    EXPECT_EQ(paths::AppendFileToDir(QStringLiteral("/roms/"), QStringLiteral("a.vb")), QStringLiteral("/roms/a.vb"));
    EXPECT_EQ(paths::AppendFileToDir(QString(), QStringLiteral("a.vb")), QStringLiteral("a.vb"));
    // Blanks belong to names on Linux and are kept.
    EXPECT_EQ(paths::AppendFileToDir(QStringLiteral("/roms "), QStringLiteral("a.vb")), QStringLiteral("/roms /a.vb"));
}

TEST(Paths, FindsFilesIgnoringLetterCase)
{
    const QString dir = testsupport::tempDir();
    testsupport::writeFile(QStringLiteral("msgokata.ttf"), "x");
    EXPECT_EQ(paths::FindFileNoCase(dir, QStringLiteral("MSGOKATA.TTF")), dir + QStringLiteral("/msgokata.ttf"));
    EXPECT_TRUE(paths::FileExistsNoCase(dir + QStringLiteral("/"), QStringLiteral("MsgOkata.ttf")));
    EXPECT_FALSE(paths::FileExistsNoCase(dir, QStringLiteral("Zandrel.dll")));
    EXPECT_FALSE(paths::FileExistsNoCase(dir + QStringLiteral("/missing"), QStringLiteral("x")));

    // In a folder whose name is not UTF-8, by the names' real bytes.
    const QByteArray latin1 = paths::EncodeFileName(dir) + "/jeux \xE9t\xE9";
    ASSERT_EQ(::mkdir(latin1.constData(), 0755), 0);
    const QString folder = paths::DecodeFileName(latin1);
    ::close(::open((latin1 + "/RBOY.EXE").constData(), O_CREAT | O_WRONLY | O_CLOEXEC, 0644));
    EXPECT_EQ(paths::EncodeFileName(paths::FindFileNoCase(folder, QStringLiteral("rboy.exe"))), latin1 + "/RBOY.EXE");
    EXPECT_EQ(paths::EncodeFileName(paths::FindFileNoCase(folder, QStringLiteral("RBOY.EXE"))), latin1 + "/RBOY.EXE");
}

// A program is looked up in its folder case-blind: what answers to the name
// there but is no regular file (a pipe, a socket, a link to a device) is not
// taken for it, and a regular file of another letter case still is.
TEST(Paths, TheCaseBlindLookUpFindsRegularFilesOnly)
{
    const QString dir = testsupport::tempDir();
    const auto at = [&dir](const char *name) { return paths::EncodeFileName(dir) + '/' + name; };
    ASSERT_EQ(::mkfifo(at("Rboy.exe").constData(), 0600), 0);
    ASSERT_EQ(::mknod(at("VIDE.EXE").constData(), S_IFSOCK | 0600, 0), 0);
    ASSERT_EQ(::symlink("/dev/null", at("RDragon.exe").constData()), 0);
    ASSERT_EQ(::mkdir(at("VirtualE.exe").constData(), 0755), 0);
    testsupport::writeFile(QStringLiteral("rboy.EXE"), "x");
    const std::pair<const char *, QString> cases[] = {
        {"RBOY.EXE", dir + QStringLiteral("/rboy.EXE")},
        {"vide.exe", QString()},
        {"rdragon.exe", QString()},
        {"VIRTUALE.EXE", QString()},
    };
    for (const auto &[name, found] : cases) {
        SCOPED_TRACE(name);
        EXPECT_EQ(paths::FindFileNoCase(dir, QLatin1String(name)), found);
    }
}

TEST(Paths, InstallFoldersFollowTheProgramFolder)
{
    paths::OverrideProgramFolder(QStringLiteral("/opt/zandrel/"));
    EXPECT_EQ(paths::ProgramFolder(), QStringLiteral("/opt/zandrel"));
    EXPECT_EQ(paths::WindowsFolder(), QStringLiteral("/opt/zandrel"));
    EXPECT_EQ(paths::FontsFolder(), QStringLiteral("/opt/zandrel/fonts"));
    paths::OverrideProgramFolder(QString());
}

// A name on disk need not be UTF-8 (old archives carry Latin-1 names): each
// byte that does not decode stands for itself in the text and goes back to
// the very same byte, so the file is still reached.
TEST(Paths, FileNamesThatAreNotUtf8KeepTheirBytes)
{
    const QByteArray names[] = {
        "Golf (U) [!].vb", "Golf\xE9.vb", "\xFF\xFE.vb", "Mario\xE2\x80.vb", "\xC3\xA9t\xC3.vb", "caf\xC3\xA9.vb",
        QByteArray("\xED\xB3\xA9.vb"), // a surrogate written as UTF-8 is no valid name either
        // A byte-order mark is a character of the name like any other.
        "\xEF\xBB\xBFgame.vb", "game\xEF\xBB\xBF.vb", "\xEF\xBB\xBF\xEF\xBB\xBF.vb",
        "\xF0\x9F\x8E\xAE.vb", // beyond the 16-bit range: a surrogate pair
    };
    for (const QByteArray &name : names) {
        SCOPED_TRACE(name.toHex().toStdString());
        const QString text = paths::DecodeFileName(name);
        EXPECT_EQ(paths::EncodeFileName(text), name);
        if (QString::fromUtf8(name).toUtf8() == name) {
            EXPECT_EQ(text, QString::fromUtf8(name)); // a UTF-8 name reads as usual
        }
    }
    EXPECT_EQ(paths::DecodeFileName("Golf\xE9.vb").size(), 8);
    EXPECT_EQ(paths::DecodeFileName("\xEF\xBB\xBFgame.vb"), QStringLiteral(u"\uFEFFgame.vb"));
    EXPECT_EQ(paths::EncodeFileName(QStringLiteral("/home/\u00e9")), QByteArray("/home/\xC3\xA9"));
}

// Every question about a file is asked by its real bytes: a name that is not
// UTF-8 is found, made, opened and removed as itself, never as the U+FFFD
// spelling of a namesake that may stand beside it.
TEST(Paths, FileQuestionsAndChangesGoByTheRealBytes)
{
    const QByteArray folder = paths::EncodeFileName(testsupport::tempDir()) + "/emu\xE9";
    const QString name = paths::DecodeFileName(folder);
    const QByteArray namesake = paths::EncodeFileName(testsupport::tempDir()) + "/emu\xEF\xBF\xBD";
    ASSERT_EQ(::mkdir(namesake.constData(), 0755), 0); // what U+FFFD would reach

    EXPECT_FALSE(paths::Exists(name));
    ASSERT_TRUE(paths::MakeFolders(name + QStringLiteral("/sub/deeper")));
    EXPECT_TRUE(paths::IsFolder(name + QStringLiteral("/sub")));
    EXPECT_FALSE(paths::IsFile(name));

    QString created;
    const int fd = paths::CreateFileBeside(name + QStringLiteral("/caf.vb"), QStringLiteral(".copy-"), created);
    ASSERT_GE(fd, 0);
    ::close(fd);
    EXPECT_TRUE(paths::EncodeFileName(created).startsWith(folder + "/.copy-"));
    EXPECT_TRUE(paths::IsFile(created));
    EXPECT_FALSE(paths::IsExecutable(created));
    ASSERT_EQ(::chmod(paths::EncodeFileName(created).constData(), 0755), 0);
    EXPECT_TRUE(paths::IsExecutable(created));
    EXPECT_EQ(paths::FolderOf(created), name);
    EXPECT_TRUE(paths::RemoveFile(created));
    EXPECT_FALSE(paths::Exists(created));

    const QString ourFolder = paths::CurrentFolder();
    ASSERT_TRUE(paths::MakeCurrentFolder(name + QStringLiteral("/sub")));
    EXPECT_EQ(paths::CurrentFolder(), name + QStringLiteral("/sub"));
    EXPECT_EQ(paths::AbsolutePath(QStringLiteral("deeper/../x.vb")), name + QStringLiteral("/sub/x.vb"));
    ASSERT_TRUE(paths::MakeCurrentFolder(ourFolder));

    EXPECT_TRUE(paths::RemoveFolderTree(name));
    EXPECT_FALSE(paths::Exists(name));
    struct stat info;
    EXPECT_EQ(::stat(namesake.constData(), &info), 0); // the namesake stays
}

namespace {

// Sets environment variables for the scope of a test and puts them back after.
class ScopedEnvironment {
public:
    ~ScopedEnvironment()
    {
        for (auto it = m_saved.crbegin(); it != m_saved.crend(); ++it)
            it->second.isNull() ? void(qunsetenv(it->first)) : void(qputenv(it->first, it->second));
    }
    void set(const char *name, const QByteArray &value)
    {
        m_saved.emplace_back(name, qgetenv(name));
        value.isNull() ? void(qunsetenv(name)) : void(qputenv(name, value));
    }

private:
    std::vector<std::pair<const char *, QByteArray>> m_saved;
};

} // namespace

// The folders the environment names are taken by their bytes as well.
TEST(Paths, HomeConfigAndTemporaryFoldersKeepTheirBytes)
{
    ScopedEnvironment environment;
    environment.set("HOME", "/home/caf\xE9/");
    environment.set("XDG_CONFIG_HOME", QByteArray());
    environment.set("TMPDIR", "/var/tmp\xE9");
    EXPECT_EQ(paths::EncodeFileName(paths::HomeFolder()), QByteArray("/home/caf\xE9"));
    EXPECT_EQ(paths::EncodeFileName(paths::ConfigFolder()), QByteArray("/home/caf\xE9/.config"));
    EXPECT_EQ(paths::EncodeFileName(paths::TemporaryFolder()), QByteArray("/var/tmp\xE9"));
    environment.set("XDG_CONFIG_HOME", "/cfg\xE9");
    environment.set("TMPDIR", "relative");
    EXPECT_EQ(paths::EncodeFileName(paths::ConfigFolder()), QByteArray("/cfg\xE9"));
    EXPECT_EQ(paths::TemporaryFolder(), QStringLiteral("/tmp"));
}
