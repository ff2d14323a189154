#pragma once

// The shared base of the six model forms: the vocabulary their Compute
// handlers are written in (normalise these boxes, read a box, write a caption,
// reveal these labels, write one row of the result panel) and the one place
// where a fault is caught and told to the user.
//
// A handler is a short script in the order of its steps. Every step that can
// fail throws a Fault; RunGuarded catches it, leaves whatever was already
// written and shown, and puts a message in the form's `message` label.

#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <initializer_list>
#include <string>
#include <optional>
#include <string_view>

#include "models/probe.h"
#include "models/simple_effect_line.h"
#include "shell/fault.h"
#include "shell/form_window.h"
#include "shell/session_file.h"

namespace marvane {

// Which p-label digits of a point row hold X1, Y1, X2 and Y2 (the layout's
// forms::PointDigits says the same for the design).
class ProbeWindow;
class ModelPasteWindow;
struct PastedModel;

struct PointLabels {
  int x1 = 2, y1 = 3, x2 = 5, y2 = 6;
};

class ModelForm : public FormWindow {
 public:
  explicit ModelForm(const forms::FormDesign& design);

  // Hides the result panel; the Plot button waits for a first Compute.
  void Form_Load() override;

  // What the message label shows ("" when nothing went wrong).
  QString MessageText() const;

  // What the last Compute that ended without a fault computed, or nullptr
  // before there was one.
  const Probe* LastProbe() const { return probe_ ? &*probe_ : nullptr; }
  // Whether a Compute faulted since LastProbe was computed.
  bool ProbeStale() const { return stale_; }

  // The Plot button: opens the form's plot window, or raises it when it is
  // open already.
  void Plot_Click();
  // The open plot window, or nullptr.
  ProbeWindow* PlotWindow() const;

  // The Paste model button: opens the window that reads the model as a
  // package printed it, or raises it.
  void PasteModel_Click();
  ModelPasteWindow* PasteModelWindow() const;
  // What Paste model read, for the plot window at the next Plot.
  void SetPastedModel(PastedModel model);
  // The model pasted since the last Plot, if any.
  const PastedModel* PendingModel() const { return pastedModel_.get(); }
  // --- The work, as a session keeps it (shell/sessions.h) ----------------
  // Every box with its text as it stands, in the order of the design.
  BoxTexts TypedBoxes() const;
  // The presses of the form's own buttons (GO, Compute) that made what the
  // form shows, oldest first, each with the boxes as typed just before it.
  // A Compute without a fault rewrites the whole panel, so it drops the
  // Computes before it; the rows GO revealed stay, so GO presses stay. A
  // press that repeats the one before it with the same boxes adds nothing,
  // and only the latest kMaxSessionSteps are kept.
  const std::vector<SessionStep>& Steps() const { return steps_; }
  // For the last Compute without a fault (whose lines the plot window
  // shows): the boxes as typed for it, and the form's texts as it left
  // them, one row of the panel a line.
  const BoxTexts& PublishedBoxes() const { return publishedBoxes_; }
  const std::vector<QString>& PublishedLines() const { return publishedLines_; }
  // What the form prints on its surface outside its controls ("" when
  // nothing).
  virtual QString SurfaceText() const { return {}; }

 protected:
  // Connects a button's click to a handler of this form, run under the guard.
  template <typename Form>
  void OnClick(std::string_view button, void (Form::*handler)()) {
    ConnectClick(button, [this, handler] { (static_cast<Form*>(this)->*handler)(); });
  }

  // The same for the form's compute button: a run without a fault ends in
  // Publish, a fault tells the plot window that its figure is not up to date.
  template <typename Form>
  void OnCompute(std::string_view button, void (Form::*handler)()) {
    ConnectClick(button, [this, handler] { (static_cast<Form*>(this)->*handler)(); }, true);
  }

  // The last step of a Compute that ended without a fault: hands its numbers
  // to the plot window (now, or when it is opened) and enables Plot.
  void Publish(Probe probe);

