#pragma once
// Test helpers for the emulators' registry values.

#include <QDir>
#include <QFileInfo>
#include <QString>

#include "Registry.h"
#include "TestSupport.h"
#include "VirtualERegistry.h"

namespace keystoretest {

// Stores one value under Virtual-E's Keypad key, creating the key.
inline void storeKeypadValue(const QString &name, const registry::Value &value)
{
    registry::CreateKey(registry::Hive::CurrentUser, virtuale::kKeypadKey);
    registry::SetValue(registry::Hive::CurrentUser, virtuale::kKeypadKey, name, value);
}

// The settings folder becomes a file: nothing can be written there.
inline void makeStoreUnwritable()
{
    const QString folder = QFileInfo(registry::StoreFilePath()).absolutePath();
    QDir(folder).removeRecursively();
    testsupport::writeFile(QStringLiteral("config/zandrel"), "not a folder");
}

} // namespace keystoretest
