// Copies of cosmetic outlines and text outlines into plain chain graphics.
//
// PenDown false on a source vertex means the move to it is not drawn, so a
// new piece starts there. Every copy is a new kind-11 graphic made by the
// set; host failures end a copy, and graphics made so far stay in the set.
#pragma once

#include "pphatch/host.h"

namespace pphatch {

/// One graphic with every vertex of the source, each marked pen-down; a
/// source without vertices gives nothing.
void OpenOutlineCopy(const HostGraphicPtr& source, const HostGraphicSetPtr& set);

/// The outline of a closed wide line without its vertex 0: starts at vertex
/// 1, keeps pen-down vertices (marked), starts a new graphic at a pen-up
/// vertex that is followed by a drawn move other than the move to the last
/// vertex, drops other pen-up vertices, and ends with the last vertex.
void ClosedOutlineCopy(const HostGraphicPtr& source, const HostGraphicSetPtr& set);

/// The pieces of a text outline: like ClosedOutlineCopy but from vertex 0,
/// nothing marked, and the last vertex kept only when it is pen-down.
void PenSplitCopy(const HostGraphicPtr& source, const HostGraphicSetPtr& set);

}  // namespace pphatch
