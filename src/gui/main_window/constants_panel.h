// The main window's user constants: typed into the combo box, added with Add or Enter,
// removed with Remove. The model's Constants and the combo's list hold the same entries
// in the same order; any change of the combo's text clears the results.
#pragma once

#include <QObject>
#include <functional>
#include <string>
#include <vector>

#include "core/model/problem_model.h"
#include "engine/script_environment.h"

class QComboBox;
class QGroupBox;
class QPushButton;
class QWidget;

namespace quon {

class ConstantsPanel : public QObject {
  Q_OBJECT

 public:
  struct Events {
    std::function<void()> TextChanged;
    std::function<void(const std::string& text)> ShowMessage;
  };

  ConstantsPanel(QWidget* window, ProblemModel& model, ScriptEnvironment& engine, Events events);

  QGroupBox* Frame() const { return fraConstants; }
  std::vector<QWidget*> ControlsInTabOrder() const;

  // The items of cboConstants in list order.
  std::vector<std::string> Items() const;
  // Replaces the list with the model's constants (after an open); the typed text stays.
  void ShowModelConstants();

 private:
  void CreateControls(QWidget* window);
  void ConnectHandlers();

  void cboConstants_Change();
  void cmdAddCons_Click();
  void cmdRemCons_Click();
  // The list entry the user picked and still shows in the combo's text, or -1.
  int SelectedConstant() const;

  ProblemModel& model_;
  ScriptEnvironment& engine_;
  Events events_;

  QGroupBox* fraConstants = nullptr;
  QComboBox* cboConstants = nullptr;
  QPushButton* cmdAddCons = nullptr;
  QPushButton* cmdRemCons = nullptr;
};

}  // namespace quon
