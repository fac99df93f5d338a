#pragma once
// The effects layer: the blocking move, fire and other effect sequences,
// which come with their own issue. It already answers where a shot leaves
// its firer's hex and where it strikes the target's, which the fire-trace
// line of the map view joins.

#include "mapview/AnimationView.h"

class CEffectsView : public CAnimationView {
public:
    explicit CEffectsView(CGame* game)
        : CAnimationView(game)
    {
    }
    ~CEffectsView() override = default;

    // Picture points of view hexes. In the 2D views both are the hex
    // centre; the 3D views' corner points come with the shot animation.
    platform::Point GetLaunchPoint(int column, int row) const { return Geometry().GetHexCentre(column, row); }
    platform::Point GetImpactPoint(int column, int row) const { return Geometry().GetHexCentre(column, row); }
};
