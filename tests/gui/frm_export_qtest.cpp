// The export dialog driven through its widgets, and the main window's File > Export...
#include <unistd.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QtTest>

#include "gui/frm_export.h"
#include "support/fitted_problem.h"
#include "support/frm_quon_fixture.h"

namespace quon {

class FrmExportTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void writesTheChosenFormatToTheChosenFile() {
    testing::FittedProblem f;
    testing::FakeCommonDialog dialogs;
    const QString path = QDir::tempPath() + QStringLiteral("/quon_export_%1.c").arg(getpid());
    dialogs.fileName = path.toStdString();
    frmExport window(f.model, f.engine, &dialogs);
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("cmdBrowse")), Qt::LeftButton);
    // Choosing Python turns the file's extension with it.
    window.findChild<QComboBox*>(QStringLiteral("cboFormat"))->setCurrentIndex(1);
    const QString python = path.left(path.size() - 2) + QStringLiteral(".py");
    QCOMPARE(window.findChild<QLineEdit*>(QStringLiteral("txtFile"))->text(), python);
    window.findChild<QLineEdit*>(QStringLiteral("txtName"))->setText(QStringLiteral("parabola"));
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("cmdExport")), Qt::LeftButton);
    QFile file(python);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.readAll().contains("def parabola(x):"));
    file.remove();
    // A name the language cannot use is said in the window, and nothing is written.
    window.findChild<QLineEdit*>(QStringLiteral("txtName"))->setText(QStringLiteral("def"));
    QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("cmdExport")), Qt::LeftButton);
    QVERIFY(window.findChild<QLabel*>(QStringLiteral("lblStatus"))->text().contains("\"def\""));
    QVERIFY(!QFile::exists(python));
  }

  // Export... is on the File menu (its place is checked with the other menu items) and
  // opens with nothing to export until there is a fit.
  void exportFromTheFileMenuWaitsForAFit() {
    testing::QuonWindow main;
    QVERIFY(!main.Menu(QStringLiteral("mnuExport"))->isEnabled());
    testing::EnterParabola(main);
    main.Menu(QStringLiteral("mnuExport"))->trigger();
    auto* dialog = main.window->findChild<frmExport*>();
    QVERIFY(dialog != nullptr);
    // No fit yet: nothing to export.
    QVERIFY(!dialog->findChild<QPushButton*>(QStringLiteral("cmdExport"))->isEnabled());
    dialog->close();
  }
};

}  // namespace quon

QTEST_MAIN(quon::FrmExportTest)
#include "frm_export_qtest.moc"
