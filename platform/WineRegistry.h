#pragma once
// A Windows program started through wine reads wine's registry, not ours.
// One configured through our registry (Virtual-E) gets its key handed over
// before each start: the key's subtree written to a temporary REGEDIT4 file
// and imported with "wine regedit /S <file>", waited for.

#include <QString>
#include <optional>

namespace wineregistry {

// Hands HKEY_CURRENT_USER\`key` and its subkeys to the registry of `wine`
// (the wine program to run). nullopt when that worked, or when our registry
// has no such key and there is nothing to hand over; else what went wrong.
std::optional<QString> HandOver(const QString &wine, const QString &key);

} // namespace wineregistry
