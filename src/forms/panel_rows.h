#pragma once

// The result panels of the model forms share one shape: line rows
// (heading, "b=", slope, "a=", intercept) and point rows (heading, X1, ",", Y1,
// "and", X2, ",", Y2). These helpers add one such row to a design; each
// form's design file gives the columns and captions as its layout has them.

#include <string>

#include "forms/form_design.h"

namespace marvane::forms {

struct RowHeading {
  std::string caption;
  int left = 0;
  int width = 0;
  int height = 375;
};

struct LineColumns {
  int bLeft = 0;          // "b="
  int slopeLeft = 0;
  int aLeft = 0;          // "a="
  int interceptLeft = 0;
  int slopeWidth = 1095;
  int interceptWidth = 1455;
  int signWidth = 375;    // width of "b=" and "a="
};

// Which p-label digit shows which column of a point row. Most forms number
// them X1 2, "," 7, Y1 3, "and" 4, X2 5, "," 8, Y2 6; the three-predictor form
// numbers them left to right.
struct PointDigits {
  int x1 = 2, comma1 = 7, y1 = 3, andWord = 4, x2 = 5, comma2 = 8, y2 = 6;
};

struct PointColumns {
  int x1Left = 0;
  int comma1Left = 0;
  int y1Left = 0;
  int andLeft = 0;
  int x2Left = 0;
  int comma2Left = 0;
  int y2Left = 0;
  int x1Width = 1215;
  int y1Width = 1095;
  int andWidth = 615;
  int x2Width = 1095;
  int y2Width = 1095;
  bool alignXRight = false;  // X1 and X2 right-aligned
  PointDigits digits = {};
};

// Adds se<k>1 .. se<k>5 at `top`.
void AddLineRow(FormDesign& d, int k, const RowHeading& heading, int top, const LineColumns& c);

// Adds p<k>1 .. p<k>8 at `top` ("and" stands 120 twips lower).
void AddPointRow(FormDesign& d, int k, const RowHeading& heading, int top, const PointColumns& c);

// Adds a panel label (hidden at load) with a fixed caption.
void AddPanelLabel(FormDesign& d, std::string name, std::string caption, int left, int top,
                   int width, int height, double pointSize, bool bold);

// The section headings "Simple effect regression models" (`se`, 12 pt bold)
// and "Plotting points" (`p`, 13.5 pt regular).
void AddLinesHeading(FormDesign& d, int left, int top, int width = 4455, int height = 495);
void AddPointsHeading(FormDesign& d, int left, int top, int width = 1935, int height = 375);

}  // namespace marvane::forms
