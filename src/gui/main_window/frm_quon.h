// The main window: the number and names of the variables, the function, one variable's
// specification at a time, the user constants, the list of coefficients and the commands.
// It owns the problem model and the script engine for the life of the window.
//
// The class is spread over the files of this folder by concern:
//   frm_quon.cpp             construction, load and unload, menus, help, About, Exit
//   frm_quon_specs.cpp       number and names, per-variable controls, Next/Previous
//   frm_quon_constants.cpp   the user-constants frame
//   frm_quon_compute.cpp     Compute, the results list and Evaluations
//   frm_quon_file.cpp        Open, Save and Save As
//   frm_quon_report.cpp      Print
//   frm_quon_accuracy.cpp    the accuracy line under the results and Plot
// The handlers of Compute, Evaluations, Open, Save, Save As and Print are declared below
// and defined in the files of their own subsystems.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/entry_fields.h"
#include "model/problem_model.h"
#include "script_environment.h"

class QAction;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListView;
class QMenu;
class QPushButton;
class QScrollArea;

namespace quon {

class CoefListModel;
class CommonDialog;
class ReportPrinter;
class frmEvaluations;
class FocusGuard;
class frmPlot;

// What the main window needs from outside; tests put fakes here.
struct ShellServices {
  // File, printer and help dialogs. Must outlive the window.
  CommonDialog* Dialogs = nullptr;
  // Puts back the decimal separator found at start-up; runs when the window unloads.
  std::function<void()> RestoreDecimalSeparator;
  // Shows a message with an OK button and no icon (script errors, a full constants list).
  // Empty: a message box over the window.
  std::function<void(const std::string& text)> ShowMessage;
  // The printer of the report (the one the printer dialog sets up). Must outlive the window.
  ReportPrinter* Printer = nullptr;
};

// The program's title and the window caption: the title, two blanks, the web address.
QString ProgramTitle();
QString MainWindowCaption();

class frmQuon : public QMainWindow {
  Q_OBJECT

 public:
  explicit frmQuon(ShellServices services, QWidget* parent = nullptr);
  ~frmQuon() override;

  ProblemModel& Model() { return model_; }
  ScriptEnvironment& Engine() { return *engine_; }

  // Empties lstCoeff and clears HaveResults, unless a file is being loaded.
  void ClearResults();
  // Sends every item of cboConstants, first to last, to the engine. Throws ScriptFailure
  // at the first statement that fails (the engine has already shown its message).
  void SetConstants();
  // The items of cboConstants in list order.
  std::vector<std::string> ConstantItems() const;
  // The texts of the entry fields as they stand: the function, each variable's fields
  // (variables 0..LastVar) and the constants.
  EntryFields ReadEntryFields() const;
  // Creates the controls of variables 1..LastVar; runs once per window.
  void LoadObjects();
  // Fills the controls from the model after a specification file has been read.
  void SetDisplayedSpecs();
  // Shows variable LL (from 0) and puts the focus in its lower limit.
  void EditLimit(int LL);
  // The evaluation window while it is loaded, else null.
  frmEvaluations* EvaluationsWindow() const;
  // Runs the accuracy check on the results the model holds and shows its summary and
  // warnings under the list, enabling Plot; with no results, clears them (and disables
  // Plot). An open plot window redraws.
  void ShowAccuracy();
  // The plot window while it is open, else null.
  frmPlot* PlotWindow() const;

 Q_SIGNALS:
  // cmdEvaluations has created the evaluation window (it is created afresh after a close).
  void EvaluationsWindowLoaded(frmEvaluations* window);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // Construction, in this order.
  void CreateMenus();
  void CreateProblemControls();
  void CreateSpecControls();
  void CreateConstantControls();
  void CreateResultControls();
  void LayOutWindow();
  void ConnectHandlers();
  void ConnectSpecHandlers();
  void ConnectConstantHandlers();
  void SetMenusToFirstState();
  void Form_Load();
  void Form_Unload();

  // One variable's set of entry controls, element k of each array; k = 0 at construction,
  // the others by LoadObjects as hidden copies of element 0.
  void CreateVariableSet(int k);
  void WatchVariableSet(int k);
  void SetTabOrder();
  void ShowMessage(const std::string& text);

  // Shell (frm_quon.cpp).
  void cmdExit_Click();
  void mnuHelp_Click();
  void mnuAbout_Click();
  void mnuExport_Click();

  // Number and names (frm_quon_specs.cpp).
  void txtOrder_GotFocus();
  void txtOrder_Validate(bool& Cancel);
  void txtOrder_LostFocus();
  void txtVarNams_GotFocus();
  void txtVarNams_Validate(bool& Cancel);
  void txtVarNams_LostFocus();

