#include "indexed_finder.h"

namespace wymianadanych {

void TIndexedFinder::Entering(TStepPhase phase) {
  switch (phase) {
    case TStepPhase::BoatsSight:
      ix_.Refresh(w_);
      BuildSharkGrid(w_, ix_.sharks, false);
      BuildObserverGrid(w_, ix_.observers);
      ix_.observersStale = false;
      break;
    case TStepPhase::BoatsMove:
      BuildSharkGrid(w_, ix_.recent, true);
      break;
    case TStepPhase::Sharks:
      BuildPeopleGrid(w_, ix_.livePeople, true);
      break;
    case TStepPhase::People:
      BuildSharkGrid(w_, ix_.sharks, false);  // the sharks have moved
      break;
    case TStepPhase::Observers:
      break;
  }
}

void IndexedStepRules(TWorld& w) {
  TIndexedFinder find(w, *w.Index);
  rules::Step(w, find);
}

}  // namespace wymianadanych
