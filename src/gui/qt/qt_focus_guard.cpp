#include "gui/qt/qt_focus_guard.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTimer>
#include <QWheelEvent>
#include <QWidget>
#include <QWindow>

namespace quon {

namespace {

// Follows focus proxies, as Qt does when it hands the focus to a clicked widget.
QWidget* EffectiveFocusWidget(QWidget* widget) {
  while (widget->focusProxy() != nullptr) widget = widget->focusProxy();
  return widget;
}

bool AcceptsFocusBy(QWidget* widget, Qt::FocusPolicy policy) {
  const QWidget* proxy = EffectiveFocusWidget(widget);
  return (widget->focusPolicy() & policy) == policy && (proxy->focusPolicy() & policy) == policy;
}

// The control that a press (or wheel turn) at `pos` of `top` would give the focus to, or
// an enabled button there that acts without taking it; nullptr when neither.
QWidget* ControlTakingFocusAt(QWidget* top, QPoint pos, Qt::FocusPolicy policy) {
  QWidget* hit = top->childAt(pos);
  if (hit == nullptr) return nullptr;
  for (QWidget* w = hit; w != nullptr; w = w->parentWidget()) {
    if (w->isEnabled() && AcceptsFocusBy(w, policy)) return EffectiveFocusWidget(w);
    if (w->isWindow()) break;
  }
  auto* button = qobject_cast<QAbstractButton*>(hit);
  if (button != nullptr && button->isEnabled()) return button;
  return nullptr;
}

QWidget* WidgetOfWindow(QObject* window) {
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (top->windowHandle() == window) return top;
  }
  return nullptr;
}

// Whether a focus change with this reason moves between controls of one window, as
// opposed to the window being activated or a popup or the menu bar taking the keyboard
// for a moment (the field stays current then, and none of its handlers run).
bool MovesBetweenControls(int reason) {
  switch (reason) {
    case Qt::MouseFocusReason:
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::ShortcutFocusReason:
    case Qt::OtherFocusReason:
      return true;
    default:
      return false;
  }
}

}  // namespace

FocusGuard::FocusGuard(QObject* parent) : QObject(parent) { qApp->installEventFilter(this); }

FocusGuard::~FocusGuard() {
  if (qApp != nullptr) qApp->removeEventFilter(this);
}

void FocusGuard::Watch(QWidget* field, FieldHandlers handlers) {
  fields_[field] = std::move(handlers);
  connect(field, &QObject::destroyed, this, [this](QObject* gone) { fields_.erase(gone); });
}

QWidget* FocusGuard::GuardedFocusField() const {
  QWidget* focus = QApplication::focusWidget();
  if (focus == nullptr || !fields_.contains(focus)) return nullptr;
  if (!focus->isVisible() || !focus->isEnabled()) return nullptr;
  return focus;
}

bool FocusGuard::Allows(QWidget* field) {
  const auto found = fields_.find(field);
  if (found == fields_.end() || !found->second.Validate) return true;
  // A check that itself moves the focus must not be asked again from inside.
  if (validating_) return true;
  validating_ = true;
  bool cancel = false;
  found->second.Validate(cancel);
  validating_ = false;
  return !cancel;
}

bool FocusGuard::FilterPointer(QObject* window, QEvent* event) {
  QWidget* field = GuardedFocusField();
  if (field == nullptr) return false;
  QWidget* top = WidgetOfWindow(window);
  if (top == nullptr || top != field->window()) return false;
  QPoint pos;
  Qt::FocusPolicy policy = Qt::ClickFocus;
  if (event->type() == QEvent::Wheel) {
    pos = static_cast<QWheelEvent*>(event)->position().toPoint();
    policy = Qt::WheelFocus;
  } else {
    pos = static_cast<QMouseEvent*>(event)->position().toPoint();
  }
  QWidget* target = ControlTakingFocusAt(top, pos, policy);
  if (target == nullptr || target == field) return false;
  return !Allows(field);
}

void FocusGuard::OnFocusOut(QWidget* field, int reason) {
  if (!MovesBetweenControls(reason)) return;
  const auto found = fields_.find(field);
  if (found == fields_.end()) return;
  // A field that has been hidden or disabled loses the focus without leaving it for
  // another control: neither its check nor its lost-focus handler runs.
  if (!field->isVisible() || !field->isEnabled()) return;
  if (!Allows(field)) {
    QPointer<QWidget> back(field);
    QTimer::singleShot(0, field, [back] {
      if (back && back->isVisible() && back->isEnabled()) back->setFocus(Qt::OtherFocusReason);
    });
    return;
  }
  if (found->second.LostFocus) found->second.LostFocus();
}

bool FocusGuard::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
      if (watched->isWindowType()) return FilterPointer(watched, event);
      return false;
    case QEvent::KeyPress: {
      QWidget* field = GuardedFocusField();
      if (field == nullptr || watched != field) return false;
      const auto* key = static_cast<QKeyEvent*>(event);
      if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return false;
      if (key->key() != Qt::Key_Tab && key->key() != Qt::Key_Backtab) return false;
      return !Allows(field);
    }
    case QEvent::Shortcut: {
      QWidget* field = GuardedFocusField();
      auto* target = qobject_cast<QWidget*>(watched);
      if (field == nullptr || target == nullptr || target == field) return false;
      if (target->window() != field->window()) return false;
      return !Allows(field);
    }
    case QEvent::FocusIn: {
      const auto found = fields_.find(watched);
      if (found != fields_.end() && found->second.GotFocus &&
          MovesBetweenControls(static_cast<QFocusEvent*>(event)->reason())) {
        found->second.GotFocus();
      }
      return false;
    }
    case QEvent::FocusOut:
      if (fields_.contains(watched)) {
        OnFocusOut(static_cast<QWidget*>(watched), static_cast<QFocusEvent*>(event)->reason());
      }
      return false;
    default:
      return false;
  }
}

void SelectWholeText(QLineEdit* field) {
  field->setSelection(0, static_cast<int>(field->text().size()));
  QPointer<QLineEdit> later(field);
  QTimer::singleShot(0, field, [later] {
    if (later && later->hasFocus()) later->setSelection(0, static_cast<int>(later->text().size()));
  });
}

}  // namespace quon
