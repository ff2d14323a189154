#include "shell/sessions.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QTimer>
#include <cstdio>

#include "analysis/r_code.h"
#include "plot/model_paste_window.h"
#include "plot/probe_window.h"
#include "plot/work_report.h"
#include "shell/accessibility.h"
#include "shell/model_form.h"
#include "shell/navigation.h"
#include "shell/qt_text.h"
#include "shell/whole_file.h"
#include "shell/window_inputs.h"

namespace marvane::sessions {
namespace {

constexpr int kRecentKept = 10;
constexpr char kFilter[] = "Marvane sessions (*.marvane)";

// Set while a session is being opened: the presses made again are no new
// work to keep.
bool g_replaying = false;

QString& ChosenFolder() {
  static QString folder;
  return folder;
}

// The file a form's work belongs to, and the work as that file holds it;
// a child of the form, so it goes with it.
class WorkFile : public QObject {
 public:
  explicit WorkFile(QObject* form) : QObject(form) { setObjectName(QStringLiteral("marvaneWorkFile")); }
  QString path;
  QByteArray work;
};

WorkFile* FileRecord(const ModelForm& form) {
  return dynamic_cast<WorkFile*>(
      form.findChild<QObject*>(QStringLiteral("marvaneWorkFile"), Qt::FindDirectChildrenOnly));
}

// The session without what changes with every save: when, and by which Marvane.
QByteArray WorkText(Session s) {
  s.saved = QDateTime();
  s.programVersion.clear();
  return SessionJson(s);
}

void Stamp(Session& s) {
  s.saved = QDateTime::currentDateTimeUtc();
  s.programVersion = QCoreApplication::applicationVersion();
}

// Nothing typed, pressed or opened yet: no work to keep.
bool Untouched(const ModelForm& form) {
  if (!form.Steps().empty() || form.PlotWindow() != nullptr) return false;
  for (const auto& [box, text] : form.TypedBoxes()) {
    if (text != Q(form.Design().Find(Std(box))->caption)) return false;
  }
  return true;
}

ModelForm* LoadedModelForm(const QString& name) {
  return dynamic_cast<ModelForm*>(Forms::Instance().Find(Std(name)));
}

// ---- Titles: the file's name, and "*" while the work differs from it.

void ShowTitles(ModelForm& form) {
  const WorkFile* file = FileRecord(form);
  QString suffix;
  if (file != nullptr) {
    const bool differs = WorkText(Capture(form)) != file->work;
    suffix = QStringLiteral(" — ") + QFileInfo(file->path).fileName() + (differs ? QStringLiteral("*") : QString());
  }
  form.setWindowTitle(Q(form.Design().caption) + suffix);
  if (ProbeWindow* window = form.PlotWindow()) window->SetTitleSuffix(suffix);
}

// After any key or click anywhere, once the event has done its work, the
// titles of the forms that have a file are brought up to date.
class TitleWatcher : public QObject {
 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    switch (event->type()) {
      case QEvent::KeyRelease:
      case QEvent::MouseButtonRelease:
      case QEvent::Wheel:
      case QEvent::Drop:
        if (!pending_) {
          pending_ = true;
          QTimer::singleShot(0, this, [this] {
            pending_ = false;
            for (const forms::FormDesign* d : forms::AllDesigns()) {
              if (ModelForm* form = LoadedModelForm(Q(d->name)); form != nullptr && FileRecord(*form) != nullptr) {
                ShowTitles(*form);
              }
            }
          });
        }
        break;
      default:
        break;
    }
    return false;
  }

