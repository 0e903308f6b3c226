// The main window's view of how good the fit is: after a fit, or an open that brings
// results, the accuracy check runs and one line under the coefficient list sums it up,
// with a warning line for every variable whose terms are ill-conditioned. The list's own
// lines stay as they are. Plot opens the plot window, which follows the point of the
// evaluation window.
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>
#include <exception>

#include "main_window/frm_quon.h"
#include "eval/accuracy_check.h"
#include "eval/accuracy_text.h"
#include "frm_evaluations.h"
#include "frm_plot.h"
#include "eval/script_point_function.h"

namespace quon {
namespace {

// The hourglass while the check runs, given back however it ends.
class Hourglass {
 public:
  Hourglass() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~Hourglass() { QApplication::restoreOverrideCursor(); }
  Hourglass(const Hourglass&) = delete;
  Hourglass& operator=(const Hourglass&) = delete;
};

}  // namespace

void frmQuon::CreateAccuracyControls() {
  lblAccuracy = new QLabel(this);
  lblAccuracy->setObjectName(QStringLiteral("lblAccuracy"));
  lblAccuracy->setAccessibleName(QStringLiteral("Accuracy between the nodes"));
  lblAccuracy->setToolTip(
      QStringLiteral("Function and approximation compared at points between the nodes"));
  lblAccuracy->setWordWrap(true);
  lblAccuracy->setTextInteractionFlags(Qt::TextSelectableByMouse);
  lblConditionWarning = new QLabel(this);
  lblConditionWarning->setObjectName(QStringLiteral("lblConditionWarning"));
  lblConditionWarning->setAccessibleName(QStringLiteral("Conditioning warning"));
  lblConditionWarning->setWordWrap(true);
  lblConditionWarning->setStyleSheet(QStringLiteral("color: #a00000;"));
  lblConditionWarning->setVisible(false);
  accuracyArea = new QScrollArea(this);
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
  cmdPlot = new QPushButton(QStringLiteral("Plot"), this);
  cmdPlot->setObjectName(QStringLiteral("cmdPlot"));
  cmdPlot->setAccessibleName(QStringLiteral("Plot"));
  cmdPlot->setToolTip(
      QStringLiteral("Plot function, approximation and their difference along one variable"));
  cmdPlot->setAutoDefault(false);
  cmdPlot->setEnabled(false);
}

void frmQuon::ConnectAccuracyHandlers() {
  connect(cmdPlot, &QPushButton::clicked, this, &frmQuon::cmdPlot_Click);
  // The evaluation window is made afresh after each close: follow every one of them.
  connect(this, &frmQuon::EvaluationsWindowLoaded, this, [this](frmEvaluations* window) {
    connect(window, &frmEvaluations::EvaluationPointChanged, this,
            &frmQuon::EvaluationPoint_Changed);
  });
}

frmPlot* frmQuon::PlotWindow() const { return plot_.data(); }

void frmQuon::ClearAccuracy() {
  lblAccuracy->clear();
  lblConditionWarning->clear();
  lblConditionWarning->setVisible(false);
  cmdPlot->setEnabled(false);
  if (plot_) plot_->Refresh();
  FitAccuracyArea();
}

// The summary and the warnings take the height they need, up to eight lines; beyond that
// they scroll, so that they never squeeze the coefficient list or draw over it.
void frmQuon::FitAccuracyArea() {
  QWidget* lines = accuracyArea->widget();
  const int width = std::max(accuracyArea->viewport()->width(), 1);
  const int needed = lines->hasHeightForWidth() ? lines->heightForWidth(width)
                                                : lines->sizeHint().height();
  accuracyArea->setFixedHeight(std::min(needed, 8 * fontMetrics().lineSpacing()));
}

void frmQuon::ShowAccuracy() {
  ClearAccuracy();
  if (!model_.HaveResults) return;
  const Hourglass hourglass;
  try {
    // After an open the engine does not hold the problem's constants yet.
    SetConstants();
    ScriptPointFunctionSource source(*engine_, model_.Equation, model_.VarName);
    const AccuracyResult result = CheckAccuracy(model_, source);
    lblAccuracy->setText(QString::fromStdString(AccuracySummaryLine(result)));
    QStringList warnings;
    for (const ConditionWarning& warning : result.Warnings) {
      warnings << QStringLiteral("Warning: ") +
                      QString::fromStdString(ConditionWarningText(warning));
    }
    lblConditionWarning->setText(warnings.join(QLatin1Char('\n')));
    lblConditionWarning->setVisible(!warnings.isEmpty());
  } catch (const ScriptFailure&) {
    // The engine's error event has shown what is wrong with the function or a constant.
    lblAccuracy->setText(QStringLiteral("The function cannot be checked between the nodes."));
  } catch (const std::exception& e) {
    lblAccuracy->setText(QStringLiteral("The accuracy check failed: ") + e.what());
  }
  cmdPlot->setEnabled(true);
  if (plot_) plot_->Refresh();
  FitAccuracyArea();
}

void frmQuon::EvaluationPoint_Changed(const QList<double>& point) {
  heldPoint_.assign(point.begin(), point.end());
  if (plot_) plot_->SetHeldPoint(heldPoint_);
}

void frmQuon::cmdPlot_Click() {
  if (!plot_) {
    plot_ = new frmPlot(model_, *engine_, this);
    plot_->setAttribute(Qt::WA_DeleteOnClose);
    // A point typed in the evaluation window holds the other variables; else the centres.
    if (!heldPoint_.empty()) plot_->SetHeldPoint(heldPoint_);
  }
  plot_->show();
  plot_->raise();
  plot_->activateWindow();
}

}  // namespace quon
