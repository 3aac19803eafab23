#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <fcntl.h>
#include <functional>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include "Paths.h"
#include "Registry.h"
#include "SaveFile.h"
#include "SettingsStore.h"
#include "TestSupport.h"

using namespace registry;

namespace {

const QString kKey = QStringLiteral("Software\\Test\\Values");

QString storeText()
{
    return QString::fromUtf8(testsupport::readFile(StoreFilePath()));
}

QString lockFile()
{
    return QFileInfo(StoreFilePath()).absolutePath() + QStringLiteral("/registry.lock");
}

// Another instance's hold on the store's lock, for as long as it lives.
class OtherInstance {
public:
    OtherInstance()
    {
        QDir().mkpath(QFileInfo(lockFile()).absolutePath());
        m_fd = ::open(QFile::encodeName(lockFile()).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        EXPECT_EQ(::flock(m_fd, LOCK_EX | LOCK_NB), 0);
    }
    ~OtherInstance() { release(); }
    void release()
    {
        if (m_fd >= 0)
            ::close(std::exchange(m_fd, -1));
    }

private:
    int m_fd = -1;
};

// What another instance does, for as long as one lives, when this one has
// found the store damaged and is about to keep it aside.
class WhenTheStoreIsFoundDamaged {
public:
    explicit WhenTheStoreIsFoundDamaged(std::function<void()> meanwhile)
    {
        SetDamagedStoreHook(std::move(meanwhile));
    }
    ~WhenTheStoreIsFoundDamaged() { SetDamagedStoreHook(nullptr); }
};

} // namespace

TEST(Registry, ValuesOfEveryKindSurviveAReload)
{
    ASSERT_TRUE(CreateKey(Hive::CurrentUser, kKey));
    ASSERT_TRUE(SetValue(Hive::CurrentUser, kKey, QStringLiteral("Text"), Value::fromString(QStringLiteral("a \"q\" \\ b"))));
    ASSERT_TRUE(SetValue(Hive::CurrentUser, kKey, QStringLiteral("Number"), Value::fromDword(0x4d)));
    ASSERT_TRUE(SetValue(Hive::CurrentUser, kKey, QStringLiteral("Bytes"), Value::fromBinary(QByteArray("\x00\x01\xff", 3))));
    ASSERT_TRUE(SetValue(Hive::CurrentUser, kKey, QStringLiteral("Lines"), Value::fromString(QStringLiteral("one\r\ntwo"))));
    ASSERT_TRUE(SetValue(Hive::CurrentUser, kKey, QString(), Value::fromString(QStringLiteral("default"), REG_EXPAND_SZ)));
    ASSERT_TRUE(SetValue(Hive::CurrentUser, kKey, QStringLiteral("Empty"), Value{REG_SZ, QByteArray()}));

    EXPECT_TRUE(storeText().startsWith(QStringLiteral("REGEDIT4\n")));
    EXPECT_TRUE(storeText().contains(QStringLiteral("[HKEY_CURRENT_USER\\Software\\Test\\Values]")));
    EXPECT_TRUE(storeText().contains(QStringLiteral("\"Number\"=dword:0000004d")));

    Reload();
    EXPECT_EQ(QueryValue(Hive::CurrentUser, kKey, QStringLiteral("text"))->toString(), QStringLiteral("a \"q\" \\ b"));
    EXPECT_EQ(QueryValue(Hive::CurrentUser, kKey, QStringLiteral("Number"))->toDword(), 0x4du);
    EXPECT_EQ(QueryValue(Hive::CurrentUser, kKey, QStringLiteral("Bytes"))->data, QByteArray("\x00\x01\xff", 3));
    EXPECT_EQ(QueryValue(Hive::CurrentUser, kKey, QStringLiteral("Lines"))->toString(), QStringLiteral("one\r\ntwo"));
    EXPECT_EQ(QueryValue(Hive::CurrentUser, kKey, QString())->type, uint32_t(REG_EXPAND_SZ));
    EXPECT_EQ(QueryValue(Hive::CurrentUser, kKey, QStringLiteral("Empty"))->data, QByteArray());
    EXPECT_EQ(ValueNames(Hive::CurrentUser, kKey),
              (QStringList{"Text", "Number", "Bytes", "Lines", "", "Empty"}));
}

// A folder named in Latin-1 comes back byte for byte: the store writes such a
// value in its hex form, and plain text still as "Name"="text".
TEST(Registry, APathThatIsNotUtf8IsStoredAndReadBackByItsBytes)
{
    const QByteArray odd("/roms/dir\xFF\xFE/caf\xE9.vb");
    ASSERT_TRUE(CreateKey(Hive::CurrentUser, kKey));
    ASSERT_TRUE(SetValue(Hive::CurrentUser, kKey, QStringLiteral("Odd"), Value::fromString(paths::DecodeFileName(odd))));
    ASSERT_TRUE(SetValue(Hive::CurrentUser, kKey, QStringLiteral("Plain"), Value::fromString(QStringLiteral(u"/roms/caf\u00E9.vb"))));

    const QByteArray file = testsupport::readFile(StoreFilePath());
    EXPECT_TRUE(file.contains("\"Odd\"=hex(1):2f,72,6f,6d,73,2f,64,69,72,ff,fe,2f,63,61,66,e9,2e,76,62,00\n"))
        << file.toStdString();
    EXPECT_TRUE(file.contains("\"Plain\"=\"/roms/caf\xC3\xA9.vb\"\n")) << file.toStdString();

    Reload();
    EXPECT_EQ(paths::EncodeFileName(QueryValue(Hive::CurrentUser, kKey, QStringLiteral("Odd"))->toString()), odd);
    EXPECT_EQ(QueryValue(Hive::CurrentUser, kKey, QStringLiteral("Plain"))->toString(), QStringLiteral(u"/roms/caf\u00E9.vb"));
}

// A settings folder whose name is not UTF-8 is the one used: the store, its
// lock and the check for another program's change all reach it by its bytes.
TEST(Registry, ASettingsFolderWhoseNameIsNotUtf8HoldsTheStore)
{
    const QByteArray config = paths::EncodeFileName(testsupport::tempDir()) + "/cfg\xE9";
    qputenv("XDG_CONFIG_HOME", config);
    Reload();
    ASSERT_TRUE(settings::Save(QStringLiteral("Key"), QStringLiteral("ours")));
    EXPECT_EQ(paths::EncodeFileName(StoreFilePath()), config + "/zandrel/registry.reg");
    struct stat info;
    EXPECT_EQ(::stat(config + "/zandrel/registry.reg", &info), 0);
    EXPECT_EQ(::stat(config + "/zandrel/registry.lock", &info), 0);
    EXPECT_NE(::stat(paths::EncodeFileName(testsupport::tempDir()) + "/cfg\xEF\xBF\xBD", &info), 0);

    // Another program writes the store: its value is the one read.
    const QByteArray theirs = "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\Zandrel Utils\\Settings]\n"
                              "\"Key\"=\"theirs, written later\"\n\n";
    const QByteArray store = config + "/zandrel/registry.reg";
    const QByteArray aside = store + ".theirs";
    const int fd = ::open(aside.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_EQ(::write(fd, theirs.constData(), size_t(theirs.size())), theirs.size());
    ::close(fd);
    ASSERT_EQ(::rename(aside.constData(), store.constData()), 0);
    EXPECT_EQ(settings::Get(QStringLiteral("Key")), QStringLiteral("theirs, written later"));
}

TEST(Registry, KeysNeedTheirParentAndDeleteOnlyWithoutSubkeys)
{
    EXPECT_FALSE(SetValue(Hive::CurrentUser, kKey, QStringLiteral("x"), Value::fromDword(1)));
    ASSERT_TRUE(CreateKey(Hive::CurrentUser, kKey));
    EXPECT_TRUE(KeyExists(Hive::CurrentUser, QStringLiteral("software\\TEST")));
    EXPECT_EQ(SubkeyNames(Hive::CurrentUser, QStringLiteral("Software\\Test")), QStringList{"Values"});
    EXPECT_FALSE(DeleteKey(Hive::CurrentUser, QStringLiteral("Software\\Test")));
    EXPECT_TRUE(DeleteKey(Hive::CurrentUser, kKey));
    EXPECT_FALSE(KeyExists(Hive::CurrentUser, kKey));
    EXPECT_FALSE(DeleteValue(Hive::CurrentUser, kKey, QStringLiteral("x")));
    // A name the store's line-based text can't hold is refused, not stored.
    ASSERT_TRUE(CreateKey(Hive::CurrentUser, kKey));
    EXPECT_FALSE(SetValue(Hive::CurrentUser, kKey, QStringLiteral("two\nlines"), Value::fromDword(1)));
    EXPECT_FALSE(CreateKey(Hive::CurrentUser, QStringLiteral("Software\\bad\rname")));
}

TEST(Registry, ADamagedStoreIsKeptAsideAndReported)
{
    QDir().mkpath(QFileInfo(StoreFilePath()).absolutePath());
    QFile f(StoreFilePath());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a registry file\n");
    f.close();
    Reload();

    EXPECT_EQ(settings::Get(QStringLiteral("Base Directory"), QStringLiteral("dflt")), QStringLiteral("dflt"));
    const QString problem = TakeStoreProblem();
    EXPECT_TRUE(problem.contains(QStringLiteral("registry.reg.damaged"))) << problem.toStdString();
    EXPECT_EQ(testsupport::readFile(StoreFilePath() + QStringLiteral(".damaged")), QByteArray("not a registry file\n"));
    EXPECT_TRUE(TakeStoreProblem().isEmpty());

    // The next write starts a fresh store rather than touching the kept file.
    EXPECT_TRUE(settings::Save(QStringLiteral("Base Directory"), QStringLiteral("/roms")));
    EXPECT_EQ(testsupport::readFile(StoreFilePath() + QStringLiteral(".damaged")), QByteArray("not a registry file\n"));
}

// Two instances start on the same damaged store. Before this one keeps it
// aside, the other does and saves a setting into a fresh store: this one
// then reads that store, and neither moves it aside nor writes over the
// damaged file the other kept.
TEST(Registry, ADamagedStoreThatAnotherInstanceKeptAsideMeanwhileIsNotLost)
{
    const QByteArray damaged = "not a registry file\n";
    const QByteArray othersStore = "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\VB and VBA Program Settings\\Zandrel "
                                   "Utils\\Settings]\n\"Base Directory\"=\"/roms\"\n\n";
    const QString storeName = QStringLiteral("config/zandrel/registry.reg");
    testsupport::writeFile(storeName, damaged);
    const QString kept = StoreFilePath() + QStringLiteral(".damaged");
    WhenTheStoreIsFoundDamaged otherInstance([&] {
        OtherInstance lock;
        ASSERT_TRUE(QFile::rename(StoreFilePath(), kept));
        testsupport::writeFile(storeName, othersStore);
    });
    Reload();

    EXPECT_EQ(settings::Get(QStringLiteral("Base Directory"), QStringLiteral("dflt")), QStringLiteral("/roms"));
    EXPECT_EQ(testsupport::readFile(kept), damaged);
    EXPECT_EQ(testsupport::readFile(StoreFilePath()), othersStore);
    const QDir folder = QFileInfo(StoreFilePath()).absolutePath();
    EXPECT_EQ(folder.entryList({QStringLiteral("registry.reg*")}, QDir::Files, QDir::Name),
              (QStringList{"registry.reg", "registry.reg.damaged"}));

    // A setting this instance saves joins the other's.
    EXPECT_TRUE(settings::Save(QStringLiteral("Other"), QStringLiteral("mine")));
    Reload();
    EXPECT_EQ(settings::Get(QStringLiteral("Base Directory")), QStringLiteral("/roms"));
    EXPECT_EQ(settings::Get(QStringLiteral("Other")), QStringLiteral("mine"));
    EXPECT_EQ(testsupport::readFile(kept), damaged);
}

// A damaged file kept earlier is never replaced: the next one found, by a
// save or by a read, gets a name of its own.
TEST(Registry, ADamagedStoreIsKeptUnderANameNothingHasYet)
{
    const QString storeName = QStringLiteral("config/zandrel/registry.reg");
    testsupport::writeFile(storeName + QStringLiteral(".damaged"), "kept earlier\n");
    const QDir folder = QFileInfo(StoreFilePath()).absolutePath();
    const auto keptFiles = [&] {
        QList<QByteArray> contents;
        for (const QString &name : folder.entryList({QStringLiteral("registry.reg.damaged*")}, QDir::Files, QDir::Name))
            contents << testsupport::readFile(folder.filePath(name));
        return contents;
    };

    testsupport::writeFile(storeName, "damaged by a save\n");
    Reload();
    EXPECT_TRUE(settings::Save(QStringLiteral("Key"), QStringLiteral("saved")));
    testsupport::writeFile(storeName, "damaged by a read\n");
    Reload();
    EXPECT_EQ(settings::Get(QStringLiteral("Key"), QStringLiteral("default")), QStringLiteral("default"));

    QList<QByteArray> kept = keptFiles();
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(kept, (QList<QByteArray>{"damaged by a read\n", "damaged by a save\n", "kept earlier\n"}));
    EXPECT_TRUE(TakeStoreProblem().contains(QStringLiteral("It was kept as %1.damaged-").arg(StoreFilePath())));
}

// While a damaged store can't be kept aside (its folder can't be written
// for now), it is left unread and no save goes over it; once it can be, it
// is kept aside and the store starts afresh.
TEST(Registry, ADamagedStoreThatCannotBeKeptAsideIsNeverWrittenOver)
{
    SKIP_WHERE_NO_ORDINARY_USER_CAN_REACH_THE_TEST();
    testsupport::writeFile(QStringLiteral("config/zandrel/registry.reg"), "damaged\n");
    const QByteArray folder = QFile::encodeName(QFileInfo(StoreFilePath()).absolutePath());
    ::chmod(folder.constData(), 0555);
    {
        testsupport::OrdinaryUser user;
        Reload();
        EXPECT_EQ(settings::Get(QStringLiteral("Key"), QStringLiteral("default")), QStringLiteral("default"));
        EXPECT_FALSE(settings::Save(QStringLiteral("Key"), QStringLiteral("refused")));
        const QString problem = TakeStoreProblem();
        EXPECT_TRUE(problem.contains(QStringLiteral("The settings file %1 could not be read: It is damaged, and it "
                                                    "could not be kept aside.\r")
                                         .arg(StoreFilePath())))
            << problem.toStdString();
    }
    ::chmod(folder.constData(), 0755);
    EXPECT_EQ(testsupport::readFile(StoreFilePath()), QByteArray("damaged\n"));

    EXPECT_TRUE(settings::Save(QStringLiteral("Key"), QStringLiteral("saved")));
    EXPECT_EQ(testsupport::readFile(StoreFilePath() + QStringLiteral(".damaged")), QByteArray("damaged\n"));
    Reload();
    EXPECT_EQ(settings::Get(QStringLiteral("Key")), QStringLiteral("saved"));
}

TEST(Registry, ABatchWritesTheStoreOnce)
{
    {
        BatchWrite batch;
        settings::Save(QStringLiteral("A"), QStringLiteral("1"));
        settings::Save(QStringLiteral("B"), QStringLiteral("2"));
        EXPECT_FALSE(QFile::exists(StoreFilePath()));
        EXPECT_EQ(settings::Get(QStringLiteral("A")), QStringLiteral("1"));
    }
    Reload();
    EXPECT_EQ(settings::Get(QStringLiteral("B")), QStringLiteral("2"));
}

// A batch ends on the store as it is then: a section another instance saved
// while the batch ran stays, and a store damaged meanwhile (a hand edit) is
// kept aside before the batch's changes are written.
TEST(Registry, ABatchEndsOnTheStoreAsItIsThenNotAsItWasRead)
{
    const QString storeName = QStringLiteral("config/zandrel/registry.reg");
    ASSERT_TRUE(settings::Save(QStringLiteral("Earlier"), QStringLiteral("kept")));
    {
        BatchWrite batch;
        settings::Save(QStringLiteral("A"), QStringLiteral("1"));
        testsupport::writeFile(storeName, testsupport::readFile(StoreFilePath())
                                              + "[HKEY_CURRENT_USER\\Software\\Other]\n\"Name\"=\"theirs\"\n\n");
        settings::Save(QStringLiteral("B"), QStringLiteral("2"));
    }
    Reload();
    EXPECT_EQ(settings::Get(QStringLiteral("Earlier")), QStringLiteral("kept"));
    EXPECT_EQ(settings::Get(QStringLiteral("A")), QStringLiteral("1"));
    EXPECT_EQ(settings::Get(QStringLiteral("B")), QStringLiteral("2"));
    EXPECT_EQ(QueryValue(Hive::CurrentUser, QStringLiteral("Software\\Other"), QStringLiteral("Name")),
              Value::fromString(QStringLiteral("theirs")));

    {
        BatchWrite batch;
        settings::Save(QStringLiteral("C"), QStringLiteral("3"));
        testsupport::writeFile(storeName, "damaged by a hand edit\n");
    }
    EXPECT_EQ(testsupport::readFile(StoreFilePath() + QStringLiteral(".damaged")), QByteArray("damaged by a hand edit\n"));
    EXPECT_TRUE(TakeStoreProblem().contains(QStringLiteral("It was kept as %1.damaged ").arg(StoreFilePath())));
    Reload();
    EXPECT_EQ(settings::Get(QStringLiteral("C")), QStringLiteral("3"));
    EXPECT_EQ(settings::Get(QStringLiteral("A"), QStringLiteral("gone with the damaged file")),
              QStringLiteral("gone with the damaged file"));
}

// Exported for wine's regedit in the form it reads as Unicode: a text value
// never reaches it garbled.
TEST(Registry, AKeyIsExportedWithEverythingBelowItAsWindowsExportsIt)
{
    const Hive hkcu = Hive::CurrentUser;
    ASSERT_TRUE(CreateKey(hkcu, QStringLiteral("Software\\Emu\\Options")));
    ASSERT_TRUE(CreateKey(hkcu, QStringLiteral("Software\\Emu\\Keypad")));
    ASSERT_TRUE(CreateKey(hkcu, QStringLiteral("Software\\Other")));
    SetValue(hkcu, QStringLiteral("Software\\Emu\\Options"), QStringLiteral("Brtness"), Value::fromDword(0xFFFFFFFB));
    SetValue(hkcu, QStringLiteral("Software\\Emu\\Options"), QStringLiteral("Name"), Value::fromString(QStringLiteral("a \"b\"")));
    SetValue(hkcu, QStringLiteral("Software\\Emu\\Keypad"), QStringLiteral("A Button"), Value::fromDword(77));
    SetValue(hkcu, QStringLiteral("Software\\Other"), QStringLiteral("x"), Value::fromDword(1));
    SetValue(hkcu, QStringLiteral("Software\\Emu\\Keypad"), QStringLiteral("Dir"),
             Value::fromString(QStringLiteral("%HOME%\u00FC"), REG_EXPAND_SZ));

    const QString exported = ExportKey(hkcu, QStringLiteral("Software\\Emu"));
    EXPECT_EQ(exported, QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n"
                                       "[HKEY_CURRENT_USER\\Software\\Emu\\Options]\r\n"
                                       "\"Brtness\"=dword:fffffffb\r\n"
                                       "\"Name\"=\"a \\\"b\\\"\"\r\n\r\n"
                                       "[HKEY_CURRENT_USER\\Software\\Emu\\Keypad]\r\n"
                                       "\"A Button\"=dword:0000004d\r\n"
                                       "\"Dir\"=hex(2):25,00,48,00,4f,00,4d,00,45,00,25,00,fc,00,00,00\r\n\r\n"));
    EXPECT_EQ(ExportKey(hkcu, QStringLiteral("Software\\Missing")), QString());

    // Read back as wine's regedit writes it: its own order and letter case,
    // keys without values, long data over continued lines.
    const QString fromWine = QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n"
                                            "[HKEY_CURRENT_USER\\Software\\EMU]\r\n\r\n"
                                            "[HKEY_CURRENT_USER\\Software\\EMU\\Keypad]\r\n"
                                            "\"a button\"=dword:0000004d\r\n"
                                            "\"Dir\"=hex(2):25,00,48,00,4f,00,4d,00,45,00,25,\\\r\n"
                                            "  00,fc,00,00,00\r\n\r\n"
                                            "[HKEY_CURRENT_USER\\Software\\EMU\\Options]\r\n"
                                            "\"Name\"=\"a \\\"b\\\"\"\r\n"
                                            "\"Brtness\"=dword:fffffffb\r\n\r\n");
    EXPECT_EQ(ReadValues(fromWine), ReadValues(exported));
    ASSERT_TRUE(ReadValues(exported));
    EXPECT_EQ(ReadValues(exported)->size(), 4u);
    EXPECT_EQ(ReadValues(exported)->at({QStringLiteral("hkey_current_user\\software\\emu\\keypad"), QStringLiteral("dir")}),
              Value::fromString(QStringLiteral("%HOME%\u00FC"), REG_EXPAND_SZ));
    EXPECT_FALSE(ReadValues(QStringLiteral("not a registry file")));
}

