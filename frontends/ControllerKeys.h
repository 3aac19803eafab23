#pragma once
// The 14 inputs of the Virtual Boy controller as the emulators' keys are kept
// for them: one key code per input, always in the same slot order. Reality
// Boy's keys are fixed; Virtual-E keeps its keys in the registry
// (VirtualERegistry.h); Red Dragon's window hands them over as a list of 14
// Red Dragon key indices in text form.

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

namespace controllerkeys {

enum Slot : int {
    AButton,
    BButton,
    LTrigger,
    RTrigger,
    LeftPadUp,
    LeftPadDown,
    LeftPadLeft,
    LeftPadRight,
    RightPadUp,
    RightPadDown,
    RightPadLeft,
    RightPadRight,
    Start,
    Select,
    kSlotCount
};

// A key code per slot (see KeyNames.h for the codes).
using KeyCodeTable = std::array<int16_t, kSlotCount>;

// Reality Boy's fixed keys, also the default keys of the other two:
// M, N, G, H, E, C, S, F, I, comma, J, L, B, V.
const KeyCodeTable &DefaultKeySet();

// True for a code a key can have: a Windows code 1..255 or one of the
// program's own codes 900..916.
bool IsKeyCode(int32_t code);

// Red Dragon's hand-over list to codes and back, through the key names: an
// item that is not a number, or an index that has no virtual-key code,
// gives code 0, and a code that Red Dragon has no key for gives index 0.
KeyCodeTable KeyCodesFromRedDragonItems(const QStringList &items);
QStringList RedDragonItemsFromKeyCodes(const KeyCodeTable &codes);

} // namespace controllerkeys
