// Helpers for the Qt tests that drive real windows on the offscreen platform.
#pragma once

#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <string>
#include <vector>

#include "gui/qt/common_dialog.h"

namespace quon::testing {

// Drops the offscreen platform's notes about window features it lacks, which would
// otherwise bury the test output; every other message passes on.
inline void QuietOffscreenNotes() {
  static const QtMessageHandler previous = qInstallMessageHandler(
      [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
        if (message.contains(QLatin1String("This plugin does not support"))) return;
        previous(type, context, message);
      });
}

// Points QSettings at a scratch folder of the test program, never the user's settings,
// and empties it unless `keep`.
inline void UseScratchSettings(bool keep = false) {
  static const QTemporaryDir folder;
  QSettings::setDefaultFormat(QSettings::IniFormat);
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder.path());
  if (!keep) QSettings().clear();
}

// Fails the running test as soon as a modal dialog appears, and closes the dialog so that
// the test goes on instead of hanging in the dialog's event loop.
class ModalWatch : public QObject {
 public:
  ModalWatch() {
    timer_.setInterval(20);
    QObject::connect(&timer_, &QTimer::timeout, this, [this] { Check(); });
    timer_.start();
  }

 private:
  void Check() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) return;
    QString text = modal->windowTitle();
    if (auto* box = qobject_cast<QMessageBox*>(modal)) text += QStringLiteral(": ") + box->text();
    const QByteArray message = "unexpected modal dialog: " + text.toUtf8();
    QTest::qFail(message.constData(), __FILE__, __LINE__);
    if (auto* dialog = qobject_cast<QDialog*>(modal)) {
      dialog->reject();
    } else {
      modal->close();
    }
  }
  QTimer timer_;
};

// Runs `act` on the next modal dialog of type T once it is on show; `act` may open the
// next dialog itself (a question inside a file dialog).
template <typename T, typename Act>
void WhenShown(Act act) {
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, timer, [timer, act] {
    auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
    if (dialog == nullptr) return;
    timer->stop();
    timer->deleteLater();
    act(dialog);
  });
  timer->start(10);
}

// A mouse click that travels the way a real one does: through the window, so that the
// focus checks see it before Qt moves the focus.
inline void ClickAt(QWidget* widget, QPoint pos = QPoint()) {
  if (pos.isNull()) pos = widget->rect().center();
  QWidget* top = widget->window();
  QTest::mouseClick(top->windowHandle(), Qt::LeftButton, Qt::NoModifier, widget->mapTo(top, pos));
}

// Replaces the field's text as a user does: select everything, then type.
inline void TypeInto(QWidget* field, const QString& text) {
  QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
  if (text.isEmpty()) QTest::keyClick(field, Qt::Key_Delete);
  for (const QChar c : text) {
    if (c.unicode() < 0x80) {
      QTest::keyClick(field, c.toLatin1());
    } else {  // no key code: the character travels as the event's text, as from an input method
      QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
  }
}

// What assistive tools read as the widget's name.
inline QString AccessibleName(QWidget* widget) {
  QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
  return face != nullptr ? face->text(QAccessible::Name) : QString();
}

// Records every call of the dialog interface.
class FakeCommonDialog : public CommonDialog {
 public:
  void ShowOpen() override { calls.push_back("ShowOpen"); }
  void ShowSave() override { calls.push_back("ShowSave"); }
  void ShowPrintToFile() override { calls.push_back("ShowPrintToFile"); }
  std::string FileName() const override { return fileName; }
  void ShowPrinter() override { calls.push_back("ShowPrinter"); }
  void SetHelpCommand(int command) override {
    calls.push_back("HelpCommand=" + std::to_string(command));
  }
  void SetHelpFile(const std::string& path) override { calls.push_back("HelpFile=" + path); }
  void ShowHelp() override { calls.push_back("ShowHelp"); }

  std::vector<std::string> calls;
  std::string fileName;
};

}  // namespace quon::testing
