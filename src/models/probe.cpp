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

}  // namespace marvane
