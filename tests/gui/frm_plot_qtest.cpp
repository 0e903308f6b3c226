// The plot window on real widgets: the curves it draws are SamplePlot's, it follows the
// held point and the chosen variable, says why it draws nothing, and saves PNG and SVG;
// its surface draws SampleSurface's values and moves with its sliders.
#include <QChartView>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLineSeries>
#include <QPushButton>
#include <QScatterSeries>
#include <QSlider>
#include <QSurface3DSeries>
#include <QTemporaryDir>
#include <QtTest>

#include "gui/frm_plot.h"
#include "gui/frm_plot_surface.h"
#include "support/fitted_problem.h"

namespace quon {
namespace {

using Fitted = testing::FittedProblem;

testing::FieldsOfVariable Power(const char* name, const char* lower, const char* upper,
                                const char* terms) {
  return {name, VariableFields{lower, upper, "*", "*", terms, true}};
}

QList<QAbstractSeries*> SeriesOf(frmPlot& window, int chart) {
  return window.findChildren<QChartView*>().at(chart)->chart()->series();
}

}  // namespace

class frmPlotTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void DrawsTheCurvesOfSamplePlot() {
    Fitted f("1/(1+25*x^2)", {Power("x", "-1", "1", "15")});
    frmPlot window(f.model, f.engine);
    const PlotSeries& series = window.Series();
    QCOMPARE(series.X.size(), std::size_t(DefaultPlotSamples));
    const QList<QAbstractSeries*> values = SeriesOf(window, 0);
    QCOMPARE(values.size(), 3);  // function, approximation, nodes
    auto* function = qobject_cast<QLineSeries*>(values[0]);
    auto* approximation = qobject_cast<QLineSeries*>(values[1]);
    auto* nodes = qobject_cast<QScatterSeries*>(values[2]);
    auto* difference = qobject_cast<QLineSeries*>(SeriesOf(window, 1).at(0));
    QVERIFY(function && approximation && nodes && difference);
    QCOMPARE(function->count(), DefaultPlotSamples);
    QCOMPARE(nodes->count(), 15);
    for (int i = 0; i < function->count(); i += 50) {
      QCOMPARE(function->at(i).y(), series.Function[static_cast<std::size_t>(i)]);
      QCOMPARE(approximation->at(i).y(), series.Approximation[static_cast<std::size_t>(i)]);
      QCOMPARE(difference->at(i).y(), series.Difference[static_cast<std::size_t>(i)]);
    }
    QVERIFY(window.StatusText().isEmpty());
    QVERIFY(f.messages.empty());
  }

  void FollowsTheHeldPointAndTheVariableOnly() {
    Fitted f("x^2*sin(y)", {Power("x", "-2", "2", "4"), Power("y", "-3", "3", "8")});
    frmPlot window(f.model, f.engine);
    QCOMPARE(window.Series().Held, (std::vector<double>{0.0, 0.0}));
    window.SetHeldPoint({1.5, 1.0});
    QCOMPARE(window.Series().Held, (std::vector<double>{1.5, 1.0}));
    window.SetPlotVariable(1);
    QCOMPARE(window.Series().Var, 1);
    QCOMPARE(window.Series().X.front(), -3.0);
    // A point of the wrong size falls back to the centres.
    window.SetHeldPoint({7.0});
    QCOMPARE(window.Series().Held, (std::vector<double>{0.0, 0.0}));
    // The engine's variables keep the last nodes of the fit.
    QCOMPARE(f.engine.fna("x"), 2.0);
    QCOMPARE(f.engine.fna("y"), 3.0);
  }

  void SaysWhyItDrawsNothing() {
    Fitted f("x", {Power("x", "0", "1", "3")});
    f.model.HaveResults = false;
    frmPlot window(f.model, f.engine);
    QVERIFY(window.StatusText().contains("no results"));
    QVERIFY(SeriesOf(window, 0).isEmpty());

    f.model.HaveResults = true;
    f.model.Equation = "x +* 1";
    window.Refresh();
    QVERIFY(window.StatusText().startsWith("The function cannot be evaluated"));
    QCOMPARE(f.messages.size(), std::size_t(1));  // the engine's own message, once
    QVERIFY(SeriesOf(window, 0).isEmpty());
  }

