#include "gui/frm_evaluations.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <string>

#include "core/batch/points_evaluation.h"
#include "core/calculus/calculus.h"
#include "core/eval/point_evaluation.h"
#include "core/eval/script_point_function.h"
#include "core/io/spec_file.h"
#include "core/model/user_constants.h"
#include "engine/number_text.h"
#include "gui/command_guard.h"

namespace quon {
namespace {

// A value field that selects its whole text when it gets the focus, so that typing
// replaces the old value. Selecting is deferred: a mouse press would otherwise place the
// cursor and undo the selection straight after.
class SelectAllLineEdit : public QLineEdit {
 public:
  using QLineEdit::QLineEdit;

 protected:
  void focusInEvent(QFocusEvent* event) override {
    QLineEdit::focusInEvent(event);
    QTimer::singleShot(0, this, &QLineEdit::selectAll);
  }
};

}  // namespace

frmEvaluations::frmEvaluations(ProblemModel& model, ScriptEnvironment& engine, QWidget* parent)
    : QWidget(parent, Qt::Window), model_(model), engine_(engine) {
  setObjectName(QStringLiteral("frmEvaluations"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("Evaluations"));
  CreateControls();
  LayOutWindow();
  ConnectHandlers();
  Form_Load();
}

void frmEvaluations::CreateControls() {
  fraEval = new QGroupBox(QStringLiteral("Evaluation Point"), this);
  fraEval->setObjectName(QStringLiteral("fraEval"));
  fraEval->setToolTip(QStringLiteral("Enter values for each variable"));
  for (int i = 0; i < RowCount; ++i) {
    auto* label = new QLabel(QStringLiteral("x="), fraEval);
    label->setObjectName(QStringLiteral("lblVarx%1").arg(i));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setVisible(false);
    auto* text = new SelectAllLineEdit(QStringLiteral("0"), fraEval);
    text->setObjectName(QStringLiteral("txtVarx%1").arg(i));
    text->setVisible(false);
    lblVarx.push_back(label);
    txtVarx.push_back(text);
  }
  lblFun = new QLabel(QStringLiteral("Function="), this);
  lblFun->setObjectName(QStringLiteral("lblFun"));
  // The values' labels have no fixed accessible name, so that they report their text.
  lblFunction = new QLabel(this);
  lblFunction->setObjectName(QStringLiteral("lblFunction"));
  lblFunction->setAccessibleDescription(QStringLiteral("Function value"));
  lblAppr = new QLabel(QStringLiteral("Approximation="), this);
  lblAppr->setObjectName(QStringLiteral("lblAppr"));
  lblApprox = new QLabel(this);
  lblApprox->setObjectName(QStringLiteral("lblApprox"));
  lblApprox->setAccessibleDescription(QStringLiteral("Approximation value"));
  lblGrad = new QLabel(QStringLiteral("Gradient="), this);
  lblGrad->setObjectName(QStringLiteral("lblGrad"));
  lblGradient = new QLabel(this);
  lblGradient->setObjectName(QStringLiteral("lblGradient"));
  lblGradient->setAccessibleDescription(QStringLiteral("Gradient of the approximation"));
  lblGradient->setToolTip(
      QStringLiteral("Partial derivatives of the approximation, in the "
                     "variables' order"));
  lblFileStatus = new QLabel(this);
  lblFileStatus->setObjectName(QStringLiteral("lblFileStatus"));
  lblFileStatus->setWordWrap(true);
  for (QLabel* value : {lblFunction, lblApprox, lblGradient}) {
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    value->setMinimumWidth(220);
    value->setWordWrap(true);
  }
  cmdCompute = new QPushButton(QStringLiteral("Compute"), this);
  cmdCompute->setObjectName(QStringLiteral("cmdCompute"));
  cmdCompute->setToolTip(QStringLiteral("Evaluate approximation and function"));
  cmdCompute->setDefault(true);
  cmdEvalFile = new QPushButton(QStringLiteral("Evaluate file..."), this);
  cmdEvalFile->setObjectName(QStringLiteral("cmdEvalFile"));
  cmdEvalFile->setToolTip(
      QStringLiteral("Evaluate function and approximation at every point "
                     "of a CSV file"));
  cmdExit = new QPushButton(QStringLiteral("E&xit"), this);
  cmdExit->setObjectName(QStringLiteral("cmdExit"));
}

void frmEvaluations::LayOutWindow() {
  auto* rows = new QGridLayout(fraEval);
  for (int i = 0; i < RowCount; ++i) {
    rows->addWidget(lblVarx[static_cast<std::size_t>(i)], i, 0);
    rows->addWidget(txtVarx[static_cast<std::size_t>(i)], i, 1);
  }
  rows->setColumnStretch(1, 1);

  auto* values = new QGridLayout;
  values->addWidget(lblFun, 0, 0, Qt::AlignRight | Qt::AlignTop);
  values->addWidget(lblFunction, 0, 1);
  values->addWidget(lblAppr, 1, 0, Qt::AlignRight | Qt::AlignTop);
  values->addWidget(lblApprox, 1, 1);
  values->addWidget(lblGrad, 2, 0, Qt::AlignRight | Qt::AlignTop);
  values->addWidget(lblGradient, 2, 1);
  values->setColumnStretch(1, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(cmdEvalFile);
  buttons->addStretch(1);
  buttons->addWidget(cmdCompute);
  buttons->addWidget(cmdExit);

  auto* window = new QVBoxLayout(this);
  window->addWidget(fraEval);
  window->addLayout(values);
  window->addWidget(lblFileStatus);
  window->addStretch(1);
  window->addLayout(buttons);
}

void frmEvaluations::ConnectHandlers() {
  connect(cmdCompute, &QPushButton::clicked, this, &frmEvaluations::cmdCompute_Click);
  connect(cmdEvalFile, &QPushButton::clicked, this, &frmEvaluations::cmdEvalFile_Click);
  connect(cmdExit, &QPushButton::clicked, this, &frmEvaluations::cmdExit_Click);
  for (QLineEdit* text : txtVarx) {
    connect(text, &QLineEdit::returnPressed, this, &frmEvaluations::cmdCompute_Click);
  }
}

void frmEvaluations::Form_Load() {
  // The variables are fixed for the run by the time a fit or a file enables this window.
  const int last = VariableCount(model_) - 1;
  for (int i = 0; i <= last; ++i) {
    const auto k = static_cast<std::size_t>(i);
    lblVarx[k]->setText(QString::fromStdString(model_.VarName[k]) + QStringLiteral("="));
    lblVarx[k]->setVisible(true);
    txtVarx[k]->setVisible(true);
  }
}

void frmEvaluations::cmdCompute_Click() {
  // The window says what went wrong in its own lines, never in a box; so does a failure
  // the evaluation lets out, memory running out included.
  try {
    ComputeAtPoint();
  } catch (const std::exception& error) {
    lblApprox->clear();
    lblGradient->clear();
    lblFunction->setText(QString::fromStdString(CommandFailureMessage("evaluate", error)));
  }
}

void frmEvaluations::ComputeAtPoint() {
  std::vector<std::string> point;
  for (int i = 0; i < VariableCount(model_); ++i) {
    point.push_back(txtVarx[static_cast<std::size_t>(i)]->text().toStdString());
  }
  const PointEvaluation result = EvaluateAtPoint(model_, engine_, point);
  lblApprox->setText(QString::fromStdString(result.ApproxText));
  lblFunction->setText(QString::fromStdString(result.FunctionText));
  lblGradient->setText(result.ApproxValid ? GradientText() : QString());
  if (result.PointSent) {
    QList<double> values;
    for (std::size_t k = 0; k < point.size(); ++k) values.append(model_.EvalPoint[k]);
    Q_EMIT EvaluationPointChanged(values);
  }
}

QString frmEvaluations::GradientText() const {
  const int count = VariableCount(model_);
  const std::vector<double> point(model_.EvalPoint.begin(), model_.EvalPoint.begin() + count);
  try {
    QStringList parts;
    for (double d : Gradient(model_, point)) parts << QString::fromStdString(TextForm(d));
    return QStringLiteral("(") + parts.join(QStringLiteral(", ")) + QStringLiteral(")");
  } catch (const CalculusError& e) {
    return QString::fromStdString(e.what());
  }
}

void frmEvaluations::cmdEvalFile_Click() {
  const QString points =
      QFileDialog::getOpenFileName(this, QStringLiteral("Points to evaluate"), QString(),
                                   QStringLiteral("CSV files (*.csv);;All files (*)"));
  if (points.isEmpty()) return;
  const QString output = QFileDialog::getSaveFileName(
      this, QStringLiteral("Write the values to"),
      points.left(points.lastIndexOf('.')) + QStringLiteral("_values.csv"),
      QStringLiteral("CSV files (*.csv);;All files (*)"));
  if (output.isEmpty()) return;
  EvaluateFile(points, output);
}

void frmEvaluations::EvaluateFile(const QString& pointsPath, const QString& outputPath) {
  if (!model_.HaveResults) {
    lblFileStatus->setText(QString::fromUtf8(NoCurrentFitText));
    return;
  }
  const int count = VariableCount(model_);
  const std::vector<std::string> names(model_.VarName.begin(), model_.VarName.begin() + count);
  QProgressDialog progress(QStringLiteral("Evaluating %1...").arg(pointsPath),
                           QStringLiteral("Cancel"), 0, 1000, this);
  progress.setObjectName(QStringLiteral("prgEvalFile"));
  progress.setWindowTitle(QStringLiteral("Evaluate file"));
  progress.setWindowModality(Qt::WindowModal);
  progress.setMinimumDuration(500);
  try {
    const PointsTable table = ReadPointsFile(pointsPath.toStdString(), names);
    SetConstants({model_.Constants.begin(),
                  model_.Constants.begin() + std::clamp(model_.ConstCount, 0, MaxConstants)},
                 engine_);
    ScriptPointFunctionSource function(engine_, model_.Equation, names);
    const PointsRunSummary summary = EvaluatePointsToFile(
        model_, function, table, outputPath.toStdString(), [&](int64_t done, int64_t total) {
          progress.setValue(total == 0 ? 1000 : static_cast<int>(done * 1000 / total));
          QCoreApplication::processEvents();
          return !progress.wasCanceled();
        });
    if (summary.Cancelled) {
      lblFileStatus->setText(QStringLiteral("Cancelled; nothing was written."));
    } else {
      lblFileStatus->setText(QStringLiteral("%1 points written to %2; the function failed at %3, "
                                            "the approximation at %4.")
                                 .arg(summary.Rows)
                                 .arg(outputPath)
                                 .arg(summary.FunctionFailures)
                                 .arg(summary.ApproximationFailures));
    }
  } catch (const PointsFileError& e) {
    lblFileStatus->setText(QString::fromStdString(e.what()));
  } catch (const SpecFileError& e) {
    lblFileStatus->setText(QString::fromStdString(e.what()));
  } catch (const ScriptFailure& failure) {
    lblFileStatus->setText(QStringLiteral("The function cannot be evaluated: ") +
                           QString::fromStdString(failure.what()));
  } catch (const std::exception& error) {  // memory running out on a large file
    lblFileStatus->setText(
        QString::fromStdString(CommandFailureMessage("evaluate the file", error)));
  }
  progress.reset();
}

void frmEvaluations::cmdExit_Click() { close(); }

}  // namespace quon