TEST(Registry, TheInstallAnswersTheSystemFolders)
{
    const auto root = QueryValue(Hive::LocalMachine, QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion"),
                                 QStringLiteral("SystemRoot"));
    ASSERT_TRUE(root);
    EXPECT_FALSE(root->toString().isEmpty());
    EXPECT_FALSE(QFile::exists(StoreFilePath())); // answered, not stored
}

TEST(SettingsStore, TypedKeysFallBackToTheirDefault)
{
    settings::Save(QStringLiteral("Flag"), QStringLiteral("maybe"));
    settings::Save(QStringLiteral("Count"), QStringLiteral("99"));
    settings::Save(QStringLiteral("Huge"), QStringLiteral("99999"));
    EXPECT_TRUE(settings::GetBoolean(QStringLiteral("Flag"), true));
    EXPECT_FALSE(settings::GetBoolean(QStringLiteral("Missing"), false));
    EXPECT_EQ(settings::GetInteger(QStringLiteral("Count"), 4, 0, 10), 4);
    EXPECT_EQ(settings::GetClampedInteger(QStringLiteral("Count"), 4, 0, 10), 10);
    EXPECT_EQ(settings::GetClampedInteger(QStringLiteral("Huge"), 4, 0, 10), 10);
    EXPECT_EQ(settings::GetInteger(QStringLiteral("Huge"), 4), 4);
}

