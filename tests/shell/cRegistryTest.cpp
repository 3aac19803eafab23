#include "cRegistry.h"

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <gtest/gtest.h>
#include <functional>
#include <optional>
#include <string>

#include "Paths.h"
#include "Registry.h"

namespace {

const QString kSection = QStringLiteral("Software\\Zandrel Test");
constexpr auto kHkcu = registry::Hive::CurrentUser;

std::string show(const QVariant &v)
{
    return std::string(v.typeName() ? v.typeName() : "invalid") + " "
        + (v.typeId() == QMetaType::QByteArray ? v.toByteArray().toHex(' ').toStdString() : v.toString().toStdString());
}

VbError raisedBy(const std::function<void()> &action)
{
    try {
        action();
    } catch (const VbError &e) {
        return e;
    }
    ADD_FAILURE() << "no error was raised";
    return VbError();
}

class cRegistryTest : public ::testing::Test {
protected:
    // Points `reg` at a value under HKEY_CURRENT_USER.
    void point(const QString &name, int32_t type, const QString &section = kSection)
    {
        reg.setClassKey(cRegistry::HKEY_CURRENT_USER);
        reg.setSectionKey(section);
        reg.setValueKey(name);
        reg.setValueType(type);
    }
    void store(const QString &name, uint32_t type, const QByteArray &data)
    {
        ASSERT_TRUE(registry::CreateKey(kHkcu, kSection));
        ASSERT_TRUE(registry::SetValue(kHkcu, kSection, name, registry::Value{type, data}));
    }
    std::optional<registry::Value> stored(const QString &name, registry::Hive hive = kHkcu,
                                          const QString &section = kSection)
    {
        return registry::QueryValue(hive, section, name);
    }

