// Focus-leave checks for entry fields: a field registers a Validate handler that runs when
// the focus is about to leave it for another control of the same window, and a refusal
// keeps the focus there and drops the click or key that would have moved it. GotFocus and
// LostFocus handlers run when the field gains and loses the focus.
//
// Qt moves the focus before a widget sees the mouse press, so the check has to run
// earlier: an application-wide event filter looks at the press while it is still on its
// way to the window, finds the control under the pointer and asks the field's check when
// that control would take the focus (or is a button). Tab and Backtab in the field, and
// the shortcut of a button of the same window, are checked the same way. Any other focus
// change that leaves a field (a programmatic setFocus, for instance) is checked after the
// fact and the focus is put back on refusal. Menus, other windows, window activation and
// a field being disabled or hidden never run the checks.
#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <map>

class QLineEdit;
class QWidget;

namespace quon {

struct FieldHandlers {
  // Sets Cancel to keep the focus in the field; runs before the focus leaves it.
  std::function<void(bool& Cancel)> Validate;
  // The field received the focus.
  std::function<void()> GotFocus;
  // The focus has left the field for another control of its window.
  std::function<void()> LostFocus;
};

class FocusGuard : public QObject {
  Q_OBJECT
 public:
  explicit FocusGuard(QObject* parent = nullptr);
  ~FocusGuard() override;

  // Registers the handlers of `field`; they are dropped when the field is destroyed.
  void Watch(QWidget* field, FieldHandlers handlers);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The focused widget when it is a watched field that can still be checked.
  QWidget* GuardedFocusField() const;
  // Runs the field's Validate; true when the focus may leave.
  bool Allows(QWidget* field);
  bool FilterPointer(QObject* window, QEvent* event);
  void OnFocusOut(QWidget* field, int reason);

  std::map<const QObject*, FieldHandlers> fields_;  // keyed by the field
  bool validating_ = false;
};

// The whole text of `field` selected, start at 0, as a got-focus handler does. A mouse
// click that brought the focus would put the cursor at the pointer afterwards, so the
// selection is made again once that click has been handled.
void SelectWholeText(QLineEdit* field);

}  // namespace quon
