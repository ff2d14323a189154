// ParseSession of arbitrary bytes, as a .marvane file may hold them (cut
// short, edited by hand, made by another program or a newer Marvane), and a
// session read written out and read back.
//
// Properties:
//   - the reading never crashes and ends in one of two ways;
//   - an error: a clause in words that follows "Could not open <file>: "
//     (starts with "it ", ends with a full stop), and one that names a line
//     and a column when the text is not JSON;
//   - a session: of one of the six model forms, every box name one of that
//     form's boxes (at most once, in the order of the design), at most 64
//     steps each pressing one of the form's own buttons but Back and Plot,
//     every plot setting a text, true or false, a finite number or rows
//     of texts, and a pasted model at most 64 picks, each -1 or more;
//   - SessionJson of the session reads back as the same session, and writes
//     out again as the same text.

#include <QJsonArray>
#include <cmath>
#include <cstdint>
#include <set>
#include <string>

#include "forms/form_design.h"
#include "fuzz_support.h"
#include "shell/session_file.h"

using namespace marvane;
using namespace marvane::fuzz;

namespace {

const forms::FormDesign* Design(const QString& form) {
  for (const forms::FormDesign* d : forms::AllDesigns()) {
    if (form == QString::fromStdString(d->name)) return d;
  }
  return nullptr;
}

void CheckBoxes(const BoxTexts& boxes, const forms::FormDesign& d, const std::string& where) {
  std::size_t last = 0;
  bool first = true;
  for (const auto& [name, text] : boxes) {
    const forms::Control* c = d.Find(name.toStdString());
    FUZZ_CHECK(c != nullptr && c->kind == forms::Kind::TextBox, where + ": " + name.toStdString());
    const std::size_t at = static_cast<std::size_t>(c - d.controls.data());
    FUZZ_CHECK(first || at > last, where + ": out of the design's order at " + name.toStdString());
    first = false;
    last = at;
  }
}

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

void CheckSession(const Session& s) {
  const forms::FormDesign* d = Design(s.form);
  FUZZ_CHECK(d != nullptr && d->name != "Choice", "form " + s.form.toStdString());
  FUZZ_CHECK(!FormCaption(s.form).isEmpty(), "no caption for " + s.form.toStdString());
  CheckBoxes(s.boxes, *d, "boxes");
  FUZZ_CHECK(s.steps.size() <= static_cast<std::size_t>(kMaxSessionSteps), std::to_string(s.steps.size()) + " steps");
  for (const SessionStep& step : s.steps) {
    const forms::Control* b = d->Find(step.button.toStdString());
    FUZZ_CHECK(b != nullptr && b->kind == forms::Kind::Button && step.button != "Command2" && step.button != "Plot",
               "step presses " + step.button.toStdString());
    CheckBoxes(step.boxes, *d, "step " + step.button.toStdString());
  }
  for (auto it = s.plot.begin(); it != s.plot.end(); ++it) {
    FUZZ_CHECK(!it.key().isEmpty() && SettingValue(it.value()), "plot setting " + it.key().toStdString());
  }
  for (const std::optional<SessionModel>* m : {&s.usedModel, &s.pendingModel}) {
    if (!m->has_value()) continue;
    FUZZ_CHECK((*m)->picks.size() <= 64, std::to_string((*m)->picks.size()) + " picks");
    for (const int k : (*m)->picks) FUZZ_CHECK(k >= -1, "a pick of " + std::to_string(k));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray text(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
  const SessionRead read = ParseSession(text);
  if (!read.Ok()) {
    const std::string e = read.error.toStdString();
    FUZZ_CHECK(e.rfind("it ", 0) == 0 && e.back() == '.', Quote(e));
    if (e.rfind("it is not a session: its text is not JSON (", 0) == 0) {
      FUZZ_CHECK(e.find(" at line ") != std::string::npos && e.find(", column ") != std::string::npos, Quote(e));
    }
    return 0;
  }
  CheckSession(read.session);
  const QByteArray written = SessionJson(read.session);
  const SessionRead again = ParseSession(written);
  FUZZ_CHECK(again.Ok(), again.error.toStdString() + " reading back " + Quote(written.toStdString()));
  FUZZ_CHECK(again.session == read.session, "a different session read back from " + Quote(written.toStdString()));
  FUZZ_CHECK(SessionJson(again.session) == written, "written twice differently: " + Quote(written.toStdString()));
  return 0;
}