    cRegistry reg;
};

// --- Value write and read ---------------------------------------------------

struct RoundTrip {
    const char *label;
    int32_t valueType;
    QVariant written;
    uint32_t storedType;
    QByteArray storedBytes;
    QVariant readBack;
};

TEST_F(cRegistryTest, EachWrittenKindIsStoredAndReadBackAfterReload)
{
    const RoundTrip cases[] = {
        {"text", 1, QStringLiteral("Zandrel"), registry::REG_SZ, QByteArray("Zandrel\0", 8), QStringLiteral("Zandrel")},
        {"empty text", 1, QString(), registry::REG_SZ, QByteArray(1, '\0'), QString()},
        {"type 2 without %", 2, QStringLiteral("a;b"), registry::REG_SZ, QByteArray("a;b\0", 4), QStringLiteral("a;b")},
        {"bytes", 3, QByteArray("\x00\xff\x10", 3), registry::REG_BINARY, QByteArray("\x00\xff\x10", 3),
         QByteArray("\x00\xff\x10", 3)},
        {"no bytes", 3, QByteArray(), registry::REG_BINARY, QByteArray(), QByteArray()},
        {"long", 4, int(0x12345678), registry::REG_DWORD, QByteArray("\x78\x56\x34\x12", 4), int(0x12345678)},
        {"negative integer", 4, QVariant::fromValue<qint16>(-2), registry::REG_DWORD, QByteArray("\xfe\xff\xff\xff", 4),
         int(-2)},
        {"unsigned long", 4, QVariant::fromValue<quint32>(0x80000000u), registry::REG_DWORD,
         QByteArray("\x00\x00\x00\x80", 4), int(INT32_MIN)},
        // Type 5 writes a plain DWORD, bytes not reversed.
        {"big-endian type", 5, int(0x01020304), registry::REG_DWORD, QByteArray("\x04\x03\x02\x01", 4), int(0x01020304)},
    };
    for (const RoundTrip &c : cases) {
        SCOPED_TRACE(c.label);
        const QString name = QString::fromLatin1(c.label);
        point(name, c.valueType);
        reg.setValue(c.written);

        registry::Reload();
        const auto onStore = stored(name);
        ASSERT_TRUE(onStore.has_value());
        EXPECT_EQ(onStore->type, c.storedType);
        EXPECT_EQ(onStore->data.toHex(' '), c.storedBytes.toHex(' '));

        point(name, 0);
        const QVariant read = reg.Value();
        EXPECT_EQ(read, c.readBack) << show(read);
        EXPECT_EQ(read.typeId(), c.readBack.typeId()) << show(read);
        EXPECT_EQ(reg.ValueType(), int32_t(c.storedType));
    }
}

struct StoredRead {
    const char *label;
    uint32_t type;
    QByteArray data;
    QVariant expected;
};

TEST_F(cRegistryTest, ReadGivesEachStoredTypeItsOwnForm)
{
    const StoredRead cases[] = {
        {"zero-size string", registry::REG_SZ, QByteArray(), QString()},
        {"multi-string keeps its zeros", registry::REG_MULTI_SZ, QByteArray("a\0bc\0\0", 6),
         QString::fromUtf8(QByteArray("a\0bc\0", 5))},
        // The bytes 01 02 03 04 hold 0x01020304 big-endian.
        {"big-endian", registry::REG_DWORD_BIG_ENDIAN, QByteArray("\x01\x02\x03\x04", 4), int(0x01020304)},
        {"big-endian reversed", registry::REG_DWORD_BIG_ENDIAN, QByteArray("\x04\x03\x02\x01", 4), int(0x04030201)},
        {"no type", registry::REG_NONE, QByteArray("\x01\x02", 2), QByteArray("\x01\x02", 2)},
        {"link", registry::REG_LINK, QByteArray("\x41\x00", 2), QByteArray("\x41\x00", 2)},
        {"unknown type 11", 11, QByteArray("\x09", 1), QByteArray("\x09", 1)},
    };
    for (const StoredRead &c : cases) {
        SCOPED_TRACE(c.label);
        const QString name = QString::fromLatin1(c.label);
        store(name, c.type, c.data);
        point(name, 4);
        const QVariant read = reg.Value();
        EXPECT_EQ(read, c.expected) << show(read);
        EXPECT_EQ(read.typeId(), c.expected.typeId()) << show(read);
        EXPECT_EQ(reg.ValueType(), int32_t(c.type));
    }
}

TEST_F(cRegistryTest, FailedReadReturnsDefaultAndKeepsValueType)
{
    point(QStringLiteral("Missing"), 4, QStringLiteral("Software\\No Such Key"));
    const QVariant unset = reg.Value();
    EXPECT_FALSE(unset.isValid());
    EXPECT_EQ(unset.toInt(), 0);
    EXPECT_EQ(reg.ValueType(), 4);

    // A missing value in an existing key: the caller's default comes back.
    store(QStringLiteral("Other"), registry::REG_SZ, QByteArray("x\0", 2));
    point(QStringLiteral("Missing"), 3);
    reg.setDefault(QStringLiteral("fallback"));
    EXPECT_EQ(reg.Value(), QVariant(QStringLiteral("fallback")));
    EXPECT_EQ(reg.ValueType(), 3);
}

TEST_F(cRegistryTest, TextIsStoredForExpansionOnlyWithANameBetweenPercentSigns)
{
    const struct {
        const char *text;
        int32_t valueType;
        uint32_t storedType;
    } cases[] = {
        {"%PATH%", 1, registry::REG_EXPAND_SZ},
        {"%A%", 1, registry::REG_EXPAND_SZ},
        {"x%A%y", 2, registry::REG_EXPAND_SZ},
        {"50% of 80%", 1, registry::REG_EXPAND_SZ},
        {"%%%", 1, registry::REG_EXPAND_SZ}, // the first and third are two apart
        {"100%", 1, registry::REG_SZ},
        {"100%", 2, registry::REG_SZ},
        {"%%", 1, registry::REG_SZ},
        {"a%%b", 2, registry::REG_SZ},
        {"plain", 2, registry::REG_SZ},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.text) + " as type " + std::to_string(c.valueType));
        point(QStringLiteral("Text"), c.valueType);
        reg.setValue(QString::fromLatin1(c.text));
        const auto onStore = stored(QStringLiteral("Text"));
        ASSERT_TRUE(onStore.has_value());
        EXPECT_EQ(onStore->type, c.storedType);
        EXPECT_EQ(onStore->data, QByteArray(c.text) + '\0');
    }
}

