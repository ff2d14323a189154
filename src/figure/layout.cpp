#include "figure/layout.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace marvane::figure {
namespace {

bool Finite(double x) { return std::isfinite(x); }

// The words of `text`, between its blanks.
std::vector<std::string> Words(const std::string& text) {
  std::vector<std::string> words;
  std::string word;
  for (char c : text + ' ') {
    if (c != ' ') {
      word += c;
    } else if (!word.empty()) {
      words.push_back(word);
      word.clear();
    }
  }
  return words;
}

std::vector<Tick> GoOn(std::vector<Tick> ticks, double low, double high);

// The legend may take this share of the figure's height below the plot.
constexpr double kBelowShare = 1.0 / 5;
// A legend below that leaves the plot less of the figure's area than this
// goes inside the plot instead, where it covers nothing there.
constexpr double kBelowArea = 0.5;
// A legend moved inside a corner leaves the data at least this share of
// the data area's height.
constexpr double kInsideShare = 0.6;
// A legend to the right leaves the plot at least this share of the width.
constexpr double kRightShare = 0.5;
// The space between the legend's rows, and around a legend in the plot.
constexpr double kRowGap = 1;
constexpr double kClear = 2;

// The type the layout sets its text in, measured once.
struct Type {
  Type(double s, const TextMeasure& m)
      : size(s), ascent(m.Ascent(s)), descent(m.Descent(s)), line(ascent + descent), measure(m) {}
  double size, ascent, descent, line;
  const TextMeasure& measure;
  double Width(const std::string& text) const { return measure.Width(text, size); }
};

struct Entry {
  EntryKind kind;
  std::size_t line;
  std::string name;
};

// The legend's entries: the lines, then the band and the shaded intervals
// where they are named.
std::vector<Entry> Entries(const Figure& f) {
  std::vector<Entry> out;
  for (std::size_t i = 0; i < f.lines.size(); ++i) out.push_back({EntryKind::Line, i, f.lines[i].name});
  if (!f.bandLegend.empty() && !f.bands.empty()) out.push_back({EntryKind::Band, 0, f.bandLegend});
  if (!f.spanLegend.empty()) out.push_back({EntryKind::Span, 0, f.spanLegend});
  if (!f.unobservedLegend.empty() && !f.unobserved.empty()) {
    out.push_back({EntryKind::Unobserved, 0, f.unobservedLegend});
  }
  return out;
}

// The legend's entries with their names wrapped to `nameWidth`, in as many
// columns of one width as `width` holds, up to `maxColumns`, row by row.
struct LegendSet {
  std::vector<Entry> entries;
  std::vector<std::vector<std::string>> names;
  double entryWidth = 0;  // the widest sample with its name
  int columns = 1;
  std::vector<double> rowHeights;
  double Width() const { return columns * entryWidth + (columns - 1) * kEntryGap; }
  double Height() const {
    double h = 0;
    for (double r : rowHeights) h += r;
    return h;
  }
};

LegendSet SetLegend(const std::vector<Entry>& entries, double nameWidth, double width, int maxColumns,
                    const Type& t) {
  LegendSet s;
  s.entries = entries;
  double widest = 0;
  for (const Entry& e : entries) {
    std::vector<std::string> lines = Wrap(e.name, nameWidth, t.size, t.measure);
    if (lines.empty()) lines.emplace_back();
    for (const std::string& line : lines) widest = std::max(widest, t.Width(line));
    s.names.push_back(std::move(lines));
  }
  s.entryWidth = kSample + kSampleGap + widest;
  const int n = static_cast<int>(entries.size());
  const int fit = static_cast<int>((width + kEntryGap) / (s.entryWidth + kEntryGap));
  s.columns = std::clamp(fit, 1, std::max(1, std::min(n, maxColumns)));
  // As few rows as those columns need, filled as evenly as they allow.
  const int rows = (n + s.columns - 1) / s.columns;
  s.columns = std::max(1, (n + rows - 1) / std::max(1, rows));
  for (int i = 0; i < n; i += s.columns) {
    std::size_t most = 1;
    for (int j = i; j < std::min(n, i + s.columns); ++j) {
      most = std::max(most, s.names[static_cast<std::size_t>(j)].size());
    }
    s.rowHeights.push_back(static_cast<double>(most) * t.line + kRowGap);
  }
  return s;
}

// The entries of `s` set from (left, top), row by row.
void SetEntries(LegendLayout& legend, const LegendSet& s, double left, double top, const Type& t) {
  legend.entries.clear();
  double rowTop = top;
  for (std::size_t i = 0; i < s.entries.size(); ++i) {
    const std::size_t row = i / static_cast<std::size_t>(s.columns);
    const std::size_t column = i % static_cast<std::size_t>(s.columns);
    if (column == 0 && row > 0) rowTop += s.rowHeights[row - 1];
    LegendEntry e;
    e.kind = s.entries[i].kind;
    e.line = s.entries[i].line;
    e.sampleX = left + static_cast<double>(column) * (s.entryWidth + kEntryGap);
    e.sampleY = rowTop + t.line / 2;
    for (std::size_t k = 0; k < s.names[i].size(); ++k) {
      const std::string& text = s.names[i][k];
      e.name.push_back({text, e.sampleX + kSample + kSampleGap, rowTop + static_cast<double>(k) * t.line + t.ascent,
                        t.Width(text)});
    }
    legend.entries.push_back(std::move(e));
  }
}

// What the frame leaves room for besides the axes: a legend below or to the right.
struct Room {
  double below = 0, right = 0;
};

double TitleRoom(const TextBlock& title, const TextMeasure& m) {
  return title.lines.empty() ? 0 : static_cast<double>(title.lines.size()) * m.LineHeight(title.size) + kTitleGap;
}

// The height of the crossing's row: the bracket under the tick labels, its
// mark and its label.
double BracketRoom(const Layout& l, const Type& t) {
  if (l.bracketLabel.lines.empty()) return 0;
  return 2 + kBracketTick + kCrossMark + 1 + static_cast<double>(l.bracketLabel.lines.size()) * t.line;
}

Rect FrameFor(const Layout& l, const Figure& f, const Type& t, Room room) {
  // The labels of the ticks, and of one more step either way (the data
  // may be moved clear of a legend inside the plot).
  double yLabels = 0;
  std::vector<Tick> ticks = f.yTicks;
  if (ticks.size() >= 2) {
    const double step = ticks[1].value - ticks[0].value;
    ticks = GoOn(ticks, ticks.front().value - step, ticks.back().value + step);
  }
  for (const Tick& tick : ticks) yLabels = std::max(yLabels, t.Width(tick.label));
  const double lastHalf = f.xTicks.empty() ? 0 : t.Width(f.xTicks.back().label) / 2;
  const double left = kMargin + TitleRoom(l.yTitle, t.measure) + yLabels + kTickGap + kTickLength;
  const double right = l.width - kMargin - (room.right > 0 ? room.right + kLegendGap + lastHalf : lastHalf);
  const double top = kMargin + t.line / 2;
  const double bottom = l.height - kMargin - (room.below > 0 ? room.below + kLegendGap : 0) -
                        TitleRoom(l.xTitle, t.measure) - BracketRoom(l, t) - (kTickLength + kTickGap + t.line);
  return {left, top, right - left, bottom - top};
}

TextBlock Block(const Fitted& fitted) {
  TextBlock b;
  b.size = fitted.size;
  for (const std::string& line : fitted.lines) b.lines.push_back({line, 0, 0, 0});
  return b;
}

// The frame for `room`, with the titles fitted to it. A title's lines
// depend on the frame's size and the frame on how many lines they take: a
// few rounds settle it; the last frame makes room for the titles as set.
void SetFrame(Layout& l, const Figure& f, const Type& t, Room room) {
  l.xTitle = Block(FitTitle(f.xTitle, l.width, t.size, t.measure));
  l.yTitle = Block(FitTitle(f.yTitle, l.height, t.size, t.measure));
  for (int round = 0; round < 3; ++round) {
    l.frame = FrameFor(l, f, t, room);
    const TextBlock x = Block(FitTitle(f.xTitle, l.frame.width, t.size, t.measure));
    const TextBlock y = Block(FitTitle(f.yTitle, l.frame.height, t.size, t.measure));
    const bool same = x.size == l.xTitle.size && y.size == l.yTitle.size &&
                      x.lines.size() == l.xTitle.lines.size() && y.lines.size() == l.yTitle.lines.size();
    l.xTitle = x;
    l.yTitle = y;
    if (same) break;
  }
  l.frame = FrameFor(l, f, t, room);
}

// The data area: `within` (the frame, or the part of it the data are moved
// to), inset on each side where a marker or the ring where the lines meet
// would come nearer the frame's edge than its reach and a point. Insetting
// one side moves every mark, so it is found in a few rounds.
Rect DataArea(const Figure& f, const Rect& frame, const Rect& within) {
  struct Mark {
    double x, y, reach;
  };
  std::vector<Mark> marks;
  for (const Line& line : f.lines) {
    if (!line.markers) continue;
    for (auto [x, y] : {std::pair{line.x1, line.y1}, std::pair{line.x2, line.y2}}) {
      if (x >= f.xMin && x <= f.xMax && y >= f.yMin && y <= f.yMax) marks.push_back({x, y, kMarkerReach});
    }
  }
  if (f.meeting) marks.push_back({f.meeting->x, f.meeting->y, kMeetingRadius});
  double left = 0, top = 0, right = 0, bottom = 0;
  Rect data = within;
  for (int round = 0; round < 8; ++round) {
    data = {within.left + left, within.top + top, within.width - left - right, within.height - top - bottom};
    double nearer[4] = {0, 0, 0, 0};  // how much nearer than its reach a mark comes to each edge
    for (const Mark& m : marks) {
      const double px = data.left + (m.x - f.xMin) / (f.xMax - f.xMin) * data.width;
      const double py = data.Bottom() - (m.y - f.yMin) / (f.yMax - f.yMin) * data.height;
      const double need = m.reach + 1;
      const double gaps[4] = {px - frame.left, py - frame.top, frame.Right() - px, frame.Bottom() - py};
      for (int k = 0; k < 4; ++k) nearer[k] = std::max(nearer[k], need - gaps[k]);
    }
    left += nearer[0], top += nearer[1], right += nearer[2], bottom += nearer[3];
    const double moved = nearer[0] + nearer[1] + nearer[2] + nearer[3];
    left = std::min(left, within.width / 4), right = std::min(right, within.width / 4);
    top = std::min(top, within.height / 4), bottom = std::min(bottom, within.height / 4);
    if (moved < 1e-6) break;
  }
  return {within.left + left, within.top + top, within.width - left - right, within.height - top - bottom};
}

// Where the plot has ink a legend inside it must not cover. `fixed` ink
// (the marks of a region's bounds, across the whole frame) does not move
// with the data.
struct Ink {
  Rect at;
  bool fixed = false;
};

void AddLineInk(std::vector<Ink>& ink, const Layout& l, const Line& line) {
  for (int i = 0; i <= 40; ++i) {
    const double s = i / 40.0;
    const double x = l.X(line.xFrom + s * (line.xTo - line.xFrom)), y = l.Y(line.yFrom + s * (line.yTo - line.yFrom));
    ink.push_back({{x - 1, y - 1, 2, 2}});
  }
  if (!line.markers) return;
  for (auto [x, y] : {std::pair{line.x1, line.y1}, std::pair{line.x2, line.y2}}) {
    if (x < l.xMin || x > l.xMax) continue;
    ink.push_back({{l.X(x) - kMarkerReach, l.Y(y) - kMarkerReach, 2 * kMarkerReach, 2 * kMarkerReach}});
  }
}

std::vector<Ink> InkOf(const Layout& l, const Figure& f, const Type& t) {
  std::vector<Ink> ink;
  for (const Line& line : f.lines) AddLineInk(ink, l, line);
  for (const Band& b : f.bands) {
    const std::size_t n = std::min({b.x.size(), b.lower.size(), b.upper.size()});
    for (std::size_t i = 0; i < n; ++i) {
      const double top = l.Y(b.upper[i]);
      ink.push_back({{l.X(b.x[i]), top, 0, l.Y(b.lower[i]) - top}});
    }
  }
  if (f.meeting) {
    const double x = l.X(f.meeting->x), y = l.Y(f.meeting->y), w = t.Width(f.meeting->label);
    ink.push_back({{x - kMeetingRadius, y - kMeetingRadius, 2 * kMeetingRadius, 2 * kMeetingRadius}});
    // Its label, above the ring (or under it near the top).
    ink.push_back({{x - w / 2 - 1, y - kMeetingRadius - 4 - t.line, w + 2, 2 * (kMeetingRadius + 4 + t.line)}});
  }
  for (const Bound& b : f.bounds) ink.push_back({{l.X(b.x) - 1, l.frame.top, 2, l.frame.height}, true});
  // The zero line, also at the range's edge: moving the data clear of a
  // legend would bring it into the plot.
  if (f.zeroLine && l.yMin <= 0 && l.yMax >= 0) ink.push_back({{l.frame.left, l.Y(0), l.frame.width, 0}});
  return ink;
}

bool Covers(const Rect& box, const std::vector<Ink>& ink) {
  const Rect around{box.left - kClear, box.top - kClear, box.width + 2 * kClear, box.height + 2 * kClear};
  return std::any_of(ink.begin(), ink.end(), [&](const Ink& i) { return around.Intersects(i.at); });
}

// A place for a box of w x h inside the frame that covers no ink: the
// corners first, then the middles of the sides, then the centre.
std::optional<Rect> FreePlace(const Rect& frame, double w, double h, const std::vector<Ink>& ink) {
  if (w > frame.width - 3 * kClear || h > frame.height - 3 * kClear) return std::nullopt;
  const double left = frame.left + 2 * kClear, centre = frame.left + (frame.width - w) / 2;
  const double right = frame.Right() - w - kClear;
  const double top = frame.top + kClear, middle = frame.top + (frame.height - h) / 2;
  const double bottom = frame.Bottom() - h - 2 * kClear;
  const std::pair<double, double> order[] = {{right, top},    {left, top},     {right, bottom},
                                             {left, bottom},  {right, middle}, {left, middle},
                                             {centre, top},   {centre, bottom}, {centre, middle}};
  for (auto [x, y] : order) {
    const Rect box{x, y, w, h};
    if (!Covers(box, ink)) return box;
  }
  return std::nullopt;
}

// A corner for a box of w x h with the data squeezed away from it (towards
// the data area's bottom for a top corner, its top for a bottom corner), so
// that no ink under the box is covered; the corner that keeps the data the
// largest share of the data area's height, when that share is large enough.
struct Squeezed {
  Rect box;
  double share = 0;
  bool top = true;
};

double ShareBeside(const Rect& box, bool top, const Rect& data, const std::vector<Ink>& ink) {
  double share = 1;
  for (const Ink& i : ink) {
    if (i.at.Right() < box.left - kClear || i.at.left > box.Right() + kClear) continue;
    if (i.fixed) return 0;
    // A point at y moves to B - (B - y) s (top corner) or T + (y - T) s.
    const double room = top ? data.Bottom() - box.Bottom() - 2 * kClear : box.top - 2 * kClear - data.top;
    const double reach = top ? data.Bottom() - i.at.top : i.at.Bottom() - data.top;
    if (reach > 0) share = std::min(share, room / reach);
  }
  return share;
}

std::optional<Squeezed> SqueezedCorner(const Layout& l, double w, double h, const std::vector<Ink>& ink) {
  const Rect& frame = l.frame;
  if (w > frame.width - 3 * kClear || h > frame.height - 3 * kClear) return std::nullopt;
  std::optional<Squeezed> best;
  for (bool top : {true, false}) {
    for (bool right : {true, false}) {
      const Rect box{right ? frame.Right() - w - kClear : frame.left + 2 * kClear,
                     top ? frame.top + kClear : frame.Bottom() - h - 2 * kClear, w, h};
      const double share = ShareBeside(box, top, l.data, ink);
      if (!best || share > best->share) best = Squeezed{box, share, top};
    }
  }
  if (!best || best->share < kInsideShare) return std::nullopt;
  return best;
}

// The legend inside the plot, where it covers nothing, or (when `squeeze`)
// where the data can be moved clear of it; false when it cannot go there.
bool PutInside(Layout& l, const Figure& f, const Type& t, const LegendSet& s, bool squeeze) {
  const double w = s.Width() + 2 * kLegendPad, h = s.Height() - kRowGap + 2 * kLegendPad;
  const std::vector<Ink> ink = InkOf(l, f, t);
  std::optional<Rect> box = squeeze ? std::nullopt : FreePlace(l.frame, w, h, ink);
  if (!box) {
    if (!squeeze) return false;
    const std::optional<Squeezed> corner = SqueezedCorner(l, w, h, ink);
    if (!corner) return false;
    Rect within = l.data;
    within.height *= corner->share;
    if (corner->top) within.top = l.data.Bottom() - within.height;
    l.data = DataArea(f, l.frame, within);
    box = corner->box;
  }
  l.legend.place = LegendPlace::Inside;
  l.legend.box = *box;
  SetEntries(l.legend, s, box->left + kLegendPad, box->top + kLegendPad, t);
  return true;
}

Layout WithLegendBelow(Layout l, const Figure& f, const Type& t, const LegendSet& s) {
  SetFrame(l, f, t, {.below = s.Height(), .right = 0});
  l.data = DataArea(f, l.frame, l.frame);
  const double w = s.Width(), h = s.Height();
  const double left =
      std::clamp(l.frame.left + (l.frame.width - w) / 2, kMargin, std::max(kMargin, l.width - kMargin - w));
  l.legend.place = LegendPlace::Below;
  l.legend.box = {left, l.height - kMargin - h, w, h};
  SetEntries(l.legend, s, left, l.legend.box.top, t);
  return l;
}

// The legend: below, inside, to the right or below all the same (see layout.h).
Layout Arrange(Layout l, const Figure& f, const Type& t) {
  const std::vector<Entry> entries = Entries(f);
  if (entries.empty()) {
    SetFrame(l, f, t, {});
    l.data = DataArea(f, l.frame, l.frame);
    return l;
  }
  const double sample = kSample + kSampleGap;
  const int all = static_cast<int>(entries.size());
  const LegendSet below = SetLegend(entries, l.width - 2 * kMargin - sample, l.width - 2 * kMargin, all, t);
  const bool belowFits = below.Height() + kLegendGap <= l.height * kBelowShare;
  Layout under = WithLegendBelow(l, f, t, below);
  if (belowFits && under.frame.width * under.frame.height >= kBelowArea * l.width * l.height) return under;
  Layout inside = l;
  SetFrame(inside, f, t, {});
  inside.data = DataArea(f, inside.frame, inside.frame);
  // Inside, the names are broken only where the frame is narrower than the
  // legend: every line broken makes the legend taller.
  const double insideNames = std::max(inside.frame.width - 3 * kClear - 2 * kLegendPad - sample, 4 * t.size);
  const LegendSet column = SetLegend(entries, insideNames, 0, 1, t);
  if (PutInside(inside, f, t, column, false)) return inside;
  if (belowFits) return under;
  if (PutInside(inside, f, t, column, true)) return inside;
  const LegendSet side = SetLegend(entries, std::max(0.4 * l.width - sample, 4 * t.size), 0, 1, t);
  Layout right = l;
  SetFrame(right, f, t, {.below = 0, .right = side.Width()});
  if (right.frame.width < kRightShare * l.width) return under;
  right.data = DataArea(f, right.frame, right.frame);
  const double lastHalf = f.xTicks.empty() ? 0 : t.Width(f.xTicks.back().label) / 2;
  right.legend.place = LegendPlace::Right;
  right.legend.box = {right.frame.Right() + lastHalf + kLegendGap, right.frame.top, side.Width(), side.Height()};
  SetEntries(right.legend, side, right.legend.box.left, right.legend.box.top, t);
  return right;
}

// Which labels to show, of labels centred at `at` (in order along the axis)
// with extents `size` along it: every k-th, for the smallest k that leaves
// `gap` between neighbours shown, counted from the label at `keep`.
std::vector<bool> Thinned(const std::vector<double>& at, const std::vector<double>& size, double gap,
                          std::size_t keep) {
  const std::size_t n = at.size();
  for (std::size_t k = 1; k < std::max<std::size_t>(n, 2); ++k) {
    std::vector<bool> shown(n);
    for (std::size_t i = 0; i < n; ++i) shown[i] = (i + k - keep % k) % k == 0;
    bool clear = true;
    std::optional<std::size_t> last;
    for (std::size_t i = 0; i < n && clear; ++i) {
      if (!shown[i]) continue;
      if (last) clear = std::abs(at[i] - at[*last]) >= (size[i] + size[*last]) / 2 + gap;
      last = i;
    }
    if (clear) return shown;
  }
  std::vector<bool> one(n, false);
  if (keep < n) one[keep] = true;
  return one;
}

std::size_t ZeroTick(const std::vector<Tick>& ticks) {
  for (std::size_t i = 0; i < ticks.size(); ++i) {
    if (ticks[i].value == 0) return i;
  }
  return 0;
}

// The ticks, with more of the same step out to the values at the frame's
// ends `low` and `high` where it reaches beyond the first and last.
std::vector<Tick> GoOn(std::vector<Tick> ticks, double low, double high) {
  if (ticks.size() < 2) return ticks;
  const double step = ticks[1].value - ticks[0].value;
  if (!(step > 0) || !Finite(low) || !Finite(high) || (high - low) / step > 200) return ticks;
  auto at = [&](double v) { return std::abs(v) < step * 1e-9 ? 0.0 : v; };
  for (double v = at(ticks.front().value - step); v >= low - step * 1e-9; v = at(v - step)) {
    ticks.insert(ticks.begin(), {v, TickLabel(v)});
  }
  for (double v = at(ticks.back().value + step); v <= high + step * 1e-9; v = at(v + step)) {
    ticks.push_back({v, TickLabel(v)});
  }
  return ticks;
}

void SetTicks(Layout& l, const Figure& f) {
  const double perX = (l.xMax - l.xMin) / l.data.width, perY = (l.yMax - l.yMin) / l.data.height;
  l.xTicks = GoOn(f.xTicks, l.xMin - (l.data.left - l.frame.left) * perX,
                  l.xMax + (l.frame.Right() - l.data.Right()) * perX);
  l.yTicks = GoOn(f.yTicks, l.yMin - (l.frame.Bottom() - l.data.Bottom()) * perY,
                  l.yMax + (l.data.top - l.frame.top) * perY);
}

void PlaceTickLabels(Layout& l, const Type& t) {
  l.xLabels = {t.size, {}};
  l.yLabels = {t.size, {}};
  std::vector<double> at, size;
  for (const Tick& tick : l.xTicks) {
    at.push_back(l.X(tick.value));
    size.push_back(t.Width(tick.label));
  }
  std::vector<bool> shown = Thinned(at, size, t.size / 2, ZeroTick(l.xTicks));
  const double baseline = l.frame.Bottom() + kTickLength + kTickGap + t.ascent;
  for (std::size_t i = 0; i < l.xTicks.size(); ++i) {
    if (shown[i]) l.xLabels.lines.push_back({l.xTicks[i].label, at[i] - size[i] / 2, baseline, size[i]});
  }
  at.clear();
  std::vector<double> width;
  for (const Tick& tick : l.yTicks) {
    at.push_back(l.Y(tick.value));
    width.push_back(t.Width(tick.label));
  }
  shown = Thinned(at, std::vector<double>(at.size(), t.line), t.size / 4, ZeroTick(l.yTicks));
  for (std::size_t i = 0; i < l.yTicks.size(); ++i) {
    if (!shown[i]) continue;
    const double x = l.frame.left - kTickLength - kTickGap - width[i];
    l.yLabels.lines.push_back({l.yTicks[i].label, x, at[i] + (t.ascent - t.descent) / 2, width[i]});
  }
}

// The bracket under the tick labels, its label's lines centred under it
// (within the figure), then the x title centred under the frame and the
// y title's lines turned along the frame's left, from the figure's edge.
void PlaceTitles(Layout& l, const Figure& f, const Type& t) {
  double below = l.frame.Bottom() + kTickLength + kTickGap + t.line;
  if (f.bracket && !l.bracketLabel.lines.empty()) {
    l.bracketY = below + 2 + kBracketTick;
    const double middle = (l.X(f.bracket->from) + l.X(f.bracket->to)) / 2;
    below = l.bracketY + kCrossMark + 1;
    for (TextLine& line : l.bracketLabel.lines) {
      line.x = std::clamp(middle - line.width / 2, kMargin, std::max(kMargin, l.width - kMargin - line.width));
      line.y = below + t.ascent;
      below += t.line;
    }
  }
  const TextMeasure& m = t.measure;
  double top = below + kTitleGap;
  for (TextLine& line : l.xTitle.lines) {
    line.width = m.Width(line.text, l.xTitle.size);
    line.x = l.frame.left + (l.frame.width - line.width) / 2;
    line.y = top + m.Ascent(l.xTitle.size);
    top += m.LineHeight(l.xTitle.size);
  }
  double left = kMargin;
  for (TextLine& line : l.yTitle.lines) {
    line.width = m.Width(line.text, l.yTitle.size);
    line.x = left + m.Ascent(l.yTitle.size);
    const double start = l.frame.top + (l.frame.height + line.width) / 2;
    line.y = std::clamp(start, kMargin + line.width, std::max(kMargin + line.width, l.height - kMargin));
    left += m.LineHeight(l.yTitle.size);
  }
}

}  // namespace