TEST(Registry, ASaveThatMeetsAFullDiskKeepsTheStoreAndSaysWhy)
{
    testsupport::SmallFileSystem disk;
    if (!disk.mounted())
        GTEST_SKIP() << "mounting a small file system needs root";
    qputenv("XDG_CONFIG_HOME", disk.path().toUtf8());
    Reload();
    ASSERT_TRUE(settings::Save(QStringLiteral("Long"), QString(9000, QLatin1Char('a'))));
    const QByteArray before = testsupport::readFile(StoreFilePath());

    // Room for the lock and the first page of the new store, not for all of it.
    disk.leaveFree(2);
    EXPECT_FALSE(settings::Save(QStringLiteral("Long"), QString(9000, QLatin1Char('b'))));
    EXPECT_EQ(testsupport::readFile(StoreFilePath()), before);
    const QString problem = TakeStoreProblem();
    EXPECT_TRUE(problem.contains(savefile::ErrorText(ENOSPC))) << problem.toStdString();
    Reload();
    EXPECT_EQ(settings::Get(QStringLiteral("Long")), QString(9000, QLatin1Char('a')));
}

TEST(Registry, ASaveThatFailsAtAnyStepKeepsTheStoreAndSaysWhy)
{
    ASSERT_TRUE(settings::Save(QStringLiteral("Key"), QStringLiteral("old")));
    const QByteArray before = testsupport::readFile(StoreFilePath());
    for (const savefile::Step failing : {savefile::Step::Write, savefile::Step::Sync, savefile::Step::Replace}) {
        SCOPED_TRACE(int(failing));
        savefile::SetFaultHook([failing](savefile::Step step) { return step == failing ? EIO : 0; });
        EXPECT_FALSE(settings::Save(QStringLiteral("Key"), QStringLiteral("new")));
        EXPECT_EQ(testsupport::readFile(StoreFilePath()), before);
        EXPECT_EQ(TakeStoreProblem(), QStringLiteral("The settings file %1 could not be written: %2")
                                          .arg(StoreFilePath(), savefile::ErrorText(EIO)));
        EXPECT_EQ(settings::Get(QStringLiteral("Key")), QStringLiteral("old"));
    }
    savefile::SetFaultHook(nullptr);
    EXPECT_TRUE(settings::Save(QStringLiteral("Key"), QStringLiteral("new")));
    EXPECT_EQ(settings::Get(QStringLiteral("Key")), QStringLiteral("new"));
}

