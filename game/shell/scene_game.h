// The scene of actual play. It makes the in-game tasks that exist as its
// children and publishes them, and runs the global record's play clock for
// exactly as long as it lives.
//
// What it keeps true: after Release the game root holds no running map
// view, message log, item list or anima list, and the play clock is
// stopped with the interval added to the total; each Init starts a new
// interval, so time outside game scenes is never counted.
#pragma once

#include "engine/task/scene_base.h"

class SceneGame : public qel::SceneBase {
public:
    QEL_CLASS(SceneGame, qel::SceneBase, qel::Pool::Tasks);

    // The tasks join here in their order as they are built (map view, turn
    // manager, message log, item list, anima list, status view, cursor,
    // network requests).
    bool init() override;
    void release() override;
};
