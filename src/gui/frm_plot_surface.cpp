#include "gui/frm_plot_surface.h"

#include <Q3DCamera>
#include <Q3DScene>
#include <Q3DSurface>
#include <Q3DTheme>
#include <QComboBox>
#include <QCustom3DItem>
#include <QCustom3DLabel>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QOpenGLContext>
#include <QPushButton>
#include <QSlider>
#include <QSurface3DSeries>
#include <QVBoxLayout>
#include <QValue3DAxis>
#include <algorithm>
#include <cmath>

#include "core/analysis/analysis_checks.h"
#include "core/eval/accuracy_text.h"
#include "core/eval/plot_series.h"
#include "core/eval/script_point_function.h"
#include "engine/number_text.h"
#include "gui/qt/qt_variable_list.h"

// The marker's mesh lives in the library's resources, which a static library must register
// itself; the macro may not be used inside a namespace.
static void RegisterGuiResources() { Q_INIT_RESOURCE(gui); }

namespace quon {
namespace {

constexpr int kSliderSteps = 1000;
// At most this many nodes are marked along each variable (every second, third, ... node
// of a larger grid); more would hide the surface.
constexpr std::size_t kMostMarkedNodes = 15;
// Up to this many samples per side the grid lines are drawn on the surface; beyond, they
// would blacken it.
constexpr std::size_t kMostWireframeSamples = 61;

QString Text(const std::string& s) { return QString::fromStdString(s); }

const char* QuantityName(SurfaceQuantity quantity) {
  switch (quantity) {
    case SurfaceQuantity::Function:
      return "Function";
    case SurfaceQuantity::Approximation:
      return "Approximation";
    case SurfaceQuantity::Difference:
      return "Difference, function minus approximation";
  }
  return "";
}

QCustom3DItem* Marker(const QVector3D& at, float size, const QColor& colour) {
  QImage texture(2, 2, QImage::Format_RGB32);
  texture.fill(colour);
  return new QCustom3DItem(":/quon/marker.obj", at, QVector3D(size, size, size), QQuaternion(),
                           texture);
}

}  // namespace

PlotSurfaceView::PlotSurfaceView(ProblemModel& model, ScriptEnvironment& engine, QWidget* parent)
    : QWidget(parent), model_(model), engine_(engine) {
  RegisterGuiResources();
  CreateControls();
  LayOutView();
  ConnectHandlers();
  held_ = CentrePoint(model_);
  FillVariableLists();
}

void PlotSurfaceView::CreateControls() {
  cboSurfaceX = new QComboBox(this);
  cboSurfaceX->setToolTip("The variable across the surface");
  cboSurfaceY = new QComboBox(this);
  cboSurfaceY->setToolTip("The variable in depth");
  cboQuantity = new QComboBox(this);
  for (const SurfaceQuantity q :
       {SurfaceQuantity::Function, SurfaceQuantity::Approximation, SurfaceQuantity::Difference}) {
    cboQuantity->addItem(QuantityName(q), static_cast<int>(q));
  }
  cboQuantity->setCurrentIndex(static_cast<int>(quantity_));
  series_ = new QSurface3DSeries(this);
  series_->setDrawMode(QSurface3DSeries::DrawSurfaceAndWireframe);
  QLinearGradient gradient;
  gradient.setColorAt(0.0, QColor(0x2c, 0x5a, 0xa0));
  gradient.setColorAt(0.5, QColor(0xf0, 0xe4, 0x42));
  gradient.setColorAt(1.0, QColor(0xc0, 0x30, 0x20));
  series_->setBaseGradient(gradient);
  series_->setColorStyle(Q3DTheme::ColorStyleRangeGradient);
  graphPlaceholder_ = new QLabel(this);
  graphPlaceholder_->setMinimumSize(480, 360);
  lblSurfaceStatus = new QLabel(this);
  lblSurfaceStatus->setWordWrap(true);
  cmdSaveSurface = new QPushButton("Save surface &PNG...", this);
}

void PlotSurfaceView::LayOutView() {
  auto* choices = new QHBoxLayout;
  choices->addWidget(new QLabel("Across:", this));
  choices->addWidget(cboSurfaceX);
  choices->addWidget(new QLabel("In depth:", this));
  choices->addWidget(cboSurfaceY);
  choices->addWidget(new QLabel("Show:", this));
  choices->addWidget(cboQuantity, 1);
  sliderRows_ = new QGridLayout;
  graphArea_ = new QVBoxLayout;
  graphArea_->addWidget(graphPlaceholder_);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(lblSurfaceStatus, 1);
  bottom->addWidget(cmdSaveSurface);
  auto* view = new QVBoxLayout(this);
  view->addLayout(choices);
  view->addLayout(sliderRows_);
  view->addLayout(graphArea_, 1);
  view->addLayout(bottom);
}

void PlotSurfaceView::ConnectHandlers() {
  connect(cboSurfaceX, &QComboBox::currentIndexChanged, this, &PlotSurfaceView::Selection_Changed);
  connect(cboSurfaceY, &QComboBox::currentIndexChanged, this, &PlotSurfaceView::Selection_Changed);
  connect(cboQuantity, &QComboBox::currentIndexChanged, this, &PlotSurfaceView::Selection_Changed);
  connect(cmdSaveSurface, &QPushButton::clicked, this, [this] {
    const QString path = QFileDialog::getSaveFileName(this, "Save the surface as PNG", QString(),
                                                      "PNG images (*.png)");
    if (!path.isEmpty()) SavePng(path);
  });
}

void PlotSurfaceView::FillVariableLists() {
  const int vars = VariableCount(model_);
  ShowVariableNames(*cboSurfaceX, model_);
  ShowVariableNames(*cboSurfaceY, model_);
  const QSignalBlocker blockX(cboSurfaceX);
  const QSignalBlocker blockY(cboSurfaceY);
  cboSurfaceX->setCurrentIndex(0);
  cboSurfaceY->setCurrentIndex(std::min(1, vars - 1));
  MakeSliders();
}

void PlotSurfaceView::MakeSliders() {
  for (QSlider* slider : sliders_) delete slider;
  for (QLabel* label : sliderLabels_) delete label;
  sliders_.clear();
  sliderLabels_.clear();
  const Box box = ProblemBox(model_);
  for (int k = 0; k < VariableCount(model_); ++k) {
    const auto s = static_cast<std::size_t>(k);
    auto* slider = new QSlider(Qt::Horizontal, this);
    slider->setRange(0, kSliderSteps);
    // Moving the slider redraws once it is let go, not at every step of the drag.
    slider->setTracking(false);
    slider->setToolTip(Text("Holds " + model_.VarName[s] + " between " + TextForm(box.Lower[s]) +
                            " and " + TextForm(box.Upper[s])));
    auto* label = new QLabel(this);
    sliderRows_->addWidget(label, k, 0);
    sliderRows_->addWidget(slider, k, 1);
    sliders_.push_back(slider);
    sliderLabels_.push_back(label);
    connect(slider, &QSlider::valueChanged, this,
            [this, k](int position) { Slider_Moved(k, position); });
  }
}

QSlider* PlotSurfaceView::SliderOf(int var) const {
  if (var < 0 || static_cast<std::size_t>(var) >= sliders_.size()) return nullptr;
  return sliders_[static_cast<std::size_t>(var)]->isHidden()
             ? nullptr
             : sliders_[static_cast<std::size_t>(var)];
}

QString PlotSurfaceView::StatusText() const { return lblSurfaceStatus->text(); }

void PlotSurfaceView::SetVariables(int varX, int varY) {
  const QSignalBlocker blocker(cboSurfaceX);
  cboSurfaceX->setCurrentIndex(varX);
  cboSurfaceY->setCurrentIndex(varY);
}

void PlotSurfaceView::SetQuantity(SurfaceQuantity quantity) {
  cboQuantity->setCurrentIndex(static_cast<int>(quantity));
}

void PlotSurfaceView::SetHeldPoint(const std::vector<double>& point) {
  held_ = point;
  Invalidate();
}

void PlotSurfaceView::Invalidate() {
  stale_ = true;
  if (isVisible()) Refresh();
}

void PlotSurfaceView::Selection_Changed() {
  quantity_ = static_cast<SurfaceQuantity>(cboQuantity->currentData().toInt());
  Refresh();
}

void PlotSurfaceView::Slider_Moved(int var, int position) {
  const Box box = ProblemBox(model_);
  const auto s = static_cast<std::size_t>(var);
  if (s >= held_.size()) return;
  held_[s] = position == kSliderSteps
                 ? box.Upper[s]
                 : box.Lower[s] + (box.Upper[s] - box.Lower[s]) * position / kSliderSteps;
  Refresh();
}

void PlotSurfaceView::Refresh() {
  stale_ = false;
  const int vars = VariableCount(model_);
  if (cboSurfaceX->count() != vars) FillVariableLists();
  if (held_.size() != static_cast<std::size_t>(vars)) held_ = CentrePoint(model_);
  grid_ = SurfaceGrid{};
  lblSurfaceStatus->clear();
  const int varX = cboSurfaceX->currentIndex();
  const int varY = cboSurfaceY->currentIndex();
  const Box box = ProblemBox(model_);
  for (std::size_t k = 0; k < sliders_.size(); ++k) {
    const bool shown = static_cast<int>(k) != varX && static_cast<int>(k) != varY;
    sliders_[k]->setVisible(shown);
    sliderLabels_[k]->setVisible(shown);
    const double span = box.Upper[k] - box.Lower[k];
    const QSignalBlocker blocker(sliders_[k]);
    sliders_[k]->setValue(
        span > 0 ? static_cast<int>(std::lround(
                       std::clamp((held_[k] - box.Lower[k]) / span, 0.0, 1.0) * kSliderSteps))
                 : 0);
    sliderLabels_[k]->setText(Text(model_.VarName[k] + " = " + TextForm(held_[k])));
  }
  if (vars < 2) {
    lblSurfaceStatus->setText("A surface needs two variables.");
  } else if (varX == varY) {
    lblSurfaceStatus->setText("Choose two different variables.");
  } else if (!model_.HaveResults) {
    lblSurfaceStatus->setText("There are no results to plot: compute the approximation first.");
  } else {
    try {
      ScriptPointFunctionSource source(engine_, model_.Equation, model_.VarName);
      grid_ = SampleSurface(model_, source, varX, varY, held_);
    } catch (const ScriptFailure& failure) {
      lblSurfaceStatus->setText(QString("The function cannot be evaluated: ") + failure.what());
    } catch (const std::exception& e) {
      lblSurfaceStatus->setText(QString("Nothing to plot: ") + e.what());
    }
  }
  DrawSurface();
  DrawMarks();
}

void PlotSurfaceView::DrawSurface() {
  const std::vector<double>& values = SurfaceValues(grid_, quantity_);
  double lowest = INFINITY;
  double highest = -INFINITY;
  for (const double v : values) {
    if (!std::isfinite(v)) continue;
    lowest = std::min(lowest, v);
    highest = std::max(highest, v);
  }
  auto* rows = new QSurfaceDataArray;
  int failed = 0;
  for (std::size_t i = 0; i < grid_.Y.size(); ++i) {
    auto* row = new QSurfaceDataRow;
    for (std::size_t j = 0; j < grid_.X.size(); ++j) {
      double v = values[i * grid_.X.size() + j];
      // The surface has no holes: a value that fails is drawn at the lowest one.
      if (!std::isfinite(v)) {
        ++failed;
        v = std::isfinite(lowest) ? lowest : 0.0;
      }
      row->append(QSurfaceDataItem(QVector3D(static_cast<float>(grid_.X[j]), static_cast<float>(v),
                                             static_cast<float>(grid_.Y[i]))));
    }
    rows->append(row);
  }
  series_->dataProxy()->resetArray(rows);
  series_->setDrawMode(grid_.X.size() <= kMostWireframeSamples
                           ? QSurface3DSeries::DrawSurfaceAndWireframe
                           : QSurface3DSeries::DrawSurface);
  if (failed > 0) {
    lblSurfaceStatus->setText(QString::number(failed) + " of " +
                              QString::number(grid_.X.size() * grid_.Y.size()) +
                              " values failed; they are drawn at the lowest value.");
  } else if (!grid_.ExtremesFailure.empty()) {
    lblSurfaceStatus->setText(Text("The extremes cannot be marked: " + grid_.ExtremesFailure));
  }
  if (graph_ == nullptr || grid_.X.empty()) return;
  // The marks are drawn only within the axis' range, and the extremes lie beyond the
  // samples: the range takes them in.
  if (quantity_ != SurfaceQuantity::Difference) {
    for (const SurfaceMark& node : grid_.Nodes) {
      if (!std::isfinite(node.Value)) continue;
      lowest = std::min(lowest, node.Value);
      highest = std::max(highest, node.Value);
    }
    if (grid_.SliceExtremes) {
      lowest = std::min(lowest, grid_.SliceExtremes->Minimum.Value);
      highest = std::max(highest, grid_.SliceExtremes->Maximum.Value);
    }
  }
  if (!(lowest < highest)) {
    lowest = std::isfinite(lowest) ? lowest - 1.0 : -1.0;
    highest = lowest + 2.0;
  }
  // Room above and below for the extremes' labels.
  const double margin = quantity_ == SurfaceQuantity::Difference ? 0.0 : 0.12 * (highest - lowest);
  graph_->axisY()->setRange(static_cast<float>(lowest - margin),
                            static_cast<float>(highest + margin));
  graph_->axisX()->setTitle(Text(model_.VarName[static_cast<std::size_t>(grid_.VarX)]));
  graph_->axisZ()->setTitle(Text(model_.VarName[static_cast<std::size_t>(grid_.VarY)]));
  graph_->axisY()->setTitle(QuantityName(quantity_));
}

void PlotSurfaceView::DrawMarks() {
  if (graph_ == nullptr) return;
  graph_->removeCustomItems();
  if (grid_.X.empty() || quantity_ == SurfaceQuantity::Difference) return;
  const auto along = static_cast<std::size_t>(std::sqrt(static_cast<double>(grid_.Nodes.size())));
  const std::size_t stride =
      std::max<std::size_t>(1, (along + kMostMarkedNodes - 1) / kMostMarkedNodes);
  const std::size_t columns =
      model_.LastTerm[static_cast<std::size_t>(grid_.VarX)] + std::size_t{1};
  for (std::size_t n = 0; n < grid_.Nodes.size(); ++n) {
    if ((n % columns) % stride != 0 || (n / columns) % stride != 0) continue;
    const SurfaceMark& node = grid_.Nodes[n];
    if (!std::isfinite(node.Value)) continue;
    graph_->addCustomItem(
        Marker(QVector3D(static_cast<float>(node.X), static_cast<float>(node.Value),
                         static_cast<float>(node.Y)),
               0.035f, Qt::black));
  }
  if (!grid_.SliceExtremes) return;
  const auto sx = static_cast<std::size_t>(grid_.VarX);
  const auto sy = static_cast<std::size_t>(grid_.VarY);
  // A label floats a little above its maximum (below its minimum), so as not to hide it.
  const float lift = 0.05f * (graph_->axisY()->max() - graph_->axisY()->min());
  for (const auto& [extreme, colour, name, offset] :
       {std::tuple{&grid_.SliceExtremes->Maximum, QColor(0xd0, 0x10, 0x10), "max ", lift},
        std::tuple{&grid_.SliceExtremes->Minimum, QColor(0x10, 0x40, 0xd0), "min ", -lift}}) {
    const QVector3D at(static_cast<float>(extreme->Point[sx]), static_cast<float>(extreme->Value),
                       static_cast<float>(extreme->Point[sy]));
    graph_->addCustomItem(Marker(at, 0.08f, colour));
    auto* label = new QCustom3DLabel(
        Text(name + ShortForm(extreme->Value, 4)), QFont(QStringLiteral("DejaVu Sans"), 36),
        at + QVector3D(0.0f, lift, 0.0f), QVector3D(0.5f, 0.5f, 0.5f), QQuaternion());
    label->setFacingCamera(true);
    graph_->addCustomItem(label);
  }
}

void PlotSurfaceView::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (graph_ == nullptr) CreateGraph();
  if (stale_) Refresh();
}

