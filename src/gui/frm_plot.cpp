#include "gui/frm_plot.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QPushButton>
#include <QScatterSeries>
#include <QSvgGenerator>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "core/eval/accuracy_text.h"
#include "core/eval/script_point_function.h"
#include "engine/number_text.h"
#include "gui/frm_plot_surface.h"
#include "gui/qt/qt_variable_list.h"

namespace quon {
namespace {

const QColor kFunctionColour(0x1f, 0x77, 0xb4);
const QColor kApproximationColour(0xd6, 0x27, 0x28);
const QColor kDifferenceColour(0x2c, 0xa0, 0x2c);

QString Text(const std::string& s) { return QString::fromStdString(s); }

// Adds ys over xs as line series, one per run of values that are not NaN, so that a gap
// in the values is a gap in the curve; only the first run shows in the legend.
void AddCurve(QChart* chart, const QString& name, const std::vector<double>& xs,
              const std::vector<double>& ys, const QPen& pen) {
  QLineSeries* run = nullptr;
  bool first = true;
  for (std::size_t i = 0; i < xs.size(); ++i) {
    if (std::isnan(ys[i])) {
      run = nullptr;
      continue;
    }
    if (run == nullptr) {
      run = new QLineSeries(chart);
      run->setName(name);
      run->setPen(pen);
      chart->addSeries(run);
      if (!first) {
        for (QLegendMarker* marker : chart->legend()->markers(run)) marker->setVisible(false);
      }
      first = false;
    }
    run->append(xs[i], ys[i]);
  }
}

// The finite range of the values, widened a little, and never empty.
std::pair<double, double> Range(std::initializer_list<const std::vector<double>*> lists) {
  double low = INFINITY;
  double high = -INFINITY;
  for (const std::vector<double>* list : lists) {
    for (const double v : *list) {
      if (!std::isfinite(v)) continue;
      low = std::min(low, v);
      high = std::max(high, v);
    }
  }
  if (!std::isfinite(low)) return {-1.0, 1.0};
  double margin = (high - low) * 0.05;
  if (!std::isfinite(margin)) return {low, high};
  if (margin == 0.0) margin = std::max(1.0, std::fabs(low)) * 0.05;
  return {low - margin, high + margin};
}

void SetAxes(QChart* chart, const QString& xTitle, double xLow, double xHigh,
             std::pair<double, double> y) {
  auto* xAxis = new QValueAxis(chart);
  xAxis->setTitleText(xTitle);
  xAxis->setLabelFormat("%g");
  xAxis->setRange(std::min(xLow, xHigh), std::max(xLow, xHigh));
  auto* yAxis = new QValueAxis(chart);
  yAxis->setRange(y.first, y.second);
  // Round tick values: the data's own extremes make unreadable labels.
  yAxis->applyNiceNumbers();
  yAxis->setLabelFormat("%.3g");
  chart->addAxis(xAxis, Qt::AlignBottom);
  chart->addAxis(yAxis, Qt::AlignLeft);
  for (QAbstractSeries* series : chart->series()) {
    series->attachAxis(xAxis);
    series->attachAxis(yAxis);
  }
}

}  // namespace

frmPlot::frmPlot(ProblemModel& model, ScriptEnvironment& engine, QWidget* parent)
    : QWidget(parent, Qt::Window), model_(model), engine_(engine) {
  askSavePath_ = [this](const QString& caption, const QString& filter) {
    return QFileDialog::getSaveFileName(this, caption, QString(), filter);
  };
  CreateControls();
  LayOutWindow();
  ConnectHandlers();
  held_ = CentrePoint(model_);
  FillVariableList();
  Refresh();
}

void frmPlot::CreateControls() {
  setWindowTitle("Plot");
  tabViews = new QTabWidget(this);
  surface_ = new PlotSurfaceView(model_, engine_, tabViews);
  cboPlotVar = new QComboBox(this);
  cboPlotVar->setToolTip("The variable along which to plot");
  lblHeld = new QLabel(this);
  fraCharts = new QWidget(this);
  chtValues = new QChartView(new QChart(), fraCharts);
  chtValues->setRenderHint(QPainter::Antialiasing);
  chtDifference = new QChartView(new QChart(), fraCharts);
  chtDifference->setRenderHint(QPainter::Antialiasing);
  lblStatus = new QLabel(this);
  lblStatus->setWordWrap(true);
  cmdSavePng = new QPushButton("Save &PNG...", this);
  cmdSaveSvg = new QPushButton("Save &SVG...", this);
  cmdClose = new QPushButton("&Close", this);
}

void frmPlot::LayOutWindow() {
  auto* slices = new QWidget(tabViews);
  auto* top = new QHBoxLayout;
  top->addWidget(new QLabel("Along:", slices));
  top->addWidget(cboPlotVar);
  top->addSpacing(12);
  top->addWidget(lblHeld, 1);

  auto* charts = new QVBoxLayout(fraCharts);
  charts->setContentsMargins(0, 0, 0, 0);
  charts->addWidget(chtValues, 3);
  charts->addWidget(chtDifference, 2);

  auto* slicesLayout = new QVBoxLayout(slices);
  slicesLayout->addLayout(top);
  slicesLayout->addWidget(fraCharts, 1);
  tabViews->addTab(slices, "Slices");
  tabViews->addTab(surface_, "Surface");

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(lblStatus, 1);
  buttons->addWidget(cmdSavePng);
  buttons->addWidget(cmdSaveSvg);
  buttons->addWidget(cmdClose);

  auto* window = new QVBoxLayout(this);
  window->addWidget(tabViews, 1);
  window->addLayout(buttons);
  resize(760, 700);
}

void frmPlot::ConnectHandlers() {
  connect(cboPlotVar, &QComboBox::currentIndexChanged, this, &frmPlot::cboPlotVar_Changed);
  connect(tabViews, &QTabWidget::currentChanged, this, &frmPlot::tabViews_Changed);
  connect(cmdSavePng, &QPushButton::clicked, this, &frmPlot::cmdSavePng_Click);
  connect(cmdSaveSvg, &QPushButton::clicked, this, &frmPlot::cmdSaveSvg_Click);
  connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);
}

