#include "gui/qt/qt_fixed_font.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>

namespace quon {

QFont FixedPitchFont(const QString& family, qreal pointSize) {
  QStringList candidates{family, QFontDatabase::systemFont(QFontDatabase::FixedFont).family(),
                         QStringLiteral("Courier")};
  for (const QString& installed : QFontDatabase::families()) {
    if (QFontDatabase::isFixedPitch(installed)) candidates << installed;
  }
  for (const QString& candidate : candidates) {
    QFont font(candidate);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    if (pointSize > 0) font.setPointSizeF(pointSize);
    if (QFontInfo(font).fixedPitch()) return font;
  }
  QFont font(family);
  if (pointSize > 0) font.setPointSizeF(pointSize);
  return font;
}

}  // namespace quon
