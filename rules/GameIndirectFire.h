#pragma once
// Artillery, smoke and starshell missions, scatter and drift.
// Further operations come with the rules that need them; the layer keeps its
// place in the chain so that every layer above builds on the same object.

#include "model/GameRecords.h"
#include "model/PlacedUnit.h"
#include "rules/GameDirectFire.h"

class CGameIndirectFire : public CGameDirectFire {
public:
    CGameIndirectFire() = default;
    ~CGameIndirectFire() override = default;

    // The unit that plotted the mission, or null when it is gone: on the map,
    // the first unit of the firing hex's stack whose organisation node id is
    // the record's; off the map, the first such unit of the off-map list.
    // A unit without a node counts as id 0.
    const PlacedUnit* IsPlottedFireValid(const PendingFire& record) const;
    PlacedUnit* IsPlottedFireValid(const PendingFire& record);
};