void frmPlot::FillVariableList() { ShowVariableNames(*cboPlotVar, model_); }

int frmPlot::PlotVariable() const { return std::max(0, cboPlotVar->currentIndex()); }

void frmPlot::SetPlotVariable(int var) { cboPlotVar->setCurrentIndex(var); }

QString frmPlot::StatusText() const { return lblStatus->text(); }

void frmPlot::SetHeldPoint(const std::vector<double>& point) {
  held_ = point;
  Refresh();
  surface_->SetHeldPoint(point);
}

void frmPlot::cboPlotVar_Changed() { Refresh(); }

// The save buttons below belong to the slices; the surface has its own.
void frmPlot::tabViews_Changed(int index) {
  cmdSavePng->setEnabled(index == 0);
  cmdSaveSvg->setEnabled(index == 0);
}

void frmPlot::ShowStatus(const QString& text) { lblStatus->setText(text); }

void frmPlot::Refresh() {
  surface_->Invalidate();
  if (cboPlotVar->count() != VariableCount(model_)) FillVariableList();
  const int vars = VariableCount(model_);
  if (held_.size() != static_cast<std::size_t>(vars)) held_ = CentrePoint(model_);
  series_ = PlotSeries{};
  ShowStatus(QString());
  const int var = PlotVariable();

  QStringList others;
  for (int k = 0; k < vars; ++k) {
    if (k == var) continue;
    others << Text(model_.VarName[static_cast<std::size_t>(k)] + "=" +
                   TextForm(held_[static_cast<std::size_t>(k)]));
  }
  lblHeld->setText(others.isEmpty() ? QString() : "Other variables at " + others.join(", "));

  if (!model_.HaveResults) {
    ClearCharts();
    ShowStatus("There are no results to plot: compute the approximation first.");
    return;
  }
  const bool fitOnData = model_.Origin == ResultsOrigin::Data;
  try {
    if (fitOnData) {
      NoFunctionSource none;
      series_ = SamplePlot(model_, none, var, held_);
    } else {
      ScriptPointFunctionSource source(engine_, model_.Equation, model_.VarName);
      series_ = SamplePlot(model_, source, var, held_);
    }
  } catch (const ScriptFailure& failure) {
    ClearCharts();
    ShowStatus(QString("The function cannot be evaluated: ") + failure.what());
    return;
  } catch (const std::exception& e) {
    ClearCharts();
    ShowStatus(QString("Nothing to plot: ") + e.what());
    return;
  }
  const auto failed = std::count_if(series_.Function.begin(), series_.Function.end(),
                                    [](double v) { return std::isnan(v); });
  if (fitOnData) {
    ShowStatus(
        "A fit on data: the approximation alone, with no function to compare with (its "
        "residuals are plotted in the Fit data window).");
  } else if (failed > 0) {
    ShowStatus(QString::number(failed) + " of " + QString::number(series_.X.size()) +
               " samples of the function failed; the curve has gaps there.");
  }
  ClearCharts();
  DrawValues();
  DrawDifference();
}

