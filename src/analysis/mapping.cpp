#include "analysis/mapping.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>
#include <system_error>

#include "stats/pasted_cells.h"
#include "stats/term_mapping.h"

namespace marvane::mapping {
namespace {

using stats::PastedCoefficient;
using Kind = ModelWeight::Kind;

std::string Tick(std::string_view name) {
  std::string out(1, '`');
  out += name;
  return out + '`';
}

using stats::pasted::ShowNumber;

// Half a unit of the last digit of `value` printed in `digits` significant digits; 0 where nothing was printed.
double HalfUnit(double value, int digits) {
  if (value == 0 || digits <= 0 || !std::isfinite(value)) return 0;
  return std::pow(10.0, std::floor(std::log10(std::fabs(value))) - digits + 1) / 2;
}

// Whether a weight's value is a coefficient's estimate to the digits printed: within half a unit of its last digit,
// or (3 significant digits or more typed, fewer than printed) the estimate rounded to the digits of the value.
bool Agrees(double value, const PastedCoefficient& c) {
  if (c.estimateDigits <= 0) return false;
  if (std::fabs(value - c.estimate) <= HalfUnit(c.estimate, c.estimateDigits) * (1 + 1e-9)) return true;
  const int typed = stats::pasted::PrintedAs(ShowNumber(value)).digits;
  if (typed < 3 || typed >= c.estimateDigits) return false;
  const std::string rounded = ShowNumber(c.estimate, typed);
  double back = 0;
  std::from_chars(rounded.data(), rounded.data() + rounded.size(), back);
  return back == value;
}

// Whether `term` is one of the parts of the product named `product` (joined by ':' or '#').
bool HasPart(std::string_view product, std::string_view term) {
  for (std::size_t b = 0; b <= product.size(); b = std::min(product.find_first_of(":#", b), product.size()) + 1) {
    const std::string_view part = product.substr(b, product.find_first_of(":#", b) - b);
    if (stats::WithoutOperators(part) == stats::WithoutOperators(term)) return true;
  }
  return false;
}
stats::WeightSlot::Kind Slot(Kind kind) {
  switch (kind) {
    case Kind::Constant: return stats::WeightSlot::Kind::Constant;
    case Kind::Main: return stats::WeightSlot::Kind::Main;
    case Kind::Product: return stats::WeightSlot::Kind::Product;
    case Kind::Held: return stats::WeightSlot::Kind::Held;
  }
  return stats::WeightSlot::Kind::Main;
}
bool IsProduct(std::string_view name) { return name.find_first_of(":#") != std::string_view::npos; }

// The pasted row of each coefficient: by name, else by place where the rows have no names and are as many.
std::vector<int> Rows(const std::vector<PastedCoefficient>& coefficients, const std::vector<std::string>& names,
                      std::size_t rows) {
  std::vector<int> out(coefficients.size(), -1);
  for (std::size_t k = 0; k < coefficients.size(); ++k) {
    const auto it = std::find(names.begin(), names.end(), coefficients[k].term);
    if (it != names.end()) out[k] = static_cast<int>(it - names.begin());
    if (names.empty() && coefficients.size() == rows) out[k] = static_cast<int>(k);
  }
  return out;
}

// The names of the rows of a product's parts, where each has a named row.
std::vector<std::string> PartNames(const std::vector<ModelWeight>& weights, const ModelWeight& product,
                                   const std::vector<RowOfWeight>& rows, const std::vector<std::string>& names) {
  std::vector<std::string> parts;
  for (int part : product.parts) {
    const int row = part >= 0 && static_cast<std::size_t>(part) < weights.size() ? rows[part].row : -1;
    if (row < 0 || static_cast<std::size_t>(row) >= names.size()) return {};
    parts.push_back(names[static_cast<std::size_t>(row)]);
  }
  return parts;
}

std::string Joined(const std::vector<std::string>& names, const char* last) {
  std::string out;
  for (std::size_t k = 0; k < names.size(); ++k)
    out += (k == 0 ? "" : k + 1 == names.size() ? last : ", ") + Tick(names[k]);
  return out;
}

// The rows by estimate: a coefficient that agrees with one weight only, and the only one that agrees with it.
void ByEstimate(const std::vector<ModelWeight>& weights, const Paste& paste, const std::vector<int>& termRows,
                std::vector<RowOfWeight>& rows) {
  auto agree = [&](std::size_t w, std::size_t k) {
    return rows[w].row < 0 && termRows[k] >= 0 && Agrees(weights[w].value, paste.coefficients[k]);
  };
  for (std::size_t w = 0; w < weights.size(); ++w) {
    std::vector<std::size_t> found;
    for (std::size_t k = 0; k < paste.coefficients.size(); ++k) {
      if (agree(w, k)) found.push_back(k);
    }
    std::size_t others = 0;
    for (std::size_t u = 0; found.size() == 1 && u < weights.size(); ++u) others += u != w && agree(u, found[0]);
    if (found.size() != 1 || others > 0) continue;
    const bool taken = std::any_of(rows.begin(), rows.end(), [&](auto& r) { return r.row == termRows[found[0]]; });
    if (!taken) rows[w] = {termRows[found[0]], Decided::Estimate};
  }
}

// A product on a row named the product of other terms than the rows of its parts, in words; empty when none is.
std::string ProductProblem(const std::vector<ModelWeight>& weights, const std::vector<RowOfWeight>& rows,
                           const std::vector<std::string>& names) {
  for (std::size_t w = 0; w < weights.size(); ++w) {
    const std::vector<std::string> parts = PartNames(weights, weights[w], rows, names);
    const int row = rows[w].row;
    if (weights[w].kind != Kind::Product || parts.empty() || row < 0) continue;
    if (static_cast<std::size_t>(row) >= names.size()) continue;
    const std::string& name = names[static_cast<std::size_t>(row)];
    if (IsProduct(name) && !stats::IsProductOf(name, parts))
      return "The " + weights[w].meaning + " is mapped to " + Tick(name) + ", but its parts are mapped to " +
             Joined(parts, " and ") + ": a product's row must be the product of its parts' rows.";
  }
  return {};
}

}  // namespace

const char* Words(Decided decided) {
  switch (decided) {
    case Decided::Model: return "model";
    case Decided::Estimate: return "estimate";
    case Decided::Name: return "name";
    case Decided::Place: return "place";
    case Decided::None: return "none";
  }
  return "none";
}

std::vector<int> RowsOfTerms(const std::vector<PastedCoefficient>& coefficients, const stats::PastedMatrix& m) {
  return Rows(coefficients, m.names, m.size);
}

Mapping Map(const std::vector<ModelWeight>& weights, const Paste& paste) {
  const std::size_t n = weights.size();
  Mapping m{std::vector<RowOfWeight>(n), {}};
  std::vector<bool> used(paste.rows, false);
  auto give = [&](std::size_t w, int row, Decided by) {
    if (row < 0 || static_cast<std::size_t>(row) >= paste.rows || used[static_cast<std::size_t>(row)]) return;
    if (m.rows[w].row >= 0) return;
    m.rows[w] = {row, by};
    used[static_cast<std::size_t>(row)] = true;
  };
  const std::vector<int> termRows = Rows(paste.coefficients, paste.names, paste.rows);
  for (std::size_t w = 0; w < n && w < paste.picks.size(); ++w) {
    const int k = paste.picks[w];
    if (k >= 0 && static_cast<std::size_t>(k) < termRows.size())
      give(w, termRows[static_cast<std::size_t>(k)], Decided::Model);
  }
  ByEstimate(weights, paste, termRows, m.rows);
  for (const RowOfWeight& r : m.rows) {
    if (r.row >= 0) used[static_cast<std::size_t>(r.row)] = true;
  }
  std::vector<stats::WeightSlot> slots;
  for (const ModelWeight& w : weights) slots.push_back({Slot(w.kind), w.parts});
  const std::vector<int> guess = stats::GuessMapping(slots, paste.names, paste.rows);
  for (std::size_t w = 0; w < n; ++w) {
    const int g = guess[w];
    const bool named = g >= 0 && static_cast<std::size_t>(g) < paste.names.size();
    if (weights[w].kind == Kind::Constant && named && stats::IsInterceptName(paste.names[static_cast<std::size_t>(g)]))
      give(w, g, Decided::Name);
  }
  for (std::size_t w = 0; w < n; ++w) {  // the main effects and held terms: the guess, else a row of their kind
    if (weights[w].kind != Kind::Main && weights[w].kind != Kind::Held) continue;
    give(w, guess[w], Decided::Place);
    for (std::size_t r = 0; r < paste.rows && m.rows[w].row < 0; ++r) {
      const std::string_view name = r < paste.names.size() ? std::string_view(paste.names[r]) : std::string_view();
      if (!IsProduct(name) && !stats::IsInterceptName(name)) give(w, static_cast<int>(r), Decided::Place);
    }
  }
  for (std::size_t w = 0; w < n; ++w) {  // a product named by its parts' rows
    const std::vector<std::string> parts = PartNames(weights, weights[w], m.rows, paste.names);
    for (std::size_t r = 0; weights[w].kind == Kind::Product && !parts.empty() && r < paste.names.size(); ++r) {
      if (stats::IsProductOf(paste.names[r], parts)) give(w, static_cast<int>(r), Decided::Name);
    }
  }
  for (std::size_t w = 0; w < n; ++w) give(w, guess[w], Decided::Place);
  for (std::size_t w = 0, r = 0; w < n; ++w) {
    while (r < paste.rows && used[r]) ++r;
    if (m.rows[w].row < 0 && r < paste.rows && (weights[w].kind != Kind::Constant || guess[w] >= 0))
      give(w, static_cast<int>(r), Decided::Place);
  }
  m.problem = ProductProblem(weights, m.rows, paste.names);
  return m;
}

std::string CheckStandardErrors(const std::vector<PastedCoefficient>& coefficients, const stats::PastedMatrix& m) {
  const std::vector<int> rows = Rows(coefficients, m.names, m.size);
  for (std::size_t k = 0; k < coefficients.size(); ++k) {
    const PastedCoefficient& c = coefficients[k];
    if (!c.se || rows[k] < 0) continue;
    const double root = std::sqrt(m.At(static_cast<std::size_t>(rows[k]), static_cast<std::size_t>(rows[k])));
    // V is printed to m.digits significant digits at least: √V to about half as many in relative terms.
    const double relative = m.digits > 0 ? 0.5 * std::pow(10.0, 1 - m.digits) : 0;
    const double tolerance = HalfUnit(*c.se, c.seDigits) + root * relative;
    if (!(std::fabs(root - *c.se) <= tolerance * (1 + 1e-9) + 1e-300))
      return "The SE of " + Tick(c.term) + " is " + ShowNumber(*c.se, 3) + " in the model, \u221aV gives " + ShowNumber(root, 3) +
             ": the matrix does not belong to this model.";
  }
  const bool found = std::any_of(rows.begin(), rows.end(), [](int r) { return r >= 0; });
  if (!found && !coefficients.empty() && !m.names.empty())
    return "None of the pasted terms names a row of the matrix: the matrix does not belong to this model.";
  return {};
}

std::string CheckDegrees(std::optional<double> df, std::optional<double> n, std::size_t weights) {
  if (!df || !n) return {};
  const double left = *n - static_cast<double>(weights);
  if (std::fabs(*df - left) < 0.5) return {};
  return "df is " + ShowNumber(*df) + ", but N = " + ShowNumber(*n) + " cases and " + std::to_string(weights) +
         " weights leave " + ShowNumber(left) + " residual df: check df and N, or leave one of them empty.";
}

double LevelPercent(double typed, std::string& note) {
  note.clear();
  if (!(typed > 0 && typed < 1)) return typed;
  const std::string percent = ShowNumber(typed * 100, 12);
  double value = 0;
  std::from_chars(percent.data(), percent.data() + percent.size(), value);
  note = ShowNumber(typed) + " is read as " + ShowNumber(value) + " %.";
  return value;
}

std::vector<int> DefaultPicks(const std::vector<ModelWeight>& weights, const std::vector<PastedCoefficient>& terms) {
  std::vector<std::pair<std::size_t, std::size_t>> mains, chosen;  // (products it is in, index)
  for (std::size_t w = 0; w < weights.size(); ++w) {
    if (weights[w].kind != Kind::Main) continue;
    std::size_t in = 0;
    for (const ModelWeight& p : weights) in += std::count(p.parts.begin(), p.parts.end(), static_cast<int>(w));
    mains.push_back({in, w});
  }
  for (std::size_t k = 0; k < terms.size(); ++k) {
    if (stats::IsInterceptName(terms[k].term) || IsProduct(terms[k].term)) continue;
    std::size_t in = 0;
    for (const PastedCoefficient& p : terms) in += IsProduct(p.term) && HasPart(p.term, terms[k].term);
    chosen.push_back({in, k});
  }
  auto more = [](auto& a, auto& b) { return a.first > b.first; };
  std::stable_sort(mains.begin(), mains.end(), more);
  std::stable_sort(chosen.begin(), chosen.end(), more);
  std::vector<int> picks(weights.size(), -1);
  for (std::size_t j = 0; j < mains.size() && j < chosen.size(); ++j)
    picks[mains[j].second] = static_cast<int>(chosen[j].second);
  return picks;
}

Picks ApplyPicks(const std::vector<ModelWeight>& weights, const std::vector<PastedCoefficient>& terms,
                 const std::vector<int>& mains) {
  Picks p{std::vector<int>(weights.size(), -1), {}, {}};
  std::vector<bool> used(terms.size(), false);
  auto name = [&](std::size_t w) { return weights[w].variable.empty() ? weights[w].meaning : weights[w].variable; };
  for (std::size_t w = 0; w < weights.size(); ++w) {
    const int k = w < mains.size() ? mains[w] : -1;
    if (weights[w].kind == Kind::Constant) {
      for (std::size_t t = 0; t < terms.size() && p.term[w] < 0; ++t) {
        if (stats::IsInterceptName(terms[t].term)) p.term[w] = static_cast<int>(t);
      }
    } else if (weights[w].kind == Kind::Main && (k < 0 || static_cast<std::size_t>(k) >= terms.size())) {
      p.faults.push_back("No pasted term is picked for " + name(w) + ".");
    } else if (weights[w].kind == Kind::Main && used[static_cast<std::size_t>(k)]) {
      p.faults.push_back(Tick(terms[static_cast<std::size_t>(k)].term) + " is picked twice: pick a term of its own " +
                         "for " + name(w) + ".");
    } else if (weights[w].kind == Kind::Main) {
      p.term[w] = k;
    }
    if (p.term[w] >= 0) used[static_cast<std::size_t>(p.term[w])] = true;
  }
  for (std::size_t w = 0; w < weights.size(); ++w) {
    if (weights[w].kind != Kind::Product) continue;
    // A product picked by hand (a name the parts do not make, as SPSS users
    // give them) is taken as picked.
    const int picked = w < mains.size() ? mains[w] : -1;
    if (picked >= 0 && static_cast<std::size_t>(picked) < terms.size() && !used[static_cast<std::size_t>(picked)]) {
      p.term[w] = picked;
      used[static_cast<std::size_t>(picked)] = true;
      continue;
    }
    std::vector<std::string> parts;
    for (int part : weights[w].parts) {
      const int k = part >= 0 && static_cast<std::size_t>(part) < weights.size() ? p.term[part] : -1;
      if (k >= 0) parts.push_back(terms[static_cast<std::size_t>(k)].term);
    }
    for (std::size_t t = 0; parts.size() == weights[w].parts.size() && t < terms.size() && p.term[w] < 0; ++t) {
      if (!used[t] && stats::IsProductOf(terms[t].term, parts)) p.term[w] = static_cast<int>(t);
    }
    if (p.term[w] >= 0) used[static_cast<std::size_t>(p.term[w])] = true;
    if (p.term[w] < 0 && parts.size() == weights[w].parts.size())
      p.faults.push_back("No pasted term is the product of " + Joined(parts, " and ") + ", for the " +
                         weights[w].meaning + ".");
  }
  for (std::size_t t = 0; t < terms.size(); ++t) {
    if (!used[t]) p.held.push_back(static_cast<int>(t));
  }
  for (std::size_t w = 0, j = 0; w < weights.size(); ++w) {
    if (weights[w].kind == Kind::Held && j < p.held.size()) p.term[w] = p.held[j++];
  }
  return p;
}

}  // namespace marvane::mapping
