// The plot window's surface view: the function, the approximation or their difference over
// two chosen variables, the other variables held at the evaluation window's point and
// moved with sliders; the nodes and the slice's largest and smallest value of the
// approximation marked. The graph (Qt Data Visualization) turns with the right mouse
// button and zooms with the wheel, and saves PNG. The numbers come from SampleSurface;
// the graph is made when the view is first shown, so the data are there (and can be
// tested) where OpenGL is not.
#pragma once

#include <QString>
#include <QWidget>
#include <vector>

#include "core/analysis/surface_grid.h"
#include "core/model/problem_model.h"
#include "engine/script_environment.h"

class QComboBox;
class QGridLayout;
class QLabel;
class QPushButton;
class QSlider;
class QVBoxLayout;
class Q3DSurface;
class QSurface3DSeries;

namespace quon {

class PlotSurfaceView : public QWidget {
  Q_OBJECT

 public:
  PlotSurfaceView(ProblemModel& model, ScriptEnvironment& engine, QWidget* parent = nullptr);

  // Holds the other variables at `point` and redraws when next shown.
  void SetHeldPoint(const std::vector<double>& point);
  // Redraws now when on show, else when next shown.
  void Invalidate();
  // Samples the surface and draws it now.
  void Refresh();
  void SetVariables(int varX, int varY);
  void SetQuantity(SurfaceQuantity quantity);

  // What is on show, for the tests: the data, the surface series the graph draws, the
  // sliders of the held variables (null for the two on show) and the status line.
  const SurfaceGrid& Grid() const { return grid_; }
  const QSurface3DSeries* Series() const { return series_; }
  QSlider* SliderOf(int var) const;
  QString StatusText() const;
  // The graph as a picture (the view's widgets where there is no OpenGL).
  bool SavePng(const QString& path);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void CreateControls();
  void LayOutView();
  void ConnectHandlers();
  void FillVariableLists();
  void MakeSliders();
  void CreateGraph();
  void DrawSurface();
  void DrawMarks();

  void Selection_Changed();
  void Slider_Moved(int var, int position);

  ProblemModel& model_;
  ScriptEnvironment& engine_;
  std::vector<double> held_;
  SurfaceGrid grid_;
  SurfaceQuantity quantity_ = SurfaceQuantity::Approximation;
  QSurface3DSeries* series_ = nullptr;
  Q3DSurface* graph_ = nullptr;
  bool stale_ = true;

  QComboBox* cboSurfaceX = nullptr;
  QComboBox* cboSurfaceY = nullptr;
  QComboBox* cboQuantity = nullptr;
  QGridLayout* sliderRows_ = nullptr;
  std::vector<QSlider*> sliders_;
  std::vector<QLabel*> sliderLabels_;
  QVBoxLayout* graphArea_ = nullptr;
  QLabel* graphPlaceholder_ = nullptr;
  QLabel* lblSurfaceStatus = nullptr;
  QPushButton* cmdSaveSurface = nullptr;
};

}  // namespace quon
