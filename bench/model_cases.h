#pragma once

// The model forms the form benchmarks run: one row per form. A row gives the
// menu button that opens the form and two sets of typed inputs that Compute
// without a fault; forms_bench.cpp times Compute and the switch to and from
// the menu for each row against plain Qt doing the same amount of widget
// work. Adding a form's benchmarks is adding its row here.

#include <utility>
#include <vector>

namespace marvane::bench {

using Typed = std::vector<std::pair<const char*, const char*>>;  // box, text

struct ModelCase {
  const char* form;        // the form's name, as registered
  const char* menuButton;  // the button of Choice that opens it
  Typed typed;             // Compute is timed with these in the boxes
  Typed typedOther;        // ... and alternating between these and `typed`
};

inline const std::vector<ModelCase>& ModelCases() {
  static const std::vector<ModelCase> cases = {
      {"Quant", "Command1",
       {{"bx", "0.5"}, {"bz", "0.25"}, {"bxz", "0.125"}, {"a", "2"}, {"stdz", "2"}, {"stdx", "4"}},
       {{"bx", "-1.37"}, {"bz", "0.4821"}, {"bxz", "-0.0913"}, {"a", "12.5"}, {"stdz", "3.25"}, {"stdx", "1.8"}}},
  };
  return cases;
}

}  // namespace marvane::bench