void PlotSurfaceView::CreateGraph() {
  QOpenGLContext probe;
  if (!probe.create()) {
    graphPlaceholder_->setText("The 3-D view needs OpenGL, which is not available here.");
    return;
  }
  graph_ = new Q3DSurface();
  graph_->addSeries(series_);
  graph_->activeTheme()->setType(Q3DTheme::ThemeQt);
  // Labels are drawn into textures at the font's size and then scaled: a large font keeps
  // them sharp.
  graph_->activeTheme()->setFont(QFont(QStringLiteral("DejaVu Sans"), 36));
  graph_->setShadowQuality(QAbstract3DGraph::ShadowQualityNone);
  graph_->scene()->activeCamera()->setCameraPreset(Q3DCamera::CameraPresetIsometricRightHigh);
  for (QValue3DAxis* axis : {graph_->axisX(), graph_->axisY(), graph_->axisZ()}) {
    axis->setTitleVisible(true);
    axis->setLabelFormat("%.3g");
  }
  QWidget* container = QWidget::createWindowContainer(graph_, this);
  container->setMinimumSize(480, 360);
  graphArea_->replaceWidget(graphPlaceholder_, container);
  graphPlaceholder_->hide();
  stale_ = true;
}

bool PlotSurfaceView::SavePng(const QString& path) {
  const QImage image =
      graph_ != nullptr ? graph_->renderToImage(0, graph_->size()) : grab().toImage();
  if (image.save(path, "PNG")) return true;
  lblSurfaceStatus->setText("Cannot write " + path + ".");
  return false;
}

}  // namespace quon