std::vector<std::string> Wrap(const std::string& text, double width, double size, const TextMeasure& measure) {
  std::vector<std::string> lines;
  for (const std::string& w : Words(text)) {
    if (!lines.empty() && measure.Width(lines.back() + ' ' + w, size) <= width) {
      lines.back() += ' ' + w;
    } else {
      lines.push_back(w);
    }
  }
  return lines;
}

namespace {

// Two lines of about one length, broken where neither line is longer than
// it must be; never next to an "=" (which would part a name from its value).
std::vector<std::string> Balanced(const std::vector<std::string>& lines, double size, const TextMeasure& measure) {
  if (lines.size() != 2) return lines;
  const std::vector<std::string> all = Words(lines[0] + ' ' + lines[1]);
  std::vector<std::string> best = lines;
  double bestLonger = std::max(measure.Width(lines[0], size), measure.Width(lines[1], size));
  for (std::size_t cut = 1; cut < all.size(); ++cut) {
    if (all[cut - 1] == "=" || all[cut] == "=") continue;
    std::string first = all[0], second = all[cut];
    for (std::size_t i = 1; i < cut; ++i) first += ' ' + all[i];
    for (std::size_t i = cut + 1; i < all.size(); ++i) second += ' ' + all[i];
    const double longer = std::max(measure.Width(first, size), measure.Width(second, size));
    if (longer < bestLonger) {
      bestLonger = longer;
      best = {first, second};
    }
  }
  return best;
}

}  // namespace

