#include "SettingsRecord.h"

#include <variant>

#include "Paths.h"
#include "Registry.h"
#include "SettingsStore.h"

namespace {

using Field = std::variant<QString *, bool *, int16_t *>;

// One key: its name, default, accepted range and where it lives in a record.
struct KeyDef {
    QString name;
    Field (*field)(SettingsRecord &) = nullptr;
    int16_t defaultNumber = 0; // Booleans: 0/1; Integers: the default
    int16_t min = INT16_MIN;
    int16_t max = INT16_MAX;
    bool clamp = false;        // out-of-range numbers go to the nearest bound
    bool folderDefault = false; // Strings: default is the home folder, else ""
    QString defaultText;
};

#define FIELD(member) [](SettingsRecord &r) -> Field { return &r.member; }

KeyDef key(const char *name, Field (*f)(SettingsRecord &))
{
    KeyDef d;
    d.name = QString::fromLatin1(name);
    d.field = f;
    return d;
}
KeyDef str(const char *name, Field (*f)(SettingsRecord &), const char *def = "")
{
    KeyDef d = key(name, f);
    d.defaultText = QString::fromLatin1(def);
    return d;
}
KeyDef folder(const char *name, Field (*f)(SettingsRecord &))
{
    KeyDef d = key(name, f);
    d.folderDefault = true;
    return d;
}
KeyDef boolean(const char *name, Field (*f)(SettingsRecord &))
{
    return key(name, f);
}
KeyDef integer(const char *name, Field (*f)(SettingsRecord &), int16_t def, int16_t min, int16_t max,
               bool clamp = false)
{
    KeyDef d = key(name, f);
    d.defaultNumber = def;
    d.min = min;
    d.max = max;
    d.clamp = clamp;
    return d;
}
KeyDef colour(const char *name, Field (*f)(SettingsRecord &), int16_t def)
{
    return integer(name, f, def, 0, 255);
}

const std::array<KeyDef, 46> &keyTable()
{
    static const std::array<KeyDef, 46> table{
        str("Version Number", FIELD(VersionNumber), "1.0"),
        boolean("VB Main Menu Theme", FIELD(VbMainMenuTheme)),
        boolean("VB Theme Colours", FIELD(VbThemeColours)),
        folder("Base Directory", FIELD(BaseDirectory)),
        boolean("Auto Detect ROM", FIELD(AutoDetectRom)),
        integer("Recent ROMs number", FIELD(RecentRomsNumber), 4, 0, 10, true),
        str("Recent ROM #1", FIELD(RecentRoms[0])),
        str("Recent ROM #2", FIELD(RecentRoms[1])),
        str("Recent ROM #3", FIELD(RecentRoms[2])),
        str("Recent ROM #4", FIELD(RecentRoms[3])),
        str("Recent ROM #5", FIELD(RecentRoms[4])),
        str("Recent ROM #6", FIELD(RecentRoms[5])),
        str("Recent ROM #7", FIELD(RecentRoms[6])),
        str("Recent ROM #8", FIELD(RecentRoms[7])),
        str("Recent ROM #9", FIELD(RecentRoms[8])),
        str("Recent ROM #10", FIELD(RecentRoms[9])),
        integer("Tile Display Mode", FIELD(TileDisplayMode), 0, 0, 1),
        boolean("AutoUpdate Viewer", FIELD(AutoUpdateViewer)),
        colour("White Tile Red", FIELD(WhiteTile.Red), 255),
        colour("White Tile Green", FIELD(WhiteTile.Green), 0),
        colour("White Tile Blue", FIELD(WhiteTile.Blue), 0),
        colour("L Grey Tile Red", FIELD(LGreyTile.Red), 192),
        colour("L Grey Tile Green", FIELD(LGreyTile.Green), 0),
        colour("L Grey Tile Blue", FIELD(LGreyTile.Blue), 0),
        colour("D Grey Tile Red", FIELD(DGreyTile.Red), 128),
        colour("D Grey Tile Green", FIELD(DGreyTile.Green), 0),
        colour("D Grey Tile Blue", FIELD(DGreyTile.Blue), 0),
        colour("Black Tile Red", FIELD(BlackTile.Red), 64),
        colour("Black Tile Green", FIELD(BlackTile.Green), 0),
        colour("Black Tile Blue", FIELD(BlackTile.Blue), 0),
        boolean("Reality Boy Enabled", FIELD(RealityBoyEnabled)),
        folder("Reality Boy Directory", FIELD(RealityBoyDirectory)),
        boolean("Virtual-E Enabled", FIELD(VirtualEEnabled)),
        folder("Virtual-E Directory", FIELD(VirtualEDirectory)),
        boolean("Red Dragon Enabled", FIELD(RedDragonEnabled)),
        folder("Red Dragon Directory", FIELD(RedDragonDirectory)),
        boolean("V-E C Compiler Enabled", FIELD(VECCompilerEnabled)),
        folder("V-E C Compiler Directory", FIELD(VECCompilerDirectory)),
        boolean("V-Environment Enabled", FIELD(VEnvironmentEnabled)),
        folder("V-Environment Directory", FIELD(VEnvironmentDirectory)),
        boolean("VB Dev Kit Enabled", FIELD(VBDevKitEnabled)),
        folder("VB Dev Kit Directory", FIELD(VBDevKitDirectory)),
        integer("Detailed ROM Lists", FIELD(DetailedRomLists), 0, 0, 1),
        integer("Rename ROMs", FIELD(RenameRoms), 0, 0, 1),
        integer("Move ROMs", FIELD(MoveRoms), 0, 0, 1),
        integer("Create Change Log", FIELD(CreateChangeLog), 0, 0, 1),
    };
    return table;
}

#undef FIELD

QString defaultString(const KeyDef &def)
{
    return def.folderDefault ? DefaultFolder() : def.defaultText;
}

void setDefault(const KeyDef &def, SettingsRecord &record)
{
    std::visit(
        [&](auto *member) {
            using T = std::remove_pointer_t<decltype(member)>;
            if constexpr (std::is_same_v<T, QString>)
                *member = defaultString(def);
            else if constexpr (std::is_same_v<T, bool>)
                *member = def.defaultNumber != 0;
            else
                *member = def.defaultNumber;
        },
        def.field(record));
}

void readKey(const KeyDef &def, SettingsRecord &record)
{
    std::visit(
        [&](auto *member) {
            using T = std::remove_pointer_t<decltype(member)>;
            if constexpr (std::is_same_v<T, QString>)
                *member = settings::Get(def.name, defaultString(def));
            else if constexpr (std::is_same_v<T, bool>)
                *member = settings::GetBoolean(def.name, def.defaultNumber != 0);
            else if (def.clamp)
                *member = settings::GetClampedInteger(def.name, def.defaultNumber, def.min, def.max);
            else
                *member = settings::GetInteger(def.name, def.defaultNumber, def.min, def.max);
        },
        def.field(record));
}

void writeKey(const KeyDef &def, const SettingsRecord &record)
{
    std::visit(
        [&](auto *member) {
            using T = std::remove_pointer_t<decltype(member)>;
            if constexpr (std::is_same_v<T, QString>)
                settings::Save(def.name, *member);
            else if constexpr (std::is_same_v<T, bool>)
                settings::SaveBoolean(def.name, *member);
            else
                settings::SaveInteger(def.name, *member);
        },
        def.field(const_cast<SettingsRecord &>(record)));
}

} // namespace

QString DefaultFolder()
{
    return paths::HomeFolder();
}

const std::array<QString, 46> &SettingsKeyNames()
{
    static const std::array<QString, 46> names = [] {
        std::array<QString, 46> n;
        for (size_t i = 0; i < n.size(); ++i)
            n[i] = keyTable()[i].name;
        return n;
    }();
    return names;
}

void SettingsRecord::read()
{
    for (const KeyDef &def : keyTable())
        readKey(def, *this);
}

void SettingsRecord::write() const
{
    registry::BatchWrite batch;
    for (const KeyDef &def : keyTable())
        writeKey(def, *this);
}

void SettingsRecord::writeAllButVersion() const
{
    registry::BatchWrite batch;
    for (size_t i = 1; i < keyTable().size(); ++i)
        writeKey(keyTable()[i], *this);
}

SettingsRecord SettingsRecord::Defaults()
{
    SettingsRecord record;
    for (const KeyDef &def : keyTable())
        setDefault(def, record);
    return record;
}
