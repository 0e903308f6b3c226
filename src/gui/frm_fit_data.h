// The Fit data window: a table of observations fitted by least squares with the
// specifications on screen. The user picks the CSV table, sees its first rows, maps its
// columns to the variables, the value and an optional weight, and fits; the window then
// shows the diagnostics and a residual plot (residual against a chosen variable, the
// worst rows marked), and the main window lists the coefficients. The fit itself is the
// core's FitData; this window only gathers its inputs and draws its outcome.
#pragma once

#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/datafit/data_table.h"
#include "core/datafit/residual_sample.h"
#include "core/model/entry_fields.h"
#include "core/model/problem_model.h"

class QChartView;
class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace quon {

class CommonDialog;

class frmFitData : public QWidget {
  Q_OBJECT

 public:
  struct Events {
    // The entry fields as they stand: the specifications to fit with.
    std::function<EntryFields()> ReadEntryFields;
    // The model holds a new fit on data: list it and show its accuracy line.
    std::function<void()> FitDone;
    // The model's results are about to be replaced.
    std::function<void()> ClearResults;
  };

  frmFitData(ProblemModel& model, CommonDialog& dialogs, Events events, QWidget* parent = nullptr);

  // Shows the table at `path` and maps its columns by their names where it can.
  void LoadTable(const std::string& path);
  // Maps column `column` (-1: none, for the weight) to a role: 0..variables-1 a variable,
  // then the value, then the weight.
  void MapColumn(int role, int column);
  void cmdTable_Click();
  void cmdFit_Click();

  QString StatusText() const;
  QString StatisticsText() const;
  const ResidualSample& Residuals() const { return residuals_; }

 private:
  void CreateControls();
  void LayOutWindow();
  void ConnectHandlers();
  void DrawResiduals();
  std::optional<DataColumns> ChosenColumns();

  ProblemModel& model_;
  CommonDialog& dialogs_;
  Events events_;
  std::string path_;
  std::size_t columnCount_ = 0;
  ResidualSample residuals_{0, 0};

  QPushButton* cmdTable = nullptr;
  QLabel* lblTable = nullptr;
  QTableWidget* tblPreview = nullptr;
  std::vector<QComboBox*> cboRole;  // per variable, then value, then weight
  std::vector<QLabel*> lblRole;
  QPushButton* cmdFit = nullptr;
  QLabel* lblStatus = nullptr;
  QLabel* lblStatistics = nullptr;
  QComboBox* cboResidualVar = nullptr;
  QChartView* chtResiduals = nullptr;
};

}  // namespace quon
