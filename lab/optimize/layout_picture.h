// The objects of a layout drawn over a picture of the map (a heatmap): an
// observation point as a dot in the circle it watches, a boat by its home
// (a square) and its patrol point (a dot), and where the boats actually
// were as a light cyan haze, denser where they were more often (or, when
// that is not known, the line of each beat). The scenario's own objects,
// the first in their lists, in grey; the added ones in white.
#pragma once

#include <QPainter>
#include <cstddef>

#include "heatmap.h"
#include "sweep.h"

namespace wendo_lab {

// `scale`: picture pixels per map cell.
void DrawLayout(QPainter& painter, double scale, const TScenarioSetup& layout, size_t ownObservers, size_t ownBoats,
                const TDeathMap* boatPlaces = nullptr);

// Where the layout's objects stand, for the legend to keep clear of.
std::vector<TPlace> ObjectPlaces(const TScenarioSetup& layout);

}  // namespace wendo_lab
