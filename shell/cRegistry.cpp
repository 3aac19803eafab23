#include "cRegistry.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <optional>

#include "Paths.h"
#include "Registry.h"
#include "VbText.h"

namespace {

registry::Hive hiveOf(int32_t classKey)
{
    return registry::Hive(uint32_t(classKey));
}

// A path that names no subkey opens the root itself, as Windows does; any
// other path is created where missing.
bool createOrOpen(registry::Hive hive, const QString &path)
{
    if (path.split(QLatin1Char('\\'), Qt::SkipEmptyParts).isEmpty())
        return registry::KeyExists(hive, path);
    return registry::CreateKey(hive, path);
}

// A "%" with another one at least two characters further on may name an
// environment variable, so the text is stored for expansion.
uint32_t stringTypeFor(const QString &text)
{
    const qsizetype first = text.indexOf(QLatin1Char('%'));
    if (first >= 0 && text.indexOf(QLatin1Char('%'), first + 2) >= 0)
        return registry::REG_EXPAND_SZ;
    return registry::REG_SZ;
}

// A variant as text, by the program's number and text rules.
QString variantText(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Bool:
        return vb::CStr(v.toBool());
    case QMetaType::Double:
    case QMetaType::Float:
        return vb::CStr(v.toDouble());
    default:
        return v.toString();
    }
}

// Only 16- and 32-bit integers are written as a DWORD. The unsigned kinds
// count too (their bits are kept), so a C++ caller's quint32 isn't dropped.
std::optional<int32_t> wordOrLong(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Short:
        return v.value<short>();
    case QMetaType::UShort:
        return v.value<ushort>();
    case QMetaType::Int:
        return v.toInt();
    case QMetaType::UInt:
        return int32_t(v.toUInt());
    default:
        return std::nullopt;
    }
}

QString quotedIfBare(const QString &path)
{
    QString out = path;
    if (!path.startsWith(QLatin1Char('"')))
        out.prepend(QLatin1Char('"'));
    if (!path.endsWith(QLatin1Char('"')))
        out.append(QLatin1Char('"'));
    return out;
}

} // namespace

void cRegistry::raise(int32_t number, const QString &description)
{
    QString exe;
    if (QCoreApplication::instance())
        exe = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    if (exe.isEmpty())
        exe = QCoreApplication::applicationName();
    throw VbError(number, exe + QStringLiteral(".cRegistry"), description);
}

// "<ClassKey>',Section: '<SectionKey>" as the error texts quote the place.
QString cRegistry::keyText() const
{
    return QString::number(m_classKey) + QStringLiteral("',Section: '") + m_sectionKey;
}

bool cRegistry::KeyExists() const
{
    return registry::KeyExists(hiveOf(m_classKey), m_sectionKey);
}

bool cRegistry::CreateKey()
{
    if (!createOrOpen(hiveOf(m_classKey), m_sectionKey))
        raise(ErrRegistryFailed, QStringLiteral("Failed to create registry Key: '") + m_sectionKey);
    return true;
}

bool cRegistry::DeleteKey()
{
    if (!registry::DeleteKey(hiveOf(m_classKey), m_sectionKey))
        raise(ErrRegistryFailed, QStringLiteral("Failed to delete registry Key: '") + keyText());
    return true;
}

bool cRegistry::DeleteValue()
{
    const registry::Hive hive = hiveOf(m_classKey);
    if (!registry::KeyExists(hive, m_sectionKey))
        raise(ErrRegistryFailed,
              QStringLiteral("Failed to open key '") + keyText() + QStringLiteral("' for delete access"));
    if (!registry::DeleteValue(hive, m_sectionKey, m_valueKey))
        raise(ErrRegistryFailed, QStringLiteral("Failed to delete registry Key: '") + keyText()
                                     + QStringLiteral("',Key: '") + m_valueKey);
    return true;
}