TEST(Registry, AStoreThatCannotBeReadIsLeftAloneAndNeverWrittenOver)
{
    SKIP_WHERE_NO_ORDINARY_USER_CAN_REACH_THE_TEST();
    ASSERT_TRUE(settings::Save(QStringLiteral("Key"), QStringLiteral("mine")));
    const QByteArray before = testsupport::readFile(StoreFilePath());
    const QByteArray storePath = QFile::encodeName(StoreFilePath());
    ::chmod(storePath.constData(), 0200);
    const QString unreadable = QStringLiteral("The settings file %1 could not be read: %2\rThe default "
                                              "settings are used, and no change is saved over the file until it can "
                                              "be read.")
                                   .arg(StoreFilePath(), savefile::ErrorText(EACCES));
    {
        testsupport::OrdinaryUser user;
        Reload();
        EXPECT_EQ(settings::Get(QStringLiteral("Key"), QStringLiteral("default")), QStringLiteral("default"));
        EXPECT_FALSE(settings::Save(QStringLiteral("Key"), QStringLiteral("default")));
        {
            BatchWrite batch;
            settings::Save(QStringLiteral("Other"), QStringLiteral("x"));
        }
        EXPECT_EQ(TakeStoreProblem(), unreadable);
        EXPECT_EQ(settings::Get(QStringLiteral("Other"), QStringLiteral("none")), QStringLiteral("none"));
    }
    ::chmod(storePath.constData(), 0600);
    EXPECT_EQ(testsupport::readFile(StoreFilePath()), before);
    EXPECT_FALSE(QFile::exists(StoreFilePath() + QStringLiteral(".damaged")));

    // Once it can be read again, it is used and written again.
    testsupport::OrdinaryUser user;
    EXPECT_EQ(settings::Get(QStringLiteral("Key")), QStringLiteral("mine"));
    EXPECT_TRUE(settings::Save(QStringLiteral("Other"), QStringLiteral("y")));
    Reload();
    EXPECT_EQ(settings::Get(QStringLiteral("Key")), QStringLiteral("mine"));
    EXPECT_EQ(settings::Get(QStringLiteral("Other")), QStringLiteral("y"));
}

