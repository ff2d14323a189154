#pragma once

// What the plot window shows, made in one step from what it holds.
//
// How one keystroke travels to the three tabs:
//   1. A box of the plot window changes: the pasted matrix, a choice of which
//      pasted row is which weight, df, N, level, decimals, the X range, the
//      bands, the region figure's effect or range.
//   2. The window gathers what its tabs hold, as the user typed it, into one
//      AnalysisInput, beside the probe of the form's last Compute without a
//      fault.
//   3. Analyse() reads the paste, maps its rows to the weights, finds the
//      reference distribution, tests every line and pair, finds the regions
//      and the crossings, describes both figures and puts every status into
//      words: one Analysis value. No Qt, no widgets.
//   4. Each tab renders its part of that value and nothing else; no tab
//      reads another.
// An edit that changes no number (a title, a legend name, the style, the
// size) skips step 3: the figure tab dresses the same figure with the new
// labels and repaints it.
//
// Standard library, the statistics and the figure description only.

#include <optional>
#include <string>
#include <vector>

#include "analysis/lines.h"
#include "figure/figure.h"
#include "models/probe.h"
#include "stats/inference.h"
#include "stats/model_reader.h"
#include "stats/reference.h"
#include "stats/regions.h"

namespace marvane {

// Which pasted row holds each weight, for the pasted rows it was made for,
// and how each was decided: "model" (the model pasted on the form),
// "estimate" (a pasted coefficient equal to the weight), "name", "place" (a
// guess), "you" (chosen in the window) or "none".
struct MappingChoice {
  std::vector<std::string> rows;  // the pasted row names, or "row k" where the paste has none
  std::vector<int> rowOf;         // by weight: an index into `rows`, or -1 for none
  std::vector<std::string> decided = {};  // by weight
  bool operator==(const MappingChoice&) const = default;
};

// Whether a row was taken by its place in the paste alone: a guess the
// window marks and the report says to check.
inline bool IsGuess(const std::string& decided) { return decided == "place"; }

// How a row was decided, as the window and the report show it: a guess by
// place says so.
inline std::string DecidedWords(const std::string& decided) {
  return IsGuess(decided) ? "place: a guess, check it" : decided;
}

// What the plot window holds, as typed.
struct AnalysisInput {
  std::string pasted;                    // the covariance box: a matrix, with the coefficients or not
  std::optional<MappingChoice> mapping;  // the choices shown; none before the first paste
  // The model pasted on the form (Paste model): its coefficients and, by
  // weight, the one picked for it (-1 for none).
  std::vector<stats::PastedCoefficient> modelCoefficients = {};
  std::vector<int> modelPicks = {};
  std::string df, sampleSize, level = "95";
  int decimals = 3;
  figure::Range range = figure::Range::OneSd;
  std::string xFrom, xTo;  // the typed X range
  bool bands = false;
  int regionEffect = 0;  // an index into the probe's effects
  bool regionTyped = false;
  std::string regionFrom, regionTo;
  // The lines shown: the form's, or at moderator values chosen; the means.
  LineChoices lines;
  // The values of the region figure's variable and of X observed in the
  // data, when typed; the regions along that variable then control the
  // false-discovery rate over them when `fdr` is set.
  std::string observedFrom, observedTo, observedXFrom, observedXTo;
  bool fdr = false;
  // A later Compute of the form faulted: the figure is not up to date.
  bool stale = false;
  std::string staleMessage;
};

// A line of words, and whether it tells a problem.
struct StatusText {
  std::string text;
  bool problem = false;
};

// A table as a tab shows it: every cell already written.
struct ShownTable {
  std::string id;     // the table's name in the window: "slopes"
  std::string title;  // "Simple slopes"
  std::vector<std::string> header;
  std::vector<std::vector<std::string>> rows;
  int firstNumber = 1;  // cells from this column on are numbers (aligned right)
};

struct Analysis {
  // The lines analysed: the form's probe as the window shows it.
  Probe probe;

  // --- The significance tab
  // What each mapping box offers (before "none"), and what it shows.
  std::vector<std::string> rowChoices;
  MappingChoice mapping;
  // The matrix, the mapping, df and level all read: the tables hold.
  bool ready = false;
  stats::Reference reference;
  stats::WeightCovariance covariance;
  stats::Tables tables;
  std::vector<ShownTable> significanceTables;  // in the order of the tables, empty rows when not ready
  std::string tablesNote;
  StatusText covarianceStatus;

  // --- The regions tab
  std::vector<stats::EffectRegion> regions;
  std::vector<stats::Crossover> crossings;
  std::vector<stats::Verdict> verdicts;  // by crossing, against the lines figure's X range
  // The X range the crossings are judged against (the observed values of X
  // when typed), when there is one.
  bool verdictRangeKnown = false;
  double verdictFrom = 0, verdictTo = 0;
  // The regions were asked to control the false-discovery rate.
  bool fdr = false;
  ShownTable regionsTable, crossingsTable;
  std::string regionsText, crossingsText;
  std::vector<std::string> effectNames;  // the region figure's choices
  figure::Figure regionFigure;
  StatusText regionStatus;
  // The region range's boxes, where they are empty: +-2 SD of the first effect.
  std::string regionFromDefault, regionToDefault;

  // --- The figure tab
  figure::Figure lines;  // with the lines' own names and the default titles
  std::string xTitle = "X";  // the X title where none is typed: the name the paste gives X
  StatusText notice;
  std::string xFromDefault, xToDefault;  // the typed X range's boxes, where empty: +-2 SD of X

  // --- The clipboard
  std::string mappingSection;  // "Mapping": each weight's pasted row and how it was decided
  std::string sections;        // every table's section after the lines, each after an empty line
  // The report sentences, one per line: of the significance tab, of the
  // regions tab, and both.
  std::string significanceSentences, regionSentences, sentences;
};

// How many values of the variable the false-discovery rate is controlled over.
inline constexpr int kFdrPoints = 100;

// Everything the three tabs show, from the probe and the window's inputs.
Analysis Analyse(const Probe& probe, const AnalysisInput& in);

// The clipboard's first section: the simple-effect lines, named by `legend`
// where a name is given, in 15-digit number text.
std::string LinesSection(const Probe& probe, const std::vector<std::string>& legend);

// The figure with the user's titles, legend names and look: none of them
// changes a number. An empty legend name keeps the line's own; without the
// crossing, neither the bracket of its interval nor the ring where all
// lines meet is drawn.
struct FigureLabels {
  std::string xTitle = "X", yTitle = "Y";
  std::vector<std::string> names;
  figure::BandStyle bandStyle = figure::BandStyle::Filled;
  bool showCrossing = true;
};
figure::Figure Dressed(figure::Figure f, const FigureLabels& labels);

}  // namespace marvane
