#pragma once
// The run-time errors the tile engine raises, by their classic numbers.

#include "VbError.h"

namespace tiles {

inline VbError InvalidArgument()
{
    return VbError(5, QStringLiteral("Zandrel"), QStringLiteral("Invalid procedure call or argument"));
}
inline VbError Overflow()
{
    return VbError(6, QStringLiteral("Zandrel"), QStringLiteral("Overflow"));
}
inline VbError SubscriptOutOfRange()
{
    return VbError(9, QStringLiteral("Zandrel"), QStringLiteral("Subscript out of range"));
}
inline VbError TypeMismatch()
{
    return VbError(13, QStringLiteral("Zandrel"), QStringLiteral("Type mismatch"));
}

} // namespace tiles
