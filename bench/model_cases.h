#pragma once

// The model forms the form benchmarks run: one row per form. A row gives the
// menu button that opens the form and two sets of typed inputs that Compute
// without a fault; forms_bench.cpp times Compute and the switch to and from
// the menu for each row against plain Qt doing the same amount of widget
// work. Adding a form's benchmarks is adding its row here. A form whose
// Compute button only appears after another step (the Incomplete form's "GO")
// names that button as well: it is clicked once the inputs are typed.

#include <utility>
#include <vector>

namespace marvane::bench {

using Typed = std::vector<std::pair<const char*, const char*>>;  // box, text

struct ModelCase {
  const char* form;        // the form's name, as registered
  const char* menuButton;  // the button of Choice that opens it
  Typed typed;             // Compute is timed with these in the boxes
  Typed typedOther;        // ... and alternating between these and `typed`
  // A button that brings up Compute once the inputs are typed (nullptr: none).
  const char* beforeCompute = nullptr;
};

inline const std::vector<ModelCase>& ModelCases() {
  static const std::vector<ModelCase> cases = {
      {"Quant", "Command1",
       {{"bx", "0.5"}, {"bz", "0.25"}, {"bxz", "0.125"}, {"a", "2"}, {"stdz", "2"}, {"stdx", "4"}},
       {{"bx", "-1.37"}, {"bz", "0.4821"}, {"bxz", "-0.0913"}, {"a", "12.5"}, {"stdz", "3.25"}, {"stdx", "1.8"}}},
      {"QuantZ", "Command2",
       {{"bx", "0.5"}, {"bz", "0.25"}, {"bxz", "0.125"}, {"a", "2"}, {"stdx", "4"},
        {"hiz", "1.5"}, {"medz", "0.5"}, {"loz", "-1"}},
       {{"bx", "-1.37"}, {"bz", "0.4821"}, {"bxz", "-0.0913"}, {"a", "12.5"}, {"stdx", "1.8"},
        {"hiz", "3.1"}, {"medz", "0.2"}, {"loz", "-2.7"}}},
      {"Mixed2", "Command3",
       {{"bx", "0.5"}, {"bz", "1.5"}, {"bxz", "-0.25"}, {"a", "2"}, {"stdx", "3"}},
       {{"bx", "-1.37"}, {"bz", "0.4821"}, {"bxz", "-0.0913"}, {"a", "12.5"}, {"stdx", "1.8"}}},
      {"Mixed3", "Command4",
       {{"rbx", "0.7"}, {"bz1", "1"}, {"bz2", "-1"}, {"bxz1", "0.25"}, {"bxz2", "-0.5"}, {"a", "2"}, {"stdx", "3"}},
       {{"rbx", "-1.37"}, {"bz1", "0.4821"}, {"bz2", "-2.2"}, {"bxz1", "-0.0913"}, {"bxz2", "0.31"},
        {"a", "12.5"}, {"stdx", "1.8"}}},
      {"Quant3", "Command5",
       {{"bx", "0.5"}, {"bz", "0.25"}, {"bv", "-0.5"}, {"bxz", "0.125"}, {"bxv", "0.25"}, {"bzv", "-0.125"},
        {"bxzv", "0.0625"}, {"a", "2"}, {"stdx", "4"}, {"stdz", "2"}, {"stdv", "1"}},
       {{"bx", "0.3"}, {"bz", "-0.2"}, {"bv", "0.1"}, {"bxz", "0.7"}, {"bxv", "-0.3"}, {"bzv", "0.2"},
        {"bxzv", "0.1"}, {"a", "-0.4"}, {"stdx", "1.1"}, {"stdz", "0.9"}, {"stdv", "1.3"}}},
      {"Incomplete", "Inomplete",
       {{"bx", "0.5"}, {"bz", "1"}, {"bxz", "0.25"}, {"stdx", "2"}, {"stdz", "1.5"}, {"numvars", "2"},
        {"weight_0", "2"}, {"weight_1", "0.25"}, {"value_1", "4"}, {"weight_2", "-0.5"}, {"value_2", "3"}},
       {{"bx", "-1.37"}, {"bz", "0.4821"}, {"bxz", "-0.0913"}, {"stdx", "1.8"}, {"stdz", "3.25"}, {"numvars", "2"},
        {"weight_0", "12.5"}, {"weight_1", "0.7"}, {"value_1", "0.1"}, {"weight_2", "1.25"}, {"value_2", "-2"}},
       "Command3"},
  };
  return cases;
}

}  // namespace marvane::bench
