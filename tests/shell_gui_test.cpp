// Start-up, the menu and navigation, driven as a user would.

#include <QFile>
#include <QIcon>
#include <QImage>
#include <QTimer>

#include "gui_support.h"

using namespace marvane::testing;

namespace {

// Runs the event loop as the program does, with `steps` queued to happen in
// it; returns exec()'s result, or 99 if nothing ended the loop in time.
int RunProgram(const std::function<void()>& steps) {
  QTimer::singleShot(0, qApp, steps);
  QTimer watchdog;
  watchdog.setSingleShot(true);
  QObject::connect(&watchdog, &QTimer::timeout, qApp, [] { QCoreApplication::exit(99); });
  watchdog.start(5000);
  return QCoreApplication::exec();
}

}  // namespace

class ShellGuiTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { StartForms(); }

  // Showing the menu loads no SVG code: the program does not link libQt6Svg
  // (its SVG writer is a module loaded when a figure is saved as SVG), and no
  // SVG icon is read for the window icon. First of the tests: reading an
  // image file (as the icon test does) loads Qt's image-format plugins, the
  // SVG one with libQt6Svg among them.
  void startLoadsNoSvgLibrary() {
    FreshMenu();
    Settle();
    QFile maps(QStringLiteral("/proc/self/maps"));
    QVERIFY(maps.open(QIODevice::ReadOnly));
    const QByteArray mapped = maps.readAll();
    QVERIFY(mapped.contains("libQt6Widgets"));  // the list is what it seems
    QVERIFY2(!mapped.contains("libQt6Svg"), "libQt6Svg was loaded");
    QVERIFY2(!mapped.contains("marvane_svg"), "the SVG writer module was loaded");
  }

  void startShowsOnlyTheMenu() {
    marvane::FormWindow* menu = FreshMenu();
    QVERIFY(menu != nullptr);
    QCOMPARE(VisibleTopLevelCount(), 1);
    QCOMPARE(menu->objectName(), QString("Choice"));
    QCOMPARE(menu->windowTitle(), QString("Choice"));
    QCOMPARE(menu->focusWidget(), menu->Button("Command1"));
    QCOMPARE(menu->size(), QSize(505, 456));
  }

  void menuCaptions_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::newRow("title") << "Label5" << "Marvane";
    QTest::newRow("instruction") << "Label1"
                                 << "Select the type of model for which you               want to plot the interaction";
    QTest::newRow("Quant") << "Command1" << "2 quant predictors w/ +/- Std Z";
    QTest::newRow("QuantZ") << "Command2" << "2 quant predictors w/ specified Z";
    QTest::newRow("Mixed2") << "Command3" << "quant and dummy-coded 2-group";
    QTest::newRow("Mixed3") << "Command4" << "quant and dummy-coded 3-group";
    QTest::newRow("Quant3") << "Command5" << "3 quant predictors";
    QTest::newRow("Incomplete") << "Inomplete" << "Incomplete Models";
  }

  void menuCaptions() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    marvane::FormWindow* menu = FreshMenu();
    QWidget* w = menu->Control(name.toStdString());
    QVERIFY(w != nullptr);
    QVERIFY(w->isVisible());
    const QString text = qobject_cast<QLabel*>(w) ? qobject_cast<QLabel*>(w)->text()
                                                  : qobject_cast<QPushButton*>(w)->text();
    QCOMPARE(text, caption);
    QVERIFY(w->font().bold());
  }

  // The design's twips become pixels at 15 per pixel, with the design's fonts
  // and colours.
  void menuLooksAsDesigned() {
    marvane::FormWindow* menu = FreshMenu();
    QCOMPARE(menu->Button("Command2")->geometry(), QRect(16, 192, 393, 25));
    QCOMPARE(menu->Label("Label5")->font().pointSizeF(), 13.5);
    QCOMPARE(menu->Button("Inomplete")->font().pointSizeF(), 12.0);
    QCOMPARE(menu->Button("Command1")->palette().color(QPalette::Button), QColor(0, 255, 0));
    QCOMPARE(menu->palette().color(QPalette::Window), QColor(255, 128, 0));
  }

  // The window icon is the installed icon at each size the program carries,
  // pixel for pixel (it is built from pixels compiled in, not looked up in
  // the icon themes); the menu shows it.
  void windowIconIsTheInstalledIcon_data() {
    QTest::addColumn<int>("size");
    for (int size : {16, 32, 48, 64}) QTest::addRow("%d px", size) << size;
  }

  void windowIconIsTheInstalledIcon() {
    QFETCH(int, size);
    const QString file = QStringLiteral(MARVANE_INSTALLED_ICONS "/%1/" MARVANE_APP_ID ".png").arg(size);
    const QImage installed(file);
    QVERIFY2(!installed.isNull(), qPrintable(file));
    for (const QIcon& icon : {QGuiApplication::windowIcon(), FreshMenu()->windowIcon()}) {
      QVERIFY(icon.availableSizes().contains(QSize(size, size)));
      const QImage shown = icon.pixmap(QSize(size, size)).toImage();
      QCOMPARE(shown.size(), QSize(size, size));
      // Compared premultiplied, as a pixmap keeps them.
      QCOMPARE(shown.convertToFormat(QImage::Format_ARGB32_Premultiplied),
               installed.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    }
  }

  // Each menu button opens its form and unloads the menu: one form loaded.
  void eachMenuButtonOpensItsForm_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("form");
    QTest::newRow("Quant") << "Command1" << "Quant";
    QTest::newRow("QuantZ") << "Command2" << "QuantZ";
    QTest::newRow("Mixed2") << "Command3" << "Mixed2";
    QTest::newRow("Mixed3") << "Command4" << "Mixed3";
    QTest::newRow("Quant3") << "Command5" << "Quant3";
    QTest::newRow("Incomplete") << "Inomplete" << "Incomplete";
  }

  void eachMenuButtonOpensItsForm() {
    QFETCH(QString, button);
    QFETCH(QString, form);
    marvane::ModelForm* f = OpenFromMenu(button.toLatin1().constData());
    QVERIFY(f != nullptr);
    QCOMPARE(f->objectName(), form);
    QCOMPARE(VisibleTopLevelCount(), 1);
    QCOMPARE(marvane::Forms::Instance().LoadedCount(), 1);
    QVERIFY(marvane::Forms::Instance().Find("Choice") == nullptr);
    Click(f, "Command2");
    QCOMPARE(VisibleForm()->objectName(), QString("Choice"));
  }

  // Back unloads the model form before the menu is shown; the program must
  // go on running all the same.
  void backDoesNotEndTheProgram() {
    FreshMenu();
    const int code = RunProgram([] {
      QTest::mouseClick(VisibleForm()->Button("Command1"), Qt::LeftButton);
      QTest::mouseClick(VisibleForm()->Button("Command2"), Qt::LeftButton);
      QTimer::singleShot(50, qApp, [] {
        QCoreApplication::exit(VisibleForm() != nullptr && VisibleForm()->objectName() == "Choice" ? 42 : 43);
      });
    });
    QCOMPARE(code, 42);
  }

  void closingTheVisibleWindowEndsTheProgram_data() {
    QTest::addColumn<QString>("open");
    QTest::newRow("menu") << "";
    QTest::newRow("Quant") << "Command1";
    QTest::newRow("Incomplete") << "Inomplete";
  }

  void closingTheVisibleWindowEndsTheProgram() {
    QFETCH(QString, open);
    FreshMenu();
    const int code = RunProgram([open] {
      if (!open.isEmpty()) QTest::mouseClick(VisibleForm()->Button(open.toStdString()), Qt::LeftButton);
      VisibleForm()->close();
    });
    QCOMPARE(code, 0);
    QCOMPARE(marvane::Forms::Instance().LoadedCount(), 0);
  }
};

QTEST_MAIN(ShellGuiTest)
#include "shell_gui_test.moc"
