#include "game/shell/task_field.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "engine/input/sys_input.h"
#include "engine/render/sprite_desc.h"
#include "engine/render/sys_camera.h"
#include "engine/render/sys_render_sprite.h"
#include "engine/render/viewport.h"
#include "engine/resource/sys_resource.h"
#include "engine/task/sys_task.h"
#include "game/shell/settings.h"
#include "game/world/dungeon.h"
#include "game/world/field_view.h"
#include "game/world/game_data.h"
#include "game/world/global_record.h"
#include "game/world/object_anim.h"
#include "game/world/object_manager.h"
#include "game/world/object_player.h"
#include "game/world/status.h"
#include "game/world/tile.h"

namespace {

// Alpha blending, point sampling.
constexpr std::uint32_t kBlendState = 1;

std::int32_t clampToInt32(double v) {
    if (!(v == v)) return 0;
    return static_cast<std::int32_t>(std::clamp(v, -2147483648.0, 2147483647.0));
}

float usableScale(float scale) {
    return std::isfinite(scale) && scale > 0.0f ? scale : 1.0f;
}

std::int32_t roundHalfAway(double v) {
    return clampToInt32(std::round(v));
}

// One side of the rectangle: placed at `start`, no further than `room - size`
// and never below 0.
std::int32_t clampStart(std::int64_t start, std::int64_t size, std::int64_t room) {
    return static_cast<std::int32_t>(std::max<std::int64_t>(0, std::min(start, room - size)));
}

void queue(qel::ResTexture* texture, float x, float y, std::int32_t sourceX, std::int32_t sourceY,
           std::int32_t width, std::int32_t height, std::uint8_t layer, float scaleX, float scaleY,
           Color colour, int viewport) {
    qel::SpriteDesc sprite;
    sprite.set(texture, x, y, sourceX, sourceY, width, height, layer, 0.0f, 0.0f, scaleX, scaleY,
               0.0f, colour, kBlendState, false);
    qel::SysRenderSprite::instance().draw(sprite, viewport);
}

std::int32_t playerStatus(ObjectPlayer* player, Status::Index index) {
    return player ? player->getStatus(index) : 0;
}

void onZoom(bool zoom) {
    if (TaskField* field = TaskField::current(); field && field->zoom())
        field->zoom()->setZoomed(zoom);
}

void onZoomMode(std::int32_t mode) {
    if (TaskField* field = TaskField::current(); field && field->zoom())
        field->zoom()->setMode(mode);
}

}  // namespace

// ---- Zoom -------------------------------------------------------------------

TaskFieldZoom::TaskFieldZoom() {
    if (const GlobalRecord* record = GameData::instance().getGlobalRecord()) {
        mode_ = record->getZoomMode();
        zoomed_ = record->isZoom();
    }
}

void TaskFieldZoom::update() {
    const qel::SysInput& input = qel::SysInput::instance();
    switch (mode_) {
        case 0:
            zoomed_ = input.isKeyOn(kTabKey);
            count_ = 0;
            break;
        case 1:
            zoomed_ = !input.isKeyOn(kTabKey);
            count_ = 0;
            break;
        case 2:
        case kAutoMode:
            if (input.isKeyTrigger(kTabKey)) toggle();
            break;
        default:
            break;
    }
    if (zoomed_ && factor_ < 1.0f) {
        factor_ = std::min(1.0f, factor_ + 1.0f / ZOOM_IN_FRAME);
        if (!(factor_ == factor_)) factor_ = 1.0f;  // a frame count of 0 jumps
    } else if (!zoomed_ && factor_ > 0.0f) {
        factor_ = std::max(0.0f, factor_ - 1.0f / ZOOM_OUT_FRAME);
        if (!(factor_ == factor_)) factor_ = 0.0f;
    }
}

void TaskFieldZoom::toggle() {
    zoomed_ = !zoomed_;
    count_ = 0;
    if (GlobalRecord* record = GameData::instance().getGlobalRecord()) record->setZoom(zoomed_);
}