 private:
  bool pending_ = false;
};

void Associate(ModelForm& form, const QString& path, QByteArray work) {
  static TitleWatcher* watcher = [] {
    auto* w = new TitleWatcher;
    w->setParent(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(w);
    return w;
  }();
  (void)watcher;
  WorkFile* file = FileRecord(form);
  if (file == nullptr) file = new WorkFile(&form);
  file->path = QFileInfo(path).absoluteFilePath();
  file->work = std::move(work);
  ShowTitles(form);
}

// ---- The recent sessions

QString RecentPath() { return DataFolder() + QStringLiteral("/recent-sessions.json"); }

void Remember(const QString& path) {
  QStringList recent{QFileInfo(path).absoluteFilePath()};
  for (const QString& p : RecentSessions()) {
    if (!recent.contains(p) && recent.size() < kRecentKept) recent << p;
  }
  QDir().mkpath(DataFolder());
  // A list that cannot be written leaves the one there was: no place to say so.
  WriteWholeFile(RecentPath(),
                 QJsonDocument(QJsonObject{{QStringLiteral("recent"), QJsonArray::fromStringList(recent)}}).toJson());
}

// Writes the form's work as the last work. On leaving the form through
// QSaveFile, which waits until the file is on the disk; after a Compute,
// which comes far more often and should stay quick (the wait alone is some
// 300 µs), as a whole new file that then replaces the old one: a crash of
// the program leaves one or the other, never half a file. A data folder that
// cannot be written to leaves the last work as it was: a Compute or a Back
// is no place to say so.
void KeepLastWork(const ModelForm& form, bool leaving) {
  if (Untouched(form)) return;
  Session s = Capture(form);
  Stamp(s);
  QDir().mkpath(DataFolder());
  if (leaving) {
    WriteSessionFile(LastWorkPath(), s);
    return;
  }
  // A name of its own for the new file: two programs may keep their last
  // work at the same moment.
  QTemporaryFile fresh(DataFolder() + QStringLiteral("/last-work-XXXXXX.new"));
  const QByteArray text = SessionJson(s);
  if (!fresh.open() || fresh.write(text) != text.size() || !fresh.flush()) return;
  fresh.close();
  std::rename(QFile::encodeName(fresh.fileName()).constData(), QFile::encodeName(LastWorkPath()).constData());
}

// ---- Doing what the user did

void Type(ModelForm& form, const BoxTexts& boxes) {
  for (const auto& [box, text] : boxes) {
    if (QLineEdit* e = form.Box(Std(box))) e->setText(text);
  }
}

// The menu's switch to the session's form (from a model form, Back to the
// menu first, so that the form opens fresh), the boxes typed and each press
// made again, the boxes as they stood, then Plot and the window's inputs.
ModelForm* Replay(const Session& s, FormWindow* from) {
  Forms& forms = Forms::Instance();
  FormWindow* menu = forms.Find("Choice");
  if (auto* model = dynamic_cast<ModelForm*>(from)) {
    Leaving(*model);
    SwitchForm("Choice", from);
    menu = forms.Find("Choice");
  }
  if (menu == nullptr) {
    menu = forms.Load("Choice");
    forms.Show(menu);
  }
  g_replaying = true;
  SwitchForm(Std(s.form), menu);
  ModelForm* form = LoadedModelForm(s.form);
  if (form != nullptr) {
    for (const SessionStep& step : s.steps) {
      Type(*form, step.boxes);
      if (QPushButton* b = form->Button(Std(step.button))) b->click();
    }
    Type(*form, s.boxes);
    // The model the window used goes to it with Plot; one pasted after that
    // waits on the form for the next Plot, as it did.
    const auto pasted = [&](const std::optional<SessionModel>& m) {
      if (!m) return;
      if (std::optional<PastedModel> model = ModelFromText(Std(m->text), m->picks)) form->SetPastedModel(*model);
    };
    if (s.plotOpen) {
      pasted(s.usedModel);
      form->Plot_Click();
    }
    if (ProbeWindow* window = form->PlotWindow()) RestoreInputs(*window, s.plot);
    pasted(s.pendingModel);
  }
  g_replaying = false;
  return form;
}

// ---- Where the user acted: the menu's or the form's message, or the
// plot window's status beside its buttons.

void Tell(QWidget* where, const QString& text) {
  if (auto* window = dynamic_cast<ProbeWindow*>(where)) {
    window->SetWorkStatus(text, true);
    return;
  }
  auto* form = dynamic_cast<FormWindow*>(where);
  if (form == nullptr) return;
  QLabel* label = form->Label("sessionMessage");
  if (label == nullptr) label = form->Label("message");
  if (label == nullptr) return;
  label->setText(text);
  label->setVisible(!text.isEmpty());
  if (!text.isEmpty()) AnnounceAlert(label);
}

QString StartFolder() {
  const QStringList recent = RecentSessions();
  if (!recent.isEmpty()) return QFileInfo(recent.first()).absolutePath();
  return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

void AskAndSave(ModelForm& form, bool chooseFile, QWidget* teller) {
  QString path = FileOf(form);
  if (chooseFile || path.isEmpty()) {
    const QString suggested =
        path.isEmpty() ? StartFolder() + '/' + Q(form.Design().name).toLower() + QStringLiteral(".marvane") : path;
    path = QFileDialog::getSaveFileName(teller, QStringLiteral("Save session"), suggested, QLatin1String(kFilter));
    if (path.isEmpty()) return;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".marvane");
  }
  const QString problem = Save(form, path);
  if (!problem.isEmpty()) {
    Tell(teller, problem);
  } else if (auto* window = dynamic_cast<ProbeWindow*>(teller)) {
    window->SetWorkStatus(QStringLiteral("Saved the session as %1.").arg(QFileInfo(path).fileName()), false);
  }
}

void AskAndOpen(FormWindow* from, QWidget* teller) {
  const QString path = QFileDialog::getOpenFileName(teller, QStringLiteral("Open session"), StartFolder(),
                                                    QLatin1String(kFilter) + QStringLiteral(";;All files (*)"));
  if (path.isEmpty()) return;
  // On success `from` and `teller` are on their way out: nothing more to tell.
  if (const QString problem = Open(path, from); !problem.isEmpty()) Tell(teller, problem);
}

// The session in `path` made again from `from`: the form it opened, or what
// went wrong.
struct Opened {
  ModelForm* form = nullptr;
  QString problem;
};

Opened Replayed(const QString& path, FormWindow* from) {
  const SessionRead read = ReadSessionFile(path);
  if (!read.Ok()) return {nullptr, OpenProblem(path, read.error)};
  ModelForm* form = Replay(read.session, from);
  if (form == nullptr) return {nullptr, OpenProblem(path, QStringLiteral("its form could not be opened."))};
  return {form, {}};
}

ReportContent ReportOf(const ModelForm& form, const ProbeWindow& window) {
  ReportContent r;
  r.formCaption = Q(form.Design().caption);
  r.programVersion = QCoreApplication::applicationVersion();
  r.written = QDateTime::currentDateTime();
  for (const auto& [box, text] : form.PublishedBoxes()) {
    const forms::Control* c = form.Design().Find(Std(box));
    r.inputs.emplace_back(c != nullptr ? Q(c->meaning) : box, text);
  }
  r.formLines = form.PublishedLines();
  r.analysis = window.CurrentAnalysis();
  r.lines = window.CurrentFigure();
  r.region = window.RegionFigure();
  const std::vector<std::string>& effects = window.CurrentAnalysis().effectNames;
  if (const auto k = static_cast<std::size_t>(window.RegionEffect()); k < effects.size()) r.regionEffect = Q(effects[k]);
  r.settings = window.Settings();
  r.figureTitle = window.FigureTitle();
  r.rCode = RCodeOf(window);
  return r;
}

void AskAndSaveReport(const ModelForm& form, ProbeWindow& window) {
  QString filter;
  QString path = QFileDialog::getSaveFileName(
      &window, QStringLiteral("Save report"),
      StartFolder() + '/' + Q(form.Design().name).toLower() + QStringLiteral("-report.html"),
      QStringLiteral("HTML page (*.html);;PDF document (*.pdf)"), &filter);
  if (path.isEmpty()) return;
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix != QLatin1String("html") && suffix != QLatin1String("htm") && suffix != QLatin1String("pdf")) {
    path += filter.startsWith(QLatin1String("PDF")) ? QStringLiteral(".pdf") : QStringLiteral(".html");
  }
  const QString problem = SaveReport(form, window, path);
  window.SetWorkStatus(problem.isEmpty() ? QStringLiteral("Saved the report as %1.").arg(QFileInfo(path).fileName())
                                         : problem,
                       !problem.isEmpty());
}

}  // namespace

