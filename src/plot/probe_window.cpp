#include "plot/probe_window.h"

#include <QAccessible>
#include <QBuffer>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <QSaveFile>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>

#include "shell/fault.h"
#include "shell/number_text.h"
#include "plot/figure_view.h"
#include "plot/panel_parts.h"
#include "plot/regions_panel.h"
#include "plot/significance_panel.h"
#include "plot/svg_device.h"

namespace marvane {

namespace {

constexpr double kCmPerInch = 2.54;

QString Q(const std::string& s) { return QString::fromStdString(s); }

// A summary of the figure in words, for screen readers.
QString Describe(const figure::Figure& f, const Probe& p) {
  if (!f.note.empty()) return Q(f.note);
  QString text = QStringLiteral("%1 lines of Y on X from X = %2 to %3. ")
                     .arg(f.lines.size())
                     .arg(Q(NumberToText(f.xMin)), Q(NumberToText(f.xMax)));
  for (std::size_t i = 0; i < f.lines.size() && i < p.lines.size(); ++i) {
    text += QStringLiteral("%1: slope %2, intercept %3. ")
                .arg(Q(f.lines[i].name), Q(NumberToText(p.lines[i].line.slope, 4)),
                     Q(NumberToText(p.lines[i].line.intercept, 4)));
  }
  if (p.linesMeet) {
    text += f.meeting ? QStringLiteral("All lines meet at X = %1.").arg(Q(NumberToText(p.meetingX, 4)))
                      : QStringLiteral("The lines meet outside the range, at X = %1.")
                            .arg(Q(NumberToText(p.meetingX, 4)));
  }
  return text.trimmed();
}

// The bytes that `write` puts on the device it is given.
template <typename Write>
QByteArray Collect(Write write) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  write(&buffer);
  return bytes;
}

QByteArray RenderPng(const figure::Figure& f, QSizeF inches, int dpi, FigureStyle style) {
  QImage image(static_cast<int>(std::lround(inches.width() * dpi)), static_cast<int>(std::lround(inches.height() * dpi)),
               QImage::Format_RGB32);
  const int dpm = static_cast<int>(std::lround(dpi / 0.0254));
  image.setDotsPerMeterX(dpm);
  image.setDotsPerMeterY(dpm);
  image.fill(Qt::white);
  {
    QPainter p(&image);
    PaintFigure(p, f, QRectF(0, 0, image.width(), image.height()), dpi, style);
  }
  return Collect([&](QIODevice* out) { image.save(out, "PNG"); });
}

// Empty, with the reason in `error`, when the SVG writer cannot be loaded.
QByteArray RenderSvg(const figure::Figure& f, QSizeF inches, FigureStyle style, const QString& title,
                     QString* error) {
  constexpr int kDpi = 96;
  return Collect([&](QIODevice* out) {
    const QSizeF px = inches * kDpi;
    const std::unique_ptr<QPaintDevice> svg = NewSvgDevice(out, {.pixels = px, .dpi = kDpi, .title = title}, error);
    if (svg == nullptr) return;
    QPainter p(svg.get());
    PaintFigure(p, f, QRectF(QPointF(0, 0), px), kDpi, style);
  });
}

QByteArray RenderPdf(const figure::Figure& f, QSizeF inches, FigureStyle style, const QString& title) {
  constexpr int kDpi = 300;
  return Collect([&](QIODevice* out) {
    QPdfWriter pdf(out);
    pdf.setTitle(title);
    pdf.setResolution(kDpi);
    pdf.setPageSize(QPageSize(inches, QPageSize::Inch, QString(), QPageSize::ExactMatch));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter p(&pdf);
    PaintFigure(p, f, QRectF(0, 0, inches.width() * kDpi, inches.height() * kDpi), kDpi, style);
  });
}

}  // namespace

