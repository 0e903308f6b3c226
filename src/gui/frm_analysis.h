// The analysis window: what the fit says about the function, each figure with a Copy
// button. The largest and smallest value of the approximation over the box and where they
// lie; its roots along a chosen variable, the others at the evaluation window's point (or
// the centres); its mean and variance over the box; and the variance-based sensitivity
// indices of every variable as a bar chart. The numbers come from core/analysis; this
// window only shows them. It recomputes when the results change or the point moves.
#pragma once

#include <QString>
#include <QWidget>
#include <optional>
#include <vector>

#include "core/analysis/chebyshev_roots.h"
#include "core/analysis/extrema.h"
#include "core/analysis/variance_decomposition.h"
#include "core/model/problem_model.h"

class QChartView;
class QComboBox;
class QLabel;
class QPushButton;

namespace quon {

class frmAnalysis : public QWidget {
  Q_OBJECT

 public:
  // model belongs to the main window and must outlive this one.
  explicit frmAnalysis(const ProblemModel& model, QWidget* parent = nullptr);

  // Holds the other variables of the roots at `point` (one coordinate per variable in use;
  // another size means the centres) and recomputes them.
  void SetHeldPoint(const std::vector<double>& point);
  // Recomputes every figure from the model: after a fit, after opening a file.
  void Refresh();

  void SetRootsVariable(int var);
  // What is on show, for the tests: the figures (empty when they could not be computed)
  // and the text each Copy button puts on the clipboard.
  const std::optional<Extremes>& ShownExtremes() const { return extremes_; }
  const std::optional<RealRoots>& ShownRoots() const { return roots_; }
  const std::optional<VarianceDecomposition>& ShownDecomposition() const { return variance_; }
  QString ExtremesText() const;
  QString RootsText() const;
  QString MomentsText() const;
  QString SensitivityText() const;

 private:
  void CreateControls();
  void LayOutWindow();
  void ConnectHandlers();
  void FillVariableList();

  void ComputeExtremes();
  void ComputeRoots();
  void ComputeVariance();
  void DrawSensitivity();

  void cboRootsVar_Changed();
  void cmdCopyExtremes_Click();
  void cmdCopyRoots_Click();
  void cmdCopyMoments_Click();
  void cmdCopySensitivity_Click();

  const ProblemModel& model_;
  std::vector<double> held_;
  std::optional<Extremes> extremes_;
  std::optional<RealRoots> roots_;
  std::optional<VarianceDecomposition> variance_;

  QLabel* lblMaximum = nullptr;
  QLabel* lblMinimum = nullptr;
  QPushButton* cmdCopyExtremes = nullptr;
  QComboBox* cboRootsVar = nullptr;
  QLabel* lblRootsHeld = nullptr;
  QLabel* lblRoots = nullptr;
  QPushButton* cmdCopyRoots = nullptr;
  QLabel* lblMean = nullptr;
  QLabel* lblVariance = nullptr;
  QPushButton* cmdCopyMoments = nullptr;
  QChartView* chtSensitivity = nullptr;
  QPushButton* cmdCopySensitivity = nullptr;
  QLabel* lblStatus = nullptr;
  QPushButton* cmdClose = nullptr;
};

}  // namespace quon
