#pragma once

// The reference distribution of every test and interval: Student's t with the
// residual degrees of freedom of the fit, or the standard normal when no df
// is known. Standard library and Boost.Math only.

#include <string>

namespace marvane::stats {

struct Reference {
  bool normal = true;   // the standard normal; else Student's t with `df`
  double df = 0;        // > 0 when !normal
  double level = 0.95;  // the confidence level, in (0, 1)

  bool operator==(const Reference&) const = default;
};

// The two-sided critical value: the quantile at 1 - (1 - level) / 2.
double Critical(const Reference& r);

// The confidence level in words, the one text of it in tables, sentences and
// figures: 0.95 -> "95%", 0.999 -> "99.9%", 0.98765 -> "98.765%".
std::string LevelText(double level);
// The two-sided alpha of a level as reports write it: 0.95 -> ".05".
std::string AlphaText(double level);

// The two-sided p value of a statistic: 2 * P(T > |stat|), from the upper
// tail itself, so p values far below 1e-16 keep their digits. Finite, in
// [0, 1], for every finite stat; 0 for infinite ones.
double TwoSidedP(double stat, const Reference& r);

}  // namespace marvane::stats
