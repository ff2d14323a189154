#include "models/probe.h"

#include "forms/form_design.h"

namespace marvane {

std::string LineHeading(std::string_view form, int k) {
  for (const forms::FormDesign* d : forms::AllDesigns()) {
    if (d->name != form) continue;
    const forms::Control* c = d->Find("se" + std::to_string(k) + "1");
    return c == nullptr ? std::string() : CollapseBlanks(c->caption);
  }
  return {};
}

double Combine(const std::vector<double>& coefficients, const std::vector<ModelWeight>& weights) {
  double sum = 0;
  for (std::size_t i = 0; i < coefficients.size() && i < weights.size(); ++i) {
    // A zero coefficient adds nothing, whatever its weight (0 * inf is no number).
    if (coefficients[i] != 0) sum += coefficients[i] * weights[i].value;
  }
  return sum;
}


ModelWeight MainWeight(std::string box, std::string meaning, std::string variable, double value) {
  return {.box = std::move(box), .meaning = std::move(meaning), .kind = ModelWeight::Kind::Main,
          .variable = std::move(variable), .parts = {}, .value = value};
}

ModelWeight ConstantWeight(std::string box, double value) {
  return {.box = std::move(box), .meaning = "constant", .kind = ModelWeight::Kind::Constant, .variable = {},
          .parts = {}, .value = value};
}

ModelWeight ProductWeight(std::string box, std::string meaning, std::vector<int> parts, double value) {
  return {.box = std::move(box), .meaning = std::move(meaning), .kind = ModelWeight::Kind::Product,
          .variable = {}, .parts = std::move(parts), .value = value};
}

ProbeLine MakeProbeLine(std::string_view form, int k, const SimpleEffectLine& line, std::vector<double> slope,
                        std::vector<double> intercept) {
  return {.name = LineHeading(form, k), .line = line, .slope = std::move(slope), .intercept = std::move(intercept)};
}

std::string PairName(const ProbeLine& first, const ProbeLine& second) { return first.name + " vs " + second.name; }

namespace {

// The product of m[i]^powers[i].
double Monomial(const std::vector<int>& powers, const std::vector<double>& m) {
  double v = 1;
  for (std::size_t i = 0; i < powers.size() && i < m.size(); ++i) {
    if (powers[i] != 0) v *= m[i];
  }
  return v;
}

void AddScaled(std::vector<double>& sum, double k, const std::vector<double>& c) {
  if (sum.size() < c.size()) sum.resize(c.size(), 0.0);
  for (std::size_t i = 0; i < c.size(); ++i) {
    if (c[i] != 0) sum[i] += k * c[i];
  }
}

}  // namespace

ProbeLine LineAt(const Probe& probe, const std::vector<double>& m, std::string name) {
  ProbeLine l{.name = std::move(name), .line = {}, .slope = std::vector<double>(probe.weights.size(), 0.0),
              .intercept = std::vector<double>(probe.weights.size(), 0.0), .at = m, .groupCode = -1};
  for (const ModeratorTerm& t : probe.family.terms) {
    const double k = Monomial(t.powers, m);
    AddScaled(l.slope, k, t.slope);
    AddScaled(l.intercept, k, t.intercept);
  }
  SimpleEffectLine& n = l.line;
  n.slope = Combine(l.slope, probe.weights);
  n.intercept = Combine(l.intercept, probe.weights);
  n.x1 = probe.meanX - probe.stdx;
  n.x2 = probe.meanX + probe.stdx;
  n.y1 = n.intercept + n.x1 * n.slope;
  n.y2 = n.intercept + n.x2 * n.slope;
  return l;
}

LinearEffect SlopeAlong(const Probe& probe, std::size_t j, const std::vector<double>& held, std::string heldAt) {
  const LineFamily& f = probe.family;
  LinearEffect e{.kind = LinearEffect::Kind::Slope, .name = "slope of X", .along = f.moderators.at(j),
                 .heldAt = std::move(heldAt), .p = std::vector<double>(probe.weights.size(), 0.0),
                 .q = std::vector<double>(probe.weights.size(), 0.0), .sd = j < f.sd.size() ? f.sd[j] : 0};
  if (f.moderators.size() == 2) {
    e.heldVariable = f.moderators[1 - j];
    e.heldValue = held.at(1 - j);
  }
  for (const ModeratorTerm& t : f.terms) {
    std::vector<int> others = t.powers;
    const bool alongJ = j < others.size() && others[j] != 0;
    if (j < others.size()) others[j] = 0;
    AddScaled(alongJ ? e.q : e.p, Monomial(others, held), t.slope);
  }
  return e;
}

}  // namespace marvane
