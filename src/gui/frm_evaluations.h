// The evaluation window: the user types a point, one value per variable, and Compute shows
// the function and the fitted approximation there side by side, with the approximation's
// gradient. "Evaluate file..." does the same for every point of a CSV file, writing a CSV
// file, under a progress dialog that can cancel it. Modeless; closing it (Exit or the
// close box) deletes it, and the next show builds it afresh.
#pragma once

#include <QList>
#include <QWidget>
#include <vector>

#include "core/model/problem_model.h"
#include "engine/script_environment.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace quon {

class frmEvaluations : public QWidget {
  Q_OBJECT

 public:
  // Rows the window has; only rows 0..LastVar are ever shown.
  static constexpr int RowCount = 10;

  // model and engine belong to the main window and must outlive this one.
  frmEvaluations(ProblemModel& model, ScriptEnvironment& engine, QWidget* parent = nullptr);

  // Evaluates the points of the CSV file `pointsPath` into `outputPath` (see
  // batch/points_evaluation.h) and says in lblFileStatus how it went. A bad points file, a
  // failed write or a cancel leaves no output file.
  void EvaluateFile(const QString& pointsPath, const QString& outputPath);

 Q_SIGNALS:
  // The point in EvalPoint(0..LastVar) has been sent to the engine by a Compute; its
  // values follow in variable order.
  void EvaluationPointChanged(const QList<double>& point);

 private:
  void CreateControls();
  void LayOutWindow();
  void ConnectHandlers();
  void Form_Load();

  void cmdCompute_Click();
  void ComputeAtPoint();
  void cmdEvalFile_Click();
  void cmdExit_Click();
  // The gradient of the approximation at EvalPoint, for lblGradient.
  QString GradientText() const;

  ProblemModel& model_;
  ScriptEnvironment& engine_;

  QGroupBox* fraEval = nullptr;
  std::vector<QLabel*> lblVarx;
  std::vector<QLineEdit*> txtVarx;
  QLabel* lblFun = nullptr;
  QLabel* lblFunction = nullptr;
  QLabel* lblAppr = nullptr;
  QLabel* lblApprox = nullptr;
  QLabel* lblGrad = nullptr;
  QLabel* lblGradient = nullptr;
  QLabel* lblFileStatus = nullptr;
  QPushButton* cmdCompute = nullptr;
  QPushButton* cmdEvalFile = nullptr;
  QPushButton* cmdExit = nullptr;
};

}  // namespace quon
