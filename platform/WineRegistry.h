#pragma once
// A Windows program started through wine reads wine's registry, not ours.
// One configured through our registry (Virtual-E) gets its key handed over
// before each start: the key's subtree written to a temporary registry file
// in the form regedit reads as Unicode, imported with "wine regedit /S", and
// read back with "wine regedit /E" to see that every value arrived (regedit
// ends with 0 even when it imported nothing).

#include <QString>

namespace wineregistry {

struct HandOverResult {
    enum Outcome { HandedOver, Failed, Cancelled };
    Outcome outcome = HandedOver;
    QString failure; // what went wrong, when Failed
};

// Hands HKEY_CURRENT_USER\`key` and its subkeys to the registry of `wine`
// (the wine program to run). HandedOver also when our registry has no such
// key and there is nothing to hand over. While wine runs, a modal progress
// window ("Handing the settings to wine…") shows and the other windows take
// no input; its Cancel (or Escape, or its close button) stops wine and gives
// Cancelled. The temporary folder the file goes through is the hand-over's
// own, removed when it ends; what killed hand-overs left there is removed
// at the next one.
HandOverResult HandOver(const QString &wine, const QString &key);

} // namespace wineregistry
