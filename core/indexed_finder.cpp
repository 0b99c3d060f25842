#include "indexed_finder.h"

namespace wymianadanych {

void TIndexedFinder::Entering(TStepPhase phase) {
  preyAsked_ = TPreyAsked{};  // people may move in the next phase
  const size_t people = w_.People.size(), observers = w_.Observers.size(), boats = w_.Boats.size();
  switch (phase) {
    case TStepPhase::BoatsSight:  // boats look out for sharks and kill them
      ix_.Notice(w_);
      walkObservers_ = ix_.Walk(observers, people + 64);
      ix_.UpdateObservers(w_, !walkObservers_);
      ix_.ListLiveSharks(w_);
      walkLiveSharks_ = ix_.Walk(ix_.LiveSharks.Size(), 2 * boats);
      if (!walkLiveSharks_) ix_.SharkGrid.Build(ix_.LiveSharks.Entries());
      break;
    case TStepPhase::BoatsMove:  // boats chase the recently seen
      if (boats == 0) break;  // nobody asks
      ix_.ListRecentSharks(w_);
      walkRecent_ = ix_.Walk(ix_.RecentSharks.Size(), boats);
      if (!walkRecent_) ix_.RecentGrid.Build(ix_.RecentSharks.Entries());
      break;
    case TStepPhase::Sharks:  // sharks hunt and eat people
      // Only the live ask and are asked about; the dead stay in the lists
      // and, over a long run, may far outnumber them. Without a live shark
      // nobody asks about people in this step.
      if (ix_.LiveSharks.Size() == 0) break;
      // So few, dead or alive, that they are walked: straight into the
      // lanes, in one pass.
      if (ix_.Walk(people, 2 * ix_.LiveSharks.Size())) {
        ix_.PeopleLanes.TakeLive(w_.People);
        ix_.LivePeopleCount = ix_.PeopleLanes.Size();
        walkPeople_ = true;
        break;
      }
      ix_.ListLivePeople(w_);
      ix_.LivePeopleCount = ix_.LivePeople.Size();
      walkPeople_ = ix_.Walk(ix_.LivePeople.Size(), 2 * ix_.LiveSharks.Size());
      if (walkPeople_)
        ix_.PeopleLanes.Take(ix_.LivePeople.Entries());
      else
        ix_.PeopleGrid.Build(ix_.LivePeople.Entries());
      break;
    case TStepPhase::People:  // people flee the sharks that have moved, observation points look out
      ix_.RefreshLiveSharks(w_);  // no shark has come or gone since the boats' kills
      walkLiveSharks_ = ix_.Walk(ix_.LiveSharks.Size(), ix_.LivePeopleCount + observers);
      if (!walkLiveSharks_) ix_.SharkGrid.Build(ix_.LiveSharks.Entries());
      break;
    case TStepPhase::Observers:
      break;
  }
}

}  // namespace wymianadanych
