#pragma once
// The effects layer: the blocking move, fire and other effect sequences,
// which come with their own issue; it holds its place in the chain.

#include "mapview/AnimationView.h"

class CEffectsView : public CAnimationView {
public:
    explicit CEffectsView(CGame* game)
        : CAnimationView(game)
    {
    }
    ~CEffectsView() override = default;
};