// A pipe in the store's place would hold the start until something wrote to
// it: it is refused unopened, named, and never written over.
TEST(Registry, AStoreThatIsAPipeIsRefusedUnopened)
{
    const QString folder = QFileInfo(StoreFilePath()).absolutePath();
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_EQ(::mkfifo(QFile::encodeName(StoreFilePath()).constData(), 0600), 0);
    Reload();
    EXPECT_EQ(settings::Get(QStringLiteral("Key"), QStringLiteral("default")), QStringLiteral("default"));
    EXPECT_FALSE(settings::Save(QStringLiteral("Key"), QStringLiteral("new")));
    EXPECT_TRUE(TakeStoreProblem().startsWith(
        QStringLiteral("The settings file %1 could not be read: It is a pipe, not a file.\r").arg(StoreFilePath())));
    EXPECT_TRUE(QFileInfo::exists(StoreFilePath()));
    EXPECT_FALSE(QFileInfo(StoreFilePath()).isFile());
}

TEST(Registry, AReadOnlySettingsFolderIsNamedAsTheCause)
{
    SKIP_WHERE_NO_ORDINARY_USER_CAN_REACH_THE_TEST();
    ASSERT_TRUE(settings::Save(QStringLiteral("Key"), QStringLiteral("old")));
    const QString folder = QFileInfo(StoreFilePath()).absolutePath();
    ::chmod(QFile::encodeName(folder).constData(), 0555);
    testsupport::OrdinaryUser user;
    EXPECT_FALSE(settings::Save(QStringLiteral("Key"), QStringLiteral("new")));
    EXPECT_FALSE(settings::Save(QStringLiteral("Key"), QStringLiteral("newer")));
    EXPECT_EQ(TakeStoreProblem(),
              QStringLiteral("The settings folder %1 can't be written: %2").arg(folder, savefile::ErrorText(EACCES)));
    EXPECT_EQ(settings::Get(QStringLiteral("Key")), QStringLiteral("old"));
}

