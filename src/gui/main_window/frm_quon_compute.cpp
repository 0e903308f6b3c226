// The main window's Compute command, its results list and the Evaluations button. The road
// of one Compute (constants, gathering, the fit) is the core's RunCompute; the window only
// shows the hourglass, the list or the refusal, and opens the way to the evaluation window.
#include <QApplication>
#include <QListView>
#include <QPushButton>
#include <exception>

#include "fit/compute_command.h"
#include "frm_evaluations.h"
#include "main_window/frm_quon.h"
#include "qt/qt_coef_list_model.h"

namespace quon {
namespace {

// The hourglass for as long as a Compute runs, and the mark that one is running, both
// given back however the command ends.
class BusyCompute {
 public:
  explicit BusyCompute(bool& computing) : computing_(computing) {
    computing_ = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
  }
  ~BusyCompute() {
    QApplication::restoreOverrideCursor();
    computing_ = false;
  }
  BusyCompute(const BusyCompute&) = delete;
  BusyCompute& operator=(const BusyCompute&) = delete;

 private:
  bool& computing_;
};

}  // namespace

void frmQuon::ConnectComputeHandlers() {
  connect(cmdCompute, &QPushButton::clicked, this, &frmQuon::cmdCompute_Click);
  connect(cmdEvaluations, &QPushButton::clicked, this, &frmQuon::cmdEvaluations_Click);
}

void frmQuon::cmdCompute_Click() {
  // A click that arrives while the listing lets pending events through waits its turn:
  // a second fit would reshape Coef under the list being filled.
  if (computing_) return;
  const BusyCompute busy(computing_);
  ClearResults();
  ComputeOutcome outcome;
  try {
    outcome = RunCompute(model_, ReadEntryFields(), *engine_);
  } catch (const std::exception& error) {  // memory running out in the fit itself
    model_.HaveResults = false;
    outcome.Message = std::string("The fit could not be computed: ") + error.what();
  }
  switch (outcome.Status) {
    case ComputeStatus::Success:
      QApplication::beep();
      ListCoefficients();
      cmdEvaluations->setEnabled(true);
      break;
    case ComputeStatus::Singular:
      coefList_->AppendLine(QString::fromLatin1(SingularMatrixLine));
      break;
    case ComputeStatus::EndedByError:
    case ComputeStatus::Refused:
      if (!outcome.AlreadyShown && !outcome.Message.empty()) ShowMessage(outcome.Message);
      break;
  }
  ShowAccuracy();  // the check of a new fit, or no figures at all after a failed one
}

void frmQuon::ListCoefficients() {
  coefList_->AppendListing();
  // The listing's lines are made as they are shown, so there is no long fill; the window
  // gets its one chance to repaint and take input here, where the fill would give it.
  QApplication::processEvents();
}

void frmQuon::ShowStoredResults() {
  if (!model_.HaveResults) return;
  ListCoefficients();
  cmdEvaluations->setEnabled(true);
}

void frmQuon::cmdEvaluations_Click() {
  if (evaluations_ == nullptr) {
    evaluations_ = new frmEvaluations(model_, *engine_, this);
    evaluations_->move(frameGeometry().topRight() + QPoint(8, 0));  // beside, not over, the list
    Q_EMIT EvaluationsWindowLoaded(evaluations_);
  }
  evaluations_->show();
  evaluations_->raise();
  evaluations_->activateWindow();
}

frmEvaluations* frmQuon::EvaluationsWindow() const { return evaluations_; }

}  // namespace quon
