#include <vantrel/render/vel2d.h>

#include <algorithm>
#include <cmath>

#include <vantrel/render/image.h>
#include <vantrel/runtime/exceptions.h>
#include <vantrel/runtime/math.h>

namespace vantrel {

uint8_t ColorByte(int value) { return static_cast<uint8_t>(std::clamp(value, 0, 255)); }

uint8_t AlphaByte(float alpha) {
    if (std::isnan(alpha)) return 0;
    return static_cast<uint8_t>(TruncToInt(std::clamp(alpha, 0.0f, 1.0f) * 255.0f));
}

// A driver overrides what it supports; everything else is a contract
// violation that must not pass silently.

GraphicsModeList TVel2DDriver::GraphicsModes() { RaiseAbstractMethod(); }
Ref<TGraphics> TVel2DDriver::AttachGraphics(intptr_t, int) { RaiseAbstractMethod(); }
Ref<TGraphics> TVel2DDriver::CreateGraphics(int, int, int, int, int) { RaiseAbstractMethod(); }
void TVel2DDriver::SetGraphics(const Ref<TGraphics>&) { RaiseAbstractMethod(); }
void TVel2DDriver::Flip(int) { RaiseAbstractMethod(); }
Ref<TImageFrame> TVel2DDriver::CreateFrameFromPixmap(const Ref<TPixmap>&, int) { RaiseAbstractMethod(); }
void TVel2DDriver::SetBlend(int) { RaiseAbstractMethod(); }
void TVel2DDriver::SetAlpha(float) { RaiseAbstractMethod(); }
void TVel2DDriver::SetColor(int, int, int) { RaiseAbstractMethod(); }
void TVel2DDriver::SetClsColor(int, int, int) { RaiseAbstractMethod(); }
void TVel2DDriver::SetViewport(int, int, int, int) { RaiseAbstractMethod(); }
void TVel2DDriver::SetTransform(float, float, float, float) { RaiseAbstractMethod(); }
void TVel2DDriver::SetLineWidth(float) { RaiseAbstractMethod(); }
void TVel2DDriver::Cls() { RaiseAbstractMethod(); }
void TVel2DDriver::Plot(float, float) { RaiseAbstractMethod(); }
void TVel2DDriver::DrawLine(float, float, float, float, float, float) { RaiseAbstractMethod(); }
void TVel2DDriver::DrawRect(float, float, float, float, float, float) { RaiseAbstractMethod(); }
void TVel2DDriver::DrawOval(float, float, float, float, float, float) { RaiseAbstractMethod(); }
void TVel2DDriver::DrawPoly(const Array<float>&, float, float, float, float) { RaiseAbstractMethod(); }
void TVel2DDriver::DrawPixmap(const Ref<TPixmap>&, int, int) { RaiseAbstractMethod(); }
Ref<TPixmap> TVel2DDriver::GrabPixmap(int, int, int, int) { RaiseAbstractMethod(); }
void TVel2DDriver::SetResolution(float, float) { RaiseAbstractMethod(); }

void TImageFrame::Draw(float, float, float, float, float, float, float, float, float, float) {
    RaiseAbstractMethod();
}

}  // namespace vantrel
