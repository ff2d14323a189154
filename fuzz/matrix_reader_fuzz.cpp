// ReadPastedMatrix of arbitrary bytes, as a user may paste them into the
// covariance box, and the matrix written out and read back.
//
// Properties:
//   - the reading never crashes, never throws, and ends in one of two ways;
//   - a matrix: size * size cells, every one finite, exactly symmetric, no
//     negative number on the diagonal, names empty or one per row (none
//     empty, no two alike), a format word from the header's list, decimal
//     commas only for tab- or semicolon-separated text, digits counted, and
//     correlations told exactly where the diagonal is 1 and the rest within
//     [-1, 1];
//   - an error: a sentence (capital first, full stop last) that names a place
//     (a row, column, line or name, or Stata's header) or says the text is
//     empty or has no numbers;
//   - WriteMatrix of the matrix reads back as a tab-separated table with the
//     same numbers bit for bit and the same names ("row k" where it had none).

#include <cmath>
#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "stats/matrix_reader.h"

using namespace marvane::fuzz;
using namespace marvane::stats;

namespace {

bool Contains(std::string_view s, std::string_view part) { return s.find(part) != std::string_view::npos; }

bool NamesAPlace(std::string_view e) {
  return Contains(e, "ow ") || Contains(e, "olumn") || Contains(e, "line ") || Contains(e, "name") ||
         Contains(e, "Stata's header") || e == "The text is empty: paste a covariance matrix." ||
         e == "The text has no numbers." || e.rfind("The matrix is not square", 0) == 0;
}

void CheckMatrix(const PastedMatrix& m, const std::string& where) {
  static const std::set<std::string> formats = {"R's print",
                                                "R's write.csv",
                                                "R's write.csv2",
                                                "a tab-separated table",
                                                "a semicolon-separated table",
                                                "a comma-separated table",
                                                "Stata's matrix list",
                                                "SPSS's coefficient correlations",
                                                "bare numbers",
                                                "a bare lower triangle"};
  const std::size_t n = m.size;
  FUZZ_CHECK(n > 0, where);
  FUZZ_CHECK(m.cells.size() == n * n, where + ": " + std::to_string(m.cells.size()) + " cells for size " +
                                          std::to_string(n));
  FUZZ_CHECK(formats.count(m.format) == 1, where + ": format " + Quote(m.format));
  FUZZ_CHECK(!m.commaDecimals || m.format == "a tab-separated table" || m.format == "bare numbers" ||
                 m.format == "a bare lower triangle" || m.format == "SPSS's coefficient correlations" ||
                 m.format == "R's write.csv2" || m.format == "a semicolon-separated table",
             where + ": decimal commas in " + m.format);
  FUZZ_CHECK(m.digits >= 0, where + ": digits " + std::to_string(m.digits));
  bool unit = n > 1;
  for (std::size_t i = 0; i < n; ++i) {
    for (std::size_t j = 0; j < n; ++j) unit = unit && (i == j ? m.At(i, j) == 1 : std::fabs(m.At(i, j)) <= 1);
  }
  FUZZ_CHECK(m.looksLikeCorrelations == unit, where + ": correlations told wrong");
  FUZZ_CHECK(m.dropped.empty() || m.format == "Stata's matrix list", where + ": rows dropped from " + m.format);
  FUZZ_CHECK(m.names.empty() || m.names.size() == n, where + ": " + std::to_string(m.names.size()) + " names");
  std::set<std::string> seen;
  for (const std::string& name : m.names) {
    FUZZ_CHECK(!name.empty(), where + ": an empty name");
    FUZZ_CHECK(seen.insert(name).second, where + ": the name " + Quote(name) + " twice");
  }
  for (std::size_t i = 0; i < n; ++i) {
    FUZZ_CHECK(!(m.At(i, i) < 0), where + ": variance " + Show(m.At(i, i)) + " in row " + std::to_string(i + 1));
    for (std::size_t j = 0; j < n; ++j) {
      FUZZ_CHECK(std::isfinite(m.At(i, j)), where + ": cell " + Show(m.At(i, j)));
      FUZZ_CHECK(std::memcmp(&m.cells[i * n + j], &m.cells[j * n + i], sizeof(double)) == 0,
                 where + ": cells " + std::to_string(i + 1) + "," + std::to_string(j + 1) + " = " +
                     Show(m.At(i, j)) + " and " + Show(m.At(j, i)));
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const ReadResult r = ReadPastedMatrix(text);
  if (!r.ok) {
    const std::string& e = r.error;
    FUZZ_CHECK(!e.empty(), "no error for " + Quote(text));
    FUZZ_CHECK(e.back() == '.', Quote(e));
    FUZZ_CHECK(!(e.front() >= 'a' && e.front() <= 'z'), Quote(e));
    FUZZ_CHECK(NamesAPlace(e), Quote(e) + " for " + Quote(text));
    return 0;
  }
  CheckMatrix(r.matrix, Quote(text));

  const std::string written = WriteMatrix(r.matrix);
  const ReadResult back = ReadPastedMatrix(written);
  FUZZ_CHECK(back.ok, Quote(text) + " written as " + Quote(written) + " reads as: " + back.error);
  CheckMatrix(back.matrix, Quote(written));
  FUZZ_CHECK(back.matrix.format == "a tab-separated table", Quote(written) + " reads as " + back.matrix.format);
  FUZZ_CHECK(back.matrix.size == r.matrix.size, Quote(written));
  FUZZ_CHECK(std::memcmp(back.matrix.cells.data(), r.matrix.cells.data(), r.matrix.cells.size() * sizeof(double)) == 0,
             Quote(text) + " written as " + Quote(written) + " reads back to other numbers");
  for (std::size_t i = 0; i < r.matrix.size; ++i) {
    const std::string expected = r.matrix.names.empty() ? "row " + std::to_string(i + 1) : r.matrix.names[i];
    FUZZ_CHECK(back.matrix.names[i] == expected,
               Quote(written) + ": name " + Quote(back.matrix.names[i]) + ", expected " + Quote(expected));
  }
  return 0;
}
