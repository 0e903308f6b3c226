#include "gui/frm_fit_data.h"

#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScatterSeries>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

#include "core/datafit/data_fit.h"
#include "core/model/gather_specs.h"
#include "core/model/names_in_use.h"
#include "core/report/fit_statistics.h"
#include "gui/qt/common_dialog.h"
#include "gui/qt/qt_variable_list.h"

namespace quon {
namespace {

constexpr std::size_t kPreviewRows = 8;
constexpr std::size_t kPlottedRows = 50000;
constexpr std::size_t kMarkedRows = 5;

QString Text(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

frmFitData::frmFitData(ProblemModel& model, CommonDialog& dialogs, Events events, QWidget* parent)
    : QWidget(parent, Qt::Window), model_(model), dialogs_(dialogs), events_(std::move(events)) {
  setObjectName(QStringLiteral("frmFitData"));
  CreateControls();
  LayOutWindow();
  ConnectHandlers();
}

void frmFitData::CreateControls() {
  setWindowTitle(QStringLiteral("Fit data"));
  cmdTable = new QPushButton(QStringLiteral("&Table..."), this);
  cmdTable->setObjectName(QStringLiteral("cmdTable"));
  cmdTable->setToolTip(QStringLiteral("Choose the CSV table of observations"));
  lblTable = new QLabel(QStringLiteral("No table chosen."), this);
  tblPreview = new QTableWidget(this);
  tblPreview->setObjectName(QStringLiteral("tblPreview"));
  tblPreview->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tblPreview->verticalHeader()->setVisible(false);
  tblPreview->setMinimumHeight(static_cast<int>(kPreviewRows + 1) *
                               (fontMetrics().lineSpacing() + 8));
  std::vector<std::string> roles = NamesInUse(model_);
  roles.emplace_back(ValueColumnName);
  roles.emplace_back("weight");
  for (const std::string& role : roles) {
    lblRole.push_back(new QLabel(Text(role) + QStringLiteral(" from"), this));
    cboRole.push_back(new QComboBox(this));
    cboRole.back()->setObjectName(Text("cboRole_" + role));
  }
  cmdFit = new QPushButton(QStringLiteral("&Fit"), this);
  cmdFit->setObjectName(QStringLiteral("cmdFit"));
  cmdFit->setToolTip(QStringLiteral("Least squares with the specifications of the main window"));
  cmdFit->setEnabled(false);
  lblStatus = new QLabel(this);
  lblStatus->setWordWrap(true);
  lblStatistics = new QLabel(this);
  lblStatistics->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  lblStatistics->setTextInteractionFlags(Qt::TextSelectableByMouse);
  cboResidualVar = new QComboBox(this);
  cboResidualVar->setToolTip(QStringLiteral("The variable along which the residuals are drawn"));
  ShowVariableNames(*cboResidualVar, model_);
  chtResiduals = new QChartView(new QChart(), this);
  chtResiduals->setRenderHint(QPainter::Antialiasing);
  chtResiduals->setMinimumSize(420, 260);
  resize(980, 760);
}

void frmFitData::LayOutWindow() {
  auto* top = new QHBoxLayout;
  top->addWidget(cmdTable);
  top->addWidget(lblTable, 1);
  auto* mapping = new QGridLayout;
  for (std::size_t r = 0; r < cboRole.size(); ++r) {
    const int row = static_cast<int>(r) / 3;
    const int column = 2 * (static_cast<int>(r) % 3);
    mapping->addWidget(lblRole[r], row, column, Qt::AlignRight);
    mapping->addWidget(cboRole[r], row, column + 1);
  }
  auto* fit = new QHBoxLayout;
  fit->addWidget(cmdFit);
  fit->addWidget(lblStatus, 1);
  auto* residualAxis = new QHBoxLayout;
  residualAxis->addWidget(new QLabel(QStringLiteral("Residuals along"), this));
  residualAxis->addWidget(cboResidualVar);
  residualAxis->addStretch(1);
  auto* results = new QHBoxLayout;
  results->addWidget(lblStatistics, 0, Qt::AlignTop);
  auto* plot = new QVBoxLayout;
  plot->addLayout(residualAxis);
  plot->addWidget(chtResiduals, 1);
  results->addLayout(plot, 1);
  auto* window = new QVBoxLayout(this);
  window->addLayout(top);
  window->addWidget(tblPreview);
  window->addLayout(mapping);
  window->addLayout(fit);
  window->addLayout(results, 1);
}

void frmFitData::ConnectHandlers() {
  connect(cmdTable, &QPushButton::clicked, this, &frmFitData::cmdTable_Click);
  connect(cmdFit, &QPushButton::clicked, this, &frmFitData::cmdFit_Click);
  connect(cboResidualVar, &QComboBox::currentIndexChanged, this, &frmFitData::DrawResiduals);
}

void frmFitData::cmdTable_Click() {
  dialogs_.ShowOpen();
  if (!dialogs_.FileName().empty()) LoadTable(dialogs_.FileName());
}

void frmFitData::LoadTable(const std::string& path) {
  TablePreview preview;
  try {
    preview = ReadTablePreview(path, kPreviewRows);
  } catch (const PointsFileError& e) {
    lblStatus->setText(Text(e.what()));
    return;
  }
  path_ = path;
  columnCount_ = preview.Header.size();
  lblTable->setText(QFileInfo(Text(path)).fileName());
  lblTable->setToolTip(Text(path));
  tblPreview->clear();
  tblPreview->setColumnCount(static_cast<int>(preview.Header.size()));
  tblPreview->setRowCount(static_cast<int>(preview.Rows.size()));
  QStringList header;
  for (const std::string& name : preview.Header) header << Text(name);
  tblPreview->setHorizontalHeaderLabels(header);
  for (std::size_t r = 0; r < preview.Rows.size(); ++r) {
    for (std::size_t c = 0; c < preview.Rows[r].size() && c < preview.Header.size(); ++c) {
      tblPreview->setItem(static_cast<int>(r), static_cast<int>(c),
                          new QTableWidgetItem(Text(preview.Rows[r][c])));
    }
  }
  std::vector<std::string> roles = NamesInUse(model_);
  roles.emplace_back(ValueColumnName);
  roles.emplace_back("weight");
  for (std::size_t r = 0; r < cboRole.size(); ++r) {
    cboRole[r]->clear();
    if (r + 1 == cboRole.size()) cboRole[r]->addItem(QStringLiteral("(none)"));
    cboRole[r]->addItems(header);
    const auto named = ColumnNamed(preview.Header, roles[r]);
    const int offset = r + 1 == cboRole.size() ? 1 : 0;
    cboRole[r]->setCurrentIndex(named ? static_cast<int>(*named) + offset : 0);
  }
  cmdFit->setEnabled(true);
  lblStatus->setText(QStringLiteral("Map the columns, then Fit."));
}

void frmFitData::MapColumn(int role, int column) {
  const auto r = static_cast<std::size_t>(role);
  cboRole[r]->setCurrentIndex(r + 1 == cboRole.size() ? column + 1 : column);
}

std::optional<DataColumns> frmFitData::ChosenColumns() {
  DataColumns columns;
  columns.Count = columnCount_;
  const std::size_t variables = cboRole.size() - 2;
  for (std::size_t r = 0; r < variables; ++r) {
    columns.Variable.push_back(static_cast<std::size_t>(std::max(cboRole[r]->currentIndex(), 0)));
  }
  columns.Value = static_cast<std::size_t>(std::max(cboRole[variables]->currentIndex(), 0));
  const int weight = cboRole[variables + 1]->currentIndex();
  if (weight > 0) columns.Weight = static_cast<std::size_t>(weight - 1);
  std::vector<std::size_t> used = columns.Variable;
  used.push_back(columns.Value);
  if (columns.Weight) used.push_back(*columns.Weight);
  std::sort(used.begin(), used.end());
  if (std::adjacent_find(used.begin(), used.end()) != used.end()) {
    lblStatus->setText(QStringLiteral("Each column can have one role only."));
    return std::nullopt;
  }
  return columns;
}

void frmFitData::cmdFit_Click() {
  const std::optional<DataColumns> columns = ChosenColumns();
  if (!columns) return;
  events_.ClearResults();
  residuals_ = ResidualSample(kPlottedRows, kMarkedRows);
  try {
    GatherSpecs(model_, events_.ReadEntryFields());
    CsvDataSource source(path_, *columns);
    const int variables = VariableCount(model_);
    FitData(model_, source, path_, [&](int64_t row, const double* x, double, double residual) {
      residuals_.Add(row, x, variables, residual);
    });
  } catch (const std::exception& e) {
    lblStatus->setText(QStringLiteral("Not fitted: ") + e.what());
    lblStatistics->clear();
    chtResiduals->chart()->removeAllSeries();
    return;
  }
  lblStatus->setText(QString::fromStdString(DataFitSummaryLine(model_)));
  QStringList lines;
  for (const auto& [key, value] : DataFitStatistics(model_)) {
    if (key != "coefficient") lines << Text(key + ": " + value);
  }
  lblStatistics->setText(lines.join(QLatin1Char('\n')));
  DrawResiduals();
  events_.FitDone();
}

void frmFitData::DrawResiduals() {
  QChart* chart = chtResiduals->chart();
  chart->removeAllSeries();
  for (QAbstractAxis* axis : chart->axes()) chart->removeAxis(axis);
  const int var = std::max(cboResidualVar->currentIndex(), 0);
  if (residuals_.Points().empty()) return;
  auto* all = new QScatterSeries(chart);
  all->setName(QStringLiteral("Residual"));
  all->setMarkerSize(5);
  auto* worst = new QScatterSeries(chart);
  worst->setName(QStringLiteral("Largest residuals"));
  worst->setColor(QColor(0xd6, 0x27, 0x28));
  worst->setMarkerSize(10);
  double low = INFINITY, high = -INFINITY, size = 0.0;
  const auto add = [&](QScatterSeries* series, const ResidualPoint& p) {
    const double x = p.Coordinates[static_cast<std::size_t>(var)];
    series->append(x, p.Residual);
    low = std::min(low, x);
    high = std::max(high, x);
    size = std::max(size, std::fabs(p.Residual));
  };
  for (const ResidualPoint& p : residuals_.Points()) add(all, p);
  for (const ResidualPoint& p : residuals_.Worst()) add(worst, p);
  chart->addSeries(all);
  chart->addSeries(worst);
  auto* axisX = new QValueAxis(chart);
  axisX->setTitleText(cboResidualVar->currentText());
  axisX->setRange(low, high > low ? high : low + 1.0);
  auto* axisY = new QValueAxis(chart);
  axisY->setTitleText(QStringLiteral("value minus approximation"));
  axisY->setRange(-1.1 * size, size > 0.0 ? 1.1 * size : 1.0);
  chart->addAxis(axisX, Qt::AlignBottom);
  chart->addAxis(axisY, Qt::AlignLeft);
  for (QScatterSeries* series : {all, worst}) {
    series->attachAxis(axisX);
    series->attachAxis(axisY);
  }
  chart->setTitle(QStringLiteral("Residuals (worst rows marked)"));
}

QString frmFitData::StatusText() const { return lblStatus->text(); }
QString frmFitData::StatisticsText() const { return lblStatistics->text(); }

}  // namespace quon
