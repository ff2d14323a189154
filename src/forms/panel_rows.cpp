#include "forms/panel_rows.h"

#include <utility>

namespace marvane::forms {
namespace {

constexpr double kValuePt = 13.5;
constexpr double kHeadingPt = 12;

std::string RowName(const char* prefix, int k, int column) {
  return prefix + std::to_string(k) + std::to_string(column);
}

// "For 1 std above the mean of Z,   plot" -> "for 1 std above the mean of Z":
// the row heading as it reads inside a value's name.
std::string RowWords(std::string heading) {
  if (const auto comma = heading.find(','); comma != std::string::npos) heading.erase(comma);
  while (!heading.empty() && heading.back() == ' ') heading.pop_back();
  if (!heading.empty() && heading[0] >= 'A' && heading[0] <= 'Z') heading[0] = static_cast<char>(heading[0] - 'A' + 'a');
  return heading;
}

// Names the value label just added after what it shows.
void Mean(FormDesign& d, std::string what, const RowHeading& h) {
  d.controls.back().meaning = std::move(what) + ", " + RowWords(h.caption);
}

}  // namespace

void AddPanelLabel(FormDesign& d, std::string name, std::string caption, int left, int top,
                   int width, int height, double pointSize, bool bold) {
  Control c = MakeLabel(std::move(name), std::move(caption), left, top, width, height, pointSize, bold);
  c.role = Role::Panel;
  d.controls.push_back(std::move(c));
}

void AddLineRow(FormDesign& d, int k, const RowHeading& h, int top, const LineColumns& c) {
  AddPanelLabel(d, RowName("se", k, 1), h.caption, h.left, top, h.width, h.height, kHeadingPt, true);
  AddPanelLabel(d, RowName("se", k, 2), "b=", c.bLeft, top, c.signWidth, 375, kValuePt, false);
  AddPanelLabel(d, RowName("se", k, 3), "", c.slopeLeft, top, c.slopeWidth, 375, kValuePt, true);
  Mean(d, "slope", h);
  AddPanelLabel(d, RowName("se", k, 4), "a=", c.aLeft, top, c.signWidth, 375, kValuePt, false);
  AddPanelLabel(d, RowName("se", k, 5), "", c.interceptLeft, top, c.interceptWidth, 375, kValuePt, true);
  Mean(d, "intercept", h);
}

void AddPointRow(FormDesign& d, int k, const RowHeading& h, int top, const PointColumns& c) {
  const PointDigits& n = c.digits;
  AddPanelLabel(d, RowName("p", k, 1), h.caption, h.left, top, h.width, h.height, kHeadingPt, true);
  AddPanelLabel(d, RowName("p", k, n.x1), "", c.x1Left, top, c.x1Width, 375, kValuePt, true);
  Mean(d, "X of the first plotting point", h);
  AddPanelLabel(d, RowName("p", k, n.comma1), ",", c.comma1Left, top, 255, 375, kValuePt, true);
  AddPanelLabel(d, RowName("p", k, n.y1), "", c.y1Left, top, c.y1Width, 375, kValuePt, true);
  Mean(d, "Y of the first plotting point", h);
  AddPanelLabel(d, RowName("p", k, n.andWord), "and", c.andLeft, top + 120, c.andWidth, 375, kHeadingPt, true);
  AddPanelLabel(d, RowName("p", k, n.x2), "", c.x2Left, top, c.x2Width, 375, kValuePt, true);
  Mean(d, "X of the second plotting point", h);
  AddPanelLabel(d, RowName("p", k, n.comma2), ",", c.comma2Left, top, 255, 375, kValuePt, true);
  AddPanelLabel(d, RowName("p", k, n.y2), "", c.y2Left, top, c.y2Width, 375, kValuePt, true);
  Mean(d, "Y of the second plotting point", h);
  if (c.alignXRight) {
    for (Control& ctl : d.controls) {
      if (ctl.name == RowName("p", k, n.x1) || ctl.name == RowName("p", k, n.x2)) ctl.align = Align::Right;
    }
  }
}

void AddLinesHeading(FormDesign& d, int left, int top, int width, int height) {
  AddPanelLabel(d, "se", "Simple effect regression models", left, top, width, height, kHeadingPt, true);
}

void AddPointsHeading(FormDesign& d, int left, int top, int width, int height) {
  AddPanelLabel(d, "p", "Plotting points", left, top, width, height, kValuePt, false);
}

}  // namespace marvane::forms
