// The fixed-pitch font of the results list and the printed report, in which coefficients
// and term labels line up in columns.
#pragma once

#include <QFont>
#include <QString>

namespace quon {

// The family asked for when the platform has it in a fixed pitch, else the platform's
// fixed-pitch font, else the first fixed-pitch family installed; at the given size.
// Font matching hands back some face for any family, often a proportional one, so every
// candidate is checked for what it really is.
QFont FixedPitchFont(const QString& family, qreal pointSize);

}  // namespace quon
