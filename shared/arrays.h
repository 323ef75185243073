#pragma once

#include "variant.h"

#include <vector>

// The smallest and the largest element of an array, by the runtime's comparison of
// values. Equal elements keep the earlier one; an element that compares as Null with
// the one held is passed over. An empty array raises error 9 (subscript out of range).
Variant MinPole(const std::vector<Variant> &pole);
Variant MaxPole(const std::vector<Variant> &pole);
