// The user-constants frame driven with keys and clicks: add, Enter, redefinition,
// refused text, removal, the full list, and the clearing of results. The rules for names
// and slots are the core's (user_constants_test); here the list must mirror them.
#include <QComboBox>
#include <QPushButton>
#include <QTest>

#include "core/model/user_constants.h"
#include "support/frm_quon_fixture.h"

using quon::testing::ClickAt;
using quon::testing::QuonWindow;
using quon::testing::TypeInto;

namespace {

QStringList Items(QComboBox* combo) {
  QStringList items;
  for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
  return items;
}

QStringList ModelConstants(const quon::ProblemModel& model) {
  QStringList constants;
  for (int i = 0; i < model.ConstCount; ++i) {
    constants << QString::fromStdString(model.Constants[static_cast<std::size_t>(i)]);
  }
  return constants;
}

}  // namespace

class FrmQuonConstantsTest : public QObject {
  Q_OBJECT

 private:
  // A window with one variable accepted, so that the frame can be reached.
  struct Frame {
    Frame() {
      w.EnterProblem("1", "x");
      combo = w.Child<QComboBox>("cboConstants");
      add = w.Child<QPushButton>("cmdAddCons");
      remove = w.Child<QPushButton>("cmdRemCons");
      ClickAt(combo->lineEdit());
    }
    void Add(const QString& text) {
      TypeInto(combo->lineEdit(), text);
      ClickAt(add);
    }
    void Pick(int index) {
      combo->setCurrentIndex(index);  // as the list does when the user picks an entry
    }
    QuonWindow w;
    QComboBox* combo = nullptr;
    QPushButton* add = nullptr;
    QPushButton* remove = nullptr;
  };

 private Q_SLOTS:
  void AddedConstantsGoToListAndModel() {
    Frame f;
    f.Add("a=2.37");
    QCOMPARE(Items(f.combo), QStringList{"a=2.37"});
    QCOMPARE(ModelConstants(f.w.Model()), QStringList{"a=2.37"});
    QCOMPARE(f.combo->currentText(), QString());
    QCOMPARE(f.combo->toolTip(), QStringLiteral("Example: a=2.37"));
    // Enter in the combo adds as the button does.
    TypeInto(f.combo->lineEdit(), "x1=5");
    QTest::keyClick(f.combo->lineEdit(), Qt::Key_Return);
    QCOMPARE(Items(f.combo), (QStringList{"a=2.37", "x1=5"}));
    QCOMPARE(f.combo->currentText(), QString());
  }

  void RedefinitionMovesTheConstantToTheEnd() {
    Frame f;
    f.Add("a=2.37");
    f.Add("b=1");
    f.Add("a=3");
    QCOMPARE(Items(f.combo), (QStringList{"b=1", "a=3"}));
    QCOMPARE(ModelConstants(f.w.Model()), (QStringList{"b=1", "a=3"}));
  }

  void RefusedTextChangesNothing() {
    const QString text = QStringLiteral("2a=1");  // a name may not start with a digit
    Frame f;
    f.Add("k=1");
    f.Add(text);
    QCOMPARE(Items(f.combo), QStringList{"k=1"});
    QCOMPARE(f.w.Model().ConstCount, 1);
    QCOMPARE(f.combo->currentText(), text);
    QVERIFY(f.w.messages.empty());
  }

  void RemoveTakesThePickedEntryAndZeroesIt() {
    Frame f;
    f.Add("a=2.37");
    f.Add("b=1");
    f.w.window->SetConstants();
    QCOMPARE(f.w.window->Engine().fna("a"), 2.37);
    f.Pick(0);
    ClickAt(f.remove);
    QCOMPARE(Items(f.combo), QStringList{"b=1"});
    QCOMPARE(ModelConstants(f.w.Model()), QStringList{"b=1"});
    QCOMPARE(f.w.window->Engine().fna("a"), 0.0);
    QCOMPARE(f.w.window->Engine().fna("b"), 1.0);
  }

  void RemoveWithNothingPickedDoesNothing() {
    Frame f;
    f.Add("a=2.37");
    // A picked entry whose text has been edited since is no longer picked.
    f.Pick(0);
    QTest::keyClicks(f.combo->lineEdit(), "5");
    ClickAt(f.remove);
    QCOMPARE(Items(f.combo), QStringList{"a=2.37"});
    QCOMPARE(f.w.Model().ConstCount, 1);
  }

  void FullListRefusesWithAMessage() {
    Frame f;
    for (int i = 0; i < quon::MaxConstants; ++i) {
      f.combo->setEditText(QStringLiteral("c%1=%1").arg(i));
      f.add->click();
    }
    QCOMPARE(f.combo->count(), quon::MaxConstants);
    QVERIFY(f.w.messages.empty());
    f.Add("extra=1");
    QCOMPARE(f.combo->count(), quon::MaxConstants);
    QCOMPARE(f.w.messages, std::vector<std::string>{quon::ConstantsFullMessage()});
  }

  void AnyChangeOfTheComboTextClearsTheResults() {
    Frame f;
    f.w.PutResults();
    QTest::keyClicks(f.combo->lineEdit(), "q");
    QCOMPARE(f.w.ResultLines(), 0);
    QVERIFY(!f.w.Model().HaveResults);

    f.w.PutResults();
    f.combo->setEditText(QStringLiteral("r=1"));
    QCOMPARE(f.w.ResultLines(), 0);
    QVERIFY(!f.w.Model().HaveResults);
  }

  void ConstantsReachTheEngineInListOrder() {
    Frame f;
    f.Add("a=1");
    f.Add("b=a+1");
    f.Add("A=5");
    QCOMPARE(f.w.window->ConstantItems(), (std::vector<std::string>{"a=1", "b=a+1", "A=5"}));
    f.w.window->SetConstants();
    QCOMPARE(f.w.window->Engine().fna("a"), 5.0);
  }
};

QTEST_MAIN(FrmQuonConstantsTest)
#include "frm_quon_constants_qtest.moc"
