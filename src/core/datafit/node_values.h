// Values computed elsewhere at the fit's nodes: the table of the nodes to compute them at,
// and the reading of the values back into the samples that Compute would have taken.
//
// The nodes table has a header naming the variables in use, then one row per node of the
// grid in canonical order (the first variable fastest), each coordinate the node's own
// (NodeGeometry::Node) with 17 significant digits, so that it reads back exactly. The
// values table is the same with one more column, "value", rows and columns in any order.
// A row matches the node whose every coordinate lies within 1E-12 of its variable's
// interval of the row's; a row that matches no node, a node with two rows or none, and a
// value that is not a finite number are refused (PointsFileError, naming the row and the
// column, or the node without a row). Cost: one pass over the table, a binary search per
// coordinate; memory: the grid's samples and one flag per node.
#pragma once

#include <functional>
#include <string>

#include "core/fit/solver.h"
#include "core/model/entry_fields.h"
#include "core/model/problem_model.h"

namespace quon {

// Hands the lines of the nodes table of the model's gathered grid to `sink`.
void WriteNodesTable(const ProblemModel& model,
                     const std::function<void(const std::string&)>& sink);

// Reads the values table at `path` into Coef (shaped by the gathered grid) as samples.
// Throws PointsFileError.
void ReadNodeValues(ProblemModel& model, const std::string& path);

// Gathers the fields, reads the values at `path` and solves for the coefficients exactly
// as Compute does after sampling: HaveResults and Origin NodeValues on Solved. Throws
// GatherError, GridTooLarge, PointsFileError, leaving HaveResults false.
SolveOutcome FitNodeValues(ProblemModel& model, const EntryFields& fields, const std::string& path);

}  // namespace quon
