#include "shell/window_inputs.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QJsonArray>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSet>
#include <QSpinBox>
#include <QTableWidget>
#include <vector>

namespace marvane {
namespace {

enum class Input { None, Text, PlainText, List, Check, Whole, Decimal, Table };

Input KindOf(const QWidget* w) {
  if (qobject_cast<const QPlainTextEdit*>(w) != nullptr) return Input::PlainText;
  if (qobject_cast<const QLineEdit*>(w) != nullptr) {
    // The box inside a spin box or a list is part of it.
    const QWidget* parent = w->parentWidget();
    const bool inner = qobject_cast<const QAbstractSpinBox*>(parent) != nullptr ||
                       qobject_cast<const QComboBox*>(parent) != nullptr;
    return inner ? Input::None : Input::Text;
  }
  if (qobject_cast<const QComboBox*>(w) != nullptr) return Input::List;
  if (const auto* b = qobject_cast<const QAbstractButton*>(w)) return b->isCheckable() ? Input::Check : Input::None;
  if (qobject_cast<const QSpinBox*>(w) != nullptr) return Input::Whole;
  if (qobject_cast<const QDoubleSpinBox*>(w) != nullptr) return Input::Decimal;
  if (const auto* t = qobject_cast<const QTableWidget*>(w)) {
    return t->editTriggers() == QAbstractItemView::NoEditTriggers ? Input::None : Input::Table;
  }
  return Input::None;
}

struct Named {
  QPointer<QWidget> widget;  // a widget may go while earlier inputs are put back
  Input kind;
};

// The window's named inputs in the order they were made, one per name.
std::vector<Named> NamedInputs(const QWidget& window) {
  std::vector<Named> out;
  QSet<QString> seen;
  for (QWidget* w : window.findChildren<QWidget*>()) {
    const QString name = w->objectName();
    if (name.isEmpty() || name.startsWith(QLatin1String("qt_")) || seen.contains(name)) continue;
    const Input kind = KindOf(w);
    if (kind == Input::None) continue;
    seen.insert(name);
    out.push_back({w, kind});
  }
  return out;
}

QJsonValue Value(const Named& n) {
  switch (n.kind) {
    case Input::Text: return static_cast<QLineEdit*>(n.widget.data())->text();
    case Input::PlainText: return static_cast<QPlainTextEdit*>(n.widget.data())->toPlainText();
    case Input::List: return static_cast<QComboBox*>(n.widget.data())->currentText();
    case Input::Check: return static_cast<QAbstractButton*>(n.widget.data())->isChecked();
    case Input::Whole: return static_cast<QSpinBox*>(n.widget.data())->value();
    case Input::Decimal: return static_cast<QDoubleSpinBox*>(n.widget.data())->value();
    case Input::Table: {
      const auto* t = static_cast<QTableWidget*>(n.widget.data());
      QJsonArray rows;
      for (int r = 0; r < t->rowCount(); ++r) {
        QJsonArray cells;
        for (int c = 0; c < t->columnCount(); ++c) cells.append(t->item(r, c) ? t->item(r, c)->text() : QString());
        rows.append(cells);
      }
      return rows;
    }
    case Input::None: break;
  }
  return {};
}

void SetTable(QTableWidget* t, const QJsonArray& rows) {
  for (int r = 0; r < t->rowCount() && r < rows.size(); ++r) {
    const QJsonArray cells = rows.at(r).toArray();
    for (int c = 0; c < t->columnCount() && c < cells.size(); ++c) {
      const QString text = cells.at(c).toString();
      if (QTableWidgetItem* item = t->item(r, c)) {
        if (item->text() != text) item->setText(text);
      } else {
        t->setItem(r, c, new QTableWidgetItem(text));
      }
    }
  }
}

void SetValue(const Named& n, const QJsonValue& v) {
  switch (n.kind) {
    case Input::Text:
      if (v.isString()) static_cast<QLineEdit*>(n.widget.data())->setText(v.toString());
      break;
    case Input::PlainText:
      if (v.isString()) static_cast<QPlainTextEdit*>(n.widget.data())->setPlainText(v.toString());
      break;
    case Input::List: {
      auto* list = static_cast<QComboBox*>(n.widget.data());
      const int at = list->findText(v.toString(), Qt::MatchExactly);
      if (v.isString() && at >= 0) list->setCurrentIndex(at);
      break;
    }
    case Input::Check:
      if (v.isBool()) static_cast<QAbstractButton*>(n.widget.data())->setChecked(v.toBool());
      break;
    case Input::Whole:
      if (v.isDouble()) static_cast<QSpinBox*>(n.widget.data())->setValue(v.toInt());
      break;
    case Input::Decimal:
      if (v.isDouble()) static_cast<QDoubleSpinBox*>(n.widget.data())->setValue(v.toDouble());
      break;
    case Input::Table:
      if (v.isArray()) SetTable(static_cast<QTableWidget*>(n.widget.data()), v.toArray());
      break;
    case Input::None: break;
  }
}

}  // namespace

QJsonObject CaptureInputs(const QWidget& window) {
  QJsonObject out;
  for (const Named& n : NamedInputs(window)) out.insert(n.widget->objectName(), Value(n));
  return out;
}

void RestoreInputs(QWidget& window, const QJsonObject& inputs) {
  // The order that works (the form's Compute and Plot have already given the
  // window its lines):
  //   1. the pasted text: the lists of which pasted row is which weight
  //      (map_<box>) are filled from it;
  //   2. boxes, check boxes and lists, in the order they were made: among
  //      them the size's unit, which converts the size it finds;
  //   3. spin boxes: the size, in the unit now chosen;
  //   4. tables: the legend has a row for each line the settings above
  //      leave in the figure;
  //   5. lists again: a list made early may have had its entry only once a
  //      later one was put back (the effects are named after the rows the
  //      mapping lists choose).
  const Input order[][3] = {{Input::PlainText, Input::PlainText, Input::PlainText},
                            {Input::Text, Input::Check, Input::List},
                            {Input::Whole, Input::Decimal, Input::Decimal},
                            {Input::Table, Input::Table, Input::Table},
                            {Input::List, Input::List, Input::List}};
  for (const auto& pass : order) {
    // Names are looked up afresh in each pass: an earlier one may have made
    // widgets (the mapping lists appear with the paste).
    for (const Named& n : NamedInputs(window)) {
      if (n.widget == nullptr) continue;
      const bool now = n.kind == pass[0] || n.kind == pass[1] || n.kind == pass[2];
      const QString name = n.widget->objectName();
      if (now && inputs.contains(name)) SetValue(n, inputs.value(name));
    }
  }
}

}  // namespace marvane
