#include "RunHooks.h"

#include <cmath>

namespace romdb {

int32_t ProgressPercent(int32_t from, int32_t span, int32_t index, int32_t count)
{
    if (count <= 0)
        return from;
    // The default rounding mode takes a half to the even neighbour.
    return int32_t(std::nearbyint(from + double(span) * index / count));
}

} // namespace romdb
