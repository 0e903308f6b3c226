// The term search for problems whose every variable has Chebyshev terms, as adaptive
// Chebyshev tools find the length of a series (Aurentz & Trefethen, "Chopping a Chebyshev
// series", 2017; chebfun's construction on nested grids): each variable's count grows
// on nested grids of Chebyshev points, n -> 2 n - 1, every sample of the coarser grid
// reused (its nodes are nodes of the finer one, node_geometry.h), until the tail of the
// coefficients along that variable (chebyshev_tail.h) is below the tolerance; a variable
// whose tail is below it stops growing while the others go on, so that each variable gets
// its own count. The series is then chopped per variable to the fewest terms whose left-out
// tail stays within its share of the tolerance, and those counts are confirmed by a trial
// fit with the sampled check (trial_fit.h); when the check finds them short, the counts
// rise towards the grown ones, which are tried last.
//
// Cost: the function at every node of the largest grid grown (each node once), one cosine
// transform per grid, and a few trial fits. The cap on terms, the grid limit, the cancel
// request and the budget of fits apply as in the greedy search (term_advisor.h).
#pragma once

#include "core/advisor/term_advisor.h"

namespace quon {

// True when every variable in use has Chebyshev terms.
bool AllChebyshev(const ProblemModel& problem);

// The search for such a problem; options already checked, MaxTerms resolved.
TermAdvice SuggestChebyshevTerms(ProblemModel problem, PointFunctionSource& function,
                                 const AdvisorOptions& options, const AdvisorHooks& hooks);

}  // namespace quon
