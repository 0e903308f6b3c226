// The main window's results: Compute, the list of coefficients, the accuracy line and the
// conditioning warnings under it, Evaluations, Plot and Analysis. The road of one Compute
// is the core's RunCompute; this part shows the hourglass, the list or the refusal, runs
// the accuracy check on results it shows and opens the evaluation, plot and analysis
// windows.
#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <functional>
#include <string>
#include <vector>

#include "core/model/entry_fields.h"
#include "core/model/problem_model.h"
#include "engine/script_environment.h"

class QLabel;
class QListView;
class QPushButton;
class QScrollArea;
class QVBoxLayout;
class QWidget;

namespace quon {

class CoefListModel;
class frmAnalysis;
class frmEvaluations;
class frmPlot;

class ResultsPanel : public QObject {
  Q_OBJECT

 public:
  struct Events {
    // True when the problem is complete; else puts the focus where the user goes on.
    std::function<bool()> ProblemComplete;
    // The entry fields as they stand, for a Compute.
    std::function<EntryFields()> ReadEntryFields;
    // Sends the listed constants to the engine; throws ScriptFailure.
    std::function<void()> SendConstants;
    std::function<void(const std::string& text)> ShowMessage;
    // Turns the engine's own error messages off (true) and on again (false).
    std::function<void(bool quiet)> QuietEngine;
  };

  ResultsPanel(QWidget* window, ProblemModel& model, ScriptEnvironment& engine, Events events);

  // The list above the accuracy lines, and the command buttons left to right.
  QVBoxLayout* ResultRows() const { return resultRows_; }
  std::vector<QPushButton*> CommandButtons() const;
  std::vector<QWidget*> ComputeInTabOrder() const;
  std::vector<QWidget*> ListInTabOrder() const;

  // Empties lstCoeff and clears HaveResults, unless a file is being loaded.
  void ClearResults();
  // Lists results read from a file and enables Evaluations; nothing without results.
  void ShowStoredResults();
  // Runs the accuracy check on the results the model holds and shows its summary and
  // warnings under the list, enabling Plot and Analysis; with no results, clears them (and
  // disables both). An open plot or analysis window redraws.
  void ShowAccuracy();
  // Fits made so far; a new fit is a change the user may want to save.
  int FitCount() const { return fits_; }
  frmEvaluations* EvaluationsWindow() const;
  frmPlot* PlotWindow() const;
  frmAnalysis* AnalysisWindow() const;

 Q_SIGNALS:
  // cmdEvaluations has created the evaluation window (it is created afresh after a close).
  void EvaluationsWindowLoaded(frmEvaluations* window);

 private:
  void CreateListControls();
  void CreateAccuracyControls();
  void ConnectHandlers();
  void ListCoefficients();
  void ClearAccuracy();
  void FitAccuracyArea();

  // Each command runs guarded: what it lets out is said in a message.
  void cmdCompute_Click();
  void Compute();
  void cmdEvaluations_Click();
  void ShowEvaluations();
  void cmdPlot_Click();
  void ShowPlot();
  void cmdAnalysis_Click();
  void ShowAnalysis();
  // The plot and analysis windows, when open, redraw from the model.
  void RefreshResultWindows();
  // The evaluation window computed at a new point: the plot holds the other variables there.
  void EvaluationPoint_Changed(const QList<double>& point);

  QWidget* window_;
  ProblemModel& model_;
  ScriptEnvironment& engine_;
  Events events_;
  bool computing_ = false;
  int fits_ = 0;  // a Compute is running (its listing lets events through)

  QVBoxLayout* resultRows_ = nullptr;
  QListView* lstCoeff = nullptr;
  CoefListModel* coefList_ = nullptr;
  QLabel* lblAccuracy = nullptr;
  QLabel* lblConditionWarning = nullptr;
  QScrollArea* accuracyArea = nullptr;  // holds the two labels above
  QPushButton* cmdCompute = nullptr;
  QPushButton* cmdEvaluations = nullptr;
  QPushButton* cmdPlot = nullptr;
  QPushButton* cmdAnalysis = nullptr;
  QPointer<frmEvaluations> evaluations_;
  QPointer<frmPlot> plot_;
  QPointer<frmAnalysis> analysis_;
  std::vector<double> heldPoint_;  // the evaluation window's last point; empty for none
};

}  // namespace quon