ProbeWindow::ProbeWindow(QWidget* form) : QWidget(form, Qt::Window) {
  setObjectName(QStringLiteral("Probe"));
  setAttribute(Qt::WA_DeleteOnClose);

  plot_ = new FigureView({.figure = [this]() -> const figure::Figure& { return figure_; },
                          .inches = [this] { return FigureInches(); },
                          .style = [this] { return Style(); }},
                         this);
  plot_->setObjectName(QStringLiteral("plot"));
  notice_ = new QLabel(this);
  notice_->setObjectName(QStringLiteral("notice"));
  notice_->setWordWrap(true);
  notice_->setTextInteractionFlags(Qt::TextSelectableByMouse);

  style_ = new QComboBox(this);
  style_->setObjectName(QStringLiteral("style"));
  style_->addItems({QStringLiteral("Black and white"), QStringLiteral("Colour")});
  range_ = new QComboBox(this);
  range_->setObjectName(QStringLiteral("range"));
  range_->addItems({QStringLiteral("±1 SD"), QStringLiteral("±2 SD"), QStringLiteral("Typed")});
  xFrom_ = new QLineEdit(this);
  xFrom_->setObjectName(QStringLiteral("xFrom"));
  xTo_ = new QLineEdit(this);
  xTo_->setObjectName(QStringLiteral("xTo"));
  xTitle_ = new QLineEdit(QStringLiteral("X"), this);
  xTitle_->setObjectName(QStringLiteral("xTitle"));
  yTitle_ = new QLineEdit(QStringLiteral("Y"), this);
  yTitle_->setObjectName(QStringLiteral("yTitle"));
  legend_ = new QTableWidget(0, 1, this);
  legend_->setObjectName(QStringLiteral("legend"));
  legend_->setHorizontalHeaderLabels({QStringLiteral("Legend name")});
  legend_->horizontalHeader()->setStretchLastSection(true);
  legend_->setMaximumHeight(130);

  width_ = new QDoubleSpinBox(this);
  width_->setObjectName(QStringLiteral("figureWidth"));
  height_ = new QDoubleSpinBox(this);
  height_->setObjectName(QStringLiteral("figureHeight"));
  for (QDoubleSpinBox* box : {width_, height_}) {
    box->setLocale(QLocale::c());
    box->setDecimals(2);
    box->setRange(1, 40);
    box->setSingleStep(0.5);
  }
  width_->setValue(6.5);
  height_->setValue(4.5);
  unit_ = new QComboBox(this);
  unit_->setObjectName(QStringLiteral("figureUnit"));
  unit_->addItems({QStringLiteral("in"), QStringLiteral("cm")});
  resolution_ = new QSpinBox(this);
  resolution_->setObjectName(QStringLiteral("resolution"));
  resolution_->setLocale(QLocale::c());
  resolution_->setRange(50, 1200);
  resolution_->setValue(300);
  resolution_->setSuffix(QStringLiteral(" dpi"));

  save_ = new QPushButton(QStringLiteral("Save figure…"), this);
  save_->setObjectName(QStringLiteral("saveFigure"));
  copyFigure_ = new QPushButton(QStringLiteral("Copy figure"), this);
  copyFigure_->setObjectName(QStringLiteral("copyFigure"));
  bands_ = new QCheckBox(QStringLiteral("Confidence &bands"), this);
  bands_->setObjectName(QStringLiteral("bands"));
  copyTable_ = new QPushButton(QStringLiteral("Copy table"), this);
  copyTable_->setObjectName(QStringLiteral("copyTable"));

  auto* controls = new QFormLayout;
  controls->addRow(QStringLiteral("&Style"), style_);
  controls->addRow(QStringLiteral("X &range"), range_);
  auto* typed = new QHBoxLayout;
  typed->addWidget(xFrom_);
  typed->addWidget(new QLabel(QStringLiteral("to"), this));
  typed->addWidget(xTo_);
  controls->addRow(QStringLiteral("Typed X from"), typed);
  controls->addRow(QStringLiteral("X &title"), xTitle_);
  controls->addRow(QStringLiteral("Y t&itle"), yTitle_);
  controls->addRow(legend_);
  auto* size = new QHBoxLayout;
  size->addWidget(width_);
  size->addWidget(new QLabel(QStringLiteral("×"), this));
  size->addWidget(height_);
  size->addWidget(unit_);
  controls->addRow(QStringLiteral("Si&ze"), size);
  controls->addRow(QStringLiteral("PNG r&esolution"), resolution_);
  controls->addRow(bands_);
  auto* buttons = new QVBoxLayout;
  for (QPushButton* b : {save_, copyFigure_, copyTable_}) buttons->addWidget(b);
  controls->addRow(buttons);

  auto* left = new QVBoxLayout;
  left->addWidget(notice_);
  left->addWidget(plot_, 1);
  auto* figurePage = new QWidget(this);
  auto* top = new QHBoxLayout(figurePage);
  top->addLayout(left, 1);
  top->addLayout(controls);

  significance_ = new SignificancePanel(this);
  significance_->onChanged = [this] { Redraw(); };
  significance_->onCopyText = [this] { CopyText(); };
  regions_ = new RegionsPanel([this] { return FigureInches(); }, [this] { return Style(); }, this);
  regions_->onSave = [this] { SaveFigureClicked(Which::Region); };
  regions_->onCopy = [this] { CopyFigure(Which::Region); };

  tabs_ = new QTabWidget(this);
  tabs_->setObjectName(QStringLiteral("tabs"));
  tabs_->addTab(figurePage, QStringLiteral("&Figure"));
  tabs_->addTab(significance_, QStringLiteral("Si&gnificance"));
  tabs_->addTab(regions_, QStringLiteral("Re&gions"));
  auto* whole = new QVBoxLayout(this);
  whole->addWidget(tabs_);
  resize(1080, 640);

  // Each setting redraws at once.
  connect(style_, &QComboBox::currentIndexChanged, this, [this] { Redraw(); });
  connect(range_, &QComboBox::currentIndexChanged, this, [this] { Redraw(); });
  for (QLineEdit* e : {xFrom_, xTo_, xTitle_, yTitle_}) connect(e, &QLineEdit::textChanged, this, [this] { Redraw(); });
  connect(legend_, &QTableWidget::itemChanged, this, [this] {
    if (!syncing_) Redraw();
  });
  for (QDoubleSpinBox* b : {width_, height_}) {
    connect(b, &QDoubleSpinBox::valueChanged, this, [this] { plot_->update(); });
  }
  connect(unit_, &QComboBox::currentIndexChanged, this, [this] { OnUnitChanged(); });
  connect(save_, &QPushButton::clicked, this, [this] { SaveFigureClicked(Which::Lines); });
  connect(copyFigure_, &QPushButton::clicked, this, [this] { CopyFigure(Which::Lines); });
  connect(copyTable_, &QPushButton::clicked, this, [this] { CopyTable(); });
  connect(bands_, &QCheckBox::toggled, this, [this] { Redraw(); });
}