QVariant cRegistry::Value()
{
    const std::optional<registry::Value> stored =
        registry::QueryValue(hiveOf(m_classKey), m_sectionKey, m_valueKey);
    if (!stored)
        return m_default;
    m_valueType = int32_t(stored->type);
    switch (stored->type) {
    case registry::REG_SZ:
    case registry::REG_MULTI_SZ:
        return stored->toString();
    case registry::REG_EXPAND_SZ:
        return ExpandEnvironmentText(stored->toString());
    case registry::REG_DWORD:
        return qint32(stored->toDword());
    case registry::REG_DWORD_BIG_ENDIAN:
        return ReverseLongBytes(qint32(stored->toDword()));
    default:
        return stored->data;
    }
}

void cRegistry::setValue(const QVariant &vValue)
{
    const registry::Hive hive = hiveOf(m_classKey);
    auto failure = [&] {
        return QStringLiteral("Failed to set registry value Key: '") + keyText() + QStringLiteral("',Key: '")
            + m_valueKey + QStringLiteral("' to value: '") + variantText(vValue) + QLatin1Char('\'');
    };
    if (!createOrOpen(hive, m_sectionKey))
        raise(ErrRegistryFailed, failure());

    bool written = true;
    switch (m_valueType) {
    case REG_SZ:
    case REG_EXPAND_SZ: {
        const QString text = variantText(vValue);
        written = registry::SetValue(hive, m_sectionKey, m_valueKey,
                                     registry::Value::fromString(text, stringTypeFor(text)));
        break;
    }
    case REG_BINARY:
        if (vValue.typeId() != QMetaType::QByteArray)
            raise(ErrRegistryFailed, QString());
        written = registry::SetValue(hive, m_sectionKey, m_valueKey,
                                     registry::Value::fromBinary(vValue.toByteArray()));
        break;
    case REG_DWORD:
    case REG_DWORD_BIG_ENDIAN:
        // Anything but a 16/32-bit integer is quietly not written.
        if (const std::optional<int32_t> number = wordOrLong(vValue))
            written = registry::SetValue(hive, m_sectionKey, m_valueKey,
                                         registry::Value::fromDword(uint32_t(*number)));
        break;
    default:
        written = false;
        break;
    }
    if (!written)
        raise(ErrSetValueRefused, failure());
}

bool cRegistry::EnumerateValues(QStringList &sKeyNames, int32_t &iKeyCount) const
{
    sKeyNames.clear();
    iKeyCount = 0;
    if (registry::KeyExists(hiveOf(m_classKey), m_sectionKey))
        sKeyNames = registry::ValueNames(hiveOf(m_classKey), m_sectionKey);
    iKeyCount = int32_t(sKeyNames.size());
    return true;
}

bool cRegistry::EnumerateSections(QStringList &sSect, int32_t &iSectCount) const
{
    sSect.clear();
    iSectCount = 0;
    try {
        sSect = registry::SubkeyNames(hiveOf(m_classKey), m_sectionKey);
    } catch (const std::exception &e) {
        raise(ErrEnumerateSections, QString::fromUtf8(e.what()));
    }
    iSectCount = int32_t(sSect.size());
    return true;
}

void cRegistry::WriteClassesValue(const QString &sValue)
{
    m_classKey = HKEY_CLASSES_ROOT;
    setValue(sValue);
    const QString section = m_sectionKey;
    m_classKey = HKEY_LOCAL_MACHINE;
    m_sectionKey = QStringLiteral("SOFTWARE\\Classes\\") + section;
    setValue(sValue);
    m_sectionKey = section;
}

