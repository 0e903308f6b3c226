#include "gui/main_window/control_factory.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>

namespace quon {

QString AccessibleFromCaption(QString caption) {
  caption.remove(QLatin1Char('&'));
  if (caption.endsWith(QLatin1Char(':'))) caption.chop(1);
  return caption.trimmed();
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& caption) {
  auto* label = new QLabel(caption, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setAccessibleName(AccessibleFromCaption(caption));
  return label;
}

QLabel* MakeTextLabel(QWidget* parent, const char* name, const QString& role) {
  // No fixed accessible name: without one a label reports its current text, which is
  // what a sighted user reads there.
  auto* label = new QLabel(parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setAccessibleDescription(role);
  return label;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setAccessibleName(AccessibleFromCaption(caption));
  button->setAutoDefault(false);
  return button;
}

QAction* MakeAction(QObject* parent, const char* name, const QString& caption) {
  auto* action = new QAction(caption, parent);
  action->setObjectName(QString::fromLatin1(name));
  return action;
}

}  // namespace quon
