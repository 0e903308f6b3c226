#include "gui/frm_suggest_terms.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>
#include <cmath>
#include <memory>
#include <utility>

#include "core/advisor/advice_text.h"
#include "core/advisor/advisor_problem.h"
#include "core/eval/accuracy_text.h"
#include "engine/number_text.h"

namespace quon {
namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

QString ErrorText(double error) {
  return std::isfinite(error) ? Text(ShortForm(error)) : QStringLiteral("failed");
}

}  // namespace

frmSuggestTerms::frmSuggestTerms(const ProblemModel& model, ScriptEnvironment& engine,
                                 ReadFields read, ApplyCounts apply, QWidget* parent,
                                 ThreadStarter start)
    : QDialog(parent),
      model_(model),
      engine_(engine),
      read_(std::move(read)),
      apply_(std::move(apply)),
      start_(std::move(start)) {
  setObjectName(QStringLiteral("frmSuggestTerms"));
  setWindowTitle(QStringLiteral("Suggest terms"));
  CreateControls();
  LayOutDialog();
  ConnectHandlers();
}

frmSuggestTerms::~frmSuggestTerms() { StopSearch(); }

void frmSuggestTerms::CreateControls() {
  txtTolerance = new QLineEdit(QStringLiteral("1E-06"), this);
  txtTolerance->setObjectName(QStringLiteral("txtTolerance"));
  txtTolerance->setToolTip(
      QStringLiteral("The largest difference between function and approximation you accept"));
  optAbsolute = new QRadioButton(QStringLiteral("&Absolute"), this);
  optAbsolute->setObjectName(QStringLiteral("optAbsolute"));
  optAbsolute->setChecked(true);
  optRelative = new QRadioButton(QStringLiteral("&Relative to the largest value"), this);
  optRelative->setObjectName(QStringLiteral("optRelative"));
  spnMaxTerms = new QSpinBox(this);
  spnMaxTerms->setObjectName(QStringLiteral("spnMaxTerms"));
  spnMaxTerms->setRange(2, MostMaxTerms);
  spnMaxTerms->setValue(DefaultMaxTerms);

  barSearch = new QProgressBar(this);
  barSearch->setObjectName(QStringLiteral("barSearch"));
  barSearch->setRange(0, 1);
  barSearch->setValue(0);
  barSearch->setTextVisible(false);
  lblStatus = new QLabel(this);
  lblStatus->setObjectName(QStringLiteral("lblStatus"));
  lblStatus->setWordWrap(true);
  lblStatus->setTextInteractionFlags(Qt::TextSelectableByMouse);

  grdTried = new QTableWidget(0, 3, this);
  grdTried->setObjectName(QStringLiteral("grdTried"));
  grdTried->setHorizontalHeaderLabels({QStringLiteral("Terms"),
                                       QStringLiteral("Largest difference"),
                                       QStringLiteral("Coefficients")});
  grdTried->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
  grdTried->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
  grdTried->horizontalHeader()->setSectionResizeMode(2, QHeaderView::ResizeToContents);
  grdTried->verticalHeader()->hide();
  grdTried->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grdTried->setSelectionBehavior(QAbstractItemView::SelectRows);

  cmdSearch = new QPushButton(QStringLiteral("&Search"), this);
  cmdSearch->setObjectName(QStringLiteral("cmdSearch"));
  cmdSearch->setDefault(true);
  cmdApply = new QPushButton(QStringLiteral("A&pply"), this);
  cmdApply->setObjectName(QStringLiteral("cmdApply"));
  cmdApply->setToolTip(QStringLiteral("Write the counts into the fields; then press Compute"));
  cmdApply->setEnabled(false);
  cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
  cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
}

void frmSuggestTerms::LayOutDialog() {
  auto* kind = new QHBoxLayout;
  kind->addWidget(optAbsolute);
  kind->addWidget(optRelative);
  kind->addStretch(1);
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("&Wanted largest difference:"), txtTolerance);
  form->addRow(QString(), kind);
  form->addRow(QStringLiteral("&Most terms per variable:"), spnMaxTerms);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(cmdSearch);
  buttons->addStretch(1);
  buttons->addWidget(cmdApply);
  buttons->addWidget(cmdCancel);

  auto* dialog = new QVBoxLayout(this);
  dialog->addLayout(form);
  dialog->addWidget(barSearch);
  dialog->addWidget(lblStatus);
  dialog->addWidget(grdTried, 1);
  dialog->addLayout(buttons);
  resize(480, 420);
}

