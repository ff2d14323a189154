#pragma once

// The lines the plot window shows: the form's own, or the family of lines at
// moderator values the user chose (mean +- k SD, or typed values), with the
// predictors' means where the user typed them. Every line stays a linear
// combination of the weights, so the tables, bands, regions and crossings
// follow the lines shown. Standard library and the models only.

#include <string>
#include <vector>

#include "models/probe.h"

namespace marvane {

enum class ModeratorChoice { AsOnForm, MeanSd, Typed };

// The choices as typed in the plot window.
struct LineChoices {
  ModeratorChoice moderators = ModeratorChoice::AsOnForm;
  std::string sdMultiple = "1";
  // Z's and V's values, comma- or blank-separated, one to eight of each; on
  // a form with two moderators the lines are every combination, at most 16.
  std::string values, valuesV;
  std::string meanX, meanZ, meanV;
  // The pasted name of each weight's row ("" where none): the lines, the
  // effects and X are then named after the variables as fitted.
  std::vector<std::string> weightNames = {};
};

struct ShownLines {
  Probe probe;  // the form's probe with the lines, effects and means shown
  // Why the choices could not be followed (the form's lines are shown then),
  // in words; empty when they were.
  std::string problem;
  // A word on means, when typed.
  std::string note;
  // The X title where none is typed: the pasted name of X, or "X".
  std::string xTitle = "X";
};

// A pasted name as a variable's: without Stata's c., i. and o. prefixes.
std::string VariableName(const std::string& pasted);
// A dummy code's pasted name as its variable and level: "suppVC" -> supp,
// VC; "Diet2" -> Diet, 2; "1.mbsmoke" -> mbsmoke, 1. The level is empty
// when the name gives none.
std::pair<std::string, std::string> VariableAndLevel(const std::string& pasted);

ShownLines ShowLines(const Probe& form, const LineChoices& choices);

// Up to `most` numbers in a text, separated by commas or blanks; nothing
// when a part is no number or there are none or too many.
std::vector<double> ReadValues(const std::string& text, std::size_t most);

}  // namespace marvane
