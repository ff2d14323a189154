// Session files read and written without a window: every kind of bad file
// is told in words (and where a JSON text breaks, by line and column), a
// session reads back as it was written, and a file that cannot be written
// leaves the old one whole.

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QTemporaryDir>
#include <csignal>
#include <string>

#include "shell/session_file.h"

namespace marvane {
namespace {

// A good session of the Quant form, as a text, with `extra` lines spliced in
// before its last line (each ending in a comma).
QByteArray QuantText(const QByteArray& extra = {}, const QByteArray& form = "Quant",
                     const QByteArray& version = "1") {
  return "{\n"
         "  \"format\": \"marvane-session\",\n"
         "  \"formatVersion\": " +
         version + ",\n" + extra + "  \"form\": \"" + form + "\"\n}\n";
}

struct BadText {
  const char* name;
  QByteArray text;
  std::vector<std::string> words;  // all of them in the message
};

class BadSessionText : public ::testing::TestWithParam<BadText> {};

TEST_P(BadSessionText, IsToldInWords) {
  const SessionRead read = ParseSession(GetParam().text);
  ASSERT_FALSE(read.Ok());
  const std::string error = read.error.toStdString();
  for (const std::string& w : GetParam().words) EXPECT_NE(error.find(w), std::string::npos) << error;
}

// Where the JSON breaks, counted by hand: lines from 1, columns in
// characters from 1 (the "é" before the break is one column, two bytes).
INSTANTIATE_TEST_SUITE_P(
    Sessions, BadSessionText,
    ::testing::Values(
        BadText{"bare_word", "{\n  \"format\": \"marvane-session\",\n  \"form\": Quant\n}",
                {"not JSON", "line 3, column 11"}},
        BadText{"accent_before_break", "{\n  \"r\u00e9sum\u00e9\": \"\u00e9\", \"n\": x\n}", {"not JSON", "line 2, column 23"}},
        BadText{"garbage_after", "{}\n\n  x", {"not JSON", "garbage at the end", "line 3, column 3"}},
        BadText{"empty", "", {"not JSON", "line 1, column 1"}},
        BadText{"cut_off", "{\n  \"format\": \"marvane-session\",\n", {"not JSON", "line 3, column 1"}},
        BadText{"array", "[1, 2, 3]", {"not a Marvane session", "\"format\": \"marvane-session\""}},
        BadText{"other_format", "{\"format\": \"other\", \"formatVersion\": 1, \"form\": \"Quant\"}",
                {"not a Marvane session"}},
        BadText{"no_version", "{\"format\": \"marvane-session\", \"form\": \"Quant\"}", {"formatVersion", "whole number"}},
        BadText{"fractional_version", QuantText({}, "Quant", "1.5"), {"formatVersion", "whole number"}},
        BadText{"version_zero", QuantText({}, "Quant", "0"), {"formatVersion", "whole number"}},
        BadText{"version_as_text", QuantText({}, "Quant", "\"1\""), {"formatVersion", "whole number"}},
        BadText{"newer", QuantText({}, "Quant", "2"), {"made by a newer Marvane", "session format 2", "reads format 1"}},
        BadText{"far_newer", QuantText({}, "Quant", "100000"), {"made by a newer Marvane", "format 100000"}},
        BadText{"unknown_form", QuantText({}, "Quant4"), {"form this Marvane does not have", "\"Quant4\""}},
        BadText{"menu_is_no_model_form", QuantText({}, "Choice"), {"form this Marvane does not have", "\"Choice\""}},
        BadText{"box_of_another_form", QuantText("  \"boxes\": {\"hiz\": \"1\"},\n"),
                {"not a session as Marvane writes one", "\"hiz\"", "not a box of the form Quant"}},
        BadText{"label_is_no_box", QuantText("  \"boxes\": {\"se13\": \"1\"},\n"), {"\"se13\"", "not a box"}},
        BadText{"number_for_text", QuantText("  \"boxes\": {\"bx\": 0.5},\n"), {"the box \"bx\"", "holds no text"}},
        BadText{"boxes_as_list", QuantText("  \"boxes\": [\"0.5\"],\n"), {"its boxes are not a list of boxes"}},
        BadText{"step_presses_back",
                QuantText("  \"steps\": [{\"button\": \"Command2\", \"boxes\": {}}],\n"), {"step 1", "presses no button"}},
        BadText{"step_presses_plot",
                QuantText("  \"steps\": [{\"button\": \"Command1\", \"boxes\": {}}, {\"button\": \"Plot\", \"boxes\": {}}],\n"),
                {"step 2", "presses no button"}},
        BadText{"step_box_of_another_form",
                QuantText("  \"steps\": [{\"button\": \"Command1\", \"boxes\": {\"loz\": \"1\"}}],\n"),
                {"the boxes of step 1", "\"loz\""}},
        BadText{"plot_without_open", QuantText("  \"plot\": {\"settings\": {}},\n"), {"whether the plot window was open"}},
        BadText{"plot_setting_object",
                QuantText("  \"plot\": {\"open\": true, \"settings\": {\"df\": {\"a\": 1}}},\n"), {"setting \"df\""}},
        BadText{"plot_setting_null", QuantText("  \"plot\": {\"open\": true, \"settings\": {\"df\": null}},\n"),
                {"setting \"df\""}},
        BadText{"plot_table_of_numbers",
                QuantText("  \"plot\": {\"open\": true, \"settings\": {\"legend\": [[1, 2]]}},\n"), {"setting \"legend\""}},
        BadText{"model_as_text", QuantText("  \"model\": \"lm(y ~ x)\",\n"), {"its pasted model is not a list"}},
        BadText{"model_without_picks", QuantText("  \"model\": {\"used\": {\"text\": \"x\"}},\n"),
                {"its used model", "a pick for each weight"}},
        BadText{"model_pick_fraction",
                QuantText("  \"model\": {\"pending\": {\"text\": \"x\", \"picks\": [0, 1.5]}},\n"),
                {"a pick of its pending model"}},
        BadText{"model_pick_below_none",
                QuantText("  \"model\": {\"used\": {\"text\": \"x\", \"picks\": [-2]}},\n"), {"a pick of its used model"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SessionFile, TooManyStepsAreTold) {
  QByteArray steps = "  \"steps\": [";
  for (int i = 0; i <= kMaxSessionSteps; ++i) steps += QByteArray(i > 0 ? "," : "") + "{\"button\": \"Command1\", \"boxes\": {}}";
  const SessionRead read = ParseSession(QuantText(steps + "],\n"));
  ASSERT_FALSE(read.Ok());
  EXPECT_TRUE(read.error.contains(QStringLiteral("65 steps, more than the 64"))) << read.error.toStdString();
}

Session Example() {
  Session s;
  s.form = QStringLiteral("Incomplete");
  s.programVersion = QStringLiteral("0.1");
  s.saved = QDateTime(QDate(2026, 12, 9), QTime(22, 40, 5), Qt::UTC);
  s.boxes = {{"bx", "1.50"}, {"bz", " 1 2 "}, {"bxz", "12abc"}, {"numvars", "2"}, {"weight_0", "\u22121,5"},
             {"value_0", "Constant"}, {"value_1", "\"quoted\" \\ back"}};
  s.steps = {{"Command3", {{"numvars", "2"}}}, {"Command1", {{"bx", "1.50"}, {"numvars", "2"}}}};
  s.plotOpen = true;
  s.plot = QJsonObject{{"covariance", "  (Intercept) x\nx 1 2\n"},
                       {"df", "96"},
                       {"bands", true},
                       {"figureWidth", 16.51},
                       {"resolution", 300},
                       {"range", QStringLiteral("\u00b12 SD")},
                       {"legend", QJsonArray{QJsonArray{"High Z"}, QJsonArray{""}, QJsonArray{"Low \u201cZ\u201d"}}}};
  s.usedModel = SessionModel{.text = "Coefficients:\n  (Intercept) x\n", .picks = {0, 1, -1, 3}};
  s.pendingModel = SessionModel{.text = "", .picks = {}};
  return s;
}

TEST(SessionFile, ReadsBackAsWritten) {
  const Session s = Example();
  const QByteArray text = SessionJson(s);
  const SessionRead read = ParseSession(text);
  ASSERT_TRUE(read.Ok()) << read.error.toStdString();
  // The boxes come back in the order of the form's design, whatever the
  // order in the file.
  Session expected = s;
  expected.boxes = {{"bx", "1.50"},       {"bz", " 1 2 "}, {"bxz", "12abc"}, {"numvars", "2"}, {"weight_0", "\u22121,5"},
                    {"value_0", "Constant"}, {"value_1", "\"quoted\" \\ back"}};
  EXPECT_EQ(read.session, expected);
  EXPECT_EQ(read.session.steps, s.steps);
  EXPECT_EQ(read.session.plot, s.plot);
  // What identifies the file, as a person reading it finds it.
  EXPECT_TRUE(text.contains("\"format\": \"marvane-session\"")) << text.toStdString();
  EXPECT_TRUE(text.contains("\"formatVersion\": 1,")) << text.toStdString();
  EXPECT_TRUE(text.contains("\"saved\": \"2026-12-09T22:40:05Z\"")) << text.toStdString();
  EXPECT_TRUE(text.contains("\"bx\": \"1.50\"")) << "numbers are kept as typed";
  EXPECT_TRUE(text.contains("\u2212") && !text.contains("\\u2212")) << "UTF-8, not escapes";
}

TEST(SessionFile, OlderPartsMayBeLeftOut) {
  const SessionRead read = ParseSession(QuantText());
  ASSERT_TRUE(read.Ok()) << read.error.toStdString();
  EXPECT_EQ(read.session.form, QStringLiteral("Quant"));
  EXPECT_TRUE(read.session.boxes.empty());
  EXPECT_TRUE(read.session.steps.empty());
  EXPECT_FALSE(read.session.plotOpen);
  EXPECT_FALSE(read.session.saved.isValid());
}

TEST(SessionFile, FilesThatCannotBeReadAreTold) {
  QTemporaryDir dir;
  const SessionRead missing = ReadSessionFile(dir.filePath("gone.marvane"));
  EXPECT_TRUE(missing.error.startsWith(QStringLiteral("there is no such file"))) << missing.error.toStdString();
  const SessionRead folder = ReadSessionFile(dir.path());
  EXPECT_TRUE(folder.error.contains(QStringLiteral("a folder"))) << folder.error.toStdString();
  EXPECT_EQ(OpenProblem(dir.filePath("gone.marvane"), missing.error),
            QStringLiteral("Could not open gone.marvane: ") + missing.error);
}

TEST(SessionFile, WrittenFileReadsBack) {
  QTemporaryDir dir;
  const QString path = dir.filePath("work.marvane");
  ASSERT_EQ(WriteSessionFile(path, Example()), QString());
  const SessionRead read = ReadSessionFile(path);
  ASSERT_TRUE(read.Ok()) << read.error.toStdString();
  EXPECT_EQ(read.session.plot, Example().plot);
}

TEST(SessionFile, NoFolderToWriteInIsTold) {
  QTemporaryDir dir;
  const QString error = WriteSessionFile(dir.filePath("no/such/folder/work.marvane"), Example());
  EXPECT_TRUE(error.startsWith(QStringLiteral("it cannot be written"))) << error.toStdString();
  EXPECT_FALSE(QFile::exists(dir.filePath("no/such/folder/work.marvane")));
}

// A write that fails part-way (here: the file size limit, which holds for
// root as well) leaves the file that was there whole.
TEST(SessionFile, FailedWriteLeavesTheOldFileWhole) {
  QTemporaryDir dir;
  const QString path = dir.filePath("work.marvane");
  Session small = Example();
  small.plot = {};
  ASSERT_EQ(WriteSessionFile(path, small), QString());
  QFile before(path);
  ASSERT_TRUE(before.open(QIODevice::ReadOnly));
  const QByteArray old = before.readAll();
  before.close();

  Session large = Example();
  large.plot.insert("covariance", QString(200000, 'x'));
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto previous = std::signal(SIGXFSZ, SIG_IGN);
  rlimit limited = saved;
  limited.rlim_cur = 64 * 1024;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
  const QString error = WriteSessionFile(path, large);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previous);

  EXPECT_TRUE(error.contains(QStringLiteral("cannot be written"))) << error.toStdString();
  EXPECT_TRUE(error.contains(QStringLiteral("left as it was"))) << error.toStdString();
  QFile after(path);
  ASSERT_TRUE(after.open(QIODevice::ReadOnly));
  EXPECT_EQ(after.readAll(), old);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"work.marvane"}) << "no temporary file left behind";
}

}  // namespace
}  // namespace marvane
