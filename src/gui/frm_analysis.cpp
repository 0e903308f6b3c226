#include "gui/frm_analysis.h"

#include <QApplication>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <QClipboard>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QVBoxLayout>
#include <QValueAxis>
#include <cmath>

#include "core/analysis/roots.h"
#include "core/eval/plot_series.h"
#include "engine/number_text.h"
#include "gui/qt/qt_hourglass.h"
#include "gui/qt/qt_variable_list.h"

namespace quon {
namespace {

QString Text(const std::string& s) { return QString::fromStdString(s); }

// "x=0.5, y=-1" for the variables in use, `skip` left out.
QString PointText(const ProblemModel& model, const std::vector<double>& point, int skip = -1) {
  QStringList parts;
  for (std::size_t k = 0; k < point.size(); ++k) {
    if (static_cast<int>(k) != skip) parts << Text(model.VarName[k] + "=" + TextForm(point[k]));
  }
  return parts.join(", ");
}

QLabel* ResultLabel(QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  label->setWordWrap(true);
  return label;
}

}  // namespace

frmAnalysis::frmAnalysis(const ProblemModel& model, QWidget* parent)
    : QWidget(parent, Qt::Window), model_(model) {
  CreateControls();
  LayOutWindow();
  ConnectHandlers();
  held_ = CentrePoint(model_);
  FillVariableList();
  Refresh();
}

void frmAnalysis::CreateControls() {
  setWindowTitle("Analysis");
  lblMaximum = ResultLabel(this);
  lblMinimum = ResultLabel(this);
  cmdCopyExtremes = new QPushButton("Copy", this);
  cboRootsVar = new QComboBox(this);
  cboRootsVar->setToolTip("The variable along which to find the roots");
  lblRootsHeld = ResultLabel(this);
  lblRoots = ResultLabel(this);
  cmdCopyRoots = new QPushButton("Copy", this);
  lblMean = ResultLabel(this);
  lblVariance = ResultLabel(this);
  cmdCopyMoments = new QPushButton("Copy", this);
  chtSensitivity = new QChartView(new QChart(), this);
  chtSensitivity->setRenderHint(QPainter::Antialiasing);
  chtSensitivity->setMinimumHeight(240);
  cmdCopySensitivity = new QPushButton("Copy", this);
  lblStatus = ResultLabel(this);
  cmdClose = new QPushButton("&Close", this);
}

void frmAnalysis::LayOutWindow() {
  const auto group = [this](const QString& title, std::initializer_list<QWidget*> rows,
                            QPushButton* copy) {
    auto* box = new QGroupBox(title, this);
    auto* layout = new QGridLayout(box);
    int row = 0;
    for (QWidget* widget : rows) layout->addWidget(widget, row++, 0);
    layout->addWidget(copy, 0, 1, Qt::AlignTop);
    layout->setColumnStretch(0, 1);
    return box;
  };
  auto* rootsLine = new QWidget(this);
  auto* rootsRow = new QHBoxLayout(rootsLine);
  rootsRow->setContentsMargins(0, 0, 0, 0);
  rootsRow->addWidget(new QLabel("Along:", this));
  rootsRow->addWidget(cboRootsVar);
  rootsRow->addWidget(lblRootsHeld, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(lblStatus, 1);
  buttons->addWidget(cmdClose);

  auto* window = new QVBoxLayout(this);
  window->addWidget(group("Extremes over the box", {lblMaximum, lblMinimum}, cmdCopyExtremes));
  window->addWidget(group("Roots", {rootsLine, lblRoots}, cmdCopyRoots));
  window->addWidget(
      group("Mean and variance over the box", {lblMean, lblVariance}, cmdCopyMoments));
  window->addWidget(group("Sensitivity: the share of the variance due to each variable",
                          {chtSensitivity}, cmdCopySensitivity),
                    1);
  window->addLayout(buttons);
  resize(640, 640);
}

void frmAnalysis::ConnectHandlers() {
  connect(cboRootsVar, &QComboBox::currentIndexChanged, this, &frmAnalysis::cboRootsVar_Changed);
  connect(cmdCopyExtremes, &QPushButton::clicked, this, &frmAnalysis::cmdCopyExtremes_Click);
  connect(cmdCopyRoots, &QPushButton::clicked, this, &frmAnalysis::cmdCopyRoots_Click);
  connect(cmdCopyMoments, &QPushButton::clicked, this, &frmAnalysis::cmdCopyMoments_Click);
  connect(cmdCopySensitivity, &QPushButton::clicked, this, &frmAnalysis::cmdCopySensitivity_Click);
  connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);
}

void frmAnalysis::FillVariableList() { ShowVariableNames(*cboRootsVar, model_); }

void frmAnalysis::SetRootsVariable(int var) { cboRootsVar->setCurrentIndex(var); }

void frmAnalysis::SetHeldPoint(const std::vector<double>& point) {
  held_ = point;
  ComputeRoots();
}

void frmAnalysis::cboRootsVar_Changed() { ComputeRoots(); }

void frmAnalysis::Refresh() {
  if (cboRootsVar->count() != VariableCount(model_)) FillVariableList();
  const Hourglass hourglass;
  lblStatus->setText(
      model_.HaveResults
          ? QString()
          : QString("There are no results to analyse: compute the approximation first."));
  ComputeExtremes();
  ComputeRoots();
  ComputeVariance();
}

void frmAnalysis::ComputeExtremes() {
  extremes_.reset();
  lblMaximum->clear();
  lblMinimum->clear();
  if (!model_.HaveResults) return;
  try {
    extremes_ = FindExtremes(model_, ProblemBox(model_));
  } catch (const std::exception& e) {
    lblMaximum->setText(QString("The extremes cannot be found: ") + e.what());
    return;
  }
  lblMaximum->setText(Text("Largest value " + TextForm(extremes_->Maximum.Value)) + " at " +
                      PointText(model_, extremes_->Maximum.Point));
  lblMinimum->setText(Text("Smallest value " + TextForm(extremes_->Minimum.Value)) + " at " +
                      PointText(model_, extremes_->Minimum.Point));
}

void frmAnalysis::ComputeRoots() {
  roots_.reset();
  lblRoots->clear();
  const int vars = VariableCount(model_);
  if (held_.size() != static_cast<std::size_t>(vars)) held_ = CentrePoint(model_);
  const int var = std::max(0, cboRootsVar->currentIndex());
  const QString others = PointText(model_, held_, var);
  lblRootsHeld->setText(others.isEmpty() ? QString() : "the others at " + others);
  if (!model_.HaveResults) return;
  const QString name = Text(model_.VarName[static_cast<std::size_t>(var)]);
  try {
    roots_ = RootsAlong(model_, var, held_);
  } catch (const std::exception& e) {
    lblRoots->setText(QString("The roots cannot be found: ") + e.what());
    return;
  }
  if (roots_->IdenticallyZero) {
    lblRoots->setText("The approximation is 0 all along " + name +
                      " there: every point is a root.");
    return;
  }
  const auto s = static_cast<std::size_t>(var);
  if (roots_->Roots.empty()) {
    lblRoots->setText(Text("No root along " + model_.VarName[s] + " from " +
                           TextForm(std::min(model_.LowerLimit[s], model_.UpperLimit[s])) + " to " +
                           TextForm(std::max(model_.LowerLimit[s], model_.UpperLimit[s])) + "."));
    return;
  }
  QStringList roots;
  for (const double root : roots_->Roots) roots << Text(TextForm(root));
  lblRoots->setText(name + " = " + roots.join(", "));
}

void frmAnalysis::ComputeVariance() {
  variance_.reset();
  lblMean->clear();
  lblVariance->clear();
  if (model_.HaveResults) {
    try {
      variance_ = DecomposeVariance(model_);
      lblMean->setText(Text("Mean " + TextForm(variance_->Mean)));
      lblVariance->setText(Text("Variance " + TextForm(variance_->Variance) +
                                " (standard deviation " + TextForm(std::sqrt(variance_->Variance)) +
                                ")"));
    } catch (const std::exception& e) {
      lblMean->setText(QString("The mean and variance cannot be computed: ") + e.what());
    }
  }
  DrawSensitivity();
}

void frmAnalysis::DrawSensitivity() {
  QChart* chart = chtSensitivity->chart();
  chart->removeAllSeries();
  for (QAbstractAxis* axis : chart->axes()) {
    chart->removeAxis(axis);
    delete axis;
  }
  if (!variance_) return;
  auto* main = new QBarSet("Main effect (alone)");
  auto* total = new QBarSet("Total effect (with interactions)");
  QStringList names;
  for (std::size_t k = 0; k < variance_->MainEffect.size(); ++k) {
    *main << variance_->MainEffect[k];
    *total << variance_->TotalEffect[k];
    names << Text(model_.VarName[k]);
  }
  auto* series = new QBarSeries(chart);
  series->append(main);
  series->append(total);
  chart->addSeries(series);
  auto* categories = new QBarCategoryAxis(chart);
  categories->append(names);
  auto* share = new QValueAxis(chart);
  share->setRange(0.0, 1.0);
  share->setTickCount(6);
  share->setLabelFormat("%.1f");
  chart->addAxis(categories, Qt::AlignBottom);
  chart->addAxis(share, Qt::AlignLeft);
  series->attachAxis(categories);
  series->attachAxis(share);
  chart->legend()->setAlignment(Qt::AlignBottom);
}

QString frmAnalysis::ExtremesText() const {
  return lblMaximum->text() + "\n" + lblMinimum->text() + "\n";
}

QString frmAnalysis::RootsText() const {
  const QString held = lblRootsHeld->text();
  return lblRoots->text() + (held.isEmpty() ? QString() : " (" + held + ")") + "\n";
}

QString frmAnalysis::MomentsText() const {
  return lblMean->text() + "\n" + lblVariance->text() + "\n";
}

QString frmAnalysis::SensitivityText() const {
  QString text;
  if (!variance_) return text;
  for (std::size_t k = 0; k < variance_->MainEffect.size(); ++k) {
    text += Text(model_.VarName[k] + ": main effect " + TextForm(variance_->MainEffect[k]) +
                 ", total effect " + TextForm(variance_->TotalEffect[k]) + "\n");
  }
  return text;
}

void frmAnalysis::cmdCopyExtremes_Click() { QApplication::clipboard()->setText(ExtremesText()); }

void frmAnalysis::cmdCopyRoots_Click() { QApplication::clipboard()->setText(RootsText()); }

void frmAnalysis::cmdCopyMoments_Click() { QApplication::clipboard()->setText(MomentsText()); }

void frmAnalysis::cmdCopySensitivity_Click() {
  // The chart as a picture for documents, the figures as text for everything else.
  auto* data = new QMimeData;
  data->setText(SensitivityText());
  data->setImageData(chtSensitivity->grab().toImage());
  QApplication::clipboard()->setMimeData(data);
}

}  // namespace quon
