#pragma once

// Which pasted row is which weight of the model, and how that was decided; the checks of a pasted matrix against the
// model (its SEs, df against N) and of the level typed; the picks of the Paste model window. Standard library, the
// probe's weights and the readers' results only.

#include <optional>
#include <string>
#include <vector>

#include "models/probe.h"
#include "stats/matrix_reader.h"
#include "stats/model_reader.h"

namespace marvane::mapping {

// How a weight's pasted row was decided, as the window's Mapping section says it.
enum class Decided {
  Model,     // "model": by the model pasted through Paste model (the picks made there)
  Estimate,  // "estimate": a pasted coefficient equals the weight the form computed with, to the digits printed
  Name,      // "name": by the names (the intercept's name; a product named by its parts' rows)
  Place,     // "place": by its place in the paste only, a guess the window marks
  None,      // "none": no row
};
const char* Words(Decided decided);

struct RowOfWeight {
  int row = -1;  // an index into the matrix's rows, -1 for none
  Decided by = Decided::None;
};

// What the mapping is made from.
struct Paste {
  std::vector<std::string> names;  // the matrix's row names (PastedMatrix::names), empty where it has none
  std::size_t rows = 0;            // the matrix's size
  // The coefficients pasted with it (in the covariance box or on Paste model); their terms find their rows by name,
  // or by place where the matrix has no names and as many rows.
  std::vector<stats::PastedCoefficient> coefficients;
  // By weight, the coefficient given to it on Paste model (see Picks::term), -1 for none; empty when there is none.
  std::vector<int> picks;
};

struct Mapping {
  std::vector<RowOfWeight> rows;  // by weight
  // A product on a row whose name is a product of other terms than the rows of its parts, in words; then the window
  // shows no tables. Empty when there is none.
  std::string problem;
};

// Decides each weight's row, in this order: the picks (Decided::Model); a coefficient whose estimate equals the
// weight's value to the digits printed (or, with at least 3 digits typed, to the digits of the value), one only and
// for this weight only (Decided::Estimate); the intercept's name, and for a product the row named the product of its
// parts' rows, in any order, with ':' or '#' (Decided::Name); what is left, by stats::GuessMapping's rules for the
// rest and finally in order (Decided::Place). No row goes to two weights.
// Example: `Ozone ~ Wind_c * Temp_c` pasted with its coefficients on Quant with X = Temp: X is `Temp_c` and Z is
// `Wind_c` by their estimates, XZ is `Wind_c:Temp_c` by its estimate; without coefficients X is `Wind_c` by place.
Mapping Map(const std::vector<ModelWeight>& weights, const Paste& paste);

// The row of the matrix for each coefficient (by name, or by place where the matrix has no names and as many rows),
// -1 for none.
std::vector<int> RowsOfTerms(const std::vector<stats::PastedCoefficient>& coefficients, const stats::PastedMatrix& m);

// With SEs pasted: √V of each term's row must equal the SE printed, to the digits printed (and those of V). Empty
// when they agree, else the first that differs: "The SE of `Temp_c` is 0.299 in the model, √V gives 0.653: the matrix
// does not belong to this model."; or, where the matrix has names and no term is among them, that it does not belong.
std::string CheckStandardErrors(const std::vector<stats::PastedCoefficient>& coefficients,
                                const stats::PastedMatrix& m);

// df and N both given: a model of `weights` weights fitted to N cases leaves N - weights residual df. Empty when they
// agree (or one is missing), else in words: "df is 110, but N = 116 cases and 4 weights leave 112: ...".
std::string CheckDegrees(std::optional<double> df, std::optional<double> n, std::size_t weights);

// The confidence level typed, as a number of percent: a proportion (0 < level < 1) as R users write it is read as
// percent, and `note` says so ("0.95 is read as 95 %."). 95 stays 95 with no note.
double LevelPercent(double typed, std::string& note);

// ---- The picks of the Paste model window ----------------------------------------------------------------------------
// The default picks for the form's main-effect weights (-1 for the other weights): the pasted main effects (the terms
// that are neither the intercept nor a product) in the paste's order, the ones in more products first, as the form's
// main effects in more products come first (Mixed3's X, in both X*DC1 and X*DC2, gets the term in two products).
std::vector<int> DefaultPicks(const std::vector<ModelWeight>& weights,
                              const std::vector<stats::PastedCoefficient>& terms);

struct Picks {
  std::vector<int> term;            // by weight: an index into the terms, -1 for none
  std::vector<int> held;            // every other term, in the paste's order (the held terms on Incomplete)
  std::vector<std::string> faults;  // in words: a product missing, a term picked twice, a weight without a term
};

// Every weight's term from the picks of the main effects (`mains`, by weight as DefaultPicks gives them): the constant
// takes the intercept; each product the term picked for it by hand (in `mains` too, where a product's name is not
// made of its parts' names, as SPSS users name them), else the term whose parts are its parts' terms, in any order,
// with ':' or '#' ("no pasted term is the product of `Temp_c` and `Wind_c`, for the weight of X*Z"); the held weights
// the other terms in the paste's order.
Picks ApplyPicks(const std::vector<ModelWeight>& weights, const std::vector<stats::PastedCoefficient>& terms,
                 const std::vector<int>& mains);

}  // namespace marvane::mapping
