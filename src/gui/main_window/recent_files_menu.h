// The last pairs opened or saved, at the foot of the File menu: one item per pair, most
// recent first, "&1 path" to "&4 path"; an item opens its pair as File > Open would.
// Items without a pair are hidden.
#pragma once

#include <QObject>
#include <functional>
#include <string>
#include <vector>

class QAction;
class QMenu;

namespace quon {

class DesktopSettings;

class RecentFilesMenu : public QObject {
  Q_OBJECT

 public:
  RecentFilesMenu(QMenu* fileMenu, DesktopSettings& settings,
                  std::function<void(const std::string& path)> open);

  // Shows the pairs the settings hold now.
  void Refresh();
  void SetEnabled(bool enabled);

 private:
  void mnuRecent_Click(int Index);

  DesktopSettings& settings_;
  std::function<void(const std::string& path)> open_;
  std::vector<QAction*> mnuRecent;
};

}  // namespace quon
