#pragma once
// Registry access outside the settings store. Point an instance at one place
// (root key, key path, value name, value type, default), then test, create or
// delete the key, read or write the value, list the key's values or subkeys,
// or register a file association. No key stays open between calls.
//
// Errors are thrown as VbError; their source is the executable's name
// followed by ".cRegistry".

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

#include <cstdint>

#include "VbError.h"

class cRegistry {
public:
    // Root keys, as Windows numbers their handles.
    static constexpr int32_t HKEY_CLASSES_ROOT = int32_t(0x80000000u);
    static constexpr int32_t HKEY_CURRENT_USER = int32_t(0x80000001u);
    static constexpr int32_t HKEY_LOCAL_MACHINE = int32_t(0x80000002u);
    static constexpr int32_t HKEY_USERS = int32_t(0x80000003u);

    // Value type codes.
    static constexpr int32_t REG_NONE = 0;
    static constexpr int32_t REG_SZ = 1;
    static constexpr int32_t REG_EXPAND_SZ = 2;
    static constexpr int32_t REG_BINARY = 3;
    static constexpr int32_t REG_DWORD = 4;
    static constexpr int32_t REG_DWORD_BIG_ENDIAN = 5;
    static constexpr int32_t REG_LINK = 6;
    static constexpr int32_t REG_MULTI_SZ = 7;

    // Error numbers raised.
    static constexpr int32_t ErrRegistryFailed = 26001;
    static constexpr int32_t ErrSetValueRefused = int32_t(0x800469A9u);
    static constexpr int32_t ErrEnumerateSections = int32_t(0x800469AAu);
    static constexpr int32_t ErrInvalidAssociationItems = int32_t(0x800469ACu);
    static constexpr int32_t ErrClassNotDefined = int32_t(0x800469ADu);

    // The place this instance points at.
    int32_t ClassKey() const { return m_classKey; }
    void setClassKey(int32_t eKey) { m_classKey = eKey; }
    QString SectionKey() const { return m_sectionKey; }
    void setSectionKey(const QString &sSectionKey) { m_sectionKey = sSectionKey; }
    QString ValueKey() const { return m_valueKey; }
    void setValueKey(const QString &sValueKey) { m_valueKey = sValueKey; }
    // Decides how setValue writes; every successful Value() read sets it.
    int32_t ValueType() const { return m_valueType; }
    void setValueType(int32_t eValueType) { m_valueType = eValueType; }
    // What a failed Value() read returns; invalid until set.
    QVariant Default() const { return m_default; }
    void setDefault(const QVariant &vDefault) { m_default = vDefault; }

    // True when SectionKey can be opened under ClassKey.
    bool KeyExists() const;
    // Creates SectionKey and any missing parents; throws 26001 on failure.
    bool CreateKey();
    // Deletes SectionKey (it must have no subkeys); throws 26001 on failure.
    bool DeleteKey();
    // Deletes the value ValueKey; throws 26001 when the key can't be opened or
    // the value not deleted.
    bool DeleteValue();

    // Reads ValueKey: QString for types 1, 2 (expanded) and 7, qint32 for 4 and
    // 5, QByteArray for any other type; Default() when it can't be read.
    QVariant Value();
    // Writes vValue by ValueType, creating the key path as needed.
    void setValue(const QVariant &vValue);

    // The names of the key's values; true even when the key can't be opened.
    bool EnumerateValues(QStringList &sKeyNames, int32_t &iKeyCount) const;
    // The names of the key's subkeys; throws ErrEnumerateSections on failure.
    bool EnumerateSections(QStringList &sSect, int32_t &iSectCount) const;

    // Registers a file type with its open (and optionally print, install, new)
    // commands under both class roots. Empty menu texts take the default
    // texts; an icon index below 0 writes no DefaultIcon.
    void CreateEXEAssociation(const QString &sExePath, const QString &sClassName,
                              const QString &sClassDescription, const QString &sAssociation,
                              const QString &sOpenMenuText = QString(), bool bSupportPrint = false,
                              const QString &sPrintMenuText = QString(), bool bSupportNew = false,
                              const QString &sNewMenuText = QString(), bool bSupportInstall = false,
                              const QString &sInstallMenuText = QString(),
                              int32_t lDefaultIconIndex = -1);
    // Adds verbs to a registered class: vItems holds triples of verb name,
    // menu text and command line.
    void CreateAdditionalEXEAssociations(const QString &sClassName, const QVariantList &vItems);

private:
    void WriteClassesValue(const QString &sValue);
    static int32_t ReverseLongBytes(int32_t lLong);
    static QString ExpandEnvironmentText(const QString &sText);

    [[noreturn]] static void raise(int32_t number, const QString &description);
    QString keyText() const;

    int32_t m_classKey = 0;
    QString m_sectionKey;
    QString m_valueKey;
    int32_t m_valueType = 0;
    QVariant m_default;
};
