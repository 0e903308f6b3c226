// The About window, also the start-up splash: no controls, only its text drawn onto it in
// a large bold font. A click anywhere on it closes it.
#pragma once

#include <QStringList>
#include <QWidget>

namespace quon {

// The About text, one element per line: five empty lines, the title, the rights holder,
// the reservation of rights and the web address with empty lines between them.
QStringList AboutLines();

class frmAbout : public QWidget {
  Q_OBJECT
 public:
  explicit frmAbout(QWidget* parent = nullptr);
  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void Form_Click();
};

// Shows the About window, not modal, creating it when none is open, and draws its text
// anew. Returns the window; it deletes itself when closed.
frmAbout* ShowAbout();

}  // namespace quon
