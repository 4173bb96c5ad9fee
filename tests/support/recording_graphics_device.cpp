#include "tests/support/recording_graphics_device.h"

#include <algorithm>

namespace qel {

RecordingGraphicsDevice::RecordingGraphicsDevice(int width, int height)
    : backBuffer_(std::make_shared<Surface>(width, height, PixelFormat::X8R8G8B8)),
      target_(backBuffer_),
      viewport_(backBuffer_->bounds()) {
    backBuffer_->fill(0xFF000000u);
}

std::vector<RecordingGraphicsDevice::Call> RecordingGraphicsDevice::callsOf(Op op) const {
    std::vector<Call> out;
    std::copy_if(calls_.begin(), calls_.end(), std::back_inserter(out),
                 [op](const Call& c) { return c.op == op; });
    return out;
}

RecordingGraphicsDevice::Call RecordingGraphicsDevice::stateCall(Op op) const {
    Call c;
    c.op = op;
    c.target = target_.get();
    c.texture = texture_.get();
    c.viewport = viewport_;
    c.blend = blend_;
    c.filter = filter_;
    c.address = address_;
    return c;
}

SurfacePtr RecordingGraphicsDevice::createSurface(int width, int height, PixelFormat format) {
    if (refuseSurfaces_ || !Surface::validSize(width, height)) return nullptr;
    ++surfacesCreated_;
    return std::make_shared<Surface>(width, height, format);
}

void RecordingGraphicsDevice::setRenderTarget(SurfacePtr target) {
    target_ = target ? std::move(target) : backBuffer_;
    viewport_ = target_->bounds();
    calls_.push_back(stateCall(Op::SetRenderTarget));
}

void RecordingGraphicsDevice::setViewport(const Rect& rect) {
    viewport_ = intersect(rect, target_->bounds());
    calls_.push_back(stateCall(Op::SetViewport));
}

void RecordingGraphicsDevice::clear(std::uint32_t flags, std::uint32_t argb) {
    if (!drawing()) return;
    Call c = stateCall(Op::Clear);
    c.flags = flags;
    c.color = argb;
    calls_.push_back(std::move(c));
    if ((flags & kClearTarget) == 0) return;
    for (int y = viewport_.top; y < viewport_.bottom; ++y) {
        for (int x = viewport_.left; x < viewport_.right; ++x) target_->set(x, y, argb);
    }
}

void RecordingGraphicsDevice::colorFill(Surface& surface, std::uint32_t argb) {
    if (!drawing()) return;
    Call c = stateCall(Op::ColorFill);
    c.target = &surface;
    c.color = argb;
    calls_.push_back(std::move(c));
    surface.fill(argb);
}

void RecordingGraphicsDevice::drawTriangles(std::span<const Vertex> vertices) {
    if (!drawing()) return;
    Call c = stateCall(Op::DrawTriangles);
    c.vertices.assign(vertices.begin(), vertices.end());
    calls_.push_back(std::move(c));
}

void RecordingGraphicsDevice::drawLine(std::span<const LinePoint> points, std::uint32_t argb) {
    if (!drawing()) return;
    Call c = stateCall(Op::DrawLine);
    c.points.assign(points.begin(), points.end());
    c.color = argb;
    calls_.push_back(std::move(c));
}

void RecordingGraphicsDevice::drawText(const Font& font, int x, int y, std::string_view text,
                                       std::uint32_t argb) {
    if (!drawing()) return;
    Call c = stateCall(Op::DrawText);
    c.font = font.desc();
    c.text.assign(text);
    c.x = x;
    c.y = y;
    c.color = argb;
    calls_.push_back(std::move(c));
}

DeviceStatus RecordingGraphicsDevice::status() const {
    if (statusQueriesLeft_ > 0 && --statusQueriesLeft_ == 0) status_ = DeviceStatus::NeedsReset;
    return status_;
}

bool RecordingGraphicsDevice::reset() {
    calls_.push_back(stateCall(Op::Reset));
    if (status_ == DeviceStatus::Ok) return true;
    if (!resetSucceeds_) return false;
    status_ = DeviceStatus::Ok;
    return true;
}

}  // namespace qel
