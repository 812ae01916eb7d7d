// AnimationManager: advances every skeletal animation once per frame. It owns
// nothing: each live object's GraphicsComp holds its own Skeleton, which the
// pass advances by the System's smoothed frame time and poses, so that the
// skinned meshes drawn later in the frame and the weapon muzzles placed in
// the next frame see the new pose.
//
// Threads: Update runs on the main thread, and the frame loop skips it while
// the game is paused, which freezes every pose. The pass holds the object
// lock throughout, so no worker ever sees a skeleton half posed; it takes no
// other lock and never calls AddGameObject.
//
// Events: none. Init registers no event client and Update polls nothing.
// Update does nothing before Init has run, nor after Kill.
#pragma once

#include "module.h"

class AnimationManager : public virtual Module<AnimationManager> {
public:
    AnimationManager() : Module<AnimationManager>("AnimationManager") {}

    void Init() override { initialised = true; }
    // TAKES THE OBJECT LOCK. Advances and poses the skeleton of every live
    // object with a GraphicsComp whose skeleton has bones.
    void Update() override;
    void Kill() override { initialised = false; }

private:
    bool initialised = false;
};
