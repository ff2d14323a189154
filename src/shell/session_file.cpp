#include "shell/session_file.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonParseError>
#include <algorithm>
#include <cmath>
#include <string>

#include "forms/form_design.h"
#include "shell/whole_file.h"

namespace marvane {
namespace {

// No session comes near this; a larger file is not read into memory.
constexpr qint64 kMaxSessionBytes = 64 * 1024 * 1024;

// A part of the file that is not as Marvane writes it.
struct Malformed {
  QString clause;
};

const forms::FormDesign* ModelDesign(const QString& form) {
  for (const forms::FormDesign* d : forms::AllDesigns()) {
    if (form == QString::fromStdString(d->name) && d->name != "Choice") return d;
  }
  return nullptr;
}

// The line and column (both from 1, columns in characters) of a byte offset.
std::pair<int, int> LineAndColumn(const QByteArray& text, qsizetype offset) {
  offset = std::clamp<qsizetype>(offset, 0, text.size());
  int line = 1;
  qsizetype lineStart = 0;
  for (qsizetype i = 0; i < offset; ++i) {
    if (text[i] == '\n') {
      ++line;
      lineStart = i + 1;
    }
  }
  const int column = static_cast<int>(QString::fromUtf8(text.mid(lineStart, offset - lineStart)).size()) + 1;
  return {line, column};
}

QJsonObject BoxesObject(const BoxTexts& boxes) {
  QJsonObject o;
  for (const auto& [name, text] : boxes) o.insert(name, text);
  return o;
}

// The boxes of `value` in the order of the design; every name must be a box
// of the form and every value a text. None at all is no box typed.
BoxTexts ReadBoxes(const QJsonValue& value, const forms::FormDesign& design, const QString& where) {
  if (value.isUndefined()) return {};
  if (!value.isObject()) throw Malformed{where + " are not a list of boxes and their texts"};
  const QJsonObject o = value.toObject();
  BoxTexts boxes;
  for (const forms::Control& c : design.controls) {
    const QString name = QString::fromStdString(c.name);
    if (c.kind != forms::Kind::TextBox || !o.contains(name)) continue;
    if (!o.value(name).isString()) throw Malformed{QStringLiteral("the box \"%1\" in %2 holds no text").arg(name, where)};
    boxes.emplace_back(name, o.value(name).toString());
  }
  if (boxes.size() != static_cast<std::size_t>(o.size())) {
    for (auto it = o.begin(); it != o.end(); ++it) {
      const forms::Control* c = design.Find(it.key().toStdString());
      if (c == nullptr || c->kind != forms::Kind::TextBox) {
        throw Malformed{QStringLiteral("%1 name \"%2\", which is not a box of the form %3")
                            .arg(where, it.key(), QString::fromStdString(design.name))};
      }
    }
  }
  return boxes;
}

// A button whose press a step can repeat: one of the form's own, but not
// Back (Command2 on every model form) and not Plot.
bool StepButton(const forms::FormDesign& design, const QString& name) {
  const forms::Control* c = design.Find(name.toStdString());
  return c != nullptr && c->kind == forms::Kind::Button && name != QLatin1String("Command2") &&
         name != QLatin1String("Plot");
}

std::vector<SessionStep> ReadSteps(const QJsonValue& value, const forms::FormDesign& design) {
  if (value.isUndefined()) return {};
  if (!value.isArray()) throw Malformed{QStringLiteral("its steps are not a list")};
  const QJsonArray steps = value.toArray();
  if (steps.size() > kMaxSessionSteps) {
    throw Malformed{QStringLiteral("it has %1 steps, more than the %2 a form keeps").arg(steps.size()).arg(kMaxSessionSteps)};
  }
  std::vector<SessionStep> out;
  for (qsizetype i = 0; i < steps.size(); ++i) {
    const QString where = QStringLiteral("step %1").arg(i + 1);
    const QJsonObject o = steps.at(i).toObject();
    const QString button = o.value(QLatin1String("button")).toString();
    if (!StepButton(design, button)) {
      throw Malformed{where + QStringLiteral(" presses no button of the form that it could press again")};
    }
    out.push_back({button, ReadBoxes(o.value(QLatin1String("boxes")), design, "the boxes of " + where)});
  }
  return out;
}

// A setting is a text, true or false, a number, or rows of texts.
bool SettingValue(const QJsonValue& v) {
  if (v.isString() || v.isBool()) return true;
  if (v.isDouble()) return std::isfinite(v.toDouble());
  if (!v.isArray()) return false;
  for (const QJsonValue& row : v.toArray()) {
    if (!row.isArray()) return false;
    for (const QJsonValue& cell : row.toArray()) {
      if (!cell.isString()) return false;
    }
  }
  return true;
}

void ReadPlot(const QJsonValue& value, Session& s) {
  if (value.isUndefined()) return;
  const QJsonObject plot = value.toObject();
  if (!value.isObject() || !plot.value(QLatin1String("open")).isBool()) {
    throw Malformed{QStringLiteral("it does not say whether the plot window was open")};
  }
  s.plotOpen = plot.value(QLatin1String("open")).toBool();
  const QJsonValue settings = plot.value(QLatin1String("settings"));
  if (settings.isUndefined()) return;
  if (!settings.isObject()) throw Malformed{QStringLiteral("its plot window settings are not a list")};
  s.plot = settings.toObject();
  for (auto it = s.plot.begin(); it != s.plot.end(); ++it) {
    if (it.key().isEmpty() || !SettingValue(it.value())) {
      throw Malformed{QStringLiteral("the plot window setting \"%1\" holds something other than a text, a number, "
                                     "true or false, or rows of texts")
                          .arg(it.key())};
    }
  }
}

// What identifies the file as a session this Marvane can read; "" when it is one.
QString Identify(const QJsonDocument& doc) {
  const QJsonObject o = doc.object();
  if (!doc.isObject() || o.value(QLatin1String("format")).toString() != QLatin1String(kSessionFormat)) {
    return QStringLiteral("it is not a Marvane session (it has no \"format\": \"%1\"). Open a file that "
                          "Marvane saved.")
        .arg(QLatin1String(kSessionFormat));
  }
  const QJsonValue version = o.value(QLatin1String("formatVersion"));
  const double v = version.toDouble(-1);
  if (!version.isDouble() || v != std::floor(v) || v < 1) {
    return QStringLiteral("it is not a Marvane session (its \"formatVersion\" is not a whole number from 1 on).");
  }
  if (v > kSessionFormatVersion) {
    return QStringLiteral("it was made by a newer Marvane (session format %1; this Marvane reads format %2). "
                          "Open it with a newer Marvane.")
        .arg(QString::number(v, 'g', 17))
        .arg(kSessionFormatVersion);
  }
  const QString form = o.value(QLatin1String("form")).toString();
  if (ModelDesign(form) == nullptr) {
    return QStringLiteral("it is for a form this Marvane does not have (\"%1\").").arg(form);
  }
  return {};
}

// The pasted model: a text and a pick for each weight of the form (no form
// has more than kMaxPicks), each a term's index or -1.
std::optional<SessionModel> ReadModel(const QJsonValue& value, const QString& where) {
  constexpr qsizetype kMaxPicks = 64;
  if (value.isUndefined()) return std::nullopt;
  const QJsonObject o = value.toObject();
  const QJsonValue text = o.value(QLatin1String("text")), picks = o.value(QLatin1String("picks"));
  if (!value.isObject() || !text.isString() || !picks.isArray() || picks.toArray().size() > kMaxPicks) {
    throw Malformed{QStringLiteral("its %1 model is not a pasted text with a pick for each weight").arg(where)};
  }
  SessionModel m{.text = text.toString(), .picks = {}};
  for (const QJsonValue& k : picks.toArray()) {
    const double d = k.toDouble(-2);
    if (!k.isDouble() || d != std::floor(d) || d < -1 || d > 1e6) {
      throw Malformed{QStringLiteral("a pick of its %1 model is not the number of a term").arg(where)};
    }
    m.picks.push_back(static_cast<int>(d));
  }
  return m;
}

void ReadModels(const QJsonValue& value, Session& s) {
  if (value.isUndefined()) return;
  if (!value.isObject()) throw Malformed{QStringLiteral("its pasted model is not a list")};
  s.usedModel = ReadModel(value.toObject().value(QLatin1String("used")), QStringLiteral("used"));
  s.pendingModel = ReadModel(value.toObject().value(QLatin1String("pending")), QStringLiteral("pending"));
}

}  // namespace

SessionRead ParseSession(const QByteArray& text) {
  QJsonParseError parse;
  const QJsonDocument doc = QJsonDocument::fromJson(text, &parse);
  if (parse.error != QJsonParseError::NoError) {
    const auto [line, column] = LineAndColumn(text, parse.offset);
    return {{},
            QStringLiteral("it is not a session: its text is not JSON (%1 at line %2, column %3). Open a file that "
                           "Marvane saved.")
                .arg(parse.errorString())
                .arg(line)
                .arg(column)};
  }
  if (QString problem = Identify(doc); !problem.isEmpty()) return {{}, problem};
  const QJsonObject o = doc.object();
  SessionRead read;
  Session& s = read.session;
  s.form = o.value(QLatin1String("form")).toString();
  s.programVersion = o.value(QLatin1String("programVersion")).toString();
  s.saved = QDateTime::fromString(o.value(QLatin1String("saved")).toString(), Qt::ISODate);
  const forms::FormDesign& design = *ModelDesign(s.form);
  try {
    s.boxes = ReadBoxes(o.value(QLatin1String("boxes")), design, QStringLiteral("its boxes"));
    s.steps = ReadSteps(o.value(QLatin1String("steps")), design);
    ReadPlot(o.value(QLatin1String("plot")), s);
    ReadModels(o.value(QLatin1String("model")), s);
  } catch (const Malformed& m) {
    return {{}, QStringLiteral("it is not a session as Marvane writes one: %1.").arg(m.clause)};
  }
  return read;
}

QByteArray SessionJson(const Session& s) {
  QJsonObject model;
  for (const auto& [name, m] : {std::pair{"used", &s.usedModel}, std::pair{"pending", &s.pendingModel}}) {
    if (!m->has_value()) continue;
    QJsonArray picks;
    for (const int k : (*m)->picks) picks.append(k);
    model.insert(QLatin1String(name), QJsonObject{{QStringLiteral("text"), (*m)->text}, {QStringLiteral("picks"), picks}});
  }
  QJsonArray steps;
  for (const SessionStep& step : s.steps) {
    steps.append(QJsonObject{{QStringLiteral("button"), step.button}, {QStringLiteral("boxes"), BoxesObject(step.boxes)}});
  }
  QJsonObject o{{QStringLiteral("format"), QLatin1String(kSessionFormat)},
                {QStringLiteral("formatVersion"), kSessionFormatVersion},
                {QStringLiteral("programVersion"), s.programVersion},
                {QStringLiteral("form"), s.form},
                {QStringLiteral("boxes"), BoxesObject(s.boxes)},
                {QStringLiteral("steps"), steps},
                {QStringLiteral("plot"), QJsonObject{{QStringLiteral("open"), s.plotOpen},
                                                     {QStringLiteral("settings"), s.plot}}}};
  if (!model.isEmpty()) o.insert(QStringLiteral("model"), model);
  if (s.saved.isValid()) o.insert(QStringLiteral("saved"), s.saved.toUTC().toString(Qt::ISODate));
  return QJsonDocument(o).toJson(QJsonDocument::Indented);
}

SessionRead ReadSessionFile(const QString& path) {
  const QFileInfo info(path);
  if (!info.exists()) return {{}, QStringLiteral("there is no such file. Check its name and folder.")};
  if (info.isDir()) return {{}, QStringLiteral("it is a folder, not a session file.")};
  if (info.size() > kMaxSessionBytes) {
    return {{}, QStringLiteral("at %1 MB it is far too large to be a session.").arg(info.size() / (1024 * 1024))};
  }
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    return {{}, QStringLiteral("it cannot be read (%1).").arg(file.errorString())};
  }
  const QByteArray text = file.readAll();
  if (file.error() != QFileDevice::NoError) {
    return {{}, QStringLiteral("it cannot be read (%1).").arg(file.errorString())};
  }
  return ParseSession(text);
}

QString WriteSessionFile(const QString& path, const Session& session) {
  const QString why = WriteWholeFile(path, SessionJson(session));
  if (why.isEmpty()) return {};
  return QStringLiteral("it cannot be written (%1). The file that was there is left as it was.").arg(why);
}

QString OpenProblem(const QString& path, const QString& clause) {
  return QStringLiteral("Could not open %1: %2").arg(QFileInfo(path).fileName(), clause);
}

QString SaveProblem(const QString& path, const QString& clause) {
  return QStringLiteral("Could not save %1: %2").arg(QFileInfo(path).fileName(), clause);
}

QString FormCaption(const QString& form) {
  const forms::FormDesign* d = ModelDesign(form);
  return d == nullptr ? QString() : QString::fromStdString(d->caption);
}

}  // namespace marvane
