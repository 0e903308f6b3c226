#include "gui/frm_about.h"

#include <QApplication>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <algorithm>

#include "core/shell/decimal_point.h"
#include "gui/main_window/frm_quon.h"

namespace quon {

namespace {

QFont AboutFont(const QFont& base) {
  QFont font(base);
  font.setBold(true);
  font.setPointSize(18);
  return font;
}

}  // namespace

QStringList AboutLines() {
  return {QString(), QString(),
          QString(), QString(),
          QString(), ProgramTitle(),
          QString(), QStringLiteral("Copyright \u00A9 Quon Developers"),
          QString(), QStringLiteral("All rights reserved."),
          QString(), QString::fromLatin1(kWebAddress)};
}

frmAbout::frmAbout(QWidget* parent) : QWidget(parent, Qt::Dialog) {
  setObjectName(QStringLiteral("frmAbout"));
  setWindowTitle(QStringLiteral("About ") + ProgramTitle());
  setAccessibleName(windowTitle());
  setAccessibleDescription(AboutLines().join(QLatin1Char(' ')).simplified());
  setAttribute(Qt::WA_DeleteOnClose);
  setFont(AboutFont(font()));
  setCursor(Qt::PointingHandCursor);
  setToolTip(QStringLiteral("Click to close"));
}

QSize frmAbout::sizeHint() const {
  const QFontMetrics metrics(font());
  int width = 0;
  for (const QString& line : AboutLines()) width = std::max(width, metrics.horizontalAdvance(line));
  const int margin = metrics.height() * 2;
  // A bottom margin of two lines balances the empty lines above the title.
  return {width + 2 * margin, metrics.lineSpacing() * (static_cast<int>(AboutLines().size()) + 2)};
}

void frmAbout::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setFont(font());
  const QFontMetrics metrics(font());
  int y = 0;
  for (const QString& line : AboutLines()) {
    painter.drawText(QRect(0, y, width(), metrics.lineSpacing()),
                     Qt::AlignHCenter | Qt::AlignVCenter, line);
    y += metrics.lineSpacing();
  }
}

void frmAbout::mousePressEvent(QMouseEvent* event) {
  event->accept();
  Form_Click();
}

void frmAbout::Form_Click() { close(); }

frmAbout* ShowAbout() {
  frmAbout* about = nullptr;
  for (QWidget* top : QApplication::topLevelWidgets()) {
    if (auto* open = qobject_cast<frmAbout*>(top); open != nullptr && open->isVisible())
      about = open;
  }
  if (about == nullptr) {
    about = new frmAbout;
    about->resize(about->sizeHint());
    if (const QScreen* screen = QGuiApplication::primaryScreen(); screen != nullptr) {
      about->move(screen->availableGeometry().center() - about->rect().center());
    }
  }
  about->show();
  about->raise();
  about->update();
  return about;
}

}  // namespace quon
