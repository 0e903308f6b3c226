// Small builders for the main window's controls: every control carries the object name
// the tests and the focus checks find it by, and an accessible name taken from its caption.
#pragma once

#include <QString>

class QAction;
class QLabel;
class QObject;
class QPushButton;
class QWidget;

namespace quon {

// The accessible name of a control labelled `caption`: without the mnemonic marker and
// the trailing colon.
QString AccessibleFromCaption(QString caption);

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& caption);
// A label whose text changes as the problem does (a signature, a result line): assistive
// tools read its current text as its name, and `role` tells them what the text is.
QLabel* MakeTextLabel(QWidget* parent, const char* name, const QString& role);
// A push button that is never the window's default button.
QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption);
QAction* MakeAction(QObject* parent, const char* name, const QString& caption);

}  // namespace quon
