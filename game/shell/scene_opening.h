// The scene between the title and the game: character creation and the
// choice of a saved game, all written in the script's InputOpening, which
// gets the scene's OpeningParam every frame.
//
// What it keeps true: every entry starts from an empty world (no objects,
// ids from 1, no extinct kinds, no active save slot) with both tables
// freshly loaded; the scene's OpeningParam is the program's (a script
// cannot delete it) and lives from init to release.
#pragma once

#include "engine/task/scene_base.h"

class OpeningParam;

class SceneOpening : public qel::SceneBase {
public:
    SceneOpening() = default;
    ~SceneOpening() override;
    SceneOpening(const SceneOpening&) = delete;
    SceneOpening& operator=(const SceneOpening&) = delete;

    QEL_CLASS(SceneOpening, qel::SceneBase, qel::Pool::Tasks);

    bool init() override;
    void update() override;
    void release() override;

    OpeningParam* param() const { return param_; }

private:
    OpeningParam* param_ = nullptr;
};
