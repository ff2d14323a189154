#include "shell/form_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextLayout>
#include <algorithm>
#include <vector>

#include "shell/accessibility.h"
#include "shell/navigation.h"
#include "shell/qt_text.h"

namespace marvane {
namespace {

using forms::Align;
using forms::Colour;
using forms::Kind;
using forms::Role;
using forms::TwipsToPixels;

const QColor kFormColour(255, 128, 0);
const QColor kGreen(0, 255, 0);
const QColor kBlue(0, 0, 255);

QFont DesignFont(const forms::Control& c) {
  QFont font(DesignFontFamily());
  font.setPointSizeF(c.pointSize);
  font.setBold(c.bold);
  return font;
}

// Whether, with `text` wrapped at `width` pixels as a word-wrapped label
// wraps it, the text after every run of two or more blanks that follows
// other text starts a line of its own.
bool BlankRunsStartLines(const QString& text, const QFont& font, int width) {
  QTextLayout layout(text, font);
  QTextOption option;
  option.setWrapMode(QTextOption::WordWrap);
  layout.setTextOption(option);
  QList<int> lineStarts;
  layout.beginLayout();
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    line.setLineWidth(width);
    lineStarts.append(line.textStart());
  }
  layout.endLayout();
  const QChar blank(' ');
  bool seenText = false;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == blank) continue;
    if (seenText && i >= 2 && text[i - 1] == blank && text[i - 2] == blank &&
        !lineStarts.contains(static_cast<int>(i))) {
      return false;
    }
    seenText = true;
  }
  return true;
}

// The designer filled each line of such a note up with blanks in a font
// whose blank is wider than the substitute's, so in the substitute the next
// sentence may still fit after a run. Narrow the wrapping width (a right
// margin, as little as will do) until every run ends its line again; the
// caption keeps its blanks.
void BreakAtBlankRuns(QLabel* label, int width) {
  for (int wrap = width; wrap > width / 2; --wrap) {
    if (BlankRunsStartLines(label->text(), label->font(), wrap)) {
      label->setContentsMargins(0, 0, width - wrap, 0);
      return;
    }
  }
}

QWidget* BuildControl(const forms::Control& c, QWidget* parent) {
  QWidget* w = nullptr;
  switch (c.kind) {
    case Kind::Label: {
      auto* label = new QLabel(Q(c.caption), parent);
      label->setWordWrap(true);
      label->setAlignment((c.align == Align::Right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop);
      label->setTextFormat(Qt::PlainText);
      if (c.role == Role::Message) StyleAsMessage(label);
      w = label;
      break;
    }
    case Kind::TextBox: {
      auto* box = new QLineEdit(Q(c.caption), parent);
      QPalette pal = box->palette();
      pal.setColor(QPalette::Base, kFormColour);
      box->setPalette(pal);
      box->setTextMargins(0, 0, 0, 0);
      w = box;
      break;
    }
    case Kind::Button: {
      auto* button = new QPushButton(Q(c.caption), parent);
      QPalette pal = button->palette();
      pal.setColor(QPalette::Button, c.colour == Colour::Blue ? kBlue : kGreen);
      pal.setColor(QPalette::ButtonText, Qt::black);
      button->setPalette(pal);
      button->setAutoDefault(false);
      w = button;
      break;
    }
    case Kind::List: {
      auto* list = new QComboBox(parent);
      QPalette pal = list->palette();
      pal.setColor(QPalette::Button, kGreen);
      pal.setColor(QPalette::ButtonText, Qt::black);
      list->setPalette(pal);
      w = list;
      break;
    }
  }
  w->setObjectName(Q(c.name));
  w->setFont(DesignFont(c));
  w->setGeometry(TwipsToPixels(c.left), TwipsToPixels(c.top), TwipsToPixels(c.width),
                 TwipsToPixels(c.height));
  if (c.role == Role::Message) w->setVisible(false);
  if (c.blankRunsBreakLines && c.kind == Kind::Label) {
    BreakAtBlankRuns(static_cast<QLabel*>(w), TwipsToPixels(c.width));
  }
  return w;
}

}  // namespace

