#include "gui/qt/qt_variable_list.h"

#include <QSignalBlocker>
#include <algorithm>

#include "core/model/names_in_use.h"

namespace quon {

void ShowVariableNames(QComboBox& list, const ProblemModel& model) {
  const QSignalBlocker blocker(&list);
  const int keep = std::max(0, list.currentIndex());
  list.clear();
  const std::vector<std::string> names = NamesInUse(model);
  for (const std::string& name : names) list.addItem(QString::fromStdString(name));
  list.setCurrentIndex(std::min(keep, static_cast<int>(names.size()) - 1));
}

}  // namespace quon
