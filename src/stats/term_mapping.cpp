// Which pasted row is which weight: the guess the window offers before the
// user changes it.
//
//   1. The first name that reads as the intercept is the constant.
//   2. Products are the names joined by ':' (R) or '#' (Stata), and the names
//      that are other pasted names run together ("XZ" beside "X" and "Z", as
//      SPSS users name a product they computed; "x_z" too: only letters and
//      digits are compared, in either case).
//   3. The other names, in their order, are the main-effect weights in the
//      form's order.
//   4. Each product weight takes the product name whose parts are the names of
//      its main-effect weights. Parts are compared after Stata's prefixes are
//      taken off: c., i., o., co. entirely, the flags of a level (1b. is 1.);
//      when that finds none, the level too (2.f is f), if that finds exactly
//      one.
//   5. The names left over, in their order, go to the held terms, then to the
//      product weights still without a row.
// Without names (or when the names are not one per row), and when a full set
// of rows has neither an intercept name nor a product name among its names
// (names of the user's own, such as the form's boxes), the rows go by
// position in the form's order. When there is no intercept name and one row
// fewer than weights, the constant has no row and the rest go by the rules
// (or by position). A weight without a row gets -1; no row goes to two
// weights.

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "stats/term_mapping.h"

#include "stats/pasted_cells.h"

namespace marvane::stats {
namespace {

using pasted::Trim;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

using pasted::Lower;
bool IsLetterOrDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t k = 0; k < a.size(); ++k) {
    if (Lower(a[k]) != Lower(b[k])) return false;
  }
  return true;
}

bool IsProductName(std::string_view name) {
  return std::any_of(name.begin(), name.end(), [](char c) { return c == ':' || c == '#'; });
}

std::vector<std::string_view> SplitProduct(std::string_view name) {
  std::vector<std::string_view> parts;
  std::size_t b = 0;
  for (std::size_t k = 0; k <= name.size(); ++k) {
    if (k == name.size() || name[k] == ':' || name[k] == '#') {
      parts.push_back(Trim(name.substr(b, k - b)));
      b = k + 1;
    }
  }
  return parts;
}

// A name part without Stata's operators and the flags of its level: "c.x"
// -> "x", "1b.f" -> "1.f"; with `dropLevel` also the level: "2.f" -> "f".
std::string Key(std::string_view part, bool dropLevel) {
  part = WithoutOperators(part);
  const std::size_t dot = part.find('.');
  if (dot == std::string_view::npos || dot == 0 || dot + 1 >= part.size()) return std::string(part);
  const std::string_view prefix = part.substr(0, dot);
  std::size_t digits = 0;
  while (digits < prefix.size() && IsDigit(prefix[digits])) ++digits;
  const std::string_view flags = prefix.substr(digits);
  if (digits == 0 || flags.find_first_not_of("bno") != std::string_view::npos) return std::string(part);
  if (dropLevel) return std::string(part.substr(dot + 1));
  return std::string(prefix.substr(0, digits)) + std::string(part.substr(dot));
}

// Letters and digits only, in lower case: "X_Z" -> "xz".
std::string Squeezed(std::string_view name) {
  std::string out;
  for (char c : name) {
    if (IsLetterOrDigit(c)) out.push_back(Lower(c));
  }
  return out;
}

struct Name {
  bool intercept = false;
  bool product = false;
  std::vector<std::string_view> parts;  // a product's parts, as names (views into the names given)
};

// Whether `target` is the run-together of two or more of the candidates
// (each at most once); their indexes in `used` when it is. `budget` bounds
// the search (names such as "a", "aa", "aaa" could make it long): when it
// runs out, the answer is no.
bool SplitsInto(std::string_view target, const std::vector<std::string>& candidates, std::vector<char>& taken,
                std::vector<std::size_t>& used, int& budget) {
  if (target.empty()) return used.size() >= 2;
  if (--budget < 0) return false;
  for (std::size_t k = 0; k < candidates.size(); ++k) {
    const std::string& c = candidates[k];
    if (taken[k] || c.empty() || !target.starts_with(c)) continue;
    taken[k] = 1;
    used.push_back(k);
    if (SplitsInto(target.substr(c.size()), candidates, taken, used, budget)) return true;
    used.pop_back();
    taken[k] = 0;
  }
  return false;
}