void ProbeWindow::ShowProbe(const Probe& probe) {
  probe_ = probe;
  hasProbe_ = true;
  stale_ = false;
  staleMessage_.clear();
  setWindowTitle(QStringLiteral("Plot — ") + Q(probe.caption));
  if (xFrom_->text().isEmpty() && xTo_->text().isEmpty() && probe.stdx > 0) {
    xFrom_->setText(Q(NumberToText(-2 * probe.stdx)));
    xTo_->setText(Q(NumberToText(2 * probe.stdx)));
  }
  SyncLegend();
  significance_->SetProbe(probe_);
  Redraw();
}

void ProbeWindow::MarkStale(const QString& formMessage) {
  stale_ = true;
  staleMessage_ = formMessage;
  Redraw();
}

const figure::Figure& ProbeWindow::RegionFigure() const { return regions_->RegionFigure(); }

FigureStyle ProbeWindow::Style() const {
  return style_->currentIndex() == 1 ? FigureStyle::Colour : FigureStyle::BlackAndWhite;
}

QSizeF ProbeWindow::FigureInches() const {
  const double k = unit_->currentIndex() == 1 ? 1 / kCmPerInch : 1.0;
  return {width_->value() * k, height_->value() * k};
}

int ProbeWindow::Resolution() const { return resolution_->value(); }