TEST_F(cRegistryTest, ExpandableTextIsReadWithItsVariablesExpanded)
{
    qputenv("ZANDREL_TEST_HOME", "/opt/zandrel");
    qunsetenv("ZANDREL_TEST_UNSET");
    point(QStringLiteral("Path"), 1);
    reg.setValue(QStringLiteral("%ZANDREL_TEST_HOME%\\bin;%ZANDREL_TEST_UNSET%;100%%;%ZANDREL_TEST_HOME%"));

    point(QStringLiteral("Path"), 1);
    EXPECT_EQ(reg.Value().toString().toStdString(), "/opt/zandrel\\bin;%ZANDREL_TEST_UNSET%;100%%;/opt/zandrel");
    EXPECT_EQ(reg.ValueType(), 2);
    qunsetenv("ZANDREL_TEST_HOME");

    // A variable naming a folder that is not UTF-8 gives its very bytes.
    qputenv("ZANDREL_TEST_ROMS", "/roms\xE9");
    point(QStringLiteral("Roms"), 1);
    reg.setValue(QStringLiteral("%ZANDREL_TEST_ROMS%/a.vb"));
    point(QStringLiteral("Roms"), 1);
    EXPECT_EQ(paths::EncodeFileName(reg.Value().toString()), QByteArray("/roms\xE9/a.vb"));
    qunsetenv("ZANDREL_TEST_ROMS");
}

TEST_F(cRegistryTest, DwordTypesWriteNothingForAValueThatIsNotA16Or32BitInteger)
{
    store(QStringLiteral("Kept"), registry::REG_DWORD, QByteArray("\x09\x00\x00\x00", 4));
    const QVariant others[] = {QVariant(1.5), QVariant(QStringLiteral("7")), QVariant(qint64(7)), QVariant(true),
                               QVariant::fromValue<quint8>(7), QVariant()};
    for (const int32_t type : {4, 5})
        for (const QVariant &v : others) {
            SCOPED_TRACE(show(v) + " as type " + std::to_string(type));
            point(QStringLiteral("Kept"), type);
            EXPECT_NO_THROW(reg.setValue(v));
            point(QStringLiteral("New"), type);
            EXPECT_NO_THROW(reg.setValue(v));
        }
    EXPECT_EQ(stored(QStringLiteral("Kept"))->toDword(), 9u);
    EXPECT_FALSE(stored(QStringLiteral("New")).has_value());
}

TEST_F(cRegistryTest, WriteOfAnUnwritableTypeIsRefused)
{
    for (const int32_t type : {7, 0, 6, 8, -1}) {
        SCOPED_TRACE(type);
        point(QStringLiteral("Multi"), type);
        const VbError e = raisedBy([&] { reg.setValue(QStringLiteral("abc")); });
        EXPECT_EQ(e.number, int32_t(0x800469A9u));
        EXPECT_EQ(e.source.toStdString(), "cRegistryTest.cRegistry");
        EXPECT_EQ(e.description.toStdString(),
                  "Failed to set registry value Key: '-2147483647',Section: 'Software\\Zandrel Test',"
                  "Key: 'Multi' to value: 'abc'");
        EXPECT_STREQ(e.what(), e.description.toUtf8().constData());
    }
    EXPECT_FALSE(stored(QStringLiteral("Multi")).has_value());
}

TEST_F(cRegistryTest, WriteErrorsOfTheKeyAndOfBinaryData)
{
    // Not a root key: the key can't be created.
    point(QStringLiteral("Count"), 4);
    reg.setClassKey(0x7fffffff);
    VbError e = raisedBy([&] { reg.setValue(12); });
    EXPECT_EQ(e.number, 26001);
    EXPECT_EQ(e.source.toStdString(), "cRegistryTest.cRegistry");
    EXPECT_EQ(e.description.toStdString(),
              "Failed to set registry value Key: '2147483647',Section: 'Software\\Zandrel Test',"
              "Key: 'Count' to value: '12'");

    point(QStringLiteral("Blob"), 3);
    e = raisedBy([&] { reg.setValue(QStringLiteral("not bytes")); });
    EXPECT_EQ(e.number, 26001);
    EXPECT_EQ(e.description, QString());
    EXPECT_FALSE(stored(QStringLiteral("Blob")).has_value());
}

