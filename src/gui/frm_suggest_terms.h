// The "Suggest terms" dialog: the wanted accuracy (absolute or relative) and the cap on
// terms per variable go in; Search runs the term advisor on a thread of its own, with a
// busy bar and the best so far, and Cancel stops it within a fit's slice; at the end a
// table of what was tried and, for the suggestion (or the best found), Apply, which hands
// the counts to the main window to be written into its fields as if typed.
//
// Modeless, so that the window stays usable during a long search. The problem is read from
// the main window's fields when Search is pressed, and the function is compiled then, on
// this thread, so the engine itself is never touched by the search. Closing the dialog
// cancels a search and waits for it. A thread that cannot be started is said in the
// status line, and the dialog stays as it was before Search.
#pragma once

#include <QDialog>
#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "core/advisor/term_advisor.h"
#include "core/model/entry_fields.h"
#include "core/model/problem_model.h"
#include "core/parallel/parallel_for.h"
#include "engine/script_environment.h"

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTableWidget;

namespace quon {

struct AdvisorProblem;

class frmSuggestTerms : public QDialog {
  Q_OBJECT

 public:
  // The counts, one text per variable in use, to be written into the term fields.
  using ApplyCounts = std::function<void(const std::vector<std::string>& counts)>;

  // The entry fields as they stand, read when Search is pressed.
  using ReadFields = std::function<EntryFields()>;

  // model and engine belong to the main window and must outlive the dialog; `start` runs
  // the search on a thread of its own.
  frmSuggestTerms(const ProblemModel& model, ScriptEnvironment& engine, ReadFields read,
                  ApplyCounts apply, QWidget* parent = nullptr, ThreadStarter start = StartThread);
  ~frmSuggestTerms() override;

  // A search has started and its end has not been shown yet.
  bool Searching() const { return static_cast<bool>(joinWorker_); }

 protected:
  void reject() override;
  // The cap's default follows the kinds of terms on show, until the user sets the cap.
  void showEvent(QShowEvent* event) override;

 private:
  void CreateControls();
  void LayOutDialog();
  void ConnectHandlers();

  void cmdSearch_Click();
  void cmdCancel_Click();
  void cmdApply_Click();

  void Search(AdvisorProblem& problem, const AdvisorOptions& options);
  void ShowProgress(const TrialResult& best, int32_t fits);
  void SearchEnded(const TermAdvice& advice, const std::string& failure);
  void ShowTried(const TermAdvice& advice);
  void StopSearch();

  // Whether the main window still has the variables that were searched.
  bool SameVariables() const;

  const ProblemModel& model_;
  ScriptEnvironment& engine_;
  ReadFields read_;
  ApplyCounts apply_;
  ProblemModel gathered_;  // the searched problem as gathered, for the texts
  AdvisorOptions options_;
  std::vector<int32_t> chosen_;  // the counts Apply writes
  std::atomic<bool> cancel_{false};
  ThreadStarter start_;
  std::function<void()> joinWorker_;  // set while a search runs

  QLineEdit* txtTolerance = nullptr;
  QRadioButton* optAbsolute = nullptr;
  QRadioButton* optRelative = nullptr;
  QSpinBox* spnMaxTerms = nullptr;
  bool capSetByUser_ = false;
  bool settingCap_ = false;
  QProgressBar* barSearch = nullptr;
  QLabel* lblStatus = nullptr;
  QTableWidget* grdTried = nullptr;
  QPushButton* cmdSearch = nullptr;
  QPushButton* cmdApply = nullptr;
  QPushButton* cmdCancel = nullptr;
};

}  // namespace quon
