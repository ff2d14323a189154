#include "shell/accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <string>

#include "shell/form_window.h"
#include "shell/qt_text.h"

namespace marvane {
namespace {

constexpr const char* kValueLabelProperty = "marvaneValueLabel";

// A result label: named after what it shows, with the shown number as its
// value.
class ValueLabelAccessible : public QAccessibleWidget {
 public:
  explicit ValueLabelAccessible(QWidget* w) : QAccessibleWidget(w, QAccessible::StaticText) {}

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Value) {
      auto* label = qobject_cast<QLabel*>(widget());
      return label != nullptr ? label->text() : QString();
    }
    return QAccessibleWidget::text(t);
  }
};

QAccessibleInterface* ValueLabelFactory(const QString& className, QObject* object) {
  if (className == QLatin1String("QLabel") && object != nullptr && object->isWidgetType() &&
      object->property(kValueLabelProperty).toBool()) {
    return new ValueLabelAccessible(static_cast<QWidget*>(object));
  }
  return nullptr;
}

// "the weight of X" -> "weight of X": a name reads without the article.
QString WithoutArticle(const std::string& meaning) {
  QString s = Q(meaning);
  if (s.startsWith(QLatin1String("the "))) s.remove(0, 4);
  return s;
}

QString Sentence(const std::string& meaning) {
  QString s = Q(meaning);
  if (!s.isEmpty()) s[0] = s[0].toUpper();
  return s;
}

QString ButtonWords(const forms::Control& c) {
  if (c.caption == "Back") return QStringLiteral("Back to the menu");
  if (c.caption == "GO") return QStringLiteral("Go: show a row for each other term");
  return Q(c.caption);
}

}  // namespace

void DescribeForAccessibility(FormWindow& form) {
  static const bool factoryInstalled = [] {
    QAccessible::installFactory(ValueLabelFactory);
    return true;
  }();
  (void)factoryInstalled;

  for (const forms::Control& c : form.Design().controls) {
    QWidget* w = form.Control(c.name);
    if (w == nullptr) continue;
    switch (c.kind) {
      case forms::Kind::TextBox:
        w->setAccessibleName(WithoutArticle(c.meaning));
        w->setToolTip(Sentence(c.meaning));
        break;
      case forms::Kind::Button:
        w->setAccessibleName(ButtonWords(c));
        break;
      case forms::Kind::List:
        w->setAccessibleName(WithoutArticle(c.meaning));
        break;
      case forms::Kind::Label:
        if (!c.meaning.empty()) {
          w->setProperty(kValueLabelProperty, true);
          w->setAccessibleName(WithoutArticle(c.meaning));
        }
        break;
    }
  }
}

namespace {
AlertListener g_alertListener = nullptr;
}  // namespace

void ListenForAlerts(AlertListener listener) { g_alertListener = listener; }

void AnnounceAlert(QLabel* label) {
  if (label == nullptr) return;
  QAccessibleEvent event(label, QAccessible::Alert);
  if (g_alertListener != nullptr) g_alertListener(event);
  QAccessible::updateAccessibility(&event);
}

}  // namespace marvane
