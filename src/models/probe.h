#pragma once

// What a model form hands its plot window after a Compute that ended without
// a fault: the exact lines it computed, each line's slope and intercept as a
// linear combination of the model's weights, and the weights themselves.
// Standard library only; the window draws and tests from this and never
// reads a form's boxes or labels.

#include <string>
#include <string_view>
#include <vector>

#include "models/simple_effect_line.h"
#include "shell/words.h"

namespace marvane {

struct ModelWeight {
  enum class Kind { Constant, Main, Product, Held };
  std::string box;      // the form's box that holds it: "a", "bx", "bxz1", "weight_3"
  std::string meaning;  // in the form's words: "constant", "weight of X"
  Kind kind = Kind::Main;
  std::string variable;    // a main effect's variable: "X", "Z", "V", "DC1", "group"
  std::vector<int> parts;  // a product's main-effect weights, as indexes into the weights
  double value = 0;        // as the form computed with
};

struct ProbeLine {
  std::string name;        // the row heading, blanks trimmed and runs collapsed
  SimpleEffectLine line;   // the exact numbers of the Compute
  // slope = L . weights and intercept = M . weights, over the model's weights
  // in their order.
  std::vector<double> slope;
  std::vector<double> intercept;
  // Where the line is: the moderators' values on the forms whose lines follow
  // moderators (LineFamily); on the forms of groups the weight of the group
  // code that is 1 on this line, -1 on the contrast group.
  std::vector<double> at = {};
  int groupCode = -1;
};

// An effect that is linear in one variable u: e(u) = P . weights + u * (Q . weights).
struct LinearEffect {
  // The slope of X along a moderator, or the difference between two groups'
  // lines along X.
  enum class Kind { Slope, Difference };
  Kind kind = Kind::Slope;
  std::string name;    // "slope of X", "For target group (coded 1) vs For contrast group (coded 0)"
  std::string along;   // the variable u: "Z", "V" or "X"
  std::string heldAt;  // "V = +1 SD", or "" when nothing is held
  std::vector<double> p, q;
  double sd = 0;    // the standard deviation of u where the form knows it, else 0
  double mean = 0;  // the mean of u (0 for centred predictors)
  // What is held, by variable and value ("V" at stdv); for a difference, the
  // pair of lines (k < l).
  std::string heldVariable = {};
  double heldValue = 0;
  std::size_t k = 0, l = 0;
  // The words of sentences and figures where the paste names the variables
  // ("Wind_c", "Temp_c = +1 SD (3.52)"); empty: the form's own words.
  std::string alongName = {}, heldAtName = {};
};

// The variable an effect (a LinearEffect, or a region found for one) is
// along and what it holds, in the words of sentences and figures: the names
// the paste gives ("Wind_c", "Temp_c = +1 SD (3.52)"), else the form's ("Z",
// "V = +1 SD").
template <typename Effect>
const std::string& AlongWords(const Effect& e) {
  return e.alongName.empty() ? e.along : e.alongName;
}
template <typename Effect>
const std::string& HeldAtWords(const Effect& e) {
  return e.heldAtName.empty() ? e.heldAt : e.heldAtName;
}

// How the lines follow the form's continuous moderators (Z; Z and V): the
// line at moderator values m has
//   slope     = sum over terms of (product of m[i]^powers[i]) * (slope . weights),
//   intercept = the same with the terms' intercept coefficients,
// so a line at any values is again a linear combination of the weights.
struct ModeratorTerm {
  std::vector<int> powers;  // by moderator: 0 or 1
  std::vector<double> slope, intercept;
};

struct LineFamily {
  std::vector<std::string> moderators;  // "Z", or "Z" and "V"; empty on the forms of groups
  std::vector<double> sd;               // by moderator, as typed on the form; 0 where it has none
  std::vector<ModeratorTerm> terms;
};

struct Probe {
  std::string form;     // the form's name
  std::string caption;  // the form's window title
  double stdx = 0;      // the plotting points are at meanX - stdx and meanX + stdx
  double meanX = 0;
  bool meanXTyped = false;  // the tables then also predict Y at meanX
  std::vector<ModelWeight> weights;  // in the model's order (R's for y ~ x * z and alike)
  std::vector<ProbeLine> lines;      // in the order of the form's result panel
  // Whether all lines meet in one point, and its X: (-bz) / bxz on the forms
  // with one moderator (Quant, QuantZ, Incomplete) when bxz is not 0.
  bool linesMeet = false;
  double meetingX = 0;
  std::vector<LinearEffect> effects;
  // The moderator values typed on the form, where it has them (QuantZ's Z values).
  std::vector<double> moderatorValues;
  // The form holds further terms of the model at values the user types
  // (Incomplete); on the others such terms are left at 0.
  bool holdsTerms = false;
  LineFamily family;
};

// The line of the family at moderator values `m` (one per moderator), named
// `name`: its coefficients, and its numbers from the weights, with the
// plotting points at meanX -+ stdx.
ProbeLine LineAt(const Probe& probe, const std::vector<double>& m, std::string name);

// The slope of X along moderator j of the family with the other moderators
// held at `held` (indexed by moderator; held[j] is not used).
LinearEffect SlopeAlong(const Probe& probe, std::size_t j, const std::vector<double>& held, std::string heldAt);

// The heading of line row k (the caption of se<k>1) of the named form's design.
std::string LineHeading(std::string_view form, int k);

// A main-effect weight, the constant, or a product of the main effects at
// `parts` (indexes into the weights).
ModelWeight MainWeight(std::string box, std::string meaning, std::string variable, double value);
ModelWeight ConstantWeight(std::string box, double value);
ModelWeight ProductWeight(std::string box, std::string meaning, std::vector<int> parts, double value);

// Line row k of the form as the probe holds it: its heading, its numbers and
// its slope and intercept as coefficients over the weights.
ProbeLine MakeProbeLine(std::string_view form, int k, const SimpleEffectLine& line, std::vector<double> slope,
                        std::vector<double> intercept);

// "<first> vs <second>", as the tables name a pair of lines.
std::string PairName(const ProbeLine& first, const ProbeLine& second);

// L . weights, the plain dot product of a coefficient vector and the weights.
double Combine(const std::vector<double>& coefficients, const std::vector<ModelWeight>& weights);

}  // namespace marvane