// ---- Called by the forms and the plot window

void AddShortcuts(ModelForm& form) {
  QObject::connect(new QShortcut(QKeySequence::Save, &form), &QShortcut::activated, &form,
                   [&form] { AskAndSave(form, false, &form); });
  AddOpenShortcut(form);
}

void AddOpenShortcut(FormWindow& form) {
  QObject::connect(new QShortcut(QKeySequence::Open, &form), &QShortcut::activated, &form,
                   [&form] { AskAndOpen(&form, &form); });
}

void AttachPlotWindow(ModelForm& form, ProbeWindow& window) {
  window.onSaveSession = [&form, &window](bool chooseFile) { AskAndSave(form, chooseFile, &window); };
  window.onOpenSession = [&form, &window] { AskAndOpen(&form, &window); };
  window.onSaveReport = [&form, &window] { AskAndSaveReport(form, window); };
  window.onCopyRCode = [&window] {
    QGuiApplication::clipboard()->setText(RCodeOf(window));
    window.SetWorkStatus(QStringLiteral("Copied the R code to the clipboard: it runs in R as it is."), false);
  };
  if (const WorkFile* file = FileRecord(form)) window.SetTitleSuffix(QStringLiteral(" — ") + QFileInfo(file->path).fileName());
}

void Computed(ModelForm& form) {
  if (g_replaying) return;
  if (FileRecord(form) != nullptr) ShowTitles(form);
  // Written once the click has been handled, so that a Compute shows its
  // results as fast as it did; Computes in a row are written once.
  static const char* const kPending = "marvaneLastWorkPending";
  if (form.property(kPending).toBool()) return;
  form.setProperty(kPending, true);
  QTimer::singleShot(0, &form, [&form] {
    form.setProperty(kPending, false);
    KeepLastWork(form, false);
  });
}