std::vector<int> ByPosition(const std::vector<WeightSlot>& weights, std::size_t rows, bool skipConstant) {
  std::vector<int> map(weights.size(), -1);
  std::size_t next = 0;
  for (std::size_t w = 0; w < weights.size() && next < rows; ++w) {
    if (skipConstant && weights[w].kind == WeightSlot::Kind::Constant) continue;
    map[w] = static_cast<int>(next++);
  }
  return map;
}

// What each pasted name is (one name per row): the intercept, a product of other names (joined by ':' or '#', or
// run together from other pasted names), or a main effect or held term.
std::vector<Name> ReadNames(const std::vector<std::string>& names) {
  const std::size_t rows = names.size();
  std::vector<Name> pasted(rows);
  std::vector<std::string> squeezed(rows);  // empty for the intercept and products
  for (std::size_t r = 0; r < rows; ++r) {
    pasted[r].intercept = IsInterceptName(names[r]);
    pasted[r].product = !pasted[r].intercept && IsProductName(names[r]);
    if (pasted[r].product) pasted[r].parts = SplitProduct(names[r]);
    if (!pasted[r].intercept && !pasted[r].product) squeezed[r] = Squeezed(Key(names[r], false));
  }
  // Run-together names, only for as many names as a model of these forms has, and a few more. Two parts or more
  // take two letters at least.
  constexpr std::size_t kMostNamesToSplit = 64;
  for (std::size_t r = 0; r < rows && rows <= kMostNamesToSplit; ++r) {
    if (pasted[r].intercept || pasted[r].product || squeezed[r].size() < 2) continue;
    std::vector<char> taken(rows, 0);
    taken[r] = 1;  // a name is no part of itself
    std::vector<std::size_t> partsUsed;
    int budget = 10000;
    if (!SplitsInto(squeezed[r], squeezed, taken, partsUsed, budget)) continue;
    pasted[r].product = true;
    for (std::size_t k : partsUsed) pasted[r].parts.push_back(names[k]);
  }
  return pasted;
}

// The rows given to the weights so far.
struct Guess {
  std::vector<int> map;    // for each weight, its row or -1
  std::vector<bool> used;  // for each row, whether it is given (or goes nowhere)

  void Give(std::size_t w, std::size_t r) {
    map[w] = static_cast<int>(r);
    used[r] = true;
  }
};

// The parts of a product compared as keys, in sorted order.
std::vector<std::string> PartKeys(const std::vector<std::string_view>& parts, bool dropLevel) {
  std::vector<std::string> keys;
  for (const std::string_view p : parts) keys.push_back(Key(p, dropLevel));
  std::sort(keys.begin(), keys.end());
  return keys;
}

// Each product weight takes the product name whose parts are the names of its main-effect weights; without the
// level when the full keys find none, if that finds exactly one.
void GiveProducts(const std::vector<WeightSlot>& weights, const std::vector<std::string>& names,
                  const std::vector<Name>& pasted, Guess& g) {
  for (std::size_t w = 0; w < weights.size(); ++w) {
    if (weights[w].kind != WeightSlot::Kind::Product || weights[w].parts.empty()) continue;
    std::vector<std::string_view> partNames;
    for (int part : weights[w].parts) {
      const auto k = static_cast<std::size_t>(part);
      if (part < 0 || k >= weights.size() || g.map[k] < 0) break;  // a part without a row
      partNames.push_back(names[static_cast<std::size_t>(g.map[k])]);
    }
    if (partNames.size() != weights[w].parts.size()) continue;
    for (bool dropLevel : {false, true}) {
      const std::vector<std::string> wanted = PartKeys(partNames, dropLevel);
      std::vector<std::size_t> found;
      for (std::size_t r = 0; r < names.size(); ++r) {
        if (!g.used[r] && pasted[r].product && PartKeys(pasted[r].parts, dropLevel) == wanted) found.push_back(r);
      }
      if (found.empty() || (dropLevel && found.size() != 1)) continue;
      g.Give(w, found[0]);
      break;
    }
  }
}

}  // namespace

