#pragma once

// The significance tables, regions and crossings as texts: cells rounded to
// the nearest at the chosen number of decimals for the window, the
// clipboard's tab-separated sections in the canonical 15-digit number text,
// and report sentences. Standard library and the statistics only.

#include <functional>
#include <string>
#include <vector>

#include "stats/inference.h"
#include "stats/reference.h"
#include "stats/regions.h"

namespace marvane {

// v rounded to the nearest at `decimals` places, full stop as decimal point,
// whatever the locale; a value that rounds to zero has no minus sign:
// (0.74951, 3) -> "0.750", (-0.0004, 3) -> "0.000", (1234.5, 1) -> "1234.5".
std::string Fixed(double v, int decimals);

// A p value as a table shows it: "< .001" below 0.001, else rounded to the
// nearest at max(decimals, 3) places, so that a p value is never shown as
// 0.0 ("0.023", "1.000").
std::string PCell(double p, int decimals);

// A p value in a sentence: "p < .001", "p = .023" (three places, no leading
// zero).
std::string PPhrase(double p);

// The statistic's letter and its degrees of freedom as a report writes them:
// "t(96)", "z".
std::string StatName(const stats::Reference& r);

// The words for a row's state where it has no numbers ("needs a weight the
// matrix has no row for"); empty for Tested.
std::string StateWords(stats::Test::State s);

// The cells of a test row for the window, after the row's name: estimate,
// SE, t, df, p, (p Holm), lower, upper. Empty where the test does not give a
// number (a pair of identical lines has no statistic); words in the first
// cell where the row has no numbers at all.
std::vector<std::string> TestCells(const stats::Test& t, const stats::Reference& r, int decimals, bool holm);

// The header of a table, in the window and on the clipboard: its first
// column, estimate, SE, t (or z), df, p, (p Holm), lower, upper; of the
// predicted values: line, X, Y, SE, lower, upper.
std::vector<std::string> TableHeader(const stats::Table& t, const stats::Reference& r);

// The header of the regions (before a column of notes) and of the crossings.
std::vector<std::string> RegionsHeader();
std::vector<std::string> CrossingsHeader();

// A table as the clipboard's section: "title\nheader\nrows...", numbers in
// the canonical 15-digit text, without a trailing empty line; empty when
// none of its rows can be computed.
std::string Section(const stats::Table& t, const stats::Reference& r);

// Report sentences, one per computable row of every table with a letter
// (slopes, intercepts and both difference tables):
// "For 1 std above the mean of Z: b = 0.750, SE = 0.100, t(96) = 7.50,
//  p < .001, 95% CI [0.551, 0.949]".
std::vector<std::string> Sentences(const stats::Tables& t, const stats::Reference& r, int decimals);

// The cells of a region row after effect, along and held at: kind, bound 1,
// bound 2, bound 1 in SD, bound 2 in SD, each number written by `write`;
// empty where the kind has no such bound or the SD is not known.
std::vector<std::string> RegionCells(const stats::EffectRegion& e, const std::function<std::string(double)>& write);

// The cells of a crossing row after lines and X: SE, kind, lower, upper,
// each number written by `write`. Both ends for an interval and for the two
// rays outside one; a single ray has its one end in the cell of its side.
std::vector<std::string> CrossoverCells(const stats::Crossover& c, const std::function<std::string(double)>& write);

// What a reader should know of a region's bounds: one beyond the observed
// values of its variable, or more than 3 SD from its mean when none are
// typed; the critical value controlling the false-discovery rate. Empty
// when there is nothing to say.
std::string RegionNote(const stats::EffectRegion& e);

// The clipboard's regions section: "Regions of significance", the header,
// one row per effect that has a region (unused bound cells empty); a last
// column "note" where a row has a note.
std::string RegionsSection(const std::vector<stats::EffectRegion>& regions);

// The clipboard's crossovers section: "Crossovers", the header; `verdicts`
// by row.
std::string CrossoversSection(const std::vector<stats::Crossover>& crossovers,
                              const std::vector<stats::Verdict>& verdicts);

// A region in words: "The slope of X is significant (p < .05) for Z below
// −0.53 and above 3.21, that is below −0.27 SD and above 1.61 SD."
std::string RegionSentence(const stats::EffectRegion& region, const stats::Reference& r, int decimals);

// A crossing in words: "The lines cross at X = −2.00 (SE = 0.45), 95% CI
// [−3.10, −0.90] (Fieller), within ±1 SD of X: a disordinal interaction."
// `rangeWords` names the X range ("±1 SD of X", "X from -4 to 4").
std::string CrossoverSentence(const stats::Crossover& c, stats::Verdict v, const std::string& rangeWords,
                              const stats::Reference& r, int decimals);

}  // namespace marvane