void Leaving(ModelForm& form) {
  if (!g_replaying) KeepLastWork(form, true);
}

// ---- Sessions

std::optional<SessionModel> Kept(const PastedModel* model) {
  if (model == nullptr) return std::nullopt;
  return SessionModel{.text = Q(model->text), .picks = model->picks};
}

Session Capture(const ModelForm& form) {
  Session s;
  s.form = Q(form.Design().name);
  s.boxes = form.TypedBoxes();
  s.steps = form.Steps();
  s.pendingModel = Kept(form.PendingModel());
  if (ProbeWindow* window = form.PlotWindow()) {
    s.plotOpen = true;
    s.plot = CaptureInputs(*window);
    s.usedModel = Kept(window->UsedModel());
  }
  return s;
}

QString Save(ModelForm& form, const QString& path) {
  Session s = Capture(form);
  Stamp(s);
  if (const QString why = WriteSessionFile(path, s); !why.isEmpty()) return SaveProblem(path, why);
  Associate(form, path, WorkText(s));
  Remember(path);
  return {};
}

QString Open(const QString& path, FormWindow* from) {
  const Opened opened = Replayed(path, from);
  if (opened.form == nullptr) return opened.problem;
  Associate(*opened.form, path, WorkText(Capture(*opened.form)));
  Remember(path);
  return {};
}

void OpenChosenFile(FormWindow* from) { AskAndOpen(from, from); }

QString FileOf(const ModelForm& form) {
  const WorkFile* file = FileRecord(form);
  return file != nullptr ? file->path : QString();
}

// ---- The last work and the recent sessions

QString DataFolder() {
  if (!ChosenFolder().isEmpty()) return ChosenFolder();
  return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
}

void SetDataFolder(const QString& folder) { ChosenFolder() = folder; }

QString LastWorkPath() { return DataFolder() + QStringLiteral("/last-work.marvane"); }

std::optional<LastWork> FindLastWork() {
  if (!QFileInfo::exists(LastWorkPath())) return std::nullopt;
  const SessionRead read = ReadSessionFile(LastWorkPath());
  if (!read.Ok()) return std::nullopt;
  const QDateTime when = read.session.saved.isValid() ? read.session.saved : QFileInfo(LastWorkPath()).lastModified();
  return LastWork{FormCaption(read.session.form), when.toLocalTime()};
}

QString OpenLastWork(FormWindow* from) { return Replayed(LastWorkPath(), from).problem; }

QStringList RecentSessions() {
  QFile file(RecentPath());
  if (!file.open(QIODevice::ReadOnly)) return {};
  QStringList out;
  for (const QJsonValue& v : QJsonDocument::fromJson(file.readAll()).object().value(QLatin1String("recent")).toArray()) {
    if (v.isString() && !v.toString().isEmpty() && out.size() < kRecentKept) out << v.toString();
  }
  return out;
}

// ---- Handing the work on

QString SaveReport(const ModelForm& form, const ProbeWindow& window, const QString& path, const QString& format) {
  const QString why = WriteReport(path, format, ReportOf(form, window));
  return why.isEmpty() ? QString() : SaveProblem(path, why);
}

QString RCodeOf(const ProbeWindow& window) {
  const RCodeHeader header{Std(QCoreApplication::applicationVersion()),
                           Std(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm")))};
  return Q(RCode(window.CurrentAnalysis(), header));
}

}  // namespace marvane::sessions
