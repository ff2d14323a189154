#include "plot/panel_parts.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>

#include "shell/form_window.h"
#include "shell/qt_text.h"

namespace marvane {

QPushButton* MakeButton(const QString& text, const char* name, QWidget* parent) {
  auto* b = new QPushButton(text, parent);
  b->setObjectName(QLatin1String(name));
  return b;
}

QLineEdit* MakeLineEdit(const char* name, const char* accessible, QWidget* parent, const QString& text) {
  auto* e = new QLineEdit(text, parent);
  e->setObjectName(QLatin1String(name));
  if (accessible != nullptr) e->setAccessibleName(QLatin1String(accessible));
  return e;
}

QPlainTextEdit* MakePasteBox(const char* name, const char* accessible, const QString& placeholder, QWidget* parent) {
  auto* box = new QPlainTextEdit(parent);
  box->setObjectName(QLatin1String(name));
  box->setAccessibleName(QLatin1String(accessible));
  box->setPlaceholderText(placeholder);
  box->setLineWrapMode(QPlainTextEdit::NoWrap);
  QFont mono(QStringLiteral("Liberation Mono"));
  mono.setStyleHint(QFont::Monospace);
  box->setFont(mono);
  return box;
}

QTableWidget* MakeResultTable(const QString& name, const QStringList& header, QWidget* parent) {
  auto* t = new QTableWidget(0, static_cast<int>(header.size()), parent);
  t->setObjectName(name);
  if (!header.isEmpty()) t->setHorizontalHeaderLabels(header);
  t->setEditTriggers(QAbstractItemView::NoEditTriggers);
  t->verticalHeader()->setVisible(false);
  t->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  t->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
  t->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  return t;
}

void SetResultRow(QTableWidget* t, int row, const QStringList& cells, int firstNumber) {
  for (int c = 0; c < cells.size() && c < t->columnCount(); ++c) {
    auto* item = new QTableWidgetItem(cells[c]);
    if (c >= firstNumber) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    t->setItem(row, c, item);
  }
}

QLabel* MakeWordsLabel(const QString& name, QWidget* parent) {
  auto* l = new QLabel(parent);
  l->setObjectName(name);
  l->setWordWrap(true);
  l->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return l;
}

void ShowStatus(QLabel* label, const QString& text, bool problem) {
  label->setText(text);
  QPalette pal = label->palette();
  pal.setColor(QPalette::WindowText,
               problem ? ProblemColour() : label->parentWidget()->palette().color(QPalette::WindowText));
  label->setPalette(pal);
}

void ShowStatus(QLabel* label, const StatusText& status) { ShowStatus(label, Q(status.text), status.problem); }

QHBoxLayout* FromTo(QLineEdit* from, QLineEdit* to, QWidget* parent) {
  auto* row = new QHBoxLayout;
  row->addWidget(from);
  row->addWidget(new QLabel(QStringLiteral("to"), parent));
  row->addWidget(to);
  return row;
}

CopyTextRow MakeCopyTextRow(const QString& name, QWidget* parent) {
  CopyTextRow c;
  c.button = new QPushButton(QStringLiteral("Copy te&xt"), parent);
  c.button->setObjectName(name);
  c.said = MakeWordsLabel(name + QStringLiteral("Done"), parent);
  c.row = new QHBoxLayout;
  c.row->addWidget(c.button);
  c.row->addWidget(c.said, 1);
  return c;
}

void CopySentences(QLabel* said, const QString& sentences) {
  if (sentences.isEmpty()) {
    ShowStatus(said, QStringLiteral("Nothing to copy yet: paste the covariance matrix of the weights first."), true);
    return;
  }
  QGuiApplication::clipboard()->setText(sentences);
  ShowStatus(said, QStringLiteral("Copied %1 sentences.").arg(sentences.count(QLatin1Char('\n'))), false);
}

void ShowTable(QTableWidget* t, const ShownTable& shown) {
  // The columns are fitted to their contents once, after every cell is set:
  // a table in view that fits them as each cell comes measures every cell of
  // the column again for each one.
  QHeaderView* header = t->horizontalHeader();
  header->setSectionResizeMode(QHeaderView::Fixed);
  t->setColumnCount(static_cast<int>(shown.header.size()));
  t->setHorizontalHeaderLabels(Q(shown.header));
  t->setRowCount(static_cast<int>(shown.rows.size()));
  // A row with fewer cells than before (a row now in words) keeps none of
  // its old numbers.
  t->clearContents();
  for (std::size_t r = 0; r < shown.rows.size(); ++r)
    SetResultRow(t, static_cast<int>(r), Q(shown.rows[r]), shown.firstNumber);
  header->setSectionResizeMode(QHeaderView::ResizeToContents);
}

}  // namespace marvane
