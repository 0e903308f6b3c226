#include "gui/main_window/recent_files_menu.h"

#include <QAction>
#include <QDir>
#include <QMenu>

#include "gui/main_window/control_factory.h"
#include "gui/qt/qt_desktop_settings.h"

namespace quon {

RecentFilesMenu::RecentFilesMenu(QMenu* fileMenu, DesktopSettings& settings,
                                 std::function<void(const std::string& path)> open)
    : QObject(fileMenu), settings_(settings), open_(std::move(open)) {
  for (int i = 0; i < DesktopSettings::kRecentFiles; ++i) {
    const QByteArray name = "mnuRecent_" + QByteArray::number(i);
    QAction* item = MakeAction(this, name.constData(), QString());
    connect(item, &QAction::triggered, this, [this, i] { mnuRecent_Click(i); });
    fileMenu->addAction(item);
    mnuRecent.push_back(item);
  }
  Refresh();
}

void RecentFilesMenu::Refresh() {
  const QStringList files = settings_.RecentFiles();
  for (int i = 0; i < static_cast<int>(mnuRecent.size()); ++i) {
    QAction* item = mnuRecent[static_cast<std::size_t>(i)];
    item->setVisible(i < files.size());
    if (i >= files.size()) continue;
    // A path's own '&' would otherwise be read as a mnemonic marker.
    QString shown = QDir::toNativeSeparators(files[i]);
    shown.replace(QLatin1Char('&'), QLatin1String("&&"));
    item->setText(QStringLiteral("&%1 %2").arg(i + 1).arg(shown));
    item->setData(files[i]);
  }
}

void RecentFilesMenu::SetEnabled(bool enabled) {
  for (QAction* item : mnuRecent) item->setEnabled(enabled);
}

void RecentFilesMenu::mnuRecent_Click(int Index) {
  const QString path = mnuRecent[static_cast<std::size_t>(Index)]->data().toString();
  if (!path.isEmpty()) open_(path.toStdString());
}

}  // namespace quon
