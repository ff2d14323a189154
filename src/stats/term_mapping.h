#pragma once

// Which pasted row of a covariance matrix holds which weight of a model: the
// guess the window offers before the user changes it. Standard library only.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace marvane::stats {

// Which pasted row holds each weight of a model, or -1 for none. `names` are
// the pasted names (may be empty), `rows` the number of pasted rows; the
// weights are described by their kind (see models/probe.h ModelWeight) and,
// for products, by the indexes of their main-effect parts.
struct WeightSlot {
  enum class Kind { Constant, Main, Product, Held };
  Kind kind = Kind::Main;
  std::vector<int> parts;  // for products: indexes of the main-effect weights
};
std::vector<int> GuessMapping(const std::vector<WeightSlot>& weights, const std::vector<std::string>& names,
                              std::size_t rows);

// A name without Stata's operators c., i., o. and co. in front, and without
// blanks around it: "c.x" and "co.x" are "x", "c.i.x" is "x"; a name that
// would be left empty stays as it is ("c.").
std::string_view WithoutOperators(std::string_view name);

// Whether a pasted name reads as the intercept: (Intercept), Intercept,
// _cons, const, Constant, (Constant).
bool IsInterceptName(std::string_view name);

// Whether a pasted name is the product of the terms named `parts`: joined by
// ':' or '#' in any order, compared as the guess compares them (Stata's c.,
// i., o. and level flags aside, and a level where the part has none):
// "Wind_c:Temp_c" is the product of {"Temp_c", "Wind_c"}, "c.temp_c#c.wind_c"
// of {"wind_c", "temp_c"}, "1.g#c.x" of {"g", "x"}, but "2.f#c.x" not of
// {"3.f", "x"}.
bool IsProductOf(std::string_view name, const std::vector<std::string>& parts);

}  // namespace marvane::stats
