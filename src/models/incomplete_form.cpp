#include "models/incomplete_form.h"

#include <QFontMetrics>
#include <QPainter>

#include "forms/form_design.h"
#include "shell/number_text.h"
#include "shell/qt_text.h"

namespace marvane {
namespace {

// The grid has rows 0 to 12: the constant and at most 12 other terms.
constexpr int kLastGridRow = 12;

// The box of grid row `row` in the column "weight" or "value". A row the grid
// does not have is a missing element: the count asked for more rows than
// there are.
std::string GridBox(const char* column, int row) {
  if (row < 0 || row > kLastGridRow) {
    throw Fault(FaultKind::MissingElement,
                "row " + std::to_string(row) + " in the grid: at most " + std::to_string(kLastGridRow) +
                    " other terms fit");
  }
  return std::string(column) + "_" + std::to_string(row);
}

// The adjusted constant is printed in the design font, 9.75 pt bold like the
// form's instruction texts. Its line (15 px at 96 dpi) fits in the strip
// above the first controls: Label6 starts 240 twips (16 px) down and nothing
// else stands nearer the top-left corner.
QFont SurfaceFont() {
  QFont font(DesignFontFamily());
  font.setPointSizeF(9.75);
  font.setBold(true);
  return font;
}

}  // namespace

IncompleteForm::IncompleteForm() : ModelForm(forms::IncompleteDesign()) {
  OnClick("Command3", &IncompleteForm::Command3_Click);
  OnCompute("Command1", &IncompleteForm::Command1_Click);
  OnClick("Command2", &IncompleteForm::Command2_Click);
}

void IncompleteForm::Form_Load() {
  ModelForm::Form_Load();
  for (const char* name : {"Label9", "Command1", "Label5"}) Control(name)->setVisible(false);
  for (int row = 0; row <= kLastGridRow; ++row) Control(GridBox("weight", row))->setVisible(false);
  for (int row = 0; row <= kLastGridRow; ++row) Control(GridBox("value", row))->setVisible(false);
}

void IncompleteForm::Command3_Click() {
  Stage("", "The grid was not changed.");
  Normalize({"numvars"});
  const double n = Number("numvars");
  Reveal({"Label9", "Command1", "Label5"});
  // The count is compared as a number: 2.5 reveals rows 0 to 2, a negative
  // count none. Rows revealed by an earlier GO stay.
  Stage("the grid", "Rows 0 to 12 are shown.");
  for (int row = 0; row <= n; ++row) Reveal({GridBox("weight", row), GridBox("value", row)});
}

std::string_view IncompleteForm::EnterButton(std::string_view box) const {
  return box == "numvars" ? "Command3" : "Command1";
}

void IncompleteForm::Command1_Click() {
  Normalize({"bx", "bz", "bxz", "stdz", "stdx"});
  // The constant is read as typed, and its box keeps its text.
  const double c = Lenient("weight_0");
  // The count is taken afresh from the box, not from the last GO; rows are
  // read whether they are shown or not.
  Normalize({"numvars"});
  std::vector<HeldTerm> held;
  const double a = FoldControlTerms(c, Number("numvars"), [this, &held](int row) {
    held.push_back(ReadTerm(row));
    return held.back();
  });
  PrintOnSurface(NumberToText(a));

  const IncompleteInputs in{.a = a, .bx = Number("bx"), .bz = Number("bz"), .bxz = Number("bxz"),
                            .sx = Number("stdx"), .sz = Number("stdz")};
  for (int k = 1; k <= 3; ++k) {
    StageRow(k);
    ShowRow(k, IncompleteLine(in, k), "stdx");
  }
  Publish(IncompleteProbe(c, held, in));
}

void IncompleteForm::Command2_Click() { BackToMenu(); }

HeldTerm IncompleteForm::ReadTerm(int row) {
  Stage("the term in row " + std::to_string(row), "The results were not updated.");
  HeldTerm term;
  term.value = Lenient(GridBox("value", row));
  term.weight = Number(GridBox("weight", row));
  return term;
}

// What Compute prints goes to the top-left corner of the client area, the
// place where a freshly loaded form starts printing. Each Compute prints its
// value in place of the previous one, so the outputs never pile up into the
// controls below; the text is kept and drawn again whenever the form is
// painted, so it survives covering, resizing and repainting.
void IncompleteForm::PrintOnSurface(const std::string& text) {
  surfaceText_ = Q(text);
  update();
}

QRect IncompleteForm::SurfaceTextRect() const {
  if (surfaceText_.isEmpty()) return {};
  const QFontMetrics metrics(SurfaceFont());
  return {0, 0, metrics.horizontalAdvance(surfaceText_), metrics.height()};
}

void IncompleteForm::paintEvent(QPaintEvent* event) {
  ModelForm::paintEvent(event);
  if (surfaceText_.isEmpty()) return;
  QPainter painter(this);
  painter.setFont(SurfaceFont());
  painter.setPen(palette().color(QPalette::WindowText));
  painter.drawText(SurfaceTextRect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, surfaceText_);
}

}  // namespace marvane