void TaskFieldZoom::countZoomCommand(bool zoomOut) {
    if (mode_ != kAutoMode) return;
    if (zoomed_ != zoomOut) {
        count_ = 0;
        return;
    }
    ++count_;
    if (count_ >= (zoomed_ ? ZOOM_OUT_AUTO_COUNT : ZOOM_IN_AUTO_COUNT)) {
        zoomed_ = !zoomed_;
        count_ = 0;
    }
}

// ---- Map view -----------------------------------------------------------------

TaskField* TaskField::start(qel::TaskBase* scene) {
    auto* field = new TaskField();
    if (!qel::registerSingle(field)) {
        delete field;
        return nullptr;
    }
    if (!qel::SysTask::instance().add(field, scene)) {
        // Outside the tree it would never be killed: it goes at once.
        qel::Register<TaskField>::instance().remove(0, 0);
        delete field;
        return nullptr;
    }
    GameData::instance().setField(field);
    return field;
}

TaskField* TaskField::current() {
    return qel::Register<TaskField>::instance().getSingle();
}

TaskField::TaskField() = default;

TaskField::~TaskField() {
    release();
}

bool TaskField::init() {
    qel::SysResource& resources = qel::SysResource::instance();
    chips_ = target_view::chips();
    black_.reset(resources.createRenderTarget(1, 1, qel::PixelFormat::A8R8G8B8));
    if (!black_) return false;
    black_->colorFill(Color::BLACK.argb());

    const int width = static_cast<int>(std::min<std::uint32_t>(DUNGEON_TEX_WIDTH, 8192));
    const int height = static_cast<int>(std::min<std::uint32_t>(DUNGEON_TEX_HEIGHT, 8192));
    field_ = target_view::make(kFieldViewport, width, height, Color::BLACK);
    if (!field_) return false;
    const int lights = FIELD_BLUR_ENABLE ? 2 : 1;
    for (int i = 0; i < lights; ++i) {
        light_[i].reset(resources.createRenderTarget(
            static_cast<std::uint32_t>(std::max(width, 1)),
            static_cast<std::uint32_t>(std::max(height, 1)), qel::PixelFormat::X8R8G8B8));
        if (!light_[i]) return false;
    }
    auto* view =
        new qel::Viewport(qel::Viewport::Rect{}, 0, kLightViewport, light_[0].get(), 0.0f, 1.0f);
    view->setClear(2, qel::kClearTarget, Color::BLACK.argb(), 1.0f, 0);
    qel::SysCamera::instance().setViewport(kLightViewport, view);

    zoom_ = new TaskFieldZoom();
    if (!qel::registerSingle(zoom_) || !qel::SysTask::instance().add(zoom_, this)) {
        delete zoom_;
        zoom_ = nullptr;
        return false;
    }
    zoom_->setFactor(zoom_->isZoomed() ? 1.0f : 0.0f);
    installHooks(true);
    redraw();
    return true;
}

void TaskField::release() {
    if (GameData::instance().getField() == this) GameData::instance().setField(nullptr);
    installHooks(false);
    qel::SysCamera& camera = qel::SysCamera::instance();
    if (light_[0]) {
        if (qel::Viewport* view = camera.getViewport(kLightViewport);
            view && (view->getTarget() == light_[0].get() || view->getTarget() == light_[1].get()))
            camera.setViewport(kLightViewport, nullptr);
    }
    target_view::drop(kFieldViewport, field_.get());
    light_[0].reset();
    light_[1].reset();
    field_.reset();
    black_.reset();
    chips_.reset();
    zoom_ = nullptr;  // a child: the tree deletes it
}

void TaskField::installHooks(bool on) {
    if (on) {
        ObjectAnim::setDrawTarget(chips_ ? chips_->getTexture() : nullptr,
                                  chips_ ? kLightViewport : -1);
        ObjectAnim::setViewOffset(Vector2(0.0f, 0.0f));
        GlobalRecord::setZoomHook(&onZoom);
        GlobalRecord::setZoomModeHook(&onZoomMode);
    } else if (chips_ || field_) {
        ObjectAnim::setDrawTarget(nullptr, -1);
        GlobalRecord::setZoomHook(nullptr);
        GlobalRecord::setZoomModeHook(nullptr);
    }
}

