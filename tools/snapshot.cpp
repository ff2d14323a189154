// Opens a form the way a user would, types into its boxes, clicks its
// buttons and saves a picture of the window. For looking at the forms (and
// for the README's pictures); run it under Xvfb or QT_QPA_PLATFORM=offscreen.
//
//   marvane_snapshot OUT.png [FORM] [box=text | click=button]...
//
// FORM is opened from the menu by the menu button of that name (Command1,
// Inomplete, ...); without it the menu itself is shown. When the steps open
// the form's plot window (click=Plot), it is saved too, as OUT-plot.png, and
// its figure as OUT-figure.png, .svg and .pdf; each of its other tabs as
// OUT-tab1.png, OUT-tab2.png, ..., and the region figure as OUT-region.png,
// .svg and .pdf. In the open plot window:
//   paste=FILE          pastes the text of FILE as the covariance matrix
//   plot:NAME=text      types into the window's box NAME (df, level, xFrom, ...),
//                       or sets the spin box NAME to a number (figureWidth, ...)
//   plot:NAME           clicks the button or check box NAME (bands, ...)
//   plot:NAME#k         chooses item k of the combo box NAME (range, style, ...)
// and on the form shown:
//   save=FILE           saves its work as a session file
//   open=FILE           opens a session file from it
//   report=FILE         saves the report of its plot window (.html or .pdf)
//   model=FILE          opens its Paste model window and adds the text of FILE
//                       to the paste (give it twice: a summary, then vcov)
//   pick:BOX=TERM       picks the pasted term for the box BOX there
//   model:apply         presses "Apply to the form" there
// The Paste model window, when open, is saved as OUT-model.png.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <cstdio>

