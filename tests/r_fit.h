#pragma once

// One of R's fits as the R scripts under tests/data print it (the form's
// boxes with R's weights, the standard deviations, the typed Z values of
// QuantZ, the values the held terms of Incomplete are held at, the
// covariance rows), and the form's probe built from it by the form's own
// builder, so that the combinations under test are the ones the window gets.

#include <map>
#include <string>
#include <vector>

#include "models/incomplete.h"
#include "models/mixed2.h"
#include "models/mixed3.h"
#include "models/quant.h"
#include "models/quant3.h"
#include "models/quantz.h"

namespace marvane::rdata {

struct RFit {
  double stdx = 0, stdz = 0, stdv = 0;
  std::vector<double> zvalues, held;
  std::vector<std::string> boxes;
  std::map<std::string, double> weights;
  std::map<std::string, std::vector<double>> vcov;  // by row box, in the order of `boxes`
};

inline Probe ProbeOfFit(const std::string& form, const RFit& f) {
  auto w = [&](const char* box) { return f.weights.at(box); };
  if (form == "Quant") {
    return QuantProbe({.bx = w("bx"), .bz = w("bz"), .bxz = w("bxz"), .a = w("a"), .stdz = f.stdz, .stdx = f.stdx});
  }
  if (form == "QuantZ") {
    return QuantZProbe({.bx = w("bx"), .bz = w("bz"), .bxz = w("bxz"), .a = w("a"), .stdx = f.stdx,
                        .hiz = f.zvalues.at(0), .medz = f.zvalues.at(1), .loz = f.zvalues.at(2)});
  }
  if (form == "Mixed2") return Mixed2Probe({.bx = w("bx"), .bz = w("bz"), .bxz = w("bxz"), .a = w("a"), .stdx = f.stdx});
  if (form == "Mixed3") {
    // R printed the weight of X already rounded to single, as the form keeps it.
    return Mixed3Probe({.rbx = static_cast<float>(w("rbx")), .bz1 = w("bz1"), .bz2 = w("bz2"), .bxz1 = w("bxz1"),
                        .bxz2 = w("bxz2"), .a = w("a"), .stdx = f.stdx});
  }
  if (form == "Quant3") {
    return Quant3Probe({.bx = w("bx"), .bz = w("bz"), .bv = w("bv"), .bxz = w("bxz"), .bxv = w("bxv"),
                        .bzv = w("bzv"), .bxzv = w("bxzv"), .a = w("a"), .stdx = f.stdx, .stdz = f.stdz,
                        .stdv = f.stdv});
  }
  // Incomplete: the held terms are weight_1, weight_2, ... at the control values.
  std::vector<HeldTerm> held;
  for (std::size_t i = 0; i < f.held.size(); ++i) {
    held.push_back({.weight = w(("weight_" + std::to_string(i + 1)).c_str()), .value = f.held[i]});
  }
  const IncompleteInputs in{.a = FoldControlTerms(w("weight_0"), held), .bx = w("bx"), .bz = w("bz"),
                            .bxz = w("bxz"), .sx = f.stdx, .sz = f.stdz};
  return IncompleteProbe(w("weight_0"), held, in);
}

}  // namespace marvane::rdata
