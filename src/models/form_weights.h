#pragma once

// Each form's model before any Compute: the weights with their boxes,
// meanings, kinds and products' parts, in the order the form hands them to
// its plot window (values 0), and what the form does with further terms.
// Standard library only.

#include <cstddef>
#include <string_view>
#include <vector>

#include "models/probe.h"

namespace marvane {

// `held`: the number of further terms of a form that holds them. An unknown
// form has no weights.
Probe BlankProbe(std::string_view form, std::size_t held = 0);

}  // namespace marvane