  // Closes the plot window with the form.
  void hideEvent(QHideEvent* event) override;
  // The work is kept as the last work before the close box unloads the form.
  void closeEvent(QCloseEvent* event) override;

  // The button Return or Enter in `box` presses (shell/keyboard.h): the
  // form's compute button, Command1, unless a form says otherwise.
  virtual std::string_view EnterButton(std::string_view box) const;

  // Performs SwitchForm back to the menu.
  void BackToMenu();

  // --- Boxes ------------------------------------------------------------
  // Rewrites each box, in order, as the canonical text of its leniently read
  // number. A number beyond the double range stops here (Overflow, naming the
  // box); the boxes before it keep their new text.
  void Normalize(std::initializer_list<std::string_view> boxes);
  // StrictParse of the box's text.
  double Number(std::string_view box) const;
  // LenientParse of the box's text; the box is not written.
  double Lenient(std::string_view box) const;
  // The box's text as it stands (UTF-8).
  std::string Text(std::string_view box) const;
  // Runs `read`; a fault it throws names the box (its meaning in the design).
  template <typename Read>
  auto NamingBox(std::string_view box, Read read) const {
    try {
      return read();
    } catch (Fault& f) {
      f.where = Design().Find(box)->meaning;
      throw;
    }
  }

  // --- Labels -----------------------------------------------------------
  // Writes a label's caption. A result-panel caption wider than its label
  // spreads into the free room to its right on the same row (up to the next
  // control or the form's edge), so a long number is not cut off; the label
  // never gets narrower than its design width.
  void SetCaption(std::string_view label, const std::string& text);
  std::string Caption(std::string_view label) const;
  void Reveal(std::initializer_list<std::string_view> labels);
  void Reveal(std::string_view label);

  // --- Result rows ------------------------------------------------------
  // Marks where the handler has got to, for the message should a fault happen
  // from here on: what is being computed ("row 2", "the crossover point") and
  // what the user should know about the results then ("Rows 1 to 3 are up to
  // date."). Before any stage is set a fault means nothing was computed.
  void Stage(std::string where, std::string consequence);
  // Stage("row k", ...) for result row k of a form whose rows are written in
  // order: the rows above k are up to date, from row k on they are not.
  void StageRow(int k);

  // Line row k: se<k>3 <- slope to three decimals, se<k>5 <- intercept to
  // three decimals.
  void WriteLine(int k, const SimpleEffectLine& line);
  // Line row k: se<k>1 .. se<k>5 made visible, with the heading `se` first for
  // row 1.
  void RevealLine(int k);
  // Point row k: X1 <- NumberToText(-stdx), Y1 to two decimals, X2 <- the
  // text of the stdx box as it stands, Y2 to two decimals. `digits` says which
  // p-labels hold X1, Y1, X2 and Y2 (see forms::PointDigits).
  void WritePoints(int k, const SimpleEffectLine& line, std::string_view stdxBox,
                   PointLabels digits = PointLabels{});
  // Point row k: p<k>1 .. p<k>8 made visible, with the heading `p` first for
  // row 1.
  void RevealPoints(int k);
  // The usual order for one row: WriteLine, RevealLine, WritePoints,
  // RevealPoints.
  void ShowRow(int k, const SimpleEffectLine& line, std::string_view stdxBox);

 private:
  void ConnectClick(std::string_view button, std::function<void()> handler, bool compute = false);
  void RunGuarded(std::string_view button, const std::function<void()>& handler, bool compute);
  void RecordStep(SessionStep step, bool computedWithoutFault);
  std::vector<QString> ShownLines() const;
  void ShowFault(const Fault& fault);
  void FitCaption(std::string_view label);

  std::string stage_;
  std::string consequence_;
  std::optional<Probe> probe_;
  bool stale_ = false;
  QPointer<ProbeWindow> plot_;
  QPointer<ModelPasteWindow> modelPaste_;
  std::shared_ptr<const PastedModel> pastedModel_;  // for the next Plot
  QString computeButton_;
  std::vector<SessionStep> steps_;
  BoxTexts publishedBoxes_;
  std::vector<QString> publishedLines_;
};

}  // namespace marvane