std::string_view WithoutOperators(std::string_view name) {
  name = Trim(name);
  for (;;) {
    const std::size_t dot = name.find('.');
    if (dot == std::string_view::npos || dot + 1 >= name.size()) return name;
    const std::string_view prefix = name.substr(0, dot);
    if (prefix != "c" && prefix != "i" && prefix != "o" && prefix != "co") return name;
    name.remove_prefix(dot + 1);
  }
}

bool IsInterceptName(std::string_view name) {
  using namespace std::string_view_literals;
  static constexpr std::string_view kKnown[] = {"(Intercept)"sv, "Intercept"sv, "_cons"sv,
                                                "const"sv,       "Constant"sv,  "(Constant)"sv};
  name = Trim(name);
  for (const std::string_view known : kKnown) {
    if (EqualsIgnoringCase(name, known)) return true;
  }
  return false;
}

bool IsProductOf(std::string_view name, const std::vector<std::string>& parts) {
  const std::vector<std::string_view> named = SplitProduct(name), wanted(parts.begin(), parts.end());
  const std::vector<std::string> keys = PartKeys(wanted, false);
  return IsProductName(name) && (PartKeys(named, false) == keys || PartKeys(named, true) == keys);
}

std::vector<int> GuessMapping(const std::vector<WeightSlot>& weights, const std::vector<std::string>& names,
                              std::size_t rows) {
  using K = WeightSlot::Kind;
  const std::size_t count = weights.size();
  const bool hasConstant =
      std::any_of(weights.begin(), weights.end(), [](const WeightSlot& w) { return w.kind == K::Constant; });
  const bool hasIntercept =
      std::any_of(names.begin(), names.end(), [](const std::string& n) { return IsInterceptName(n); });
  const bool oneShort = hasConstant && !hasIntercept && rows + 1 == count;
  if (names.empty() || names.size() != rows) return ByPosition(weights, rows, oneShort);

  const std::vector<Name> pasted = ReadNames(names);
  const bool informative =
      std::any_of(pasted.begin(), pasted.end(), [](const Name& n) { return n.intercept || n.product; });
  if (!informative && rows == count) return ByPosition(weights, rows, false);

  Guess g{std::vector<int>(count, -1), std::vector<bool>(rows, false)};
  // 1. The constant takes the first intercept name; a second intercept name goes nowhere.
  const auto constant =
      std::find_if(weights.begin(), weights.end(), [](const WeightSlot& w) { return w.kind == K::Constant; });
  const auto intercept = std::find_if(pasted.begin(), pasted.end(), [](const Name& n) { return n.intercept; });
  if (constant != weights.end() && intercept != pasted.end()) {
    g.Give(static_cast<std::size_t>(constant - weights.begin()), static_cast<std::size_t>(intercept - pasted.begin()));
  }
  for (std::size_t r = 0; r < rows; ++r) {
    if (pasted[r].intercept) g.used[r] = true;
  }
  // 2. Main effects in order take the names that are no products.
  for (std::size_t w = 0, r = 0; w < count; ++w) {
    if (weights[w].kind != K::Main) continue;
    while (r < rows && (g.used[r] || pasted[r].product)) ++r;
    if (r >= rows) break;
    g.Give(w, r);
  }
  // 3. Products by their parts.
  GiveProducts(weights, names, pasted, g);
  // 4. The rest: held terms first, then products without a row.
  for (K kind : {K::Held, K::Product}) {
    for (std::size_t w = 0, r = 0; w < count; ++w) {
      if (weights[w].kind != kind || g.map[w] >= 0) continue;
      while (r < rows && g.used[r]) ++r;
      if (r >= rows) break;
      g.Give(w, r);
    }
  }
  return g.map;
}

}  // namespace marvane::stats