void frmPlot::ClearCharts() {
  for (QChartView* view : {chtValues, chtDifference}) {
    view->chart()->removeAllSeries();
    for (QAbstractAxis* axis : view->chart()->axes()) {
      view->chart()->removeAxis(axis);
      delete axis;
    }
    view->chart()->setTitle(QString());
  }
}

void frmPlot::DrawValues() {
  QChart* chart = chtValues->chart();
  const QString name = Text(series_.Name);
  chart->setTitle("Function and approximation along " + name);
  AddCurve(chart, "Function", series_.X, series_.Function, QPen(kFunctionColour, 2));
  QPen dashed(kApproximationColour, 2);
  dashed.setStyle(Qt::DashLine);
  AddCurve(chart, "Approximation", series_.X, series_.Approximation, dashed);
  auto* nodes = new QScatterSeries(chart);
  nodes->setName("Nodes");
  nodes->setMarkerSize(8);
  nodes->setColor(Qt::black);
  nodes->setBorderColor(Qt::black);
  for (std::size_t j = 0; j < series_.NodeX.size(); ++j) {
    if (std::isfinite(series_.NodeValue[j])) nodes->append(series_.NodeX[j], series_.NodeValue[j]);
  }
  chart->addSeries(nodes);
  SetAxes(chart, name, series_.X.front(), series_.X.back(),
          Range({&series_.Function, &series_.Approximation}));
}

void frmPlot::DrawDifference() {
  QChart* chart = chtDifference->chart();
  const QString name = Text(series_.Name);
  // The largest difference on this line, where the eye would look for it.
  std::size_t worst = series_.Difference.size();
  for (std::size_t i = 0; i < series_.Difference.size(); ++i) {
    const double d = std::fabs(series_.Difference[i]);
    if (!std::isnan(d) &&
        (worst == series_.Difference.size() || d > std::fabs(series_.Difference[worst]))) {
      worst = i;
    }
  }
  QString title = "Difference, function minus approximation";
  if (worst < series_.Difference.size()) {
    title += Text("; largest " + ShortForm(std::fabs(series_.Difference[worst])) + " at " +
                  series_.Name + "=" + ShortForm(series_.X[worst], 4));
  }
  chart->setTitle(title);
  AddCurve(chart, "Difference", series_.X, series_.Difference, QPen(kDifferenceColour, 2));
  chart->legend()->hide();
  SetAxes(chart, name, series_.X.front(), series_.X.back(), Range({&series_.Difference}));
}

bool frmPlot::SavePng(const QString& path) {
  if (fraCharts->grab().save(path, "PNG")) return true;
  ShowStatus("Cannot write " + path + ".");
  return false;
}

bool frmPlot::SaveSvg(const QString& path) {
  QSvgGenerator generator;
  generator.setFileName(path);
  generator.setSize(fraCharts->size());
  generator.setViewBox(fraCharts->rect());
  generator.setTitle(windowTitle());
  QPainter painter;
  if (!painter.begin(&generator)) {
    ShowStatus("Cannot write " + path + ".");
    return false;
  }
  fraCharts->render(&painter);
  return painter.end();
}

void frmPlot::cmdSavePng_Click() {
  const QString path = askSavePath_("Save the plot as PNG", "PNG images (*.png)");
  if (!path.isEmpty()) SavePng(path);
}

void frmPlot::cmdSaveSvg_Click() {
  const QString path = askSavePath_("Save the plot as SVG", "SVG drawings (*.svg)");
  if (!path.isEmpty()) SaveSvg(path);
}

}  // namespace quon
