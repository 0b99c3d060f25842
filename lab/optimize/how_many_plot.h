// A picture of the "how many" table: risk and open share against the
// number of boats, one line per number of posts, each point with its 95%
// interval as a bar. Text needs a QGuiApplication.
#pragma once

#include <QImage>

#include "how_many.h"

namespace wendo_lab {

QImage HowManyPlot(const THowMany& table);

}  // namespace wendo_lab