TEST(Registry, ALongValueWrappedOverLinesIsReadWhole)
{
    // As Windows exports long binary values: pieces of "hex:" continued by "\".
    QByteArray bytes;
    QString text = QStringLiteral("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Test\\Values]\n\"Long\"=hex:");
    for (int line = 0; line < 2000; ++line) {
        for (int i = 0; i < 25; ++i) {
            bytes.append(char(line + i));
            text += QStringLiteral("%1,").arg(uchar(line + i), 2, 16, QLatin1Char('0'));
        }
        text += QStringLiteral("\\\r\n  ");
    }
    text += QStringLiteral("ff\r\n\"After\"=dword:00000007\r\n");
    bytes.append('\xff');
    testsupport::writeFile(QStringLiteral("config/zandrel/registry.reg"), text.toUtf8());
    Reload();
    EXPECT_EQ(QueryValue(Hive::CurrentUser, kKey, QStringLiteral("Long"))->data, bytes);
    EXPECT_EQ(QueryValue(Hive::CurrentUser, kKey, QStringLiteral("After"))->toDword(), 7u);
    EXPECT_TRUE(TakeStoreProblem().isEmpty());
}

TEST(Registry, LeftoversOfKilledSavesGoUnlessAnotherInstanceHoldsTheLock)
{
    ASSERT_TRUE(settings::Save(QStringLiteral("Key"), QStringLiteral("value")));
    const QString folder = QFileInfo(StoreFilePath()).absolutePath();
    const QStringList leftovers = {"registry.reg.zandrel-save-Q7x2Lm", "registry.lock.rmlock"};
    // A user's own copies stay, whatever letters and digits follow the name.
    // The lock file stays too: only the kernel's lock on it counts.
    const QStringList kept = {"registry.lock",       "registry.reg",         "registry.reg.2024v1",
                              "registry.reg.Ab3xZ9", "registry.reg.backup",  "registry.reg.bkp001",
                              "registry.reg.damaged", "registry.reg.old"};
    for (const QString &name : leftovers + kept.mid(2))
        testsupport::writeFile(QStringLiteral("config/zandrel/") + name, "REGEDIT4\n");
    const auto names = [&] { return QDir(folder).entryList(QDir::Files, QDir::Name); };
    const QStringList everything = names();
    ASSERT_EQ(everything.size(), leftovers.size() + kept.size());

    {
        OtherInstance otherInstance;
        RemoveLeftoversOfKilledSaves();
        EXPECT_EQ(names(), everything);
    }
    RemoveLeftoversOfKilledSaves();
    EXPECT_EQ(names(), kept);
    EXPECT_EQ(settings::Get(QStringLiteral("Key")), QStringLiteral("value"));
}