TEST_F(cRegistryTest, ValueOfARootKeyItselfPersists)
{
    point(QStringLiteral("AtRoot"), 1, QString());
    reg.setValue(QStringLiteral("top"));
    registry::Reload();
    point(QStringLiteral("AtRoot"), 1, QString());
    EXPECT_EQ(reg.Value(), QVariant(QStringLiteral("top")));
}

// --- Keys and values ---------------------------------------------------------

TEST_F(cRegistryTest, CreateAndDeleteKey)
{
    point(QString(), 1, QStringLiteral("Software\\Zandrel Test\\A\\B"));
    EXPECT_FALSE(reg.KeyExists());
    EXPECT_TRUE(reg.CreateKey());
    EXPECT_TRUE(reg.KeyExists());
    EXPECT_TRUE(reg.CreateKey()); // already there

    // A key with subkeys is not deleted.
    reg.setSectionKey(QStringLiteral("Software\\Zandrel Test\\A"));
    VbError e = raisedBy([&] { reg.DeleteKey(); });
    EXPECT_EQ(e.number, 26001);
    EXPECT_EQ(e.source.toStdString(), "cRegistryTest.cRegistry");
    EXPECT_EQ(e.description.toStdString(),
              "Failed to delete registry Key: '-2147483647',Section: 'Software\\Zandrel Test\\A");

    reg.setSectionKey(QStringLiteral("Software\\Zandrel Test\\A\\B"));
    EXPECT_TRUE(reg.DeleteKey());
    EXPECT_FALSE(reg.KeyExists());
    registry::Reload();
    EXPECT_FALSE(reg.KeyExists());
    reg.setSectionKey(QStringLiteral("Software\\Zandrel Test\\A"));
    EXPECT_TRUE(reg.KeyExists());

    reg.setClassKey(0);
    e = raisedBy([&] { reg.CreateKey(); });
    EXPECT_EQ(e.number, 26001);
    EXPECT_EQ(e.description.toStdString(), "Failed to create registry Key: 'Software\\Zandrel Test\\A");
}

TEST_F(cRegistryTest, DeleteValue)
{
    point(QStringLiteral("Gone"), 1, QStringLiteral("Software\\No Such Key"));
    VbError e = raisedBy([&] { reg.DeleteValue(); });
    EXPECT_EQ(e.number, 26001);
    EXPECT_EQ(e.description.toStdString(),
              "Failed to open key '-2147483647',Section: 'Software\\No Such Key' for delete access");

    store(QStringLiteral("Gone"), registry::REG_SZ, QByteArray("x\0", 2));
    point(QStringLiteral("Never"), 1);
    e = raisedBy([&] { reg.DeleteValue(); });
    EXPECT_EQ(e.number, 26001);
    EXPECT_EQ(e.source.toStdString(), "cRegistryTest.cRegistry");
    EXPECT_EQ(e.description.toStdString(),
              "Failed to delete registry Key: '-2147483647',Section: 'Software\\Zandrel Test',Key: 'Never");

    point(QStringLiteral("gone"), 1); // names ignore letter case
    EXPECT_TRUE(reg.DeleteValue());
    registry::Reload();
    EXPECT_FALSE(stored(QStringLiteral("Gone")).has_value());
}

TEST_F(cRegistryTest, EnumerateValuesListsNamesAndAnswersTrueWithoutAKey)
{
    QStringList names{QStringLiteral("stale")};
    int32_t count = 99;
    point(QString(), 1, QStringLiteral("Software\\No Such Key"));
    EXPECT_TRUE(reg.EnumerateValues(names, count));
    EXPECT_EQ(count, 0);
    EXPECT_TRUE(names.isEmpty());

    ASSERT_TRUE(registry::CreateKey(kHkcu, kSection));
    point(QString(), 1);
    names = {QStringLiteral("stale")};
    count = 99;
    EXPECT_TRUE(reg.EnumerateValues(names, count));
    EXPECT_EQ(count, 0);
    EXPECT_TRUE(names.isEmpty());

    store(QStringLiteral("First"), registry::REG_SZ, QByteArray("1\0", 2));
    store(QString(), registry::REG_SZ, QByteArray("d\0", 2));
    store(QStringLiteral("Last"), registry::REG_DWORD, QByteArray(4, '\0'));
    EXPECT_TRUE(reg.EnumerateValues(names, count));
    EXPECT_EQ(count, 3);
    EXPECT_EQ(names, (QStringList{QStringLiteral("First"), QString(), QStringLiteral("Last")}));
}

