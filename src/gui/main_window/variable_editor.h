// The per-variable part of the problem entry: one set of fields per variable (lower and
// upper limit, centre of expansion, period, number of terms, Power and Chebyshev; the
// Chebyshev box counts only while Power is checked, and a variable with Chebyshev terms
// has no centre or period to enter, so those fields are disabled), one set on show at a
// time, stepped with Next and Previous in a ring. Element 0 of each array is made with the
// window; the others when the number of variables is known.
#pragma once

#include <QObject>
#include <functional>
#include <string>
#include <vector>

#include "core/model/entry_fields.h"
#include "core/model/problem_model.h"

class QCheckBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace quon {

class FocusGuard;

class VariableEditor : public QObject {
  Q_OBJECT

 public:
  // mayStep: whether Next and Previous may move now (the problem is complete); it puts
  // the focus where the user has to go on when not.
  VariableEditor(QWidget* window, ProblemModel& model, FocusGuard& guard,
                 std::function<bool()> mayStep);

  QGroupBox* Frame() const { return fraSpecs; }
  // The fields of every variable set, set by set, for the window's tab order.
  std::vector<QWidget*> FieldsInTabOrder() const;
  std::vector<QWidget*> StepButtonsInTabOrder() const;

  // Creates the sets of variables 1..LastVar as copies of set 0; runs once per window.
  // False when they already existed.
  bool LoadObjects();
  // Shows the name of variable k beside its set.
  void ShowName(std::size_t k, const std::string& name);
  // Fills the sets from the model after a specification file has been read, then the
  // centre and period texts the file gave.
  void ShowSpecs(const EntryFields& shown);
  // The per-variable fields of variables 0..LastVar as they stand.
  std::vector<VariableFields> ReadFields() const;
  // Shows variable LL (from 0) and puts the focus in its lower limit.
  void EditLimit(int LL);
  // The variable on show, counted from 1.
  int CurVar() const { return curVar_; }
  // Writes numbers of terms into the fields of variables 0, 1, ... as if typed, each
  // meeting the check a typed count meets; a refused count keeps the focus in its field
  // and ends the writing there.
  void ApplyTermCounts(const std::vector<std::string>& counts);

 private:
  void CreateControls();
  void CreateVariableSet(int k);
  void WatchVariableSet(int k);
  // Enables the Chebyshev box with Power, the centre and period fields without Chebyshev.
  void ShowKindControls(std::size_t k);
  std::size_t ShownSets() const;

  void txtLL_GotFocus(int Index);
  void txtLL_Validate(int Index, bool& Cancel);
  void txtUL_GotFocus(int Index);
  void txtUL_Validate(int Index, bool& Cancel);
  void txtExpansion_GotFocus(int Index);
  void txtPeriod_GotFocus(int Index);
  void txtTerms_GotFocus(int Index);
  void txtTerms_Validate(int Index, bool& Cancel);
  void cmdNextVar_Click();
  void cmdPrevVar_Click();

  ProblemModel& model_;
  FocusGuard& guard_;
  std::function<bool()> mayStep_;
  bool objectsLoaded_ = false;
  int curVar_ = 1;

  QGroupBox* fraSpecs = nullptr;
  QGridLayout* specGrid_ = nullptr;
  QLabel* lblVariable = nullptr;
  QLabel* lblLL = nullptr;
  QLabel* lblUL = nullptr;
  QLabel* lblExpansion = nullptr;
  QLabel* lblPeriod = nullptr;
  QLabel* lblTerms = nullptr;
  QGroupBox* fraType = nullptr;
  // Indexed by variable.
  std::vector<QLabel*> lblVar;
  std::vector<QLineEdit*> txtLL;
  std::vector<QLineEdit*> txtUL;
  std::vector<QLineEdit*> txtExpansion;
  std::vector<QLineEdit*> txtPeriod;
  std::vector<QLineEdit*> txtTerms;
  std::vector<QCheckBox*> chkPower;
  std::vector<QCheckBox*> chkChebyshev;
  QPushButton* cmdPrevVar = nullptr;
  QPushButton* cmdNextVar = nullptr;
};

}  // namespace quon