  // Function and per-variable fields (frm_quon_specs.cpp).
  void txtEquation_GotFocus();
  void txtEquation_Validate(bool& Cancel);
  void txtEquation_Change();
  void txtLL_GotFocus(int Index);
  void txtLL_Validate(int Index, bool& Cancel);
  void txtUL_GotFocus(int Index);
  void txtUL_Validate(int Index, bool& Cancel);
  void txtExpansion_GotFocus(int Index);
  void txtPeriod_GotFocus(int Index);
  void txtTerms_GotFocus(int Index);
  void txtTerms_Validate(int Index, bool& Cancel);
  void cmdNextVar_Click();
  void cmdPrevVar_Click();

  // User constants (frm_quon_constants.cpp).
  void cboConstants_Change();
  void cmdAddCons_Click();
  void cmdRemCons_Click();
  // The list entry the user picked and still shows in the combo's text, or -1.
  int SelectedConstant() const;

  // Defined in frm_quon_compute.cpp, frm_quon_file.cpp and frm_quon_report.cpp and
  // connected in ConnectHandlers next to them.
  void cmdCompute_Click();
  void cmdEvaluations_Click();
  void mnuOpen_Click();
  void mnuSave_Click();
  void mnuSaveAs_Click();
  void mnuPrint_Click();
  void ConnectComputeHandlers();
  void ConnectFileHandlers();
  void ConnectReportHandlers();
  // The results list (frm_quon_compute.cpp): appends the listing of Coef; lists stored
  // results and enables Evaluations when the model holds results.
  void ListCoefficients();
  void ShowStoredResults();
  // Writes the pair for SpecFile from the entry fields (frm_quon_file.cpp).
  void WriteSpecFile();

  ShellServices services_;
  ProblemModel model_;
  std::unique_ptr<ScriptEnvironment> engine_;
  FocusGuard* focusGuard_ = nullptr;
  bool objectsLoaded_ = false;
  bool unloaded_ = false;

  // Menus.
  QMenu* mnuFile = nullptr;
  QAction* mnuOpen = nullptr;
  QAction* mnuFileBar1 = nullptr;
  QAction* mnuSave = nullptr;
  QAction* mnuSaveAs = nullptr;
  QAction* mnuFileBar2 = nullptr;
  QAction* mnuPrint = nullptr;
  QAction* mnuExport = nullptr;
  QAction* mnuHelp = nullptr;
  QAction* mnuAbout = nullptr;

  // Number, names and function.
  QLabel* lblOrder = nullptr;
  QLineEdit* txtOrder = nullptr;
  QLabel* lblVarNam = nullptr;
  QLineEdit* txtVarNams = nullptr;
  QLabel* lblFunction = nullptr;
  QLabel* lblEquation = nullptr;
  QLineEdit* txtEquation = nullptr;

  // Specifications of one variable at a time; the arrays are indexed by variable.
  QGroupBox* fraSpecs = nullptr;
  QGridLayout* specGrid_ = nullptr;
  QLabel* lblVariable = nullptr;
  QLabel* lblLL = nullptr;
  QLabel* lblUL = nullptr;
  QLabel* lblExpansion = nullptr;
  QLabel* lblPeriod = nullptr;
  QLabel* lblTerms = nullptr;
  QGroupBox* fraType = nullptr;
  std::vector<QLabel*> lblVar;
  std::vector<QLineEdit*> txtLL;
  std::vector<QLineEdit*> txtUL;
  std::vector<QLineEdit*> txtExpansion;
  std::vector<QLineEdit*> txtPeriod;
  std::vector<QLineEdit*> txtTerms;
  std::vector<QCheckBox*> chkPower;
  QPushButton* cmdPrevVar = nullptr;
  QPushButton* cmdNextVar = nullptr;

  // User constants.
  QGroupBox* fraConstants = nullptr;
  QComboBox* cboConstants = nullptr;
  QPushButton* cmdAddCons = nullptr;
  QPushButton* cmdRemCons = nullptr;

  // Results and commands.
  QListView* lstCoeff = nullptr;
  CoefListModel* coefList_ = nullptr;
  bool computing_ = false;  // a Compute is running (its listing lets events through)
  QPointer<frmEvaluations> evaluations_;
  QPushButton* cmdCompute = nullptr;
  QPushButton* cmdEvaluations = nullptr;
  QPushButton* cmdExit = nullptr;

  // Accuracy check and plot (frm_quon_accuracy.cpp).
  void CreateAccuracyControls();
  void ConnectAccuracyHandlers();
  void ClearAccuracy();
  void FitAccuracyArea();
  void cmdPlot_Click();
  // The evaluation window computed at a new point: the plot holds the other variables there.
  void EvaluationPoint_Changed(const QList<double>& point);
  QLabel* lblAccuracy = nullptr;
  QLabel* lblConditionWarning = nullptr;
  QScrollArea* accuracyArea = nullptr;  // holds the two labels above
  QPushButton* cmdPlot = nullptr;
  QPointer<frmPlot> plot_;
  std::vector<double> heldPoint_;  // the evaluation window's last point; empty for none
};

}  // namespace quon