TEST_F(cRegistryTest, EnumerateSectionsListsSubkeys)
{
    ASSERT_TRUE(registry::CreateKey(kHkcu, kSection + QStringLiteral("\\Options")));
    ASSERT_TRUE(registry::CreateKey(kHkcu, kSection + QStringLiteral("\\Keypad\\Inner")));
    QStringList sections{QStringLiteral("stale")};
    int32_t count = 99;
    point(QString(), 1);
    EXPECT_TRUE(reg.EnumerateSections(sections, count));
    EXPECT_EQ(count, 2);
    EXPECT_EQ(sections, (QStringList{QStringLiteral("Options"), QStringLiteral("Keypad")}));

    point(QString(), 1, QStringLiteral("Software\\No Such Key"));
    EXPECT_TRUE(reg.EnumerateSections(sections, count));
    EXPECT_EQ(count, 0);
    EXPECT_TRUE(sections.isEmpty());
}

// --- File associations -------------------------------------------------------

// The default value of `section` under both class roots, with its type.
void expectClassesValue(const QString &section, const std::string &text, uint32_t type = registry::REG_SZ)
{
    SCOPED_TRACE(section.toStdString());
    const auto classesRoot = registry::QueryValue(registry::Hive::ClassesRoot, section, QString());
    const auto machine = registry::QueryValue(registry::Hive::LocalMachine,
                                              QStringLiteral("SOFTWARE\\Classes\\") + section, QString());
    ASSERT_TRUE(classesRoot.has_value());
    ASSERT_TRUE(machine.has_value());
    EXPECT_EQ(classesRoot->toString().toStdString(), text);
    EXPECT_EQ(classesRoot->type, type);
    EXPECT_EQ(*machine, *classesRoot);
}

bool classesKeyExists(const QString &section)
{
    return registry::KeyExists(registry::Hive::ClassesRoot, section)
        || registry::KeyExists(registry::Hive::LocalMachine, QStringLiteral("SOFTWARE\\Classes\\") + section);
}

TEST_F(cRegistryTest, ExeAssociationWithEveryVerb)
{
    reg.CreateEXEAssociation(QStringLiteral("/opt/zandrel/Zandrel"), QStringLiteral("Zandrel.Rom"),
                             QStringLiteral("Virtual Boy ROM"), QStringLiteral("vb"), QString(), true, QString(),
                             true, QStringLiteral("Ne&w ROM"), true, QString(), 2);
    registry::Reload();
    expectClassesValue(QStringLiteral(".vb"), "Zandrel.Rom");
    expectClassesValue(QStringLiteral("Zandrel.Rom"), "Virtual Boy ROM");
    expectClassesValue(QStringLiteral("Zandrel.Rom\\shell\\open"), "&Open");
    expectClassesValue(QStringLiteral("Zandrel.Rom\\shell\\open\\command"), "\"/opt/zandrel/Zandrel\" \"%1\"");
    expectClassesValue(QStringLiteral("Zandrel.Rom\\shell\\print"), "&Print");
    expectClassesValue(QStringLiteral("Zandrel.Rom\\shell\\print\\command"), "\"/opt/zandrel/Zandrel\" /p \"%1\"");
    expectClassesValue(QStringLiteral("Zandrel.Rom\\shell\\add"), "&Install vb");
    expectClassesValue(QStringLiteral("Zandrel.Rom\\shell\\add\\command"), "\"/opt/zandrel/Zandrel\" /a \"%1\"");
    expectClassesValue(QStringLiteral("Zandrel.Rom\\shell\\new"), "Ne&w ROM");
    expectClassesValue(QStringLiteral("Zandrel.Rom\\shell\\new\\command"), "\"/opt/zandrel/Zandrel\" /n \"%1\"");
    expectClassesValue(QStringLiteral("Zandrel.Rom\\DefaultIcon"), "\"/opt/zandrel/Zandrel\",2");

    EXPECT_EQ(reg.ClassKey(), cRegistry::HKEY_LOCAL_MACHINE);
    EXPECT_EQ(reg.SectionKey().toStdString(), "Zandrel.Rom\\DefaultIcon");
}