Fitted FitTitle(const std::string& text, double length, double size, const TextMeasure& measure) {
  const double smallest = std::min(size, std::max(kSmallestFontSize, 0.7 * size));
  auto within = [&](const std::vector<std::string>& lines, double s) {
    return std::all_of(lines.begin(), lines.end(), [&](const std::string& l) { return measure.Width(l, s) <= length; });
  };
  for (double s = size; s >= smallest - 1e-9; s -= 0.5) {
    std::vector<std::string> lines = Wrap(text, length, s, measure);
    if (lines.size() <= 2 && within(lines, s)) return {s, Balanced(lines, s, measure)};
  }
  return {smallest, Wrap(text, length, smallest, measure)};
}

Layout LayOut(const Figure& f, double width, double height, double fontSize, const TextMeasure& measure) {
  Layout l;
  l.width = width;
  l.height = height;
  l.fontSize = std::clamp(Finite(fontSize) ? fontSize : kDefaultFontSize, kSmallestFontSize, kLargestFontSize);
  l.xMin = f.xMin, l.xMax = f.xMax, l.yMin = f.yMin, l.yMax = f.yMax;
  if (!f.note.empty() || !(width > 0) || !(height > 0) || !(l.xMax > l.xMin) || !(l.yMax > l.yMin)) return l;
  const Type t(l.fontSize, measure);
  l.bracketLabel.size = t.size;
  if (f.bracket) {
    for (const std::string& line : Wrap(f.bracket->label, width - 2 * kMargin, t.size, measure)) {
      l.bracketLabel.lines.push_back({line, 0, 0, t.Width(line)});
    }
  }
  l = Arrange(l, f, t);
  l.fits = l.frame.width >= 20 && l.frame.height >= 20 && l.data.width > 0 && l.data.height > 0;
  if (!l.fits) return l;
  SetTicks(l, f);
  PlaceTickLabels(l, t);
  PlaceTitles(l, f, t);
  return l;
}

}  // namespace marvane::figure
