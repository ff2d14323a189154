// ReadPastedModel of arbitrary bytes, as a user may paste them into the Paste
// model window or the covariance box.
//
// Properties:
//   - the reading never crashes, never throws, and ends in one of two ways;
//   - a model: at least one coefficient, each with a name of its own (none
//     empty, none twice), a finite estimate and, where printed, a finite
//     standard error, digits counted for each (none where the text has no
//     significant digit, as for a zero); no SEs from coef(fit); a format word
//     from the header's list; df, where read, finite; the matrix, where one
//     was pasted, size * size finite cells, exactly symmetric, with no
//     negative variance;
//   - an error: a sentence (capital first, full stop last) that names a line,
//     a term or the matrix pasted with the coefficients, or says what to paste.

#include <cmath>
#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "stats/model_reader.h"

using namespace marvane::fuzz;
using namespace marvane::stats;

namespace {

bool Contains(std::string_view s, std::string_view part) { return s.find(part) != std::string_view::npos; }

void CheckModel(const PastedModel& m, const std::string& where) {
  static const std::set<std::string> formats = {"R's summary",     "R's coef(summary(fit))", "R's coef(fit)",
                                                "a table of coefficients", "Stata's regress", "SPSS's coefficients"};
  FUZZ_CHECK(formats.count(m.format) == 1, where + ": format " + Quote(m.format));
  FUZZ_CHECK(!m.coefficients.empty(), where + ": no coefficients");
  std::set<std::string> seen;
  for (const PastedCoefficient& c : m.coefficients) {
    FUZZ_CHECK(!c.term.empty(), where + ": an empty term");
    FUZZ_CHECK(seen.insert(c.term).second, where + ": the term " + Quote(c.term) + " twice");
    FUZZ_CHECK(std::isfinite(c.estimate), where + ": estimate " + Show(c.estimate));
    FUZZ_CHECK(c.estimateDigits >= 0 && (c.estimateDigits > 0 || c.estimate == 0), where + ": digits of " + c.term);
    FUZZ_CHECK(!c.se || std::isfinite(*c.se), where + ": SE of " + c.term);
    FUZZ_CHECK(!c.se || c.seDigits > 0 || *c.se == 0, where + ": SE digits of " + c.term);
    FUZZ_CHECK(!c.se || m.format != "R's coef(fit)", where + ": an SE from coef(fit)");
  }
  FUZZ_CHECK(!m.df || std::isfinite(*m.df), where + ": df");
  if (!m.matrix) return;
  const PastedMatrix& v = *m.matrix;
  FUZZ_CHECK(v.size > 0 && v.cells.size() == v.size * v.size, where + ": matrix of size " + std::to_string(v.size));
  for (std::size_t i = 0; i < v.size; ++i) {
    FUZZ_CHECK(!(v.At(i, i) < 0), where + ": a negative variance");
    for (std::size_t j = 0; j < v.size; ++j) {
      FUZZ_CHECK(std::isfinite(v.At(i, j)), where + ": cell " + Show(v.At(i, j)));
      FUZZ_CHECK(std::memcmp(&v.cells[i * v.size + j], &v.cells[j * v.size + i], sizeof(double)) == 0,
                 where + ": an asymmetric pair");
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const ModelReadResult r = ReadPastedModel(text);
  if (r.ok) {
    CheckModel(r.model, Quote(text));
    return 0;
  }
  const std::string& e = r.error;
  FUZZ_CHECK(!e.empty() && e.back() == '.', Quote(e));
  FUZZ_CHECK(!(e.front() >= 'a' && e.front() <= 'z'), Quote(e));
  FUZZ_CHECK(Contains(e, "Line ") || Contains(e, "line ") || Contains(e, "The term ") ||
                 e.rfind("The coefficients were read, but not the matrix", 0) == 0 ||
                 e.rfind("No coefficients were found: paste", 0) == 0 || Contains(e, "too large"),
             Quote(e) + " for " + Quote(text));
  return 0;
}