QColor ProblemColour() { return {128, 0, 0}; }

void StyleAsMessage(QLabel* label) {
  QPalette pal = label->palette();
  pal.setColor(QPalette::WindowText, ProblemColour());
  label->setPalette(pal);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
}

QStringList DesignFontSubstitutes() {
  return {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"), QStringLiteral("Arial"),
          QStringLiteral("DejaVu Sans")};
}

QString DesignFontFamily() {
  // A font that names the design family ends up in its first installed
  // substitute all the same, but only after Qt has asked fontconfig for the
  // missing family's fallbacks, which sorts every installed font, once per
  // font of the menu: a twentieth of the instructions of the whole start.
  // Naming the substitute itself gives the same font without that.
  // (The installed families are read from the font database as it stands:
  // QFontDatabase::hasFamily would first run the name through fontconfig's
  // substitution rules, another half million instructions.)
  static const QString family = [] {
    const QStringList installed = QFontDatabase::families();
    for (const QString& f : DesignFontSubstitutes()) {
      if (installed.contains(f, Qt::CaseInsensitive)) return f;
    }
    return QString::fromLatin1(kDesignFontFamily);
  }();
  return family;
}

FormWindow::FormWindow(const forms::FormDesign& design) : design_(design) {
  setObjectName(Q(design.name));
  setWindowTitle(Q(design.caption));
  QPalette pal = palette();
  pal.setColor(QPalette::Window, kFormColour);
  setPalette(pal);
  setAutoFillBackground(true);
  // A fixed placement puts the client area's top-left corner at the design's
  // point; otherwise the window system places the window.
  const int w = TwipsToPixels(design.clientWidth);
  const int h = TwipsToPixels(design.clientHeight);
  if (design.position) {
    setGeometry(TwipsToPixels(design.position->x), TwipsToPixels(design.position->y), w, h);
  } else {
    resize(w, h);
  }

  std::vector<std::pair<int, QWidget*>> tabbed;
  for (const forms::Control& c : design.controls) {
    QWidget* w = BuildControl(c, this);
    controls_.emplace(c.name, w);
    if (c.kind == Kind::Label) {
      w->setFocusPolicy(Qt::NoFocus);
    } else {
      tabbed.emplace_back(c.tabIndex, w);
    }
  }
  std::stable_sort(tabbed.begin(), tabbed.end(),
                   [](const auto& x, const auto& y) { return x.first < y.first; });
  for (std::size_t i = 1; i < tabbed.size(); ++i) {
    QWidget::setTabOrder(tabbed[i - 1].second, tabbed[i].second);
  }
  DescribeForAccessibility(*this);
}

QWidget* FormWindow::Control(std::string_view name) const {
  auto it = controls_.find(name);
  return it == controls_.end() ? nullptr : it->second;
}

QLabel* FormWindow::Label(std::string_view name) const { return qobject_cast<QLabel*>(Control(name)); }
QLineEdit* FormWindow::Box(std::string_view name) const { return qobject_cast<QLineEdit*>(Control(name)); }
QPushButton* FormWindow::Button(std::string_view name) const {
  return qobject_cast<QPushButton*>(Control(name));
}

void FormWindow::FocusFirstControl() {
  int best = -1;
  QWidget* target = nullptr;
  for (const forms::Control& c : design_.controls) {
    if (c.kind == Kind::Label || c.tabIndex < 0) continue;
    QWidget* w = Control(c.name);
    if (w == nullptr || w->isHidden() || !w->isEnabled()) continue;
    if (target == nullptr || c.tabIndex < best) {
      best = c.tabIndex;
      target = w;
    }
  }
  if (target != nullptr) target->setFocus(Qt::OtherFocusReason);
}

void FormWindow::closeEvent(QCloseEvent* event) {
  // The window's close box unloads the form; with it the last loaded form
  // goes, and so does the program.
  event->accept();
  Forms::Instance().Unload(this);
}

}  // namespace marvane
