#include "indexed_finder.h"

namespace wymianadanych {

void TIndexedFinder::Entering(TStepPhase phase) {
  switch (phase) {
    case TStepPhase::BoatsSight:
      ix_.Notice(w_);
      ix_.BuildSharkGrid(w_, ix_.sharks, false);
      ix_.UpdateObserverGrid(w_);
      break;
    case TStepPhase::BoatsMove:
      ix_.BuildSharkGrid(w_, ix_.recent, true);
      break;
    case TStepPhase::Sharks:
      ix_.BuildPeopleGrid(w_, ix_.livePeople, true);
      break;
    case TStepPhase::People:
      ix_.BuildSharkGrid(w_, ix_.sharks, false);  // the sharks have moved
      break;
    case TStepPhase::Observers:
      break;
  }
}

void IndexedStepRules(TWorld& w) {
  TIndexedFinder find(w, IndexOf(w));
  rules::Step(w, find);
}

}  // namespace wymianadanych
