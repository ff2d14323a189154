#include "stats/inference.h"

namespace marvane::stats {

double Covariance(const std::vector<double>& a, const std::vector<double>& b, const WeightCovariance& v) {
  double sum = 0;
  for (std::size_t i = 0; i < a.size() && i < v.size; ++i) {
    if (a[i] == 0) continue;
    for (std::size_t j = 0; j < b.size() && j < v.size; ++j) {
      if (b[j] != 0) sum += a[i] * v.At(i, j) * b[j];
    }
  }
  return sum;
}

bool Computable(const std::vector<double>& c, const WeightCovariance& v) {
  for (std::size_t i = 0; i < c.size(); ++i) {
    if (c[i] != 0 && (i >= v.known.size() || !v.known[i])) return false;
  }
  return true;
}

}  // namespace marvane::stats
