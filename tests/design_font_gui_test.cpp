// The forms' fonts: every control of every design gets the font that the
// design's family, through the substitutes the program sets up, stands for,
// whatever name the window asks for it by.

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>

#include "gui_support.h"

using namespace marvane::testing;

namespace {

// The font a control's design asks for, named as the design names it.
QFont AsDesigned(const marvane::forms::Control& c) {
  QFont font(marvane::kDesignFontFamily);
  font.setPointSizeF(c.pointSize);
  font.setBold(c.bold);
  return font;
}

}  // namespace

class DesignFontGuiTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { StartForms(); }

  void controlsGetTheSubstitutedDesignFont_data() {
    QTest::addColumn<int>("design");
    const std::vector<const marvane::forms::FormDesign*> designs = marvane::forms::AllDesigns();
    for (std::size_t i = 0; i < designs.size(); ++i) {
      QTest::newRow(designs[i]->name.c_str()) << static_cast<int>(i);
    }
  }

  void controlsGetTheSubstitutedDesignFont() {
    QFETCH(int, design);
    const marvane::forms::FormDesign& d = *marvane::forms::AllDesigns().at(static_cast<std::size_t>(design));
    marvane::FormWindow window(d);
    for (const marvane::forms::Control& c : d.controls) {
      QWidget* w = window.Control(c.name);
      QVERIFY2(w != nullptr, c.name.c_str());
      const QFont expected = AsDesigned(c);
      const QFontInfo want(expected);
      const QFontInfo got(w->font());
      QCOMPARE(got.family(), want.family());
      QCOMPARE(got.styleName(), want.styleName());
      QCOMPARE(got.pointSizeF(), want.pointSizeF());
      QCOMPARE(got.bold(), want.bold());
      // Same glyphs, same advances: the caption lays out alike in both.
      const QString caption = QString::fromStdString(c.caption.empty() ? std::string("0.123456789") : c.caption);
      QCOMPARE(QFontMetricsF(w->font()).horizontalAdvance(caption), QFontMetricsF(expected).horizontalAdvance(caption));
    }
  }

  // Where a stand-in is installed, the forms name it outright rather than the
  // design family that no desktop has.
  void formsNameAnInstalledStandIn() {
    const QStringList installed = QFontDatabase::families();
    bool anyInstalled = false;
    for (const QString& f : marvane::DesignFontSubstitutes()) anyInstalled = anyInstalled || installed.contains(f);
    if (!anyInstalled) QSKIP("none of the design font's stand-ins is installed here");
    QVERIFY(marvane::DesignFontSubstitutes().contains(marvane::DesignFontFamily()));
  }
};

QTEST_MAIN(DesignFontGuiTest)
#include "design_font_gui_test.moc"
