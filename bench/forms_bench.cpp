// The forms, timed against plain Qt doing the same amount of widget work:
//   - one Compute (the button clicked, as a user does) against setting the
//     texts of as many labels and boxes as that Compute writes, with
//     QLabel::setText and QLineEdit::setText on a bare window;
//   - the same with the typed inputs alternating between two sets, so that
//     every caption changes on every click;
//   - a form switch (menu -> model form -> "Back" -> menu, each form shown
//     and the one left destroyed) against building, showing and destroying
//     bare windows with the same labels, boxes and buttons.
// One set of benchmarks per row of model_cases.h. Runs headless.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <memory>
#include <string>
#include <vector>

#include "model_cases.h"
#include "ratio_report.h"
#include "shell/app.h"
#include "shell/form_window.h"
#include "shell/model_form.h"
#include "shell/navigation.h"

namespace {

using marvane::FormWindow;
using marvane::Forms;
using marvane::bench::ModelCase;
using marvane::bench::Typed;

// Lets deferred deletions, showing and painting happen.
void Settle() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
}

FormWindow* Visible() {
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (w->isVisible()) {
      if (auto* f = dynamic_cast<FormWindow*>(w)) return f;
    }
  }
  return nullptr;
}

// The menu, shown: "Back" from whatever model form is open.
FormWindow* Menu() {
  FormWindow* f = Visible();
  if (f != nullptr && f->objectName() != "Choice") {
    f->Button("Command2")->click();
    Settle();
    f = Visible();
  }
  return f;
}

FormWindow* Open(const ModelCase& c) {
  Menu()->Button(c.menuButton)->click();
  Settle();
  return Visible();
}

void TypeInto(FormWindow* form, const Typed& typed) {
  for (const auto& [box, text] : typed) form->Box(box)->setText(QString::fromUtf8(text));
}

// Types `typed`, clicks the button that brings up Compute where the form has
// one, and returns Compute, which must now be shown.
QPushButton* Prepare(FormWindow* form, const ModelCase& c, const Typed& typed) {
  TypeInto(form, typed);
  if (c.beforeCompute != nullptr) {
    form->Button(c.beforeCompute)->click();
    Settle();
  }
  QPushButton* compute = form->Button("Command1");
  if (!compute->isVisible()) qFatal("Compute is not shown on %s", qPrintable(form->objectName()));
  return compute;
}

// The texts one Compute writes: the labels whose caption it sets (found by
// marking every label and seeing which marks it overwrites) and the boxes it
// normalises.
struct Written {
  std::vector<QString> labels;
  std::vector<QString> boxes;
};

Written WrittenByCompute(FormWindow* form, const ModelCase& c, const Typed& typed) {
  QPushButton* compute = Prepare(form, c, typed);
  const QString mark = QStringLiteral("\x01");
  std::vector<std::pair<QLabel*, QString>> before;
  for (QLabel* l : form->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
    before.emplace_back(l, l->text());
    l->setText(mark);
  }
  compute->click();
  Written w;
  for (auto& [label, text] : before) {
    if (label->text() == mark) {
      label->setText(text);
    } else {
      w.labels.push_back(label->text());
    }
  }
  for (const auto& [box, text] : typed) w.boxes.push_back(form->Box(box)->text());
  auto* model = dynamic_cast<marvane::ModelForm*>(form);
  if (model != nullptr && !model->MessageText().isEmpty()) {
    qFatal("Compute on %s stopped: %s", qPrintable(form->objectName()), qPrintable(model->MessageText()));
  }
  return w;
}

// A bare window with as many labels and boxes as `w` has texts.
struct BareTexts {
  std::unique_ptr<QWidget> window = std::make_unique<QWidget>();
  std::vector<QLabel*> labels;
  std::vector<QLineEdit*> boxes;

  explicit BareTexts(const Written& w) {
    for (std::size_t i = 0; i < w.labels.size(); ++i) labels.push_back(new QLabel(window.get()));
    for (std::size_t i = 0; i < w.boxes.size(); ++i) boxes.push_back(new QLineEdit(window.get()));
    window->show();
    Settle();
  }

  void Write(const Written& w) {
    for (std::size_t i = 0; i < labels.size(); ++i) labels[i]->setText(w.labels[i]);
    for (std::size_t i = 0; i < boxes.size(); ++i) boxes[i]->setText(w.boxes[i]);
  }
};

void Compute(benchmark::State& state, const ModelCase& c) {
  QPushButton* compute = Prepare(Open(c), c, c.typed);
  compute->click();
  for (auto _ : state) compute->click();
  Settle();
}

void ComputeBaseline(benchmark::State& state, const ModelCase& c) {
  const Written w = WrittenByCompute(Open(c), c, c.typed);
  BareTexts bare(w);
  bare.Write(w);
  for (auto _ : state) bare.Write(w);
  Settle();
  state.counters["texts"] = static_cast<double>(w.labels.size() + w.boxes.size());
}

