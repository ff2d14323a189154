#include "analysis/lines.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "shell/number_text.h"
#include "stats/term_mapping.h"

namespace marvane {
namespace {

// The most lines of every combination of the values of two moderators.
constexpr std::size_t kMostCombinations = 16;

// One value of a moderator with its words in a line's name.
struct Value {
  double value = 0;
  std::string words;  // "Z = +1 SD (3.52)", "Z = mean (0)", "Z = 1.5"
};

std::string Signed(double k) { return std::string(1, k < 0 ? '-' : '+') + NumberToText(std::fabs(k)); }

// mean + k SD, mean, mean - k SD of moderator `name`; on a form of two
// moderators (no line at the mean) without the values, so that a line's
// name of both stays short enough for a legend.
std::vector<Value> AroundMean(const std::string& name, double mean, double sd, double k, bool withMean) {
  std::vector<Value> out;
  for (const double s : {k, 0.0, -k}) {
    if (s == 0 && !withMean) continue;
    const double v = mean + s * sd;
    const std::string at = s == 0 ? "mean" : Signed(s) + " SD";
    out.push_back({v, name + " = " + at + (withMean ? " (" + NumberToText(v, 3) + ")" : "")});
  }
  return out;
}

std::vector<Value> Typed(const std::string& name, const std::vector<double>& values) {
  std::vector<Value> out;
  for (const double v : values) out.push_back({v, name + " = " + NumberToText(v)});
  return out;
}

// The values of each moderator the choices ask for, or why there are none.
std::string ModeratorValues(const Probe& p, const LineChoices& c, const std::vector<double>& means,
                            std::vector<std::vector<Value>>& out) {
  const LineFamily& f = p.family;
  const bool two = f.moderators.size() > 1;
  if (c.moderators == ModeratorChoice::MeanSd) {
    const TypedNumber k = ReadTypedNumber(c.sdMultiple);
    if (!k.ok || !(k.value > 0) || !std::isfinite(k.value)) {
      return "The multiple k of the SD must be a number above 0, such as 1 or 2.";
    }
    for (std::size_t j = 0; j < f.moderators.size(); ++j) {
      const std::string& name = f.moderators[j];
      if (!(f.sd[j] > 0)) {
        // A form that asks for the moderator's values asks for no SD of it.
        return "The lines at the mean \u00b1 k SD of " + name + " need its SD, which this form " +
               (p.moderatorValues.empty() ? "has as 0" : "does not ask for") + ": choose typed values of " + name +
               ".";
      }
      out.push_back(AroundMean(name, means[j], f.sd[j], k.value, !two));
    }
    return {};
  }
  const std::vector<std::string> texts{c.values, c.valuesV};
  for (std::size_t j = 0; j < f.moderators.size(); ++j) {
    const std::vector<double> values = ReadValues(texts[j], 8);
    if (values.empty()) {
      return "Type one to eight values of " + f.moderators[j] + ", separated by commas or blanks, such as -1, 0, 1.";
    }
    out.push_back(Typed(f.moderators[j], values));
  }
  if (two && out[0].size() * out[1].size() > kMostCombinations) {
    const std::size_t nz = out[0].size(), nv = out[1].size();
    return "The lines are every combination of the values of " + f.moderators[0] + " and " + f.moderators[1] + ": " +
           std::to_string(nz) + " \u00d7 " + std::to_string(nv) + " = " + std::to_string(nz * nv) +
           " lines, more than " + std::to_string(kMostCombinations) + ". Type fewer values, such as four of each.";
  }
  return {};
}

// The lines at every combination of the values (the first moderator's
// values outermost), and on a form with two moderators the slope of X along
// each one at every value of the other.
void Build(Probe& p, const std::vector<std::vector<Value>>& values, const std::vector<double>& means) {
  p.lines.clear();
  if (values.size() == 1) {
    for (const Value& z : values[0]) p.lines.push_back(LineAt(p, {z.value}, z.words));
    return;
  }
  for (const Value& z : values[0]) {
    for (const Value& v : values[1]) p.lines.push_back(LineAt(p, {z.value, v.value}, z.words + ", " + v.words));
  }
  p.effects.clear();
  for (std::size_t j = 0; j < 2; ++j) {
    for (const Value& h : values[1 - j]) {
      std::vector<double> held(2, 0.0);
      held[1 - j] = h.value;
      LinearEffect e = SlopeAlong(p, j, held, h.words);
      e.mean = means[j];
      p.effects.push_back(std::move(e));
    }
  }
}

// The plotting points of the form's lines at meanX -+ stdx.
void MovePoints(Probe& p) {
  for (ProbeLine& l : p.lines) {
    SimpleEffectLine& n = l.line;
    n.x1 = p.meanX - p.stdx;
    n.x2 = p.meanX + p.stdx;
    n.y1 = n.intercept + n.x1 * n.slope;
    n.y2 = n.intercept + n.x2 * n.slope;
  }
}

// "+1 SD (3.52)" ("+1 SD" without `valued`), "mean (0)", or the value
// itself where it is no whole number of SDs from the mean (or the SD is not
// known).
std::string Where(double at, double mean, double sd, bool valued) {
  const double k = sd > 0 ? (at - mean) / sd : 0.5;
  if (std::fabs(k - std::round(k)) > 1e-9) return NumberToText(at, 3);
  const std::string value = valued ? " (" + NumberToText(at, 3) + ")" : "";
  return (k == 0 ? std::string("mean") : Signed(std::round(k)) + " SD") + value;
}

// The pasted name of the variable of the main weight named `variable` ("X",
// "Z", ...), or the form's word for it.
std::string NameOf(const Probe& p, const std::vector<std::string>& names, const std::string& variable) {
  for (std::size_t i = 0; i < p.weights.size() && i < names.size(); ++i) {
    if (p.weights[i].kind == ModelWeight::Kind::Main && p.weights[i].variable == variable && !names[i].empty()) {
      return VariableName(names[i]);
    }
  }
  return variable;
}

// The group lines named after their pasted dummy codes, when every group
// has one: "supp = VC" and "supp = reference level" where each name splits
// into the same variable and a level; else the names as pasted and
// "reference level" ("Speciesversicolor" does not tell where the level
// starts). The form's names stay when a group's row is not named.
void NameGroups(Probe& p, const std::vector<std::string>& names) {
  std::vector<std::string> pasted;
  for (const ProbeLine& l : p.lines) {
    if (l.groupCode < 0) continue;
    const auto k = static_cast<std::size_t>(l.groupCode);
    if (k >= names.size() || names[k].empty()) return;
    pasted.push_back(names[k]);
  }
  if (pasted.empty()) return;
  const std::string variable = VariableAndLevel(pasted[0]).first;
  const bool split = std::all_of(pasted.begin(), pasted.end(), [&](const std::string& n) {
    const auto [v, level] = VariableAndLevel(n);
    return v == variable && !level.empty();
  });
  const std::string prefix = split ? variable + " = " : std::string();
  std::size_t next = 0;
  for (ProbeLine& l : p.lines) {
    if (l.groupCode < 0) {
      l.name = prefix + "reference level";
    } else {
      const std::string& n = pasted[next++];
      l.name = split ? prefix + VariableAndLevel(n).second : VariableName(n);
    }
  }
}

// The lines and effects named after the variables the paste names.
// Lines at typed values are named by the values, as typed.
void NameFromPaste(ShownLines& out, const std::vector<std::string>& names, const std::vector<double>& means,
                   bool typedValues) {
  Probe& p = out.probe;
  const LineFamily& f = p.family;
  out.xTitle = NameOf(p, names, "X");
  auto where = [&](const std::string& variable, double at, bool valued = true) {
    if (typedValues) return NameOf(p, names, variable) + " = " + NumberToText(at);
    for (std::size_t j = 0; j < f.moderators.size(); ++j) {
      if (f.moderators[j] == variable) {
        return NameOf(p, names, variable) + " = " + Where(at, means[j], f.sd[j], valued);
      }
    }
    return NameOf(p, names, variable) + " = " + NumberToText(at, 3);
  };
  for (ProbeLine& l : p.lines) {
    if (l.at.empty()) continue;
    std::string name;
    for (std::size_t j = 0; j < l.at.size() && j < f.moderators.size(); ++j) {
      name += (j > 0 ? ", " : "") + where(f.moderators[j], l.at[j], l.at.size() == 1);
    }
    l.name = name;
  }
  if (f.moderators.empty()) NameGroups(p, names);
  for (LinearEffect& e : p.effects) {
    if (e.kind == LinearEffect::Kind::Slope) {
      e.name = "slope of " + out.xTitle;
      e.alongName = NameOf(p, names, e.along);
      if (!e.heldVariable.empty()) e.heldAtName = where(e.heldVariable, e.heldValue);
    } else if (e.k < p.lines.size() && e.l < p.lines.size()) {
      e.name = PairName(p.lines[e.k], p.lines[e.l]);
      e.alongName = out.xTitle;
    }
  }
}

}  // namespace

std::string VariableName(const std::string& pasted) { return std::string(stats::WithoutOperators(pasted)); }

std::pair<std::string, std::string> VariableAndLevel(const std::string& pasted) {
  const std::string name = VariableName(pasted);
  // Stata's level before a dot: "1.mbsmoke", "2b.Diet".
  const std::size_t dot = name.find('.');
  if (dot != std::string::npos && dot > 0 && std::isdigit(static_cast<unsigned char>(name[0]))) {
    std::string level = name.substr(0, dot);
    while (!level.empty() && std::isalpha(static_cast<unsigned char>(level.back()))) level.pop_back();
    return {name.substr(dot + 1), level};
  }
  // R's factor name run together with its level: the level starts where a
  // lower-case letter is followed by a capital or a digit.
  for (std::size_t i = name.size(); i-- > 1;) {
    const auto before = static_cast<unsigned char>(name[i - 1]), at = static_cast<unsigned char>(name[i]);
    if (std::islower(before) && (std::isupper(at) || std::isdigit(at))) return {name.substr(0, i), name.substr(i)};
  }
  return {name, ""};
}

std::vector<double> ReadValues(const std::string& text, std::size_t most) {
  std::vector<double> out;
  std::string part;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    const char c = i < text.size() ? text[i] : ' ';
    if (c != ',' && c != ';' && c != ' ' && c != '\t') {
      part += c;
      continue;
    }
    if (part.empty()) continue;
    const TypedNumber n = ReadTypedNumber(part);
    if (!n.ok) return {};
    out.push_back(n.value);
    part.clear();
  }
  return out.size() <= most ? out : std::vector<double>{};
}

