// The main window. It owns the problem model and the script engine for the life of the
// window and composes four parts, each owning its controls and their handlers:
//   ProblemEntry    the number and names, the function, the per-variable editor
//   ConstantsPanel  the user constants
//   ResultsPanel    Compute, the coefficient list, the accuracy line, Evaluations, Plot
//   FileCommands    Open, Save, Save As and Print
// The parts never touch each other's controls: the window passes what one needs from
// another, places their controls, sets the tab order and sets the menu states, all in
// one place each. The menu bar, Help, About and Exit are the window's own, and so is
// what it remembers between runs: its size and place, the recent files, and the problem
// as last opened or saved, from which the core's WorkToLose tells whether to ask about
// saving before the window closes.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <memory>
#include <string>
#include <vector>

#include "core/model/entry_fields.h"
#include "core/model/problem_model.h"
#include "engine/script_environment.h"
#include "gui/main_window/shell_services.h"
#include "gui/qt/qt_desktop_settings.h"

class QAction;
class QMenu;
class QPushButton;

namespace quon {

class ConstantsPanel;
class FileCommands;
class FocusGuard;
class ProblemEntry;
class RecentFilesMenu;
class ResultsPanel;
class frmEvaluations;
class frmFitData;
class frmPlot;
class frmSuggestTerms;

// The program's title and the window caption: the title, two blanks, the web address.
QString ProgramTitle();
QString MainWindowCaption();

class frmQuon : public QMainWindow {
  Q_OBJECT

 public:
  explicit frmQuon(ShellServices services, QWidget* parent = nullptr);
  ~frmQuon() override;

  ProblemModel& Model() { return model_; }
  // The variable whose specification is on show, counted from 1.
  int CurVar() const;
  ScriptEnvironment& Engine() { return *engine_; }
  // Opens the pair `path` as File > Open would (the program's argument).
  void OpenFile(const std::string& path);

  // Empties lstCoeff and clears HaveResults, unless a file is being loaded.
  void ClearResults();
  // Sends every listed user constant, first to last, to the engine. Throws ScriptFailure
  // at the first statement that fails (the engine has already shown its message).
  void SetConstants();
  // The listed user constants in list order.
  std::vector<std::string> ConstantItems() const;
  // The texts of the entry fields as they stand: the function, each variable's fields
  // (variables 0..LastVar) and the constants.
  EntryFields ReadEntryFields() const;
  // The evaluation window while it is loaded, else null.
  frmEvaluations* EvaluationsWindow() const;
  // Runs the accuracy check on the results the model holds and shows it under the list.
  void ShowAccuracy();
  // The plot window while it is open, else null.
  frmPlot* PlotWindow() const;
  // The Fit data window, once File > Fit data... has opened it.
  frmFitData* FitDataWindow() const;
  // Writes numbers of terms into the variables' fields as if typed, first to last; a
  // refused count keeps the focus in its field and ends the writing there.
  void ApplyTermCounts(const std::vector<std::string>& counts);

 Q_SIGNALS:
  // cmdEvaluations has created the evaluation window (it is created afresh after a close).
  void EvaluationsWindowLoaded(frmEvaluations* window);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // Construction, in this order.
  void CreateMenus();
  void CreateParts();
  void LayOutWindow();
  void ConnectHandlers();
  void Form_Load();
  void Form_Unload();

  // Every menu item's state follows from how far the problem is entered.
  void SetMenuStates();
  void SetTabOrder();
  void ShowOpenedProblem(const EntryFields& shown);
  void ShowMessage(const std::string& text);
  // A pair was opened or saved: it heads the recent files and the work counts as saved.
  void FileUsed(const std::string& path);
  // The fields and the count of fits as they stand count as saved.
  void RememberSavedWork();
  // Variable sets made when the number of variables is accepted are copies, not changes:
  // they join the saved fields as they are.
  void KeepNewVariableSetsAsSaved();
  // True when the window may close: no work to lose, or the user saved or discarded it.
  bool MayClose();
  SaveChangesAnswer AskToSaveChanges();
  bool Confirm(const std::string& question);

  void cmdExit_Click();
  void cmdSuggestTerms_Click();
  void mnuHelp_Click();
  void mnuAbout_Click();
  void mnuExport_Click();
  void mnuFitData_Click();

  ShellServices services_;
  ProblemModel model_;
  std::unique_ptr<ScriptEnvironment> engine_;
  FocusGuard* focusGuard_ = nullptr;
  bool quietEngine_ = false;  // the engine's error messages are not shown
  bool unloaded_ = false;
  DesktopSettings settings_;
  EntryFields savedFields_;  // as they stood at the start or the last open or save
  int savedFits_ = 0;        // FitCount then

  ProblemEntry* entry_ = nullptr;
  ConstantsPanel* constants_ = nullptr;
  ResultsPanel* results_ = nullptr;
  FileCommands* files_ = nullptr;
  QPushButton* cmdSuggestTerms = nullptr;
  QPointer<frmSuggestTerms> suggestTerms_;
  QPointer<frmFitData> fitData_;
  QPushButton* cmdExit = nullptr;

  // The File menu in order, then the commands on the menu bar itself.
  QMenu* mnuFile = nullptr;
  QAction* mnuOpen = nullptr;
  QAction* mnuFileBar1 = nullptr;
  QAction* mnuSave = nullptr;
  QAction* mnuSaveAs = nullptr;
  QAction* mnuFileBar2 = nullptr;
  RecentFilesMenu* recent_ = nullptr;  // the last items of the File menu
  QAction* mnuPrint = nullptr;
  QAction* mnuExport = nullptr;
  QAction* mnuFitData = nullptr;
  QAction* mnuHelp = nullptr;
  QAction* mnuAbout = nullptr;
};

}  // namespace quon
