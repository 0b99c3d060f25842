// The objects of a layout drawn over a picture of the map (a heatmap): an
// observation point as a dot in the circle it watches, a boat as the line
// of its beat from its home (a square) to its patrol point (a dot). The
// scenario's own objects, the first in their lists, in grey; the added
// ones in white.
#pragma once

#include <QPainter>
#include <cstddef>

#include "sweep.h"

namespace wendo_lab {

// `scale`: picture pixels per map cell.
void DrawLayout(QPainter& painter, double scale, const TScenarioSetup& layout, size_t ownObservers, size_t ownBoats);

}  // namespace wendo_lab