void frmSuggestTerms::ConnectHandlers() {
  connect(cmdSearch, &QPushButton::clicked, this, &frmSuggestTerms::cmdSearch_Click);
  connect(cmdApply, &QPushButton::clicked, this, &frmSuggestTerms::cmdApply_Click);
  connect(cmdCancel, &QPushButton::clicked, this, &frmSuggestTerms::cmdCancel_Click);
  connect(spnMaxTerms, &QSpinBox::valueChanged, this, [this] {
    if (!settingCap_) capSetByUser_ = true;
  });
}

void frmSuggestTerms::showEvent(QShowEvent* event) {
  if (!capSetByUser_) {
    // Chebyshev terms stay well conditioned, so their search may go much further.
    bool chebyshev = true;
    const EntryFields fields = read_();
    for (std::size_t k = 0; k < fields.Variables.size(); ++k) {
      if (static_cast<int>(k) < VariableCount(model_)) {
        chebyshev = chebyshev && KindOf(fields.Variables[k]) == TermKind::Chebyshev;
      }
    }
    settingCap_ = true;
    spnMaxTerms->setValue(chebyshev ? DefaultChebyshevMaxTerms : DefaultMaxTerms);
    settingCap_ = false;
  }
  QDialog::showEvent(event);
}

void frmSuggestTerms::cmdSearch_Click() {
  if (Searching()) return;
  const std::string tolerance = txtTolerance->text().toStdString();
  const double wanted = IsNumber(tolerance) ? LeadingNumber(tolerance) : 0.0;
  if (!(wanted > 0) || !std::isfinite(wanted)) {
    lblStatus->setText(
        QStringLiteral("Enter the wanted largest difference as a number above 0, "
                       "such as 1E-06."));
    txtTolerance->setFocus();
    return;
  }
  options_ = AdvisorOptions{};
  options_.Tolerance = wanted;
  options_.Relative = optRelative->isChecked();
  options_.MaxTerms = spnMaxTerms->value();

  std::shared_ptr<AdvisorProblem> problem;
  try {
    problem = std::make_shared<AdvisorProblem>(PrepareAdvisorProblem(model_, read_(), engine_));
  } catch (const AdvisorSetupError& e) {
    lblStatus->setText(Text(e.what()));
    return;
  }
  // Copied before the search starts: the search takes the problem's model for its own.
  ProblemModel gathered = problem->Model;
  cancel_ = false;
  try {
    joinWorker_ = start_([this, problem, options = options_] { Search(*problem, options); });
  } catch (const std::exception& e) {  // no thread to be had: the last search stays shown
    lblStatus->setText(QStringLiteral("The search could not be started: ") + Text(e.what()));
    return;
  }
  gathered_ = std::move(gathered);
  chosen_.clear();
  grdTried->setRowCount(0);
  cmdApply->setEnabled(false);
  cmdSearch->setEnabled(false);
  barSearch->setRange(0, 0);  // busy: the number of fits is not known in advance
  lblStatus->setText(QStringLiteral("Searching..."));
}

// On the worker thread: everything it shows goes back to the dialog's thread queued, so
// it is shown only after cmdSearch_Click has set the dialog up for the search.
void frmSuggestTerms::Search(AdvisorProblem& problem, const AdvisorOptions& options) {
  AdvisorHooks hooks;
  hooks.Cancelled = [this] { return cancel_.load(); };
  hooks.Progress = [this](const TrialResult&, const TrialResult& best, int32_t fits) {
    QMetaObject::invokeMethod(
        this, [this, best, fits] { ShowProgress(best, fits); }, Qt::QueuedConnection);
  };
  TermAdvice advice;
  std::string failure;
  try {
    advice = SuggestTerms(std::move(problem.Model), *problem.Function, options, hooks);
  } catch (const std::exception& e) {
    failure = e.what();
  }
  QMetaObject::invokeMethod(
      this, [this, advice, failure] { SearchEnded(advice, failure); }, Qt::QueuedConnection);
}

