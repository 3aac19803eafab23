#pragma once
// The key names that the key configuration dialog shows on its buttons, and
// the two numberings they link: Windows virtual-key codes (what a key capture
// gives and what Virtual-E stores) and Red Dragon key indices 0..114 (what
// Red Dragon's option file stores). A key goes from one numbering to the
// other through its name.
//
// Besides the Windows codes there are the program's own codes: 900 for the
// blank key, 901..910 for keys that have no Windows code, and 911..916 for
// the left and right Shift, Control and Alt keys.

#include <QString>
#include <cstdint>

namespace keynames {

// The key's name; "<Key#" with the code in three digits and ">" for a code
// without a name ("<Key#007>").
QString VirtualKeyName(int16_t code);
// The code of the key with exactly this name (case and blanks count); 0 for
// a name that no key has.
int16_t VirtualKeyFromName(const QString &name);

// The name of a Red Dragon key index; "<INVALID>" outside 0..114.
QString RedDragonKeyName(int16_t index);
// The Red Dragon index of the key with exactly this name; 0 (the blank key)
// for a name that Red Dragon has no key for.
int16_t RedDragonKeyFromName(const QString &name);

// Own codes of the sided modifier keys.
enum SidedKey : int16_t {
    LeftShift = 911,
    RightShift = 912,
    LeftControl = 913,
    RightControl = 914,
    LeftAlt = 915,
    RightAlt = 916,
};

} // namespace keynames