void ComputeAlternating(benchmark::State& state, const ModelCase& c) {
  FormWindow* form = Open(c);
  QPushButton* compute = Prepare(form, c, c.typedOther);
  bool other = false;
  for (auto _ : state) {
    TypeInto(form, other ? c.typedOther : c.typed);
    compute->click();
    other = !other;
  }
  Settle();
}

void ComputeAlternatingBaseline(benchmark::State& state, const ModelCase& c) {
  FormWindow* form = Open(c);
  const Written w[2] = {WrittenByCompute(form, c, c.typed), WrittenByCompute(form, c, c.typedOther)};
  if (w[0].labels.size() != w[1].labels.size()) {
    state.SkipWithError("the two input sets write different numbers of captions");
    return;
  }
  BareTexts bare(w[0]);
  bool other = false;
  for (auto _ : state) {
    // The same typing as the program's loop, then the captions.
    for (std::size_t i = 0; i < bare.boxes.size(); ++i) {
      bare.boxes[i]->setText(QString::fromUtf8((other ? c.typedOther : c.typed)[i].second));
    }
    bare.Write(w[other ? 1 : 0]);
    other = !other;
  }
  Settle();
}

void Switch(benchmark::State& state, const ModelCase& c) {
  FormWindow* menu = Menu();
  for (auto _ : state) {
    menu->Button(c.menuButton)->click();
    Settle();
    Visible()->Button("Command2")->click();
    Settle();
    menu = Visible();
  }
}

// A window with the design's labels, boxes and buttons (same captions and
// places), nothing else.
QWidget* BareForm(const marvane::forms::FormDesign& design) {
  auto* window = new QWidget;
  window->resize(marvane::forms::TwipsToPixels(design.clientWidth),
                 marvane::forms::TwipsToPixels(design.clientHeight));
  for (const marvane::forms::Control& ctl : design.controls) {
    const QString caption = QString::fromStdString(ctl.caption);
    QWidget* w = nullptr;
    switch (ctl.kind) {
      case marvane::forms::Kind::Label: w = new QLabel(caption, window); break;
      case marvane::forms::Kind::TextBox: w = new QLineEdit(caption, window); break;
      case marvane::forms::Kind::Button: w = new QPushButton(caption, window); break;
      case marvane::forms::Kind::List: w = new QComboBox(window); break;
    }
    w->setGeometry(marvane::forms::TwipsToPixels(ctl.left), marvane::forms::TwipsToPixels(ctl.top),
                   marvane::forms::TwipsToPixels(ctl.width), marvane::forms::TwipsToPixels(ctl.height));
  }
  return window;
}

void SwitchBaseline(benchmark::State& state, const ModelCase& c) {
  const marvane::forms::FormDesign& menuDesign = Menu()->Design();
  const marvane::forms::FormDesign& modelDesign = Open(c)->Design();
  Menu();
  QWidget* current = BareForm(menuDesign);
  current->show();
  Settle();
  for (auto _ : state) {
    for (const marvane::forms::FormDesign* d : {&modelDesign, &menuDesign}) {
      QWidget* next = BareForm(*d);
      next->show();
      current->hide();
      current->deleteLater();
      Settle();
      current = next;
    }
  }
  delete current;
  Settle();
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // The last work each Compute keeps goes to Qt's test folders, not over
  // the user's own.
  QStandardPaths::setTestModeEnabled(true);
  QApplication app(argc, argv);
  marvane::ConfigureApplication(app);
  marvane::RegisterForms();
  marvane::ShowMenu();
  Settle();

  using marvane::bench::Compare;
  for (const ModelCase& c : marvane::bench::ModelCases()) {
    const std::string f = c.form;
    auto reg = [&](const std::string& name, void (*fn)(benchmark::State&, const ModelCase&)) {
      benchmark::RegisterBenchmark(name.c_str(), [fn, &c](benchmark::State& s) { fn(s, c); });
    };
    reg("Compute/" + f, Compute);
    reg("Compute/" + f + "/baseline", ComputeBaseline);
    reg("ComputeAlternating/" + f, ComputeAlternating);
    reg("ComputeAlternating/" + f + "/baseline", ComputeAlternatingBaseline);
    reg("Switch/" + f, Switch);
    reg("Switch/" + f + "/baseline", SwitchBaseline);
    Compare({.title = "Compute " + f + " vs setText of the same texts",
             .subject = "Compute/" + f, .baseline = "Compute/" + f + "/baseline"});
    Compare({.title = "Compute " + f + ", inputs alternating, vs setText",
             .subject = "ComputeAlternating/" + f, .baseline = "ComputeAlternating/" + f + "/baseline"});
    Compare({.title = "Switch Choice -> " + f + " -> Choice vs bare windows",
             .subject = "Switch/" + f, .baseline = "Switch/" + f + "/baseline"});
  }
  return marvane::bench::RunAndReport(argc, argv);
}