  void MarksFailingSamplesAsGaps() {
    Fitted f("Sqr(x+1)", {Power("x", "0", "2", "4")});
    f.model.Equation = "Sqr(x - 1)";  // fails left of 1
    frmPlot window(f.model, f.engine);
    QVERIFY(window.StatusText().contains("samples of the function failed"));
    // The function's curve starts at 1, where the samples stop failing.
    auto* function = qobject_cast<QLineSeries*>(SeriesOf(window, 0).at(0));
    QVERIFY(function->at(0).x() >= 1.0);
  }

  void TheSurfaceShowsSampleSurfaceAndFollowsItsSliders() {
    Fitted f("x*y+z",
             {Power("x", "-1", "1", "3"), Power("y", "0", "2", "3"), Power("z", "-1", "1", "2")});
    frmPlot window(f.model, f.engine);
    PlotSurfaceView* surface = window.SurfaceView();
    surface->Refresh();
    const SurfaceGrid& grid = surface->Grid();
    QCOMPARE(grid.X.size(), std::size_t(MinSurfaceSamples));
    const QSurfaceDataArray& rows = *surface->Series()->dataProxy()->array();
    QCOMPARE(std::size_t(rows.size()), grid.Y.size());
    QCOMPARE(rows[3]->at(5).y(), static_cast<float>(grid.Approximation[3 * grid.X.size() + 5]));
    QCOMPARE(rows[3]->at(5).z(), static_cast<float>(grid.Y[3]));
    QCOMPARE(grid.Nodes.size(), std::size_t(9));
    QVERIFY(qAbs(grid.SliceExtremes->Maximum.Value - 2.0) < 1e-14);  // x = 1, y = 2, z = 0

    QVERIFY(surface->SliderOf(0) == nullptr);
    QSlider* z = surface->SliderOf(2);
    QVERIFY(z != nullptr);
    QCOMPARE(z->maximum() - z->minimum(), 1000);
    QCOMPARE(z->value(), 500);  // the centre, 0
    z->setValue(z->maximum());
    QCOMPARE(surface->Grid().Held[2], 1.0);
    QVERIFY(qAbs(surface->Grid().SliceExtremes->Maximum.Value - 3.0) < 1e-14);
    surface->SetQuantity(SurfaceQuantity::Function);
    QCOMPARE(surface->Series()->dataProxy()->array()->at(3)->at(5).y(),
             static_cast<float>(surface->Grid().Function[3 * grid.X.size() + 5]));
  }

  void SavesPngAndSvgOrSaysWhyNot() {
    Fitted f("1/(1+25*x^2)", {Power("x", "-1", "1", "15")});
    frmPlot window(f.model, f.engine);
    window.resize(640, 480);
    QTemporaryDir dir;
    QVERIFY(window.SavePng(dir.filePath("plot.png")));
    QImage image(dir.filePath("plot.png"));
    QVERIFY(!image.isNull());
    QVERIFY(window.SaveSvg(dir.filePath("plot.svg")));
    QFile svg(dir.filePath("plot.svg"));
    QVERIFY(svg.open(QIODevice::ReadOnly));
    QVERIFY(svg.readAll().contains("<svg"));

    QString asked;
    window.SetSavePathAsker([&](const QString& caption, const QString&) {
      asked = caption;
      return dir.filePath("clicked.png");
    });
    for (QPushButton* button : window.findChildren<QPushButton*>()) {
      if (button->text() == "Save &PNG...") button->click();
    }
    QCOMPARE(asked, QString("Save the plot as PNG"));
    QVERIFY(QFile::exists(dir.filePath("clicked.png")));

    QVERIFY(!window.SavePng(dir.filePath("missing/folder/plot.png")));
    QVERIFY(window.StatusText().contains("Cannot write"));
    QVERIFY(!window.SaveSvg(dir.filePath("missing/folder/plot.svg")));
  }
};

}  // namespace quon

QTEST_MAIN(quon::frmPlotTest)
#include "frm_plot_qtest.moc"
