#pragma once

// What the session tests share: everything a user sees of a form and its
// plot window as one list of texts, the plot window driven like a user, and
// the file dialogs answered.

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QCryptographicHash>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileDialog>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimer>

#include "gui_support.h"
#include "models/incomplete_form.h"
#include "plot/figure_export.h"
#include "plot/model_paste_window.h"
#include "plot/probe_window.h"
#include "shell/sessions.h"
#include "shell/window_inputs.h"

namespace marvane::testing {

inline QString ImageHash(const figure::Figure& f, const FigureSettings& s) {
  FigureSettings low = s;
  low.dpi = 60;
  const QImage image = FigureImage(f, low);
  return QString::fromLatin1(
      QCryptographicHash::hash(QByteArrayView(image.constBits(), image.sizeInBytes()), QCryptographicHash::Sha1)
          .toHex());
}

// The R code without its first lines (when it was written).
inline QString RCodeBody(const ProbeWindow& w) {
  QString code = sessions::RCodeOf(w);
  return code.mid(code.indexOf(QLatin1String("\n\n")));
}

// Every text the plot window shows: its title, every named input (and
// whether it can be used), every table's header and cells, every named
// label, the lists' entries, the copied table, sentences and R code, and
// both figures as drawn.
inline QStringList WindowSnapshot(ProbeWindow* w) {
  QStringList out{"plot title=" + w->windowTitle(), QStringLiteral("plot shown=%1").arg(w->isVisible())};
  const QJsonObject inputs = CaptureInputs(*w);
  for (auto it = inputs.begin(); it != inputs.end(); ++it) {
    out << "input " + it.key() + "=" + QString::fromUtf8(QJsonDocument(QJsonObject{{"v", it.value()}}).toJson(QJsonDocument::Compact));
  }
  for (QWidget* c : w->findChildren<QWidget*>()) {
    if (c->objectName().isEmpty() || c->objectName().startsWith("qt_")) continue;
    const QString name = c->objectName();
    if (auto* t = qobject_cast<QTableWidget*>(c)) {
      for (int col = 0; col < t->columnCount(); ++col) {
        out << QStringLiteral("%1 header %2=%3").arg(name).arg(col).arg(t->horizontalHeaderItem(col) ? t->horizontalHeaderItem(col)->text() : QString());
      }
      for (int r = 0; r < t->rowCount(); ++r) {
        for (int col = 0; col < t->columnCount(); ++col) {
          out << QStringLiteral("%1 %2,%3=%4").arg(name).arg(r).arg(col).arg(t->item(r, col) ? t->item(r, col)->text() : QString());
        }
      }
    } else if (auto* l = qobject_cast<QLabel*>(c)) {
      out << "label " + name + "=" + l->text();
    } else if (auto* list = qobject_cast<QComboBox*>(c)) {
      QStringList entries;
      for (int i = 0; i < list->count(); ++i) entries << list->itemText(i);
      out << "entries " + name + "=" + entries.join('|');
    }
    out << QStringLiteral("enabled %1=%2").arg(name).arg(c->isEnabled());
  }
  out << "table text=" + w->TableText() << "sentences=" + w->SentencesText() << "R code=" + RCodeBody(*w);
  out << "figure=" + ImageHash(w->CurrentFigure(), w->Settings());
  out << "region figure=" + ImageHash(w->RegionFigure(), w->Settings());
  return out;
}

// Everything a user sees of the form: its title, every control's text and
// whether it is shown, what Incomplete prints on its surface; and its plot
// window, when it has one.
inline QStringList Snapshot(ModelForm* f) {
  QStringList out{"title=" + f->windowTitle(), "surface=" + f->SurfaceText()};
  for (const forms::Control& c : f->Design().controls) {
    const QString name = QString::fromStdString(c.name);
    out << name + (Shown(f, name) ? " shown=" : " hidden=") + Caption(f, name) +
               QStringLiteral(" enabled=%1").arg(f->Control(c.name)->isEnabled());
  }
  if (ProbeWindow* w = f->PlotWindow()) out += WindowSnapshot(w);
  return out;
}

// A step in the plot window, as a user takes it:
//   paste=FILE       pastes the text of tests/data/matrices/FILE
//   NAME=text        types the text into the box NAME
//   NAME#k           chooses entry k of the list NAME
//   NAME@text        chooses the entry of that text
//   NAME:=v          sets the spin box NAME to v
//   NAME!            clicks the check box NAME
//   legend[k]=text   names line k in the legend
inline void PlotStep(ProbeWindow* w, const QString& step) {
  if (step.startsWith("paste=")) {
    QFile file(QStringLiteral(MARVANE_TEST_DATA "/matrices/") + step.mid(6));
    QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(step));
    w->findChild<QPlainTextEdit*>("covariance")->setPlainText(QString::fromUtf8(file.readAll()));
  } else if (step.startsWith("legend[")) {
    const int row = step.mid(7, step.indexOf(']') - 7).toInt();
    auto* legend = w->findChild<QTableWidget*>("legend");
    QVERIFY(legend != nullptr && legend->item(row, 0) != nullptr);
    legend->item(row, 0)->setText(step.section('=', 1));
  } else if (step.contains(":=")) {
    QWidget* spin = w->findChild<QWidget*>(step.section(":=", 0, 0));
    if (auto* d = qobject_cast<QDoubleSpinBox*>(spin)) {
      d->setValue(step.section(":=", 1).toDouble());
    } else if (auto* i = qobject_cast<QSpinBox*>(spin)) {
      i->setValue(step.section(":=", 1).toInt());
    } else {
      QFAIL(qPrintable("no spin box for " + step));
    }
  } else if (step.contains('#') || step.contains('@')) {
    const bool byText = step.contains('@');
    const QChar mark = byText ? '@' : '#';
    auto* list = w->findChild<QComboBox*>(step.section(mark, 0, 0));
    QVERIFY2(list != nullptr, qPrintable(step));
    const int at = byText ? list->findText(step.section(mark, 1)) : step.section(mark, 1).toInt();
    QVERIFY2(at >= 0 && at < list->count(), qPrintable(step));
    list->setCurrentIndex(at);
  } else if (step.endsWith('!')) {
    auto* check = w->findChild<QAbstractButton*>(step.chopped(1));
    QVERIFY2(check != nullptr, qPrintable(step));
    QTest::mouseClick(check, Qt::LeftButton);
  } else {
    auto* box = w->findChild<QLineEdit*>(step.section('=', 0, 0));
    QVERIFY2(box != nullptr, qPrintable(step));
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Delete);
    QTest::keyClicks(box, step.section('=', 1));
  }
  Settle();
}

// Answers the next file dialog with `path` (or cancels it, for an empty
// path), as a user types the name and presses Enter.
inline void AnswerFileDialog(const QString& path) {
  auto* poll = new QTimer;
  poll->setInterval(20);
  QObject::connect(poll, &QTimer::timeout, [poll, path] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) return;
    poll->stop();
    poll->deleteLater();
    if (path.isEmpty()) {
      dialog->reject();
      return;
    }
    auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
    QVERIFY(name != nullptr);
    name->setText(path);
    QTest::keyClick(name, Qt::Key_Return);
  });
  poll->start();
}

inline ModelForm* Loaded(const char* form) {
  return dynamic_cast<ModelForm*>(Forms::Instance().Find(form));
}

}  // namespace marvane::testing
