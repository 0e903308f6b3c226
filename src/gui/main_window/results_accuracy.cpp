// The results' view of how good the fit is: after a fit, or an open that brings results,
// the accuracy check runs and one line under the coefficient list sums it up, with a
// warning line for every variable whose terms are ill-conditioned. The list's own lines
// stay as they are. Plot and Analysis open their windows, which follow the point of the
// evaluation window.
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>

#include "core/eval/accuracy_check.h"
#include "core/eval/accuracy_text.h"
#include "core/eval/script_point_function.h"
#include "core/report/fit_statistics.h"
#include "gui/command_guard.h"
#include "gui/frm_analysis.h"
#include "gui/frm_plot.h"
#include "gui/main_window/control_factory.h"
#include "gui/main_window/results_panel.h"
#include "gui/qt/qt_hourglass.h"

namespace quon {
namespace {

// The engine's messages off while the check runs, back on however it ends.
class QuietEngine {
 public:
  explicit QuietEngine(const std::function<void(bool)>& quiet) : quiet_(quiet) { quiet_(true); }
  ~QuietEngine() { quiet_(false); }
  QuietEngine(const QuietEngine&) = delete;
  QuietEngine& operator=(const QuietEngine&) = delete;

 private:
  const std::function<void(bool)>& quiet_;
};

}  // namespace

void ResultsPanel::CreateAccuracyControls() {
  lblAccuracy = MakeTextLabel(window_, "lblAccuracy", QStringLiteral("Accuracy between the nodes"));
  lblAccuracy->setToolTip(
      QStringLiteral("Function and approximation compared at points between the nodes"));
  lblAccuracy->setWordWrap(true);
  lblAccuracy->setTextInteractionFlags(Qt::TextSelectableByMouse);
  lblConditionWarning =
      MakeTextLabel(window_, "lblConditionWarning", QStringLiteral("Conditioning warning"));
  lblConditionWarning->setWordWrap(true);
  lblConditionWarning->setStyleSheet(QStringLiteral("color: #a00000;"));
  lblConditionWarning->setVisible(false);
  accuracyArea = new QScrollArea(window_);
  accuracyArea->setObjectName(QStringLiteral("accuracyArea"));
  accuracyArea->setFrameShape(QFrame::NoFrame);
  accuracyArea->setWidgetResizable(true);
  accuracyArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  auto* lines = new QWidget(accuracyArea);
  auto* linesLayout = new QVBoxLayout(lines);
  linesLayout->setContentsMargins(0, 0, 0, 0);
  linesLayout->addWidget(lblAccuracy);
  linesLayout->addWidget(lblConditionWarning);
  linesLayout->addStretch(1);
  accuracyArea->setWidget(lines);
  FitAccuracyArea();
  cmdPlot = MakeButton(window_, "cmdPlot", QStringLiteral("Plot"));
  cmdPlot->setToolTip(
      QStringLiteral("Plot function, approximation and their difference along one variable"));
  cmdPlot->setEnabled(false);
  cmdAnalysis = MakeButton(window_, "cmdAnalysis", QStringLiteral("Analysis"));
  cmdAnalysis->setToolTip(
      QStringLiteral("Extremes, roots, mean, variance and the variables' share of the variance"));
  cmdAnalysis->setEnabled(false);
}

frmPlot* ResultsPanel::PlotWindow() const { return plot_.data(); }

frmAnalysis* ResultsPanel::AnalysisWindow() const { return analysis_.data(); }

void ResultsPanel::RefreshResultWindows() {
  if (plot_) plot_->Refresh();
  if (analysis_) analysis_->Refresh();
}

void ResultsPanel::ClearAccuracy() {
  lblAccuracy->clear();
  lblConditionWarning->clear();
  lblConditionWarning->setVisible(false);
  cmdPlot->setEnabled(false);
  cmdAnalysis->setEnabled(false);
  // With results, ShowAccuracy redraws them once it has checked them.
  if (!model_.HaveResults) RefreshResultWindows();
  FitAccuracyArea();
}

// The summary and the warnings take the height they need, up to eight lines; beyond that
// they scroll, so that they never squeeze the coefficient list or draw over it.
void ResultsPanel::FitAccuracyArea() {
  QWidget* lines = accuracyArea->widget();
  const int width = std::max(accuracyArea->viewport()->width(), 1);
  const int needed =
      lines->hasHeightForWidth() ? lines->heightForWidth(width) : lines->sizeHint().height();
  accuracyArea->setFixedHeight(std::min(needed, 8 * window_->fontMetrics().lineSpacing()));
}

void ResultsPanel::ShowAccuracy() {
  ClearAccuracy();
  if (!model_.HaveResults) return;
  // A fit on data has no function to check between the nodes: its residuals say how good it is.
  if (model_.Origin == ResultsOrigin::Data) {
    lblAccuracy->setText(QString::fromStdString(DataFitSummaryLine(model_)));
    cmdPlot->setEnabled(true);
    cmdAnalysis->setEnabled(true);
    RefreshResultWindows();
    FitAccuracyArea();
    return;
  }
  const Hourglass hourglass;
  // A function or constant the engine refuses (a pair opened from a file is checked
  // before the user ever pressed Compute) is said in the accuracy line, not in a box.
  const QuietEngine quiet(events_.QuietEngine);
  try {
    // After an open the engine does not hold the problem's constants yet.
    events_.SendConstants();
    ScriptPointFunctionSource source(engine_, model_.Equation, model_.VarName);
    const AccuracyResult result = CheckAccuracy(model_, source);
    lblAccuracy->setText(QString::fromStdString(AccuracySummaryLine(result)));
    QStringList warnings;
    for (const std::string& warning : AccuracyWarnings(result)) {
      warnings << QStringLiteral("Warning: ") + QString::fromStdString(warning);
    }
    lblConditionWarning->setText(warnings.join(QLatin1Char('\n')));
    lblConditionWarning->setVisible(!warnings.isEmpty());
  } catch (const ScriptFailure& failure) {
    lblAccuracy->setText(QStringLiteral("The function cannot be checked between the nodes: ") +
                         QString::fromStdString(failure.what()));
  } catch (const std::exception& e) {
    lblAccuracy->setText(QStringLiteral("The accuracy check failed: ") + e.what());
  }
  cmdPlot->setEnabled(true);
  cmdAnalysis->setEnabled(true);
  RefreshResultWindows();
  FitAccuracyArea();
}

void ResultsPanel::EvaluationPoint_Changed(const QList<double>& point) {
  heldPoint_.assign(point.begin(), point.end());
  if (plot_) plot_->SetHeldPoint(heldPoint_);
  if (analysis_) analysis_->SetHeldPoint(heldPoint_);
}

// Opening the window samples the function and draws the curves.
void ResultsPanel::cmdPlot_Click() {
  RunGuarded("plot the approximation", events_.ShowMessage, [this] { ShowPlot(); });
}

void ResultsPanel::ShowPlot() {
  if (!plot_) {
    plot_ = new frmPlot(model_, engine_, window_);
    plot_->setAttribute(Qt::WA_DeleteOnClose);
    // A point typed in the evaluation window holds the other variables; else the centres.
    if (!heldPoint_.empty()) plot_->SetHeldPoint(heldPoint_);
  }
  plot_->show();
  plot_->raise();
  plot_->activateWindow();
}

void ResultsPanel::cmdAnalysis_Click() {
  RunGuarded("analyse the approximation", events_.ShowMessage, [this] { ShowAnalysis(); });
}

void ResultsPanel::ShowAnalysis() {
  if (!analysis_) {
    const Hourglass hourglass;
    analysis_ = new frmAnalysis(model_, window_);
    analysis_->setAttribute(Qt::WA_DeleteOnClose);
    // Beside the main window, not over its list.
    analysis_->move(window_->frameGeometry().topRight() + QPoint(8, 0));
    if (!heldPoint_.empty()) analysis_->SetHeldPoint(heldPoint_);
  }
  analysis_->show();
  analysis_->raise();
  analysis_->activateWindow();
}

}  // namespace quon
