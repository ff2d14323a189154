#pragma once

// The weights of each form's model before any Compute: their boxes, meanings,
// kinds and products' parts, in the order the form hands them to its plot
// window (values 0). Standard library only.

#include <cstddef>
#include <string_view>
#include <vector>

#include "models/probe.h"

namespace marvane {

// `held`: the number of further terms of the Incomplete form. An unknown
// form has no weights.
std::vector<ModelWeight> FormWeights(std::string_view form, std::size_t held = 0);

}  // namespace marvane