TEST_F(cRegistryTest, ExeAssociationWithDefaultsWritesOnlyOpen)
{
    reg.setValueType(4); // the association writes text whatever was set
    reg.setValueKey(QStringLiteral("Leftover"));
    reg.CreateEXEAssociation(QStringLiteral("\"/opt/my tools/vbview\""), QStringLiteral("VbView"),
                             QStringLiteral("VB image"), QStringLiteral("vbi"), QStringLiteral("&View"));
    expectClassesValue(QStringLiteral(".vbi"), "VbView");
    expectClassesValue(QStringLiteral("VbView\\shell\\open"), "&View");
    expectClassesValue(QStringLiteral("VbView\\shell\\open\\command"), "\"/opt/my tools/vbview\" \"%1\"");
    for (const char *verb : {"VbView\\shell\\print", "VbView\\shell\\add", "VbView\\shell\\new", "VbView\\DefaultIcon"})
        EXPECT_FALSE(classesKeyExists(QString::fromLatin1(verb))) << verb;
}

TEST_F(cRegistryTest, AdditionalAssociationsWriteEachTriple)
{
    reg.CreateEXEAssociation(QStringLiteral("/opt/zandrel/Zandrel"), QStringLiteral("Zandrel.Rom"),
                             QStringLiteral("Virtual Boy ROM"), QStringLiteral("vb"));
    reg.setClassKey(cRegistry::HKEY_CLASSES_ROOT);
    reg.CreateAdditionalEXEAssociations(
        QStringLiteral("Zandrel.Rom"),
        {QStringLiteral("edit"), QStringLiteral("&Edit header"), QStringLiteral("\"/opt/zandrel/Zandrel\" /e \"%1\""),
         QStringLiteral("check"), QStringLiteral("&Check"), QStringLiteral("\"/opt/zandrel/Zandrel\" /c \"%1\"")});
    expectClassesValue(QStringLiteral("Zandrel.Rom\\shell\\edit"), "&Edit header");
    expectClassesValue(QStringLiteral("Zandrel.Rom\\shell\\edit\\command"), "\"/opt/zandrel/Zandrel\" /e \"%1\"");
    expectClassesValue(QStringLiteral("Zandrel.Rom\\shell\\check"), "&Check");
    expectClassesValue(QStringLiteral("Zandrel.Rom\\shell\\check\\command"), "\"/opt/zandrel/Zandrel\" /c \"%1\"");
    expectClassesValue(QStringLiteral("Zandrel.Rom\\shell\\open"), "&Open");
}

TEST_F(cRegistryTest, AdditionalAssociationsRefuseBadItemsAndUndefinedClass)
{
    const QString expectedText =
        QStringLiteral("Invalid parameter list passed to CreateAdditionalEXEAssociations - expected Name/Text/Command");
    reg.setClassKey(cRegistry::HKEY_CLASSES_ROOT);
    for (const QVariantList &items :
         {QVariantList{}, QVariantList{QStringLiteral("edit"), QStringLiteral("&Edit")},
          QVariantList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d")}}) {
        SCOPED_TRACE(items.size());
        const VbError e = raisedBy([&] { reg.CreateAdditionalEXEAssociations(QStringLiteral("Zandrel.Rom"), items); });
        EXPECT_EQ(e.number, int32_t(0x800469ACu));
        EXPECT_EQ(e.source.toStdString(), "cRegistryTest.cRegistry");
        EXPECT_EQ(e.description, expectedText);
    }

    const VbError e = raisedBy([&] {
        reg.CreateAdditionalEXEAssociations(QStringLiteral("Zandrel.Rom"),
                                            {QStringLiteral("edit"), QStringLiteral("&Edit"), QStringLiteral("cmd")});
    });
    EXPECT_EQ(e.number, int32_t(0x800469ADu));
    EXPECT_EQ(e.description.toStdString(), "Error - attempt to create additional associations before class defined.");
    EXPECT_FALSE(classesKeyExists(QStringLiteral("Zandrel.Rom")));
}

} // namespace
