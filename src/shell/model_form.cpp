#include "shell/model_form.h"

#include <QCloseEvent>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <exception>

#include "plot/model_paste_window.h"
#include "plot/probe_window.h"
#include "shell/accessibility.h"
#include "shell/keyboard.h"
#include "shell/navigation.h"
#include "shell/number_text.h"
#include "shell/qt_text.h"
#include "shell/sessions.h"
#include "shell/words.h"

namespace marvane {
namespace {

std::string RowLabel(const char* prefix, int k, int column) {
  return prefix + std::to_string(k) + std::to_string(column);
}

}  // namespace

ModelForm::ModelForm(const forms::FormDesign& design) : FormWindow(design) {
  if (QPushButton* plot = Button("Plot")) connect(plot, &QPushButton::clicked, this, &ModelForm::Plot_Click);
  if (QPushButton* paste = Button("pasteModel")) {
    connect(paste, &QPushButton::clicked, this, &ModelForm::PasteModel_Click);
  }
  ConnectEnterToButton(*this, [this](std::string_view box) { return EnterButton(box); });
  sessions::AddShortcuts(*this);
}

std::string_view ModelForm::EnterButton(std::string_view) const { return "Command1"; }

void ModelForm::Form_Load() {
  for (const forms::Control& c : Design().controls) {
    if (c.role == forms::Role::Panel) Control(c.name)->setVisible(false);
  }
  if (QPushButton* plot = Button("Plot")) plot->setEnabled(false);
}

ProbeWindow* ModelForm::PlotWindow() const { return plot_.data(); }

void ModelForm::Plot_Click() {
  if (!probe_) return;
  if (plot_ == nullptr) {
    // Built on the first click only: a form that is never plotted never
    // touches the plot code.
    plot_ = new ProbeWindow(this);
    sessions::AttachPlotWindow(*this, *plot_);
    plot_->ShowProbe(*probe_);
    if (stale_) plot_->MarkStale(MessageText());
  }
  if (pastedModel_ != nullptr) {
    plot_->UsePastedModel(*pastedModel_);
    pastedModel_.reset();
  }
  plot_->show();
  plot_->raise();
  plot_->activateWindow();
}

void ModelForm::PasteModel_Click() {
  if (modelPaste_ == nullptr) modelPaste_ = new ModelPasteWindow(this);
  modelPaste_->show();
  modelPaste_->raise();
  modelPaste_->activateWindow();
}

ModelPasteWindow* ModelForm::PasteModelWindow() const { return modelPaste_.data(); }

void ModelForm::SetPastedModel(PastedModel model) {
  pastedModel_ = std::make_shared<const PastedModel>(std::move(model));
}

void ModelForm::Publish(Probe probe) {
  probe.form = Design().name;
  probe.caption = Design().caption;
  probe_ = std::move(probe);
  stale_ = false;
  if (QPushButton* plot = Button("Plot")) plot->setEnabled(true);
  if (plot_ != nullptr) plot_->ShowProbe(*probe_);
}

void ModelForm::hideEvent(QHideEvent* event) {
  FormWindow::hideEvent(event);
  // Unloading hides the form: its plot window goes with it. A window system
  // hiding it (minimising) is left alone.
  if (!event->spontaneous() && plot_ != nullptr) plot_->close();
  if (!event->spontaneous() && modelPaste_ != nullptr) modelPaste_->close();
}

QString ModelForm::MessageText() const {
  QLabel* m = Label("message");
  return m != nullptr && m->isVisibleTo(this) ? m->text() : QString();
}

void ModelForm::closeEvent(QCloseEvent* event) {
  sessions::Leaving(*this);
  FormWindow::closeEvent(event);
}

void ModelForm::BackToMenu() {
  sessions::Leaving(*this);
  SwitchForm("Choice", this);
}

BoxTexts ModelForm::TypedBoxes() const {
  BoxTexts boxes;
  for (const forms::Control& c : Design().controls) {
    if (c.kind == forms::Kind::TextBox) boxes.emplace_back(Q(c.name), Box(c.name)->text());
  }
  return boxes;
}

void ModelForm::RecordStep(SessionStep step, bool computedWithoutFault) {
  if (computedWithoutFault) {
    std::erase_if(steps_, [this](const SessionStep& s) { return s.button == computeButton_; });
  }
  if (!steps_.empty() && steps_.back() == step) steps_.pop_back();
  steps_.push_back(std::move(step));
  if (steps_.size() > static_cast<std::size_t>(kMaxSessionSteps)) steps_.erase(steps_.begin());
}

// The panel's shown labels row by row (a label belongs to the row of the
// first label whose height its middle lies within), left to right, each row
// one text; after what the form prints on its surface.
std::vector<QString> ModelForm::ShownLines() const {
  std::vector<const forms::Control*> shown;
  for (const forms::Control& c : Design().controls) {
    if (c.role == forms::Role::Panel && Control(c.name)->isVisibleTo(this)) shown.push_back(&c);
  }
  std::stable_sort(shown.begin(), shown.end(), [](auto* x, auto* y) { return x->top < y->top; });
  std::vector<QString> lines;
  if (!SurfaceText().isEmpty()) lines.push_back(QStringLiteral("Printed at the top left: ") + SurfaceText());
  std::vector<const forms::Control*> row;
  auto flush = [&] {
    std::stable_sort(row.begin(), row.end(), [](auto* x, auto* y) { return x->left < y->left; });
    QStringList texts;
    for (const forms::Control* c : row) {
      const std::string text = CollapseBlanks(Std(Label(c->name)->text()));
      if (!text.empty()) texts << Q(text);
    }
    if (!texts.isEmpty()) lines.push_back(texts.join(' '));
    row.clear();
  };
  for (const forms::Control* c : shown) {
    if (!row.empty() && c->top + c->height / 2 > row.front()->top + row.front()->height) flush();
    row.push_back(c);
  }
  flush();
  return lines;
}

void ModelForm::ConnectClick(std::string_view button, std::function<void()> handler, bool compute) {
  QPushButton* b = Button(button);
  if (b == nullptr) return;
  if (compute) computeButton_ = Q(button);
  connect(b, &QPushButton::clicked, this, [this, compute, name = std::string(button), handler = std::move(handler)] {
    RunGuarded(name, handler, compute);
  });
}

void ModelForm::RunGuarded(std::string_view button, const std::function<void()>& handler, bool compute) {
  // The press as a session keeps it. Back (Command2 on every model form)
  // leaves the form: it is no step of the form's work.
  const bool step = button != "Command2";
  SessionStep pressed{Q(button), step ? TypedBoxes() : BoxTexts{}};
  if (QLabel* m = Label("message")) {
    m->clear();
    m->setVisible(false);
  }
  stage_.clear();
  consequence_.clear();
  // No exception leaves a slot: a fault ends the handler here, and what it had
  // written stays on the form.
  bool faulted = true;
  try {
    handler();
    faulted = false;
  } catch (const Fault& fault) {
    ShowFault(fault);
  } catch (const std::exception& e) {
    ShowFault(Fault(FaultKind::InvalidOperation, std::string("an internal error: ") + e.what()));
  }
  if (compute && faulted && probe_) {
    stale_ = true;
    if (plot_ != nullptr) plot_->MarkStale(MessageText());
  }
  if (compute && !faulted) {
    publishedBoxes_ = pressed.boxes;
    publishedLines_ = ShownLines();
  }
  if (step) RecordStep(std::move(pressed), compute && !faulted);
  if (compute && !faulted) sessions::Computed(*this);
}

void ModelForm::ShowFault(const Fault& fault) {
  QLabel* m = Label("message");
  if (m == nullptr) return;
  std::string text;
  if (!fault.where.empty() && fault.kind == FaultKind::TypeMismatch) {
    text = "What is typed for " + fault.where + " is not a number.";
  } else if (!fault.where.empty() && fault.kind == FaultKind::MissingElement) {
    text = "There is no " + fault.where + ".";
  } else if (!fault.where.empty() && fault.kind == FaultKind::Overflow) {
    text = "The number typed for " + fault.where + " is too large for the program to compute with.";
  } else {
    text = std::string("Stopped by ") + DescribeFaultKind(fault.kind);
    const std::string& where = fault.where.empty() ? stage_ : fault.where;
    if (!where.empty()) text += " in " + where;
    text += ".";
  }
  text += " ";
  text += consequence_.empty() ? "Nothing was computed." : consequence_;
  m->setText(Q(text));
  m->setVisible(true);
  AnnounceAlert(m);
}

void ModelForm::Normalize(std::initializer_list<std::string_view> boxes) {
  for (std::string_view name : boxes) Box(name)->setText(Q(NumberToText(Lenient(name))));
}

double ModelForm::Number(std::string_view box) const {
  return NamingBox(box, [&] { return StrictParse(Text(box)); });
}

double ModelForm::Lenient(std::string_view box) const {
  return NamingBox(box, [&] { return LenientParse(Text(box)); });
}

std::string ModelForm::Text(std::string_view box) const { return Std(Box(box)->text()); }

void ModelForm::SetCaption(std::string_view label, const std::string& text) {
  Label(label)->setText(Q(text));
  FitCaption(label);
}

void ModelForm::FitCaption(std::string_view name) {
  const forms::Control* own = Design().Find(name);
  if (own == nullptr || own->role != forms::Role::Panel) return;
  QLabel* label = Label(name);
  const int designWidth = forms::TwipsToPixels(own->width);
  // Free room: up to the nearest control to the right whose rows meet this
  // label's, or the form's edge.
  int room = width() - label->x();
  for (const forms::Control& c : Design().controls) {
    const bool sameRows = c.top < own->top + own->height && own->top < c.top + c.height;
    if (&c == own || !sameRows || c.left < own->left + own->width) continue;
    room = std::min(room, forms::TwipsToPixels(c.left) - label->x());
  }
  const int needed = label->fontMetrics().horizontalAdvance(label->text()) + 2;
  label->resize(std::max(designWidth, std::min(needed, room)), label->height());
}

std::string ModelForm::Caption(std::string_view label) const { return Std(Label(label)->text()); }

void ModelForm::Reveal(std::initializer_list<std::string_view> labels) {
  for (std::string_view name : labels) Reveal(name);
}

void ModelForm::Reveal(std::string_view label) { Control(label)->setVisible(true); }

void ModelForm::Stage(std::string where, std::string consequence) {
  stage_ = std::move(where);
  consequence_ = std::move(consequence);
}

void ModelForm::StageRow(int k) {
  const std::string row = std::to_string(k);
  // A row that faults part-way may already hold some new values, so the
  // rows from k on are "not up to date" rather than "not updated".
  Stage("row " + row, k == 1 ? "The results are not up to date."
                             : "The rows above row " + row + " are up to date; from row " + row +
                                   " on, the results are not.");
}

void ModelForm::WriteLine(int k, const SimpleEffectLine& line) {
  SetCaption(RowLabel("se", k, 3), RoundForDisplay(line.slope, 1000));
  SetCaption(RowLabel("se", k, 5), RoundForDisplay(line.intercept, 1000));
}

void ModelForm::RevealLine(int k) {
  if (k == 1) Reveal("se");
  for (int column = 1; column <= 5; ++column) Reveal(RowLabel("se", k, column));
}

void ModelForm::WritePoints(int k, const SimpleEffectLine& line, std::string_view stdxBox,
                            PointLabels digits) {
  SetCaption(RowLabel("p", k, digits.x1), NumberToText(line.x1));
  SetCaption(RowLabel("p", k, digits.y1), RoundForDisplay(line.y1, 100));
  SetCaption(RowLabel("p", k, digits.x2), Text(stdxBox));
  SetCaption(RowLabel("p", k, digits.y2), RoundForDisplay(line.y2, 100));
}

void ModelForm::RevealPoints(int k) {
  if (k == 1) Reveal("p");
  for (int column = 1; column <= 8; ++column) Reveal(RowLabel("p", k, column));
}

void ModelForm::ShowRow(int k, const SimpleEffectLine& line, std::string_view stdxBox) {
  WriteLine(k, line);
  RevealLine(k);
  WritePoints(k, line, stdxBox);
  RevealPoints(k);
}

}  // namespace marvane
