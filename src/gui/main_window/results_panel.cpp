#include "gui/main_window/results_panel.h"

#include <QApplication>
#include <QListView>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>
#include <exception>

#include "core/fit/compute_command.h"
#include "core/model/results_state.h"
#include "gui/command_guard.h"
#include "gui/frm_evaluations.h"
#include "gui/main_window/control_factory.h"
#include "gui/qt/qt_coef_list_model.h"
#include "gui/qt/qt_fixed_font.h"
#include "gui/qt/qt_hourglass.h"

namespace quon {
namespace {

// The hourglass for as long as a Compute runs, and the mark that one is running, both
// given back however the command ends.
class BusyCompute {
 public:
  explicit BusyCompute(bool& computing) : computing_(computing) { computing_ = true; }
  ~BusyCompute() { computing_ = false; }
  BusyCompute(const BusyCompute&) = delete;
  BusyCompute& operator=(const BusyCompute&) = delete;

 private:
  bool& computing_;
  const Hourglass hourglass_;
};

constexpr std::string_view kComputeAction = "compute the fit";

}  // namespace

ResultsPanel::ResultsPanel(QWidget* window, ProblemModel& model, ScriptEnvironment& engine,
                           Events events)
    : QObject(window), window_(window), model_(model), engine_(engine), events_(std::move(events)) {
  CreateListControls();
  CreateAccuracyControls();
  resultRows_ = new QVBoxLayout;
  resultRows_->addWidget(lstCoeff, 1);
  resultRows_->addWidget(accuracyArea);
  ConnectHandlers();
}

void ResultsPanel::CreateListControls() {
  // The lines of a listing are made as they come into view: a large fit has millions.
  coefList_ = new CoefListModel(model_, this);
  lstCoeff = new QListView(window_);
  lstCoeff->setObjectName(QStringLiteral("lstCoeff"));
  lstCoeff->setModel(coefList_);
  lstCoeff->setUniformItemSizes(true);
  lstCoeff->setEditTriggers(QAbstractItemView::NoEditTriggers);
  lstCoeff->setToolTip(QStringLiteral("Coefficients"));
  lstCoeff->setAccessibleName(QStringLiteral("Coefficients"));
  // Coefficients and term labels line up in columns only in a fixed-pitch font.
  lstCoeff->setFont(FixedPitchFont(QStringLiteral("Courier New"), 8.25));
  const QFontMetrics metrics(lstCoeff->font());
  lstCoeff->setTextElideMode(Qt::ElideNone);
  coefList_->SetCharacterCell(QSize(metrics.horizontalAdvance(QLatin1Char('0')), metrics.height()));
  // Room for a coefficient (24 columns) and a term of a few factors, and for a listing
  // long enough to read without scrolling at once.
  lstCoeff->setMinimumWidth(metrics.horizontalAdvance(QString(56, QLatin1Char('0'))));
  lstCoeff->setMinimumHeight(metrics.lineSpacing() * 16);

  cmdCompute = MakeButton(window_, "cmdCompute", QStringLiteral("Compute"));
  cmdEvaluations = MakeButton(window_, "cmdEvaluations", QStringLiteral("Evaluations"));
  cmdEvaluations->setEnabled(false);
}

void ResultsPanel::ConnectHandlers() {
  connect(cmdCompute, &QPushButton::clicked, this, &ResultsPanel::cmdCompute_Click);
  connect(cmdEvaluations, &QPushButton::clicked, this, &ResultsPanel::cmdEvaluations_Click);
  connect(cmdPlot, &QPushButton::clicked, this, &ResultsPanel::cmdPlot_Click);
  connect(cmdAnalysis, &QPushButton::clicked, this, &ResultsPanel::cmdAnalysis_Click);
  // The evaluation window is made afresh after each close: follow every one of them.
  connect(this, &ResultsPanel::EvaluationsWindowLoaded, this, [this](frmEvaluations* window) {
    connect(window, &frmEvaluations::EvaluationPointChanged, this,
            &ResultsPanel::EvaluationPoint_Changed);
  });
}

std::vector<QPushButton*> ResultsPanel::CommandButtons() const {
  return {cmdCompute, cmdEvaluations, cmdPlot, cmdAnalysis};
}

std::vector<QWidget*> ResultsPanel::ComputeInTabOrder() const { return {cmdCompute}; }

std::vector<QWidget*> ResultsPanel::ListInTabOrder() const { return {lstCoeff, cmdEvaluations}; }

void ResultsPanel::cmdCompute_Click() {
  // A click that arrives while the listing lets pending events through waits its turn:
  // a second fit would reshape Coef under the list being filled.
  if (computing_ || !events_.ProblemComplete()) return;
  RunGuarded(kComputeAction, events_.ShowMessage, [this] { Compute(); });
}

void ResultsPanel::Compute() {
  const BusyCompute busy(computing_);
  ClearResults();
  ComputeOutcome outcome;
  try {
    outcome = RunCompute(model_, events_.ReadEntryFields(), engine_);
  } catch (const std::exception& error) {  // memory running out in the fit itself
    model_.HaveResults = false;
    outcome.Message = CommandFailureMessage(kComputeAction, error);
  }
  switch (outcome.Status) {
    case ComputeStatus::Success:
      ++fits_;
      QApplication::beep();
      ListCoefficients();
      cmdEvaluations->setEnabled(true);
      break;
    case ComputeStatus::Singular:
      coefList_->AppendLine(QString::fromLatin1(SingularMatrixLine));
      break;
    case ComputeStatus::EndedByError:
    case ComputeStatus::Refused:
    case ComputeStatus::Overflow:
      if (!outcome.AlreadyShown && !outcome.Message.empty()) events_.ShowMessage(outcome.Message);
      break;
  }
  ShowAccuracy();  // the check of a new fit, or no figures at all after a failed one
}

void ResultsPanel::ListCoefficients() {
  coefList_->AppendListing();
  // The listing's lines are made as they are shown, so there is no long fill; the window
  // gets its one chance to repaint and take input here, where the fill would give it.
  QApplication::processEvents();
}

void ResultsPanel::ShowStoredResults() {
  if (!model_.HaveResults) return;
  ListCoefficients();
  cmdEvaluations->setEnabled(true);
}

void ResultsPanel::ClearResults() {
  if (!quon::ClearResults(model_)) return;
  coefList_->Clear();
  ClearAccuracy();
}

frmEvaluations* ResultsPanel::EvaluationsWindow() const { return evaluations_; }

void ResultsPanel::cmdEvaluations_Click() {
  RunGuarded("open the evaluation window", events_.ShowMessage, [this] { ShowEvaluations(); });
}

void ResultsPanel::ShowEvaluations() {
  if (evaluations_ == nullptr) {
    evaluations_ = new frmEvaluations(model_, engine_, window_);
    // Beside the main window, not over its list.
    evaluations_->move(window_->frameGeometry().topRight() + QPoint(8, 0));
    Q_EMIT EvaluationsWindowLoaded(evaluations_);
  }
  evaluations_->show();
  evaluations_->raise();
  evaluations_->activateWindow();
}

}  // namespace quon
