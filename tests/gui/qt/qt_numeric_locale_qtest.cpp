// The decimal-point guard on the real process locale: Qt's default locale and, when a
// comma locale is installed, the C library's; and the warning's message box.
#include <QAbstractButton>
#include <QLocale>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <clocale>
#include <cstdio>
#include <string>

#include "core/shell/decimal_point.h"
#include "gui/qt/qt_numeric_locale.h"

namespace {

std::string CSeparator() { return std::localeconv()->decimal_point; }

std::string CFormatted(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", value);
  return text;
}

// Answers the next modal message box with `button` and keeps what it showed.
struct BoxAnswer {
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QString title;
  QString text;
  QMessageBox::StandardButtons buttons;
};

void AnswerNextBox(QMessageBox::StandardButton button, BoxAnswer* seen) {
  QTimer::singleShot(0, [button, seen] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) {
      AnswerNextBox(button, seen);  // not shown yet
      return;
    }
    seen->icon = box->icon();
    seen->title = box->windowTitle();
    seen->text = box->text();
    seen->buttons = box->standardButtons();
    box->button(button)->click();
  });
}

}  // namespace

class QtNumericLocaleTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void init() {
    savedC_ = std::setlocale(LC_NUMERIC, nullptr);
    savedQt_ = QLocale();
  }
  void cleanup() {
    std::setlocale(LC_NUMERIC, savedC_.c_str());
    QLocale::setDefault(savedQt_);
  }

  void QtCommaLocaleSwitchesToThePointAndBack() {
    std::setlocale(LC_NUMERIC, "C");
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    quon::QtNumericLocale locale;
    QCOMPARE(locale.DecimalSeparator(), std::string(","));
    locale.SwitchToDecimalPoint();
    QCOMPARE(locale.DecimalSeparator(), std::string("."));
    QCOMPARE(QLocale().toString(1.5), QStringLiteral("1.5"));
    locale.RestoreOriginal();
    QCOMPARE(locale.DecimalSeparator(), std::string(","));
    QCOMPARE(QLocale().toString(1.5), QStringLiteral("1,5"));
  }

  void CLibraryCommaLocaleSwitchesToThePointAndBack() {
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) {
      QSKIP("no comma locale installed for the C library (de_DE.UTF-8)");
    }
    QLocale::setDefault(QLocale::c());
    quon::QtNumericLocale locale;
    QCOMPARE(locale.DecimalSeparator(), std::string(","));
    locale.SwitchToDecimalPoint();
    QCOMPARE(CSeparator(), std::string("."));
    QCOMPARE(CFormatted(1.5), std::string("1.5"));
    locale.RestoreOriginal();
    QCOMPARE(CSeparator(), std::string(","));
    QCOMPARE(CFormatted(1.5), std::string("1,5"));
  }

  void PointLocaleNeedsNoChange() {
    std::setlocale(LC_NUMERIC, "C");
    QLocale::setDefault(QLocale::c());
    quon::QtNumericLocale locale;
    quon::QtDecimalWarning warning;
    quon::DecimalPoint guard(locale, warning);
    QVERIFY(guard.CheckDecimalSeparator());  // a box would block here: none may appear
    guard.RestoreDecimalSeparator();
    QCOMPARE(locale.DecimalSeparator(), std::string("."));
  }

  // Yes goes on with the point until the separator is restored; No and Cancel end the start.
  void WarningBoxAndItsAnswers_data() {
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("goesOn");
    QTest::newRow("Yes") << int(QMessageBox::Yes) << true;
    QTest::newRow("No") << int(QMessageBox::No) << false;
    QTest::newRow("Cancel") << int(QMessageBox::Cancel) << false;
  }
  void WarningBoxAndItsAnswers() {
    QFETCH(int, button);
    QFETCH(bool, goesOn);
    std::setlocale(LC_NUMERIC, "C");
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    quon::QtNumericLocale locale;
    quon::QtDecimalWarning warning;
    quon::DecimalPoint guard(locale, warning);
    BoxAnswer seen;
    AnswerNextBox(static_cast<QMessageBox::StandardButton>(button), &seen);
    QCOMPARE(guard.CheckDecimalSeparator(), goesOn);
    QCOMPARE(seen.icon, QMessageBox::Critical);
    QCOMPARE(seen.title, QStringLiteral("Decimal Comma Warning!"));
    QCOMPARE(seen.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QCOMPARE(seen.text, QString::fromStdString(quon::DecimalWarningText()));
    QCOMPARE(QLocale().decimalPoint(), goesOn ? QStringLiteral(".") : QStringLiteral(","));
    guard.RestoreDecimalSeparator();
    QCOMPARE(QLocale().decimalPoint(), QStringLiteral(","));
  }

 private:
  std::string savedC_;
  QLocale savedQt_;
};

QTEST_MAIN(QtNumericLocaleTest)
#include "qt_numeric_locale_qtest.moc"
