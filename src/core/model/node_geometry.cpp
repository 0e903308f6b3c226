#include "core/model/node_geometry.h"

namespace quon {

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
  switch (kind) {
    case TermKind::Power:
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