void ProbeWindow::OnUnitChanged() {
  // The same size in the other unit.
  const bool cm = unit_->currentIndex() == 1;
  const double k = cm ? kCmPerInch : 1 / kCmPerInch;
  for (QDoubleSpinBox* b : {width_, height_}) {
    const double v = b->value() * k;
    b->setRange(cm ? 2.54 : 1, cm ? 101.6 : 40);
    b->setValue(v);
  }
}

void ProbeWindow::SyncLegend() {
  syncing_ = true;
  const int n = static_cast<int>(probe_.lines.size());
  const int before = legend_->rowCount();
  legend_->setRowCount(n);
  for (int i = before; i < n; ++i) {
    legend_->setItem(i, 0, new QTableWidgetItem(Q(probe_.lines[static_cast<std::size_t>(i)].name)));
  }
  syncing_ = false;
}

figure::Options ProbeWindow::CurrentOptions() const {
  figure::Options o;
  o.range = static_cast<figure::Range>(range_->currentIndex());
  o.xTitle = xTitle_->text().toStdString();
  o.yTitle = yTitle_->text().toStdString();
  for (int i = 0; i < legend_->rowCount(); ++i) {
    const QTableWidgetItem* item = legend_->item(i, 0);
    o.names.push_back(item != nullptr ? item->text().trimmed().toStdString() : std::string());
  }
  return o;
}

void ProbeWindow::SetNotice(const QString& text, bool problem) { ShowStatus(notice_, text, problem); }

void ProbeWindow::Redraw() {
  if (!hasProbe_) return;
  figure::Options o = CurrentOptions();
  QString rangeProblem;
  const bool typed = o.range == figure::Range::Typed;
  xFrom_->setEnabled(typed);
  xTo_->setEnabled(typed);
  if (typed) {
    try {
      o.typedFrom = StrictParse(xFrom_->text().toStdString());
      o.typedTo = StrictParse(xTo_->text().toStdString());
    } catch (const Fault&) {
      rangeProblem = QStringLiteral("The typed X range needs two numbers, such as -4 and 4.");
      o.typedFrom = o.typedTo = 0;
    }
  }
  // The X range as the plain figure sets it judges where the lines cross.
  const figure::Figure plain = figure::Describe(probe_, o);
  const bool rangeOk = rangeProblem.isEmpty() && plain.note.empty();
  QString rangeWords;
  switch (o.range) {
    case figure::Range::OneSd: rangeWords = QStringLiteral("±1 SD of X"); break;
    case figure::Range::TwoSd: rangeWords = QStringLiteral("±2 SD of X"); break;
    case figure::Range::Typed:
      rangeWords = QStringLiteral("X from %1 to %2").arg(Q(NumberToText(plain.xMin)), Q(NumberToText(plain.xMax)));
      break;
  }
  regions_->Update(probe_, *significance_, plain.xMin, plain.xMax, rangeOk, rangeWords);

  if (significance_->Ready()) {
    o.covariance = &significance_->Covariance();
    o.reference = significance_->Distribution();
    o.bands = bands_->isChecked();
    for (const stats::Crossover& c : regions_->CrossoverRows()) {
      if (c.state == stats::Test::State::Tested && c.kind == stats::Crossover::Kind::Interval) {
        o.crossover = c;
        break;
      }
    }
  }
  figure_ = o.bands || o.crossover ? figure::Describe(probe_, o) : plain;
  if (!rangeProblem.isEmpty()) figure_.note = rangeProblem.toStdString();
  if (bands_->isChecked() && !significance_->Ready() && figure_.bandsNote.empty()) {
    figure_.bandsNote = "The bands need the covariance matrix of the weights: paste it on the Significance tab.";
  }
  plot_->setAccessibleName(QStringLiteral("Figure of the simple-effect lines"));
  plot_->setAccessibleDescription(Describe(figure_, probe_));
  if (stale_) {
    SetNotice(QStringLiteral("The figure is not up to date: it shows the last Compute that ended without a fault. ") +
                  staleMessage_,
              true);
  } else if (!figure_.note.empty()) {
    SetNotice(Q(figure_.note), true);
  } else if (!figure_.bandsNote.empty()) {
    SetNotice(Q(figure_.bandsNote), true);
  } else {
    SetNotice(QStringLiteral("The figure shows the lines of the last Compute."), false);
  }
  plot_->update();
}