// A kill between the making and the writing of the lock file leaves it
// empty; the lock ends with its holder all the same, so the next save is
// neither held up nor refused.
TEST(Registry, ALockFileLeftByAKilledInstanceNeverBlocksASave)
{
    testsupport::writeFile(QStringLiteral("config/zandrel/registry.lock"), QByteArray());
    EXPECT_TRUE(settings::Save(QStringLiteral("Key"), QStringLiteral("saved")));
    EXPECT_EQ(TakeStoreProblem(), QString());
    Reload();
    EXPECT_EQ(settings::Get(QStringLiteral("Key")), QStringLiteral("saved"));
}

// One writer at a time: a save waits for another instance's, and gives up
// with its message when that never ends.
TEST(Registry, ASaveWaitsForTheLockOfAnotherInstance)
{
    {
        OtherInstance otherInstance;
        std::thread finishing([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            otherInstance.release();
        });
        EXPECT_TRUE(settings::Save(QStringLiteral("Key"), QStringLiteral("after the other")));
        finishing.join();
    }
    OtherInstance stuck;
    EXPECT_FALSE(settings::Save(QStringLiteral("Key"), QStringLiteral("never")));
    EXPECT_EQ(TakeStoreProblem(), QStringLiteral("The settings file is locked by another program."));
    EXPECT_EQ(settings::Get(QStringLiteral("Key")), QStringLiteral("after the other"));
}

TEST(Registry, ALockFileThatCannotBeMadeIsNamedWithTheReason)
{
    ASSERT_TRUE(QDir().mkpath(lockFile()));
    EXPECT_FALSE(settings::Save(QStringLiteral("Key"), QStringLiteral("value")));
    EXPECT_EQ(TakeStoreProblem(),
              QStringLiteral("The settings lock file %1 could not be written: %2").arg(lockFile(), savefile::ErrorText(EISDIR)));
}