void frmSuggestTerms::ShowProgress(const TrialResult& best, int32_t fits) {
  if (!Searching() || cancel_) return;
  lblStatus->setText(QStringLiteral("%1 fits; best so far %2 with %3")
                         .arg(fits)
                         .arg(ErrorText(MeasuredError(best, options_)))
                         .arg(Text(TermsText(gathered_, best.Terms))));
}

void frmSuggestTerms::SearchEnded(const TermAdvice& advice, const std::string& failure) {
  StopSearch();
  barSearch->setRange(0, 1);
  barSearch->setValue(1);
  cmdSearch->setEnabled(true);
  ShowTried(advice);
  QString status;
  if (!failure.empty()) {
    status = QStringLiteral("The search failed: ") + Text(failure);
  } else if (advice.Status == AdviceStatus::Cancelled) {
    status = QStringLiteral("Cancelled after %1 fits.").arg(advice.EvaluatedFits);
  } else if (advice.Status == AdviceStatus::Reached) {
    chosen_ = advice.Best.Terms;
    status = QStringLiteral("Suggested: %1, largest difference %2, %3 coefficients (%4 fits).")
                 .arg(Text(TermsText(gathered_, chosen_)))
                 .arg(ErrorText(MeasuredError(advice.Best, options_)))
                 .arg(advice.Best.Coefficients)
                 .arg(advice.EvaluatedFits);
  } else {
    chosen_ = advice.Best.Terms;
    status = QStringLiteral("Out of reach: ") +
             Text(UnreachableReason(gathered_, advice, options_)) + QStringLiteral(".");
    for (const std::string& line : AdviceLines(gathered_, advice, options_)) {
      status += QStringLiteral("\n") + Text(line);
    }
  }
  lblStatus->setText(status);
  cmdApply->setEnabled(!chosen_.empty());
}

void frmSuggestTerms::ShowTried(const TermAdvice& advice) {
  grdTried->setRowCount(static_cast<int>(advice.Tried.size()));
  for (int row = 0; row < grdTried->rowCount(); ++row) {
    const TrialResult& trial = advice.Tried[static_cast<std::size_t>(row)];
    const QString cells[] = {Text(TermsText(gathered_, trial.Terms)),
                             ErrorText(MeasuredError(trial, options_)),
                             QString::number(trial.Coefficients)};
    for (int column = 0; column < 3; ++column) {
      grdTried->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
    if (trial.Terms == advice.Best.Terms) {
      grdTried->selectRow(row);
      grdTried->scrollToItem(grdTried->item(row, 0));
    }
  }
}

bool frmSuggestTerms::SameVariables() const {
  if (model_.LastVar != gathered_.LastVar) return false;
  for (int k = 0; k < VariableCount(model_); ++k) {
    const auto s = static_cast<std::size_t>(k);
    if (s >= model_.VarName.size() || s >= gathered_.VarName.size() ||
        model_.VarName[s] != gathered_.VarName[s]) {
      return false;
    }
  }
  return true;
}

void frmSuggestTerms::cmdApply_Click() {
  if (!SameVariables()) {
    lblStatus->setText(
        QStringLiteral("The variables have changed since the search; search again."));
    cmdApply->setEnabled(false);
    return;
  }
  std::vector<std::string> counts;
  for (const int32_t n : chosen_) counts.push_back(std::to_string(n));
  apply_(counts);
  accept();
}

void frmSuggestTerms::cmdCancel_Click() {
  if (Searching()) {
    cancel_ = true;
    lblStatus->setText(QStringLiteral("Cancelling..."));
  } else {
    reject();
  }
}

void frmSuggestTerms::reject() {
  StopSearch();
  QDialog::reject();
}

void frmSuggestTerms::StopSearch() {
  if (!joinWorker_) return;
  cancel_ = true;
  const std::function<void()> join = std::exchange(joinWorker_, nullptr);
  join();
}

}  // namespace quon
