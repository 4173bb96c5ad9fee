// The blinking map cursor with which the scripts point at a cell or follow
// a character (targeting, looking). A white block of CURSOR_WIDTH x
// CURSOR_HEIGHT stands on the bottom centre of its cell, so a chip-sized
// cursor covers the cell exactly. The game scene makes one, following the
// player; C_GetCursor finds it.
//
// What it keeps true: while it follows an object the cursor's cell is the
// object's, taken each time it draws; a followed object that is deleted is
// let go and the cursor keeps its last cell. The program owns the game's
// cursor and a deleted cursor leaves Register<TaskCursor>.
#pragma once

#include "game/shell/ui/followed_object.h"
#include "game/shell/ui/task_blink_object.h"

class ObjectChara;

class TaskCursor : public TaskBlinkObject {
public:
    QEL_CLASS(TaskCursor, TaskBlinkObject, qel::Pool::Tasks);

    // The display states the scripts name.
    enum State : int { OFF = kHidden, ON = kShown, BLINK = kBlinking };

    // Makes the game's cursor under the scene, following `chara`, and
    // registers it; null when there is one already.
    static TaskCursor* create(qel::TaskBase* scene, ObjectBase* chara);
    static TaskCursor* find();

    TaskCursor();
    ~TaskCursor() override;

    // Points at the cell and stops following; the phase starts again.
    void setPos(const Point& cell);
    const Point& getPos() const { return cell_; }
    // Follows the object (null: stops; the cell stays).
    void setChara(ObjectBase* object) { followed_.set(object); }
    ObjectBase* getFollowed() const { return followed_.get(); }
    ObjectChara* getChara() const;
    void setFrame(int frame) { setPhase(frame); }
    // The mode; the phase starts again (and runs on while hidden).
    void setState(int mode);
    int getState() const { return getMode(); }

protected:
    Vector2 getPosition() const override;
    void setSprite(qel::SpriteDesc& sprite) const override;

private:
    FollowedObject followed_;
    mutable Point cell_;
};