namespace {

// The means of X, Z and V as typed: 0 where a box is empty or holds no
// number; `problem` tells the first that holds no number.
struct Means {
  std::vector<double> value;  // X, Z, V
  std::vector<bool> typed;
  std::string problem;
};

Means TypedMeans(const LineChoices& c) {
  Means means;
  for (const auto& [text, name] : {std::pair{&c.meanX, "X"}, std::pair{&c.meanZ, "Z"}, std::pair{&c.meanV, "V"}}) {
    const TypedNumber m = ReadTypedNumber(*text);
    if (!m.empty && !m.ok && means.problem.empty()) {
      means.problem = std::string("The mean of ") + name + " must be a number, such as 3.2, or left empty for 0.";
    }
    means.value.push_back(m.ok ? m.value : 0);
    means.typed.push_back(!m.empty);
  }
  return means;
}

ShownLines ShowChosen(const Probe& form, const LineChoices& c, const Means& typed) {
  ShownLines out{.probe = form, .problem = {}, .note = {}};
  Probe& p = out.probe;
  // With a mean that is no number no mean is taken, the others neither: the
  // form's probe as it is.
  if (!typed.problem.empty()) {
    out.problem = typed.problem;
    return out;
  }
  if (std::find(typed.typed.begin(), typed.typed.end(), true) != typed.typed.end()) {
    out.note = "With means typed, the weights must be those of the fit of the predictors as measured, not centred.";
  }
  const std::vector<double>& means = typed.value;
  p.meanX = means[0];
  p.meanXTyped = typed.typed[0];
  if (p.meanXTyped) MovePoints(p);
  for (LinearEffect& e : p.effects) e.mean = e.along == "X" ? means[0] : e.along == "V" ? means[2] : means[1];
  if (c.moderators == ModeratorChoice::AsOnForm) return out;
  if (p.family.moderators.empty()) {
    out.problem = "The lines of this form are its groups: they stay as on the form.";
    return out;
  }
  const std::vector<double> familyMeans{means[1], means[2]};
  std::vector<std::vector<Value>> values;
  out.problem = ModeratorValues(p, c, familyMeans, values);
  if (out.problem.empty()) Build(p, values, familyMeans);
  return out;
}

}  // namespace

ShownLines ShowLines(const Probe& form, const LineChoices& c) {
  const Means means = TypedMeans(c);
  ShownLines out = ShowChosen(form, c, means);
  const bool named = std::any_of(c.weightNames.begin(), c.weightNames.end(), [](const std::string& n) {
    return !n.empty();
  });
  if (named) {
    NameFromPaste(out, c.weightNames, {means.value[1], means.value[2]},
                  c.moderators == ModeratorChoice::Typed && out.problem.empty());
  }
  return out;
}

}  // namespace marvane
