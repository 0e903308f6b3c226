// The problem entry of the main window, driven with keys and clicks: the number and names
// of the variables, the per-variable fields and their checks, Next and Previous, the tab
// order and the display of a problem read from a file.
#include <QAbstractItemView>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "support/frm_quon_fixture.h"

using quon::testing::ClickAt;
using quon::testing::QuonWindow;
using quon::testing::TypeInto;

class FrmQuonSpecsTest : public QObject {
  Q_OBJECT

 private:
  static QString Name(const char* base, int k) {
    return QString::fromLatin1(base) + QLatin1Char('_') + QString::number(k);
  }
  static bool WholeTextSelected(QLineEdit* field) {
    return field->selectionStart() == 0 && field->selectedText() == field->text();
  }

 private Q_SLOTS:
  void StartsAwaitingTheNumber() {
    QuonWindow w;
    QCOMPARE(w.Focus(), w.Field("txtOrder"));
    QCOMPARE(w.Child<QLabel>("lblEquation")->text(), QString());
    QCOMPARE(w.CurVar(), 1);
    QVERIFY(w.window->findChild<QLineEdit*>("txtLL_1") == nullptr);
  }

  // A refused number or list of names keeps the focus; the clicks that would move it do
  // nothing, and none of the next step happens.
  void RefusedEntryKeepsTheFocusAndDropsTheClick_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::newRow("no number") << "txtOrder" << QString();
    QTest::newRow("five variables") << "txtOrder"
                                    << "5";
    QTest::newRow("empty name") << "txtVarNams"
                                << "x,,z";
    QTest::newRow("one name in two cases") << "txtVarNams"
                                           << "x,y,X";
    QTest::newRow("blank around a name") << "txtVarNams"
                                         << "x, y,z";
    QTest::newRow("four names for three") << "txtVarNams"
                                          << "x,y,z,t";
  }
  void RefusedEntryKeepsTheFocusAndDropsTheClick() {
    QFETCH(QString, field);
    QFETCH(QString, text);
    QuonWindow w;
    const bool number = field == "txtOrder";
    if (!number) w.TypeAndTab("txtOrder", "3");
    QLineEdit* edit = w.Field(field);
    TypeInto(edit, text);
    QTest::keyClick(edit, Qt::Key_Tab);
    QCOMPARE(w.Focus(), edit);
    QSignalSpy computeClicks(w.Child<QPushButton>("cmdCompute"), &QPushButton::clicked);
    QSignalSpy nextClicks(w.Child<QPushButton>("cmdNextVar"), &QPushButton::clicked);
    ClickAt(w.Child<QPushButton>("cmdCompute"));
    ClickAt(w.Child<QPushButton>("cmdNextVar"));
    ClickAt(w.Field("txtEquation"));
    QCOMPARE(computeClicks.count(), 0);
    QCOMPARE(nextClicks.count(), 0);
    QCOMPARE(w.Focus(), edit);
    QVERIFY(edit->isEnabled());
    QCOMPARE(w.Menu("mnuOpen")->isEnabled(), number);
    QVERIFY(!w.Menu("mnuSave")->isEnabled());
    QCOMPARE(w.Child<QLabel>("lblEquation")->text(), QString());
    QCOMPARE(w.Model().LastVar, number ? 0 : 2);
  }

  void AcceptedNumberCreatesOneSetPerVariable_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("lastVar");
    QTest::newRow("one") << "1" << 0;
    QTest::newRow("rounded") << "2.5" << 2;
  }
  void AcceptedNumberCreatesOneSetPerVariable() {
    QFETCH(QString, text);
    QFETCH(int, lastVar);
    QuonWindow w;
    w.TypeAndTab("txtOrder", text);
    QCOMPARE(w.Model().LastVar, lastVar);
    QVERIFY(!w.Field("txtOrder")->isEnabled());
    QVERIFY(!w.Menu("mnuOpen")->isEnabled());
    QCOMPARE(w.Focus(), w.Field("txtVarNams"));
    QVERIFY(WholeTextSelected(w.Field("txtVarNams")));
    // Every set is a hidden copy of the first, checked Power.
    for (int k = 0; k <= lastVar; ++k) {
      QCOMPARE(w.Field(Name("txtLL", k))->isVisible(), k == 0);
      for (const char* field : {"txtLL", "txtUL", "txtExpansion", "txtPeriod", "txtTerms"}) {
        QCOMPARE(w.Field(Name(field, k))->text(), w.Field(Name(field, 0))->text());
        QCOMPARE(w.Field(Name(field, k))->toolTip(), w.Field(Name(field, 0))->toolTip());
      }
      QVERIFY(w.Child<QCheckBox>(Name("chkPower", k))->isChecked());
    }
    QVERIFY(w.window->findChild<QLineEdit*>(Name("txtLL", lastVar + 1)) == nullptr);
  }

  void AcceptedNamesAreLockedAndSigned_data() {
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("names");
    QTest::addColumn<QString>("signature");
    QTest::newRow("defaults") << "4"
                              << "x,y,z,t"
                              << "f(x,y,z,t)";
    QTest::newRow("case kept") << "2"
                               << "x,Speed"
                               << "f(x,Speed)";
  }
  void AcceptedNamesAreLockedAndSigned() {
    QFETCH(QString, count);
    QFETCH(QString, names);
    QFETCH(QString, signature);
    QuonWindow w;
    w.EnterProblem(count, names);
    QCOMPARE(w.Child<QLabel>("lblEquation")->text(), signature);
    const QStringList split = names.split(QLatin1Char(','));
    QCOMPARE(static_cast<int>(w.Model().VarName.size()), split.size());
    for (int k = 0; k < split.size(); ++k) {
      QCOMPARE(QString::fromStdString(w.Model().VarName[k]), split[k]);
      QCOMPARE(w.Child<QLabel>(Name("lblVar", k))->text(), split[k]);
    }
    QCOMPARE(w.Focus(), w.Field("txtEquation"));
    QVERIFY(WholeTextSelected(w.Field("txtEquation")));
  }

  // A command clicked straight after the number is typed commits the number and nothing
  // more: the names come next.
  void CommandsRightAfterTheNumberOnlyCommitIt_data() {
    QTest::addColumn<QString>("button");
    for (const char* name :
         {"cmdCompute", "cmdNextVar", "cmdPrevVar", "cmdAddCons", "cmdRemCons"}) {
      QTest::newRow(name) << QString::fromLatin1(name);
    }
  }
  void CommandsRightAfterTheNumberOnlyCommitIt() {
    QFETCH(QString, button);
    QuonWindow w;
    TypeInto(w.Field("txtOrder"), "2");
    ClickAt(w.Child<QPushButton>(button));
    QTRY_COMPARE(w.Focus(), w.Field("txtVarNams"));
    QVERIFY(!w.Field("txtOrder")->isEnabled());
    QVERIFY(w.Field("txtVarNams")->isEnabled());
    QVERIFY(w.messages.empty());
    QVERIFY(!w.Model().HaveResults);
    QCOMPARE(w.CurVar(), 1);
    QVERIFY(w.Field("txtLL_0")->isVisible());
  }

  void ClickOnComputeRunsTheCheckThenGoesThrough() {
    QuonWindow w;
    w.TypeAndTab("txtOrder", "2");
    TypeInto(w.Field("txtVarNams"), "u,v");
    QSignalSpy computeClicks(w.Child<QPushButton>("cmdCompute"), &QPushButton::clicked);
    ClickAt(w.Child<QPushButton>("cmdCompute"));
    QCOMPARE(computeClicks.count(), 1);
    QVERIFY(!w.Field("txtVarNams")->isEnabled());
    QCOMPARE(w.Child<QLabel>("lblEquation")->text(), QStringLiteral("f(u,v)"));
  }

  void FieldChecksRefuseBadTextAndSwallowNext_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("one term") << "txtTerms_0"
                              << "1" << false;
    QTest::newRow("two terms") << "txtTerms_0"
                               << "2" << true;
    QTest::newRow("letters for lower limit") << "txtLL_0"
                                             << "abc" << false;
    QTest::newRow("empty upper limit") << "txtUL_0" << QString() << false;
    QTest::newRow("letters for centre") << "txtExpansion_0"
                                        << "abc" << true;
    QTest::newRow("letters for period") << "txtPeriod_0"
                                        << "abc" << true;
    QTest::newRow("empty function") << "txtEquation" << QString() << false;
  }
  void FieldChecksRefuseBadTextAndSwallowNext() {
    QFETCH(QString, field);
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    QuonWindow w;
    w.EnterProblem("2", "x,y");
    QLineEdit* edit = w.Field(field);
    ClickAt(edit);
    QCOMPARE(w.Focus(), edit);
    TypeInto(edit, text);
    QSignalSpy nextClicks(w.Child<QPushButton>("cmdNextVar"), &QPushButton::clicked);
    ClickAt(w.Child<QPushButton>("cmdNextVar"));
    QCOMPARE(nextClicks.count(), accepted ? 1 : 0);
    QCOMPARE(w.CurVar(), accepted ? 2 : 1);
    if (accepted) {
      QCOMPARE(w.Focus(), w.Field("txtLL_1"));
    } else {
      QCOMPARE(w.Focus(), edit);
      QTest::keyClick(edit, Qt::Key_Tab);
      QCOMPARE(w.Focus(), edit);
      QTest::keyClick(edit, Qt::Key_Backtab);
      QCOMPARE(w.Focus(), edit);
    }
  }

  void ProgrammaticFocusChangeIsUndoneOnRefusal() {
    QuonWindow w;
    w.EnterProblem("1", "x");
    QLineEdit* terms = w.Field("txtTerms_0");
    ClickAt(terms);
    TypeInto(terms, "1");
    w.Child<QPushButton>("cmdCompute")->setFocus(Qt::OtherFocusReason);
    QTRY_COMPARE(w.Focus(), terms);
  }

  // Menu commands run without the field checks; a shortcut that presses a button does not.
  void MenuCommandsRunButShortcutsWaitWhileAFieldRefuses() {
    QuonWindow w;
    TypeInto(w.Field("txtOrder"), "abc");
    QMenuBar* bar = w.window->menuBar();
    ClickAt(bar, bar->actionGeometry(w.Menu("mnuHelp")).center());
    QCOMPARE(w.dialogs.calls.size(), std::size_t{3});
    QCOMPARE(w.Focus(), w.Field("txtOrder"));
    QVERIFY(w.Field("txtOrder")->isEnabled());
    QTest::keyClick(w.window.get(), Qt::Key_X, Qt::AltModifier);
    QTest::qWait(200);  // a shortcut presses its button after a short animation
    QVERIFY(w.window->isVisible());
    QCOMPARE(w.restored, 0);
    TypeInto(w.Field("txtOrder"), "1");
    QTest::keyClick(w.window.get(), Qt::Key_X, Qt::AltModifier);
    QTRY_VERIFY(!w.window->isVisible());
    QCOMPARE(w.restored, 1);
  }

  void MenuLeavesTheFieldAsItWas() {
    QuonWindow w;
    w.EnterProblem("1", "x");
    QLineEdit* function = w.Field("txtEquation");
    QCOMPARE(w.Focus(), function);
    QTest::keyClick(function, Qt::Key_End);
    QVERIFY(!function->hasSelectedText());
    QMenuBar* bar = w.window->menuBar();
    QMenu* file = w.Child<QMenu>("mnuFile");
    ClickAt(bar, bar->actionGeometry(file->menuAction()).center());
    QTRY_VERIFY(file->isVisible());
    QTest::keyClick(file, Qt::Key_Escape);
    QTRY_VERIFY(!file->isVisible());
    // The menu bar keeps the keyboard after the first Escape; the second hands it back.
    if (w.Focus() == bar) QTest::keyClick(bar, Qt::Key_Escape);
    QTRY_COMPARE(w.Focus(), function);
    QTest::qWait(10);
    QVERIFY(!function->hasSelectedText());
    QCOMPARE(function->cursorPosition(), static_cast<int>(function->text().size()));
  }

  void NextAndPreviousStepInARing() {
    QuonWindow w;
    w.EnterProblem("3", "x,y,z");
    QPushButton* next = w.Child<QPushButton>("cmdNextVar");
    QPushButton* previous = w.Child<QPushButton>("cmdPrevVar");
    const auto shown = [&] {
      int visible = -1;
      for (int k = 0; k < 3; ++k) {
        if (w.Field(Name("txtLL", k))->isVisible()) {
          if (visible >= 0) return -2;  // two sets on show
          visible = k;
        }
      }
      return visible;
    };
    const int expectedNext[] = {1, 2, 0, 1};
    for (const int k : expectedNext) {
      ClickAt(next);
      QCOMPARE(shown(), k);
      QCOMPARE(w.CurVar(), k + 1);
      QCOMPARE(w.Focus(), w.Field(Name("txtLL", k)));
      QVERIFY(WholeTextSelected(w.Field(Name("txtLL", k))));
      QCOMPARE(w.Child<QLabel>(Name("lblVar", k))->isVisible(), true);
    }
    const int expectedPrevious[] = {0, 2, 1};
    for (const int k : expectedPrevious) {
      ClickAt(previous);
      QCOMPARE(shown(), k);
      QCOMPARE(w.CurVar(), k + 1);
    }
  }

  void OneVariableStaysOnShow() {
    QuonWindow w;
    w.EnterProblem("1", "x");
    TypeInto(w.Field("txtLL_0"), "-2");
    ClickAt(w.Child<QPushButton>("cmdNextVar"));
    QCOMPARE(w.CurVar(), 1);
    QCOMPARE(w.Focus(), w.Field("txtLL_0"));
    QVERIFY(WholeTextSelected(w.Field("txtLL_0")));
    ClickAt(w.Child<QPushButton>("cmdPrevVar"));
    QCOMPARE(w.CurVar(), 1);
    QCOMPARE(w.Field("txtLL_0")->text(), QStringLiteral("-2"));
  }

  void EditsStayWithTheirVariable() {
    QuonWindow w;
    w.EnterProblem("2", "x,y");
    ClickAt(w.Child<QPushButton>("cmdNextVar"));
    TypeInto(w.Field("txtLL_1"), "0");
    w.Child<QCheckBox>("chkPower_1")->setChecked(false);
    ClickAt(w.Child<QPushButton>("cmdNextVar"));
    QCOMPARE(w.Field("txtLL_0")->text(), QStringLiteral("-5"));
    QVERIFY(w.Child<QCheckBox>("chkPower_0")->isChecked());
    const quon::EntryFields fields = w.window->ReadEntryFields();
    QCOMPARE(fields.Variables.size(), std::size_t{2});
    QCOMPARE(fields.Variables[1].LowerLimit, std::string("0"));
    QVERIFY(!fields.Variables[1].PowerChecked);
    QVERIFY(fields.Variables[0].PowerChecked);
  }

  void TabWalksTheVariableOnShow() {
    QuonWindow w;
    w.EnterProblem("2", "x,y");
    const QStringList firstSet = {"txtLL_0",        "txtUL_0",    "txtExpansion_0",
                                  "txtPeriod_0",    "txtTerms_0", "chkPower_0",
                                  "chkChebyshev_0", "cmdCompute", "cmdPrevVar"};
    for (const QString& name : firstSet) {
      QTest::keyClick(w.Focus(), Qt::Key_Tab);
      QCOMPARE(w.Focus()->objectName(), name);
    }
    ClickAt(w.Child<QPushButton>("cmdNextVar"));
    QCOMPARE(w.Focus(), w.Field("txtLL_1"));
    QTest::keyClick(w.Focus(), Qt::Key_Backtab);
    QCOMPARE(w.Focus(), w.Field("txtEquation"));
    for (const char* name : {"txtLL_1", "txtUL_1", "txtExpansion_1", "txtPeriod_1", "txtTerms_1",
                             "chkPower_1", "chkChebyshev_1", "cmdCompute"}) {
      QTest::keyClick(w.Focus(), Qt::Key_Tab);
      QCOMPARE(w.Focus()->objectName(), QString::fromLatin1(name));
    }
  }

  void NoTextCrashesTheEntry() {
    const QStringList texts = {QString(),
                               QStringLiteral("1e999"),
                               QString(10000, QLatin1Char('9')),
                               QString(5000, QLatin1Char(',')),
                               QStringLiteral("\uFF13"),  // fullwidth digit three
                               QStringLiteral("x\u0000y"),
                               QStringLiteral("\U0001F600,\u00E9")};
    for (const QString& text : texts) {
      QuonWindow w;
      QLineEdit* order = w.Field("txtOrder");
      order->setText(text);
      QTest::keyClick(order, Qt::Key_Tab);
      const int32_t lastVar = w.Model().LastVar;
      QVERIFY(lastVar >= 0 && lastVar <= 3);
      if (order->isEnabled()) continue;  // refused: the rest stays out of reach
      QVERIFY(w.window->findChild<QLineEdit*>(Name("txtLL", lastVar)) != nullptr);
      QVERIFY(w.window->findChild<QLineEdit*>(Name("txtLL", lastVar + 1)) == nullptr);
      QLineEdit* names = w.Field("txtVarNams");
      names->setText(text);
      QTest::keyClick(names, Qt::Key_Tab);
      for (const char* field :
           {"txtEquation", "txtLL_0", "txtUL_0", "txtExpansion_0", "txtPeriod_0", "txtTerms_0"}) {
        w.Field(field)->setText(text);
        ClickAt(w.Child<QPushButton>("cmdNextVar"));
        ClickAt(w.Child<QPushButton>("cmdPrevVar"));
      }
      const quon::EntryFields fields = w.window->ReadEntryFields();
      QCOMPARE(fields.Variables.size(), static_cast<std::size_t>(lastVar) + 1);
      QVERIFY(w.CurVar() >= 1 && w.CurVar() <= lastVar + 1);
    }
  }

  // Every control has a name for assistive tools, and labels whose text changes pass it on.
  void ControlsAreNamedForAssistiveTools() {
    QuonWindow w;
    w.EnterProblem("2", "x,y");
    for (const char* name : {"lblEquation", "lblVar_0"}) {
      auto* label = w.Child<QLabel>(name);
      QVERIFY(!label->text().isEmpty());
      QCOMPARE(quon::testing::AccessibleName(label), label->text());
    }
    for (QWidget* control : w.window->findChildren<QWidget*>()) {
      const bool interactive = qobject_cast<QLineEdit*>(control) ||
                               qobject_cast<QAbstractButton*>(control) ||
                               qobject_cast<QAbstractItemView*>(control);
      // Qt's own helpers (the combo's line edit and popup list, the menu bar's extension
      // button) are named by their owners.
      if (!interactive || control->window() != w.window.get() ||
          control->parentWidget()->inherits("QComboBox") ||
          control->objectName().startsWith(QLatin1String("qt_"))) {
        continue;
      }
      QVERIFY2(!control->accessibleName().isEmpty(), qPrintable(control->objectName()));
      QVERIFY2(!control->objectName().isEmpty(), qPrintable(control->accessibleName()));
    }
  }
};

QTEST_MAIN(FrmQuonSpecsTest)
#include "frm_quon_specs_qtest.moc"
