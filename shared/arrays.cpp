#include "arrays.h"

#include "vberror.h"

namespace {

Variant extreme(const std::vector<Variant> &pole, VbCompare better)
{
    if (pole.empty())
        throw VbError(9, QStringLiteral("MinMaxPole"), QStringLiteral("Subscript out of range"));
    Variant held = pole.front();
    for (size_t i = 1; i < pole.size(); ++i)
        if (vbCompare(pole[i], held) == better)
            held = pole[i];
    return held;
}

}  // namespace

Variant MinPole(const std::vector<Variant> &pole)
{
    return extreme(pole, VbCompare::Less);
}

Variant MaxPole(const std::vector<Variant> &pole)
{
    return extreme(pole, VbCompare::Greater);
}