void cRegistry::CreateEXEAssociation(const QString &sExePath, const QString &sClassName,
                                     const QString &sClassDescription, const QString &sAssociation,
                                     const QString &sOpenMenuText, bool bSupportPrint,
                                     const QString &sPrintMenuText, bool bSupportNew,
                                     const QString &sNewMenuText, bool bSupportInstall,
                                     const QString &sInstallMenuText, int32_t lDefaultIconIndex)
{
    // Not trimmed: a Linux file name may begin or end with a blank.
    const QString exe = quotedIfBare(sExePath);
    const QString shell = sClassName + QStringLiteral("\\shell\\");
    auto write = [this](const QString &section, const QString &text) {
        m_sectionKey = section;
        m_valueKey.clear();
        m_valueType = REG_SZ;
        WriteClassesValue(text);
    };
    auto orDefault = [](const QString &text, const QString &fallback) { return text.isEmpty() ? fallback : text; };

    write(QLatin1Char('.') + sAssociation, sClassName);
    write(sClassName, sClassDescription);
    write(shell + QStringLiteral("open"), orDefault(sOpenMenuText, QStringLiteral("&Open")));
    write(shell + QStringLiteral("open\\command"), exe + QStringLiteral(" \"%1\""));
    if (bSupportPrint) {
        write(shell + QStringLiteral("print"), orDefault(sPrintMenuText, QStringLiteral("&Print")));
        write(shell + QStringLiteral("print\\command"), exe + QStringLiteral(" /p \"%1\""));
    }
    if (bSupportInstall) {
        write(shell + QStringLiteral("add"), orDefault(sInstallMenuText, QStringLiteral("&Install ") + sAssociation));
        write(shell + QStringLiteral("add\\command"), exe + QStringLiteral(" /a \"%1\""));
    }
    if (bSupportNew) {
        write(shell + QStringLiteral("new"), orDefault(sNewMenuText, QStringLiteral("&New")));
        write(shell + QStringLiteral("new\\command"), exe + QStringLiteral(" /n \"%1\""));
    }
    if (lDefaultIconIndex > -1)
        write(sClassName + QStringLiteral("\\DefaultIcon"), exe + QLatin1Char(',') + QString::number(lDefaultIconIndex));
}

void cRegistry::CreateAdditionalEXEAssociations(const QString &sClassName, const QVariantList &vItems)
{
    if (vItems.isEmpty() || vItems.size() % 3 != 0)
        raise(ErrInvalidAssociationItems,
              QStringLiteral("Invalid parameter list passed to CreateAdditionalEXEAssociations - "
                             "expected Name/Text/Command"));
    m_sectionKey = sClassName;
    if (!KeyExists())
        raise(ErrClassNotDefined,
              QStringLiteral("Error - attempt to create additional associations before class defined."));

    // A failed write doesn't stop the rest: each later item is still tried.
    auto tryWrite = [this](const QString &text) {
        try {
            WriteClassesValue(text);
        } catch (const VbError &) {
        }
    };
    for (qsizetype i = 0; i + 2 < vItems.size(); i += 3) {
        const QString verb = sClassName + QStringLiteral("\\shell\\") + variantText(vItems[i]);
        m_valueType = REG_SZ;
        m_sectionKey = verb;
        m_valueKey.clear();
        tryWrite(variantText(vItems[i + 1]));
        m_sectionKey = verb + QStringLiteral("\\command");
        m_valueKey.clear();
        tryWrite(variantText(vItems[i + 2]));
    }
}

int32_t cRegistry::ReverseLongBytes(int32_t lLong)
{
    const uint32_t n = uint32_t(lLong);
    return int32_t((n >> 24) | ((n >> 8) & 0xFF00u) | ((n << 8) & 0xFF0000u) | (n << 24));
}

// %NAME% becomes the variable's value where it is set; an unknown name, and
// a lone "%", stay as written.
QString cRegistry::ExpandEnvironmentText(const QString &sText)
{
    QString out;
    qsizetype pos = 0;
    while (pos < sText.size()) {
        const qsizetype open = sText.indexOf(QLatin1Char('%'), pos);
        const qsizetype close = open < 0 ? -1 : sText.indexOf(QLatin1Char('%'), open + 1);
        if (close < 0) {
            out += sText.mid(pos);
            break;
        }
        out += sText.mid(pos, open - pos);
        const QString name = sText.mid(open + 1, close - open - 1);
        // A value that names a folder keeps its bytes, UTF-8 or not.
        if (!name.isEmpty() && qEnvironmentVariableIsSet(name.toLocal8Bit().constData()))
            out += paths::DecodeFileName(qgetenv(name.toLocal8Bit().constData()));
        else
            out += sText.mid(open, close - open + 1);
        pos = close + 1;
    }
    return out;
}
