#include "gui/qt/qt_desktop_settings.h"

#include <QFileInfo>
#include <QSettings>

namespace quon {

namespace {

const QString kLastFolder = QStringLiteral("files/lastFolder");
const QString kRecentFilesKey = QStringLiteral("files/recent");
const QString kGeometry = QStringLiteral("mainWindow/geometry");

}  // namespace

QStringList WithRecentFile(QStringList files, const QString& file, int limit) {
  files.removeAll(file);
  files.prepend(file);
  while (files.size() > limit) files.removeLast();
  return files;
}

QString DesktopSettings::LastFolder() const { return QSettings().value(kLastFolder).toString(); }

QStringList DesktopSettings::RecentFiles() const {
  QStringList files = QSettings().value(kRecentFilesKey).toStringList();
  files.removeAll(QString());
  while (files.size() > kRecentFiles) files.removeLast();
  return files;
}

void DesktopSettings::RememberFile(const QString& file) {
  if (file.isEmpty()) return;
  QSettings().setValue(kRecentFilesKey, WithRecentFile(RecentFiles(), file, kRecentFiles));
  RememberFolderOf(file);
}

void DesktopSettings::RememberFolderOf(const QString& file) {
  if (file.isEmpty()) return;
  QSettings().setValue(kLastFolder, QFileInfo(file).absolutePath());
}

QByteArray DesktopSettings::WindowGeometry() const {
  return QSettings().value(kGeometry).toByteArray();
}

void DesktopSettings::SetWindowGeometry(const QByteArray& geometry) {
  QSettings().setValue(kGeometry, geometry);
}

}  // namespace quon
