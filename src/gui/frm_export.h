// File > Export...: the fitted approximation written as the source of one function (C,
// Python, Fortran) or as data (CSV, JSON). The user picks the format, the function's name
// (for the sources) and the file; Export writes it and the window says what happened in
// its status line, without a message box. A source or JSON export carries the accuracy of
// a check run on the results at that moment.
#pragma once

#include <QDialog>

#include "core/model/problem_model.h"
#include "engine/script_environment.h"
#include "gui/qt/common_dialog.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace quon {

class frmExport : public QDialog {
  Q_OBJECT

 public:
  // model and engine belong to the main window and must outlive this window; dialogs
  // (may be null: no Browse...) asks for the file name.
  frmExport(const ProblemModel& model, ScriptEnvironment& engine, CommonDialog* dialogs,
            QWidget* parent = nullptr);

 private:
  void CreateControls();
  void LayOutWindow();
  void ConnectHandlers();

  void cboFormat_Change();
  void cmdBrowse_Click();
  void cmdExport_Click();

  const ProblemModel& model_;
  ScriptEnvironment& engine_;
  CommonDialog* dialogs_;

  QComboBox* cboFormat = nullptr;
  QLineEdit* txtName = nullptr;
  QLineEdit* txtFile = nullptr;
  QPushButton* cmdBrowse = nullptr;
  QLabel* lblStatus = nullptr;
  QPushButton* cmdExport = nullptr;
  QPushButton* cmdClose = nullptr;
};

}  // namespace quon
