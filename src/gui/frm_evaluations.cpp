#include "frm_evaluations.h"

#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <string>

#include "eval/point_evaluation.h"

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
  for (QLabel* value : {lblFunction, lblApprox}) {
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    value->setMinimumWidth(220);
    value->setWordWrap(true);
  }
  cmdCompute = new QPushButton(QStringLiteral("Compute"), this);
  cmdCompute->setObjectName(QStringLiteral("cmdCompute"));
  cmdCompute->setToolTip(QStringLiteral("Evaluate approximation and function"));
  cmdCompute->setDefault(true);
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
  values->setColumnStretch(1, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(cmdCompute);
  buttons->addWidget(cmdExit);

  auto* window = new QVBoxLayout(this);
  window->addWidget(fraEval);
  window->addLayout(values);
  window->addStretch(1);
  window->addLayout(buttons);
}

void frmEvaluations::ConnectHandlers() {
  connect(cmdCompute, &QPushButton::clicked, this, &frmEvaluations::cmdCompute_Click);
  connect(cmdExit, &QPushButton::clicked, this, &frmEvaluations::cmdExit_Click);
  for (QLineEdit* text : txtVarx) {
    connect(text, &QLineEdit::returnPressed, this, &frmEvaluations::cmdCompute_Click);
  }
}

void frmEvaluations::Form_Load() {
  // The variables are fixed for the run by the time a fit or a file enables this window.
  const int last = std::clamp(model_.LastVar, 0, MaxVars - 1);
  for (int i = 0; i <= last; ++i) {
    const auto k = static_cast<std::size_t>(i);
    lblVarx[k]->setText(QString::fromStdString(model_.VarName[k]) + QStringLiteral("="));
    lblVarx[k]->setVisible(true);
    txtVarx[k]->setVisible(true);
  }
}

void frmEvaluations::cmdCompute_Click() {
  std::vector<std::string> point;
  for (int i = 0; i <= std::clamp(model_.LastVar, 0, MaxVars - 1); ++i) {
    point.push_back(txtVarx[static_cast<std::size_t>(i)]->text().toStdString());
  }
  const PointEvaluation result = EvaluateAtPoint(model_, engine_, point);
  lblApprox->setText(QString::fromStdString(result.ApproxText));
  lblFunction->setText(QString::fromStdString(result.FunctionText));
  if (result.PointSent) {
    QList<double> values;
    for (std::size_t k = 0; k < point.size(); ++k) values.append(model_.EvalPoint[k]);
    Q_EMIT EvaluationPointChanged(values);
  }
}

void frmEvaluations::cmdExit_Click() { close(); }

}  // namespace quon
