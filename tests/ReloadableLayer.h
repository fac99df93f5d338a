#pragma once
// A layer of the game object with its reload chain step opened up, for tests
// that give it data by hand and check what one step of the chain does. The
// game itself reloads through CGameData::ReloadKeepingBattle only.

template <typename Layer> class ReloadableLayer : public Layer {
public:
    using Layer::Reload;
};

// Whether a layer offers its bare reload step publicly; no game layer may, as
// it frees the organisation and the grids that a battle in play points into.
template <typename Layer>
concept HasPublicReload = requires(Layer& layer)
{
    layer.Reload();
};
