#include "gui/qt/qt_help_window.h"

#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "gui/main_window/frm_quon.h"

namespace quon {

QtHelpWindow::QtHelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("frmHelp"));
  setWindowTitle(ProgramTitle() + QStringLiteral(" Help"));
  setAccessibleName(windowTitle());
  browser_ = new QTextBrowser(this);
  browser_->setObjectName(QStringLiteral("txtHelp"));
  browser_->setAccessibleName(QStringLiteral("Help text"));
  browser_->setOpenExternalLinks(true);
  browser_->document()->setDocumentMargin(12);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(browser_);
  const QFontMetrics metrics(browser_->font());
  resize(metrics.horizontalAdvance(QLatin1Char('M')) * 60, metrics.lineSpacing() * 36);
}

void QtHelpWindow::ShowFile(const QString& path) {
  shownFile_ = path;
  // The file's name does not tell its type, so the browser is told it is HTML.
  browser_->setSource(QUrl::fromLocalFile(path), QTextDocument::HtmlResource);
}

void QtHelpWindow::ShowText(const QString& text) {
  shownFile_.clear();
  browser_->setPlainText(text);
}

}  // namespace quon
