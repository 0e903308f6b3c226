// The main window's problem entry: the number of variables and their names, each accepted
// once and then locked; the function; and the per-variable editor. It tells the window
// when the problem reaches its next stage, when the function changes and when new
// controls need a place in the tab order.
#pragma once

#include <QObject>
#include <functional>
#include <string>
#include <vector>

#include "core/model/entry_fields.h"
#include "core/model/problem_model.h"

class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QWidget;

namespace quon {

class FocusGuard;
class VariableEditor;

// How far the user has fixed the problem: the number is typed first, then the names;
// after both the problem can be computed, saved and printed.
enum class EntryStage { AwaitingNumber, AwaitingNames, Fixed };

class ProblemEntry : public QObject {
  Q_OBJECT

 public:
  struct Events {
    std::function<void()> StageChanged;
    std::function<void()> FunctionChanged;
    std::function<void()> ControlsCreated;
  };

  ProblemEntry(QWidget* window, ProblemModel& model, FocusGuard& guard, Events events);

  // The rows of the number, the names and the function, and the per-variable frame, for
  // the window to place.
  QGridLayout* ProblemRows() const { return problemRows_; }
  QGroupBox* SpecsFrame() const;
  std::vector<QWidget*> FieldsInTabOrder() const;
  std::vector<QWidget*> StepButtonsInTabOrder() const;

  EntryStage Stage() const;
  // True when the number and names are fixed; else puts the focus in the field where the
  // user has to go on (a click on a command straight after typing the number commits the
  // number and nothing more).
  bool Complete();
  // Accepts the number and then the names as leaving their fields would, each after its
  // own check. Returns an empty text when both are fixed; else what the user has to finish,
  // with the focus put in that field.
  std::string CommitNumberAndNames();
  // The function and each variable's fields as they stand.
  EntryFields ReadFields() const;
  // Writes numbers of terms into the variables' fields as if typed (see VariableEditor).
  void ApplyTermCounts(const std::vector<std::string>& counts);
  // Shows a problem read from a file (the model holds it) with the centre and period
  // texts the file gave, and locks the number and names. The signature is shown only
  // when the user fixes the names by hand.
  void ShowOpenedProblem(const EntryFields& shown);
  // Puts the focus where the user starts.
  void Start();
  // The variable whose specification is on show, counted from 1.
  int CurVar() const;

 private:
  void CreateControls(QWidget* window);
  void ConnectHandlers();
  void LoadObjects();

  void txtOrder_GotFocus();
  void txtOrder_Validate(bool& Cancel);
  void txtOrder_LostFocus();
  void txtVarNams_GotFocus();
  void txtVarNams_Validate(bool& Cancel);
  void txtVarNams_LostFocus();
  void txtEquation_GotFocus();
  void txtEquation_Validate(bool& Cancel);
  void txtEquation_Change();

  ProblemModel& model_;
  FocusGuard& guard_;
  Events events_;
  VariableEditor* editor_ = nullptr;

  QGridLayout* problemRows_ = nullptr;
  QLabel* lblOrder = nullptr;
  QLineEdit* txtOrder = nullptr;
  QLabel* lblVarNam = nullptr;
  QLineEdit* txtVarNams = nullptr;
  QLabel* lblFunction = nullptr;
  QLabel* lblEquation = nullptr;
  QLineEdit* txtEquation = nullptr;
};

}  // namespace quon
