#include "core/model/node_geometry.h"

#include <numbers>

namespace quon {

double NodeGeometry::ChebyshevPoint(int32_t j, int32_t last) {
  if (last == 0) return 1.0;
  const double fraction =
      static_cast<double>(int64_t{last} - 2 * int64_t{j}) / (2.0 * static_cast<double>(last));
  return std::sin(std::numbers::pi * fraction);
}

double NodeGeometry::ChebyshevNode(int32_t j) const {
  if (j == 0) return UpperLimit;
  if (j == LastTerm) return LowerLimit;
  return Middle + HalfWidth * ChebyshevPoint(j, LastTerm);
}

NodeGeometry MakeGeometry(TermKind kind, int32_t lastTerm, double lowerLimit, double upperLimit,
                          double center, double period) {
  NodeGeometry g;
  g.Kind = kind;
  g.LastTerm = lastTerm;
  g.LowerLimit = lowerLimit;
  g.UpperLimit = upperLimit;
  g.Center = center;
  g.Period = period;
  g.NodeStep = lastTerm > 0 ? (upperLimit - lowerLimit) / lastTerm : 0.0;
  g.NodeStart = lowerLimit - center;
  g.Middle = (lowerLimit + upperLimit) / 2;
  g.HalfWidth = (upperLimit - lowerLimit) / 2;
  switch (kind) {
    case TermKind::Power:
    case TermKind::Chebyshev:
      g.Omega = 1.0;
      break;
    case TermKind::Trigonometric:
      g.Omega = 8.0 * std::atan(1.0) / period;
      break;
  }
  return g;
}

NodeGeometry VariableGeometry(const ProblemModel& model, int k) {
  const auto s = static_cast<std::size_t>(k);
  return MakeGeometry(model.Kind[s], model.LastTerm[s], model.LowerLimit[s], model.UpperLimit[s],
                      model.Center[s], model.Period[s]);
}

}  // namespace quon
