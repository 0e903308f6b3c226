// What the program remembers between runs, kept with QSettings under the application's
// organisation and name: the folder of the last file opened or saved, the last four
// specification pairs (most recent first) and the main window's size and place. A missing
// or unreadable setting reads as none.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace quon {

class DesktopSettings {
 public:
  static constexpr int kRecentFiles = 4;

  // Empty before the first open or save.
  QString LastFolder() const;
  QStringList RecentFiles() const;
  // Puts `file` first in the recent files (once, the oldest beyond four dropped) and
  // remembers its folder.
  void RememberFile(const QString& file);
  void RememberFolderOf(const QString& file);

  QByteArray WindowGeometry() const;
  void SetWindowGeometry(const QByteArray& geometry);
};

// The recent-files list after `file` was used: first, once, at most `limit` entries.
QStringList WithRecentFile(QStringList files, const QString& file, int limit);

}  // namespace quon
