// The help viewer: a window with the help file, an HTML document, in a text browser.
// Links inside the file move within it; links to the web open in the user's browser.
#pragma once

#include <QWidget>

class QTextBrowser;

namespace quon {

class QtHelpWindow : public QWidget {
  Q_OBJECT
 public:
  explicit QtHelpWindow(QWidget* parent = nullptr);

  // Shows the file at its beginning.
  void ShowFile(const QString& path);
  // Shows a plain text in place of the file (the file could not be found).
  void ShowText(const QString& text);
  // The file on show, or empty.
  QString ShownFile() const { return shownFile_; }
  QTextBrowser* Browser() const { return browser_; }

 private:
  QTextBrowser* browser_;
  QString shownFile_;
};

}  // namespace quon
