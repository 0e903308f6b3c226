// The plot window: the user's function and the approximation along one chosen variable
// across its interval, the other variables held at a point (the one typed in the
// evaluation window, or the centres), the nodes marked; below, their difference. It can be
// saved as PNG or SVG. The curves come from SamplePlot; this window only draws them. A
// second tab shows a surface over two variables (frm_plot_surface.h).
#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

#include "core/eval/plot_series.h"
#include "core/model/problem_model.h"
#include "engine/script_environment.h"

class QChart;
class QChartView;
class QComboBox;
class QLabel;
class QPushButton;
class QTabWidget;

namespace quon {

class PlotSurfaceView;

class frmPlot : public QWidget {
  Q_OBJECT

 public:
  // Asks for the path to save to (empty: cancelled). The window uses QFileDialog; tests
  // put their own in its place.
  using SavePathAsker = std::function<QString(const QString& caption, const QString& filter)>;

  frmPlot(ProblemModel& model, ScriptEnvironment& engine, QWidget* parent = nullptr);

  // Holds the other variables at `point` (one coordinate per variable in use) and redraws.
  // A point of another size is ignored in favour of the centres.
  void SetHeldPoint(const std::vector<double>& point);
  // Redraws from the model: after a fit, after opening a file, after a new point.
  void Refresh();

  // What is on show: the curves, and the line under the charts (empty when all is well).
  const PlotSeries& Series() const { return series_; }
  PlotSurfaceView* SurfaceView() const { return surface_; }
  QString StatusText() const;
  int PlotVariable() const;
  void SetPlotVariable(int var);

  void SetSavePathAsker(SavePathAsker asker) { askSavePath_ = std::move(asker); }
  // Writes both charts as one picture; false (and a message in the status line) on failure.
  bool SavePng(const QString& path);
  bool SaveSvg(const QString& path);

 private:
  void CreateControls();
  void LayOutWindow();
  void ConnectHandlers();
  void FillVariableList();

  void cboPlotVar_Changed();
  void tabViews_Changed(int index);
  void cmdSavePng_Click();
  void cmdSaveSvg_Click();

  void ShowStatus(const QString& text);
  void ClearCharts();
  void DrawValues();
  void DrawDifference();

  ProblemModel& model_;
  ScriptEnvironment& engine_;
  std::vector<double> held_;
  PlotSeries series_;
  SavePathAsker askSavePath_;

  QTabWidget* tabViews = nullptr;
  PlotSurfaceView* surface_ = nullptr;
  QComboBox* cboPlotVar = nullptr;
  QLabel* lblHeld = nullptr;
  QWidget* fraCharts = nullptr;
  QChartView* chtValues = nullptr;
  QChartView* chtDifference = nullptr;
  QLabel* lblStatus = nullptr;
  QPushButton* cmdSavePng = nullptr;
  QPushButton* cmdSaveSvg = nullptr;
  QPushButton* cmdClose = nullptr;
};

}  // namespace quon