#include "plot/model_paste_window.h"
#include "plot/probe_window.h"
#include "shell/app.h"
#include "shell/form_window.h"
#include "shell/model_form.h"
#include "shell/navigation.h"
#include "shell/sessions.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s OUT.png [MENU-BUTTON] [box=text|click=button]...\n", argv[0]);
    return 2;
  }
  marvane::ConfigureApplication(app);
  marvane::RegisterForms();
  marvane::ShowMenu();
  auto visible = [] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      auto* form = dynamic_cast<marvane::FormWindow*>(w);
      if (w->isVisible() && form != nullptr) return form;
    }
    return static_cast<marvane::FormWindow*>(nullptr);
  };
  auto plotWindow = [] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      auto* plot = dynamic_cast<marvane::ProbeWindow*>(w);
      if (plot != nullptr && plot->isVisible()) return plot;
    }
    return static_cast<marvane::ProbeWindow*>(nullptr);
  };
  for (int i = 2; i < argc; ++i) {
    QString arg = QString::fromLocal8Bit(argv[i]);
    marvane::FormWindow* form = visible();
    int eq = arg.indexOf('=');
    marvane::ProbeWindow* plot = plotWindow();
    if (plot != nullptr && arg.startsWith(QLatin1String("paste="))) {
      QFile file(arg.mid(6));
      if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(arg.mid(6)));
        return 1;
      }
      plot->findChild<QPlainTextEdit*>("covariance")->setPlainText(QString::fromUtf8(file.readAll()));
    } else if (plot != nullptr && arg.startsWith(QLatin1String("plot:"))) {
      const QString spec = arg.mid(5);
      const int set = spec.indexOf('=');
      const int item = spec.indexOf('#');
      if (set > 0 && plot->findChild<QAbstractSpinBox*>(spec.left(set)) != nullptr) {
        const QString name = spec.left(set), value = spec.mid(set + 1);
        if (auto* real = plot->findChild<QDoubleSpinBox*>(name)) real->setValue(value.toDouble());
        if (auto* whole = plot->findChild<QSpinBox*>(name)) whole->setValue(value.toInt());
      } else if (set > 0) {
        auto* box = plot->findChild<QLineEdit*>(spec.left(set));
        if (box == nullptr) return std::fprintf(stderr, "no box %s\n", qPrintable(spec.left(set))), 1;
        box->clear();
        QTest::keyClicks(box, spec.mid(set + 1));
      } else if (item > 0) {
        auto* combo = plot->findChild<QComboBox*>(spec.left(item));
        if (combo == nullptr) return std::fprintf(stderr, "no combo box %s\n", qPrintable(spec.left(item))), 1;
        combo->setCurrentIndex(spec.mid(item + 1).toInt());
      } else if (auto* check = plot->findChild<QCheckBox*>(spec)) {
        check->toggle();
      } else if (auto* button = plot->findChild<QPushButton*>(spec)) {
        QTest::mouseClick(button, Qt::LeftButton);
      } else {
        return std::fprintf(stderr, "no control %s\n", qPrintable(spec)), 1;
      }
    } else if (auto* model = dynamic_cast<marvane::ModelForm*>(form);
               model != nullptr && (arg.startsWith(QLatin1String("model")) || arg.startsWith(QLatin1String("pick:")))) {
      if (model->PasteModelWindow() == nullptr) QTest::mouseClick(model->Button("pasteModel"), Qt::LeftButton);
      marvane::ModelPasteWindow* paste = model->PasteModelWindow();
      if (arg.startsWith(QLatin1String("model="))) {
        QFile file(arg.mid(6));
        if (!file.open(QIODevice::ReadOnly)) return std::fprintf(stderr, "cannot read %s\n", qPrintable(arg.mid(6))), 1;
        auto* text = paste->findChild<QPlainTextEdit*>("modelText");
        text->setPlainText(text->toPlainText() + QString::fromUtf8(file.readAll()) + '\n');
      } else if (arg == QLatin1String("model:apply")) {
        QTest::mouseClick(paste->findChild<QPushButton*>("applyModel"), Qt::LeftButton);
      } else {
        auto* pick = paste->findChild<QComboBox*>("pick_" + arg.mid(5, eq - 5));
        const int at = pick != nullptr ? pick->findText(arg.mid(eq + 1)) : -1;
        if (at < 0) return std::fprintf(stderr, "no pick %s\n", qPrintable(arg)), 1;
        pick->setCurrentIndex(at);
      }
    } else if (arg.startsWith(QLatin1String("save=")) || arg.startsWith(QLatin1String("open=")) ||
               arg.startsWith(QLatin1String("report="))) {
      auto* model = dynamic_cast<marvane::ModelForm*>(form);
      const QString file = arg.section('=', 1);
      QString problem;
      if (arg.startsWith(QLatin1String("open="))) {
        problem = marvane::sessions::Open(file, form);
      } else if (model == nullptr) {
        problem = QStringLiteral("no model form is shown");
      } else if (arg.startsWith(QLatin1String("save="))) {
        problem = marvane::sessions::Save(*model, file);
      } else {
        problem = model->PlotWindow() == nullptr ? QStringLiteral("no plot window is open")
                                                 : marvane::sessions::SaveReport(*model, *model->PlotWindow(), file);
      }
      if (!problem.isEmpty()) return std::fprintf(stderr, "%s\n", qPrintable(problem)), 1;
    } else if (eq < 0) {
      QTest::mouseClick(form->Button(arg.toStdString()), Qt::LeftButton);
    } else if (arg.left(eq) == "click") {
      QTest::mouseClick(form->Button(arg.mid(eq + 1).toStdString()), Qt::LeftButton);
    } else {
      QLineEdit* box = form->Box(arg.left(eq).toStdString());
      box->clear();
      QTest::keyClicks(box, arg.mid(eq + 1));
    }
    QCoreApplication::processEvents();
  }
  QTest::qWait(200);
  marvane::FormWindow* form = visible();
  if (form == nullptr || !form->grab().save(QString::fromLocal8Bit(argv[1]))) {
    std::fprintf(stderr, "could not save %s\n", argv[1]);
    return 1;
  }
  QString base = QString::fromLocal8Bit(argv[1]);
  base.chop(4);
  if (auto* model = dynamic_cast<marvane::ModelForm*>(form); model != nullptr && model->PasteModelWindow() != nullptr &&
                                                            model->PasteModelWindow()->isVisible()) {
    model->PasteModelWindow()->grab().save(base + "-model.png");
  }
  for (QWidget* w : QApplication::topLevelWidgets()) {
    auto* plot = dynamic_cast<marvane::ProbeWindow*>(w);
    if (plot == nullptr || !plot->isVisible()) continue;
    auto* tabs = plot->findChild<QTabWidget*>("tabs");
    plot->grab().save(base + "-plot.png");
    for (int t = 1; tabs != nullptr && t < tabs->count(); ++t) {
      tabs->setCurrentIndex(t);
      QTest::qWait(100);
      plot->grab().save(base + "-tab" + QString::number(t) + ".png");
    }
    if (tabs != nullptr) tabs->setCurrentIndex(0);
    for (const char* suffix : {".png", ".svg", ".pdf"}) {
      plot->SaveFigure(base + "-figure" + suffix);
      plot->SaveFigure(base + "-region" + suffix, {}, marvane::ProbeWindow::Which::Region);
    }
  }
  return 0;
}
