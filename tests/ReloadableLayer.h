#pragma once
// A layer of the game object with its reload chain step opened up, for tests
// that give it data by hand and check what one step of the chain does. The
// game itself reloads through CGameData::ReloadKeepingBattle only.

template <typename Layer> class ReloadableLayer : public Layer {
public:
    using Layer::Reload;
};