QString ProbeWindow::TableText() const {
  QString out = QStringLiteral("Simple-effect lines\nline\tslope\tintercept\tX1\tY1\tX2\tY2\n");
  const figure::Options o = CurrentOptions();
  for (std::size_t i = 0; i < probe_.lines.size(); ++i) {
    const ProbeLine& l = probe_.lines[i];
    out += Q(figure::LegendName(probe_, o, i));
    for (double v : {l.line.slope, l.line.intercept, l.line.x1, l.line.y1, l.line.x2, l.line.y2}) {
      out += '\t' + Q(NumberToText(v));
    }
    out += '\n';
  }
  return out + significance_->SectionsText() + regions_->SectionsText();
}

bool ProbeWindow::SaveFigure(const QString& path, const QString& format, Which which) {
  const figure::Figure& shown = which == Which::Region ? regions_->RegionFigure() : figure_;
  QString kind = format.isEmpty() ? QFileInfo(path).suffix().toLower() : format.toLower();
  const QString title = windowTitle();
  QByteArray bytes;
  QString why;
  if (kind == QLatin1String("png")) {
    bytes = RenderPng(shown, FigureInches(), Resolution(), Style());
  } else if (kind == QLatin1String("svg")) {
    bytes = RenderSvg(shown, FigureInches(), Style(), title, &why);
  } else if (kind == QLatin1String("pdf")) {
    bytes = RenderPdf(shown, FigureInches(), Style(), title);
  } else {
    SetNotice(QStringLiteral("Could not save %1: the name must end in .png, .svg or .pdf.").arg(path), true);
    return false;
  }
  QSaveFile file(path);
  if (bytes.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
    if (why.isEmpty()) why = bytes.isEmpty() ? QStringLiteral("the figure could not be drawn") : file.errorString();
    file.cancelWriting();
    SetNotice(QStringLiteral("Could not save %1: %2.").arg(path, why), true);
    return false;
  }
  SetNotice(QStringLiteral("Saved the figure as %1.").arg(path), false);
  return true;
}

void ProbeWindow::SaveFigureClicked(Which which) {
  QString filter;
  const QString path = QFileDialog::getSaveFileName(
      this, QStringLiteral("Save figure"),
      which == Which::Region ? QStringLiteral("region.png") : QStringLiteral("figure.png"),
      QStringLiteral("PNG image (*.png);;SVG drawing (*.svg);;PDF document (*.pdf)"), &filter);
  if (path.isEmpty()) return;
  QString kind = QFileInfo(path).suffix().toLower();
  if (kind != QLatin1String("png") && kind != QLatin1String("svg") && kind != QLatin1String("pdf")) {
    kind = filter.startsWith(QLatin1String("SVG")) ? QStringLiteral("svg")
           : filter.startsWith(QLatin1String("PDF")) ? QStringLiteral("pdf")
                                                      : QStringLiteral("png");
    SaveFigure(path + '.' + kind, kind, which);
    return;
  }
  SaveFigure(path, {}, which);
}

void ProbeWindow::CopyFigure(Which which) {
  const figure::Figure& shown = which == Which::Region ? regions_->RegionFigure() : figure_;
  QImage image;
  image.loadFromData(RenderPng(shown, FigureInches(), std::min(Resolution(), 300), Style()), "PNG");
  QGuiApplication::clipboard()->setImage(image);
  SetNotice(QStringLiteral("Copied the figure to the clipboard."), false);
}

void ProbeWindow::CopyText() {
  const QString text = significance_->SentencesText() + regions_->SentencesText();
  if (text.isEmpty()) {
    SetNotice(QStringLiteral("Nothing to copy as text yet: paste the covariance matrix of the weights first."), true);
    return;
  }
  QGuiApplication::clipboard()->setText(text);
  SetNotice(QStringLiteral("Copied the report sentences to the clipboard."), false);
}

void ProbeWindow::CopyTable() {
  QGuiApplication::clipboard()->setText(TableText());
  SetNotice(QStringLiteral("Copied the table of lines to the clipboard."), false);
}

}  // namespace marvane