void TaskField::update() {
    GameData& game = GameData::instance();
    ObjectPlayer* player = game.getPlayer();
    FieldView* view = game.getFieldView();
    if (player && view) {
        const std::int64_t a = playerStatus(player, Status::TORCH);
        const std::int64_t b = playerStatus(player, Status::VISION);
        const auto radius = [](std::int64_t r) {
            return static_cast<std::int32_t>(std::clamp<std::int64_t>(r, -0x7FFFFFFF, 0x7FFFFFFF));
        };
        view->putLight(player->getPos().x, player->getPos().y, radius(std::max(a, b)),
                       radius(std::max(b, 5 * a)));
    }
    if (FIELD_BLUR_ENABLE && light_[1]) {
        std::swap(light_[0], light_[1]);
        if (qel::Viewport* light = qel::SysCamera::instance().getViewport(kLightViewport))
            light->setRect(light_[0].get(), qel::Viewport::Rect{});
    }
}

void TaskField::clearField() {
    if (qel::Viewport* view = qel::SysCamera::instance().getViewport(kFieldViewport);
        view && view->getTarget() == field_.get())
        view->clearMode = 1;
}

void TaskField::redraw() {
    clearField();
    for (std::int32_t y = 0; y < FieldView::kHeight; ++y) {
        for (std::int32_t x = 0; x < FieldView::kWidth; ++x) drawCell(x, y, false);
    }
}

void TaskField::drawCell(std::int32_t x, std::int32_t y, bool blank) {
    GameData& game = GameData::instance();
    const FieldView* view = game.getFieldView();
    const FieldView::INFO* info = view ? view->getInfo(x, y) : nullptr;
    if (!info || !field_) return;
    const bool seen = (info->flag & FieldView::FLAG_MEMORY) != 0;
    if (!seen && !blank) return;
    const float cw = static_cast<float>(CHIP_WIDTH);
    const float ch = static_cast<float>(CHIP_HEIGHT);
    const float px = static_cast<float>(x) * cw;
    const float py = static_cast<float>(y) * ch;
    // A changed cell is blanked first, so that the transparent parts of its
    // new picture never show the old one.
    if (blank && black_)
        queue(black_->getTexture(), px, py, 0, 0, 1, 1, 0, cw, ch, Color::WHITE, kFieldViewport);
    if (!seen || !chips_) return;
    const auto drawChip = [&](std::int32_t chipX, std::int32_t chipY, Color colour) {
        queue(chips_->getTexture(), px, py, static_cast<std::int32_t>(chipX * CHIP_WIDTH),
              static_cast<std::int32_t>(chipY * CHIP_HEIGHT), static_cast<std::int32_t>(CHIP_WIDTH),
              static_cast<std::int32_t>(CHIP_HEIGHT), 0, 1.0f, 1.0f, colour, kFieldViewport);
    };
    const FieldView::INFO::CHIP& picture = info->chipLight;
    // An object's picture stands on its cell's floor, lit as the cell is.
    const Dungeon* dungeon = game.getDungeon();
    if (const Tile* tile = dungeon ? dungeon->getTile(x, y) : nullptr; tile && !tile->isWall()) {
        const float factor = tile->getState() == TILE_LIGHT  ? 1.0f
                             : tile->getState() == TILE_VIEW ? CHIP_VIEW_COLOR
                                                             : CHIP_OPEN_COLOR;
        const Color floor = factor != 1.0f ? tile->getColor() * factor : tile->getColor();
        const Point& chip = tile->getChip();
        if (!(picture.x == chip.x && picture.y == chip.y && picture.color == floor))
            drawChip(chip.x, chip.y, floor);
    }
    drawChip(picture.x, picture.y, picture.color);
}

