// What of the render subsystem reaches pixels, and what only keeps its data.
//
// The graphics device draws pre-transformed, textured, colour-modulated
// triangles, lines and text into the current target, blended as the state
// store says. So what reaches pixels is all in engine/render itself:
// - the render queue and its sort keys, which order every command of a frame;
// - the viewports (sys_camera.h, viewport.h): each one's set-up picks its
//   first render target and clears and fills its targets;
// - sprites, text and lines (sys_render_sprite.h, sys_render_text.h,
//   sys_render_line.h), the only commands that draw;
// - of the shaders (shader_base.h, sys_shader.h, default_shader.h,
//   render_states.h): the blend mode, sampler 0's filter and addressing, and
//   the texture bound to stage 0.
//
// This folder holds the pieces that are set, kept and read back but never
// reach a pixel:
// - cameras: a viewport's view and projection and its eye (camera.h);
// - lights, the light subsystem and materials (light.h, sys_light.h,
//   material.h), which reach the effects' parameters only;
// - effects: the effect resource of a feature-flag word, its loader, the
//   parameters every effect shares, and the shader that drives one
//   (effect.h, res_shader.h, loader_shader.h, effect_pool.h,
//   render_shader.h). Every effect is the built-in pass-through one, texture
//   times vertex colour, which is what the device draws anyway; an effect
//   shader's transforms, lights and material go to the effect pool, and only
//   its stage-0 texture and blend states reach the device;
// - models (sys_render_model.h): their commands sort and end like every
//   other kind and draw nothing.
//
// They live in the render library all the same: the live path hands them
// their data (a viewport applies its camera, the light subsystem runs after
// each viewport's set-up), so scripts and tests can set and read it back.
#pragma once

#include "engine/render/data_only/camera.h"
#include "engine/render/data_only/effect.h"
#include "engine/render/data_only/effect_pool.h"
#include "engine/render/data_only/light.h"
#include "engine/render/data_only/loader_shader.h"
#include "engine/render/data_only/material.h"
#include "engine/render/data_only/render_shader.h"
#include "engine/render/data_only/res_shader.h"
#include "engine/render/data_only/sys_light.h"
#include "engine/render/data_only/sys_render_model.h"