void TaskField::drawChangedCells() {
    const FieldView* view = GameData::instance().getFieldView();
    if (!view) return;
    for (std::int32_t y = 0; y < FieldView::kHeight; ++y) {
        for (std::int32_t x = 0; x < FieldView::kWidth; ++x) {
            if (view->getInfo(x, y)->flag & FieldView::FLAG_CHANGED) drawCell(x, y, true);
        }
    }
}

void TaskField::draw() {
    if (!field_ || !light_[0]) return;
    drawChangedCells();
    queue(field_->getTexture(), 0.0f, 0.0f, 0, 0, 0, 0, 0, 1.0f, 1.0f, Color::WHITE,
          kLightViewport);
    if (ObjectManager* objects = GameData::instance().getObjectManager()) {
        for (ObjectBase* object : *objects->getLinkAllRoot()) {
            if (!object->isVisible()) continue;
            if (auto* anim = dynamic_cast<ObjectAnim*>(object)) anim->draw();
        }
    }
    showLight();
}

void TaskField::showLight() {
    ObjectPlayer* player = GameData::instance().getPlayer();
    const Vector2 follow = player ? player->getAnimPos() : Vector2(0.0f, 0.0f);
    shown_ = shownRect(zoom_ ? zoom_->getFactor() : 0.0f, follow.x, follow.y);
    const float scale = shownScale(shown_);
    Color colour = Color::WHITE;
    if (player && playerStatus(player, Status::TORCH) == 0) colour = NO_TORCH_COLOR;
    const float x = static_cast<float>(DUNGEON_DRAW_X);
    const float y = static_cast<float>(DUNGEON_DRAW_Y);
    queue(light_[0]->getTexture(), x, y, shown_.left, shown_.top, shown_.width, shown_.height,
          kScreenLayer, scale, scale, colour, 0);
    if (FIELD_BLUR_ENABLE && light_[1]) {
        const Rect& last = haveLastShown_ ? lastShown_ : shown_;
        queue(light_[1]->getTexture(), x, y, last.left, last.top, shown_.width, shown_.height,
              kScreenLayer, scale, scale, Color(colour, FIELD_BLUR_ALPHA), 0);
    }
    lastShown_ = shown_;
    haveLastShown_ = true;
}

TaskField::Rect TaskField::viewRect(float scale, float followX, float followY) {
    const float s = usableScale(scale);
    Rect r;
    r.width = std::max(1, clampToInt32(std::trunc(static_cast<double>(DUNGEON_DRAW_WIDTH) / s)));
    r.height = std::max(1, clampToInt32(std::trunc(static_cast<double>(DUNGEON_DRAW_HEIGHT) / s)));
    const std::int64_t px = roundHalfAway(followX);
    const std::int64_t py = roundHalfAway(followY);
    r.left = clampStart(px - r.width / 2 - static_cast<std::int64_t>(CHIP_WIDTH / 2), r.width,
                        DUNGEON_TEX_WIDTH);
    r.top = clampStart(py - r.height / 2 - static_cast<std::int64_t>(CHIP_HEIGHT), r.height,
                       DUNGEON_TEX_HEIGHT);
    return r;
}

TaskField::Rect TaskField::shownRect(float factor, float followX, float followY) {
    const Rect out = viewRect(ZOOM_OUT_SCALE, followX, followY);
    if (!(factor > 0.0f)) return out;
    const Rect in = viewRect(ZOOM_IN_SCALE, followX, followY);
    if (factor >= 1.0f) return in;
    const double k = 0.5 - 0.5 * std::cos(static_cast<double>(factor) * std::numbers::pi);
    const auto ease = [k](std::int32_t a, std::int32_t b) {
        return roundHalfAway(a + (static_cast<double>(b) - a) * k);
    };
    Rect r;
    r.left = ease(out.left, in.left);
    r.top = ease(out.top, in.top);
    r.width = std::max(1, ease(out.width, in.width));
    r.height = std::max(1, ease(out.height, in.height));
    return r;
}

float TaskField::shownScale(const Rect& shown) {
    return usableScale(static_cast<float>(DUNGEON_DRAW_WIDTH) /
                       static_cast<float>(std::max(shown.width, 1)));
}
