#pragma once
// The preview: one frame of the current lighting mode drawn on the key
// buttons per tick of the 50 ms preview timer. Runs on the user-interface
// thread; the re-entry flags only keep a mode's routine from running inside
// itself.
#include <cstdint>
#include <functional>

#include "model/PreviewLights.h"
#include "model/PreviewState.h"

namespace orvane {

constexpr int kPreviewFullBrightness = 5;
constexpr int kPreviewUsualSpeed = 2; // a fresh keyboard's: one step per timer tick

// What a frame depends on: the current lighting settings.
struct PreviewParams {
    int mode = 1;
    bool colourful = false;
    uint8_t direction = 0;                   // 0 or 255
    Colour colour = 0;                       // the preview colour
    int brightness = kPreviewFullBrightness; // 0-5: the colours shown are scaled by brightness / 5
    int speed = kPreviewUsualSpeed;          // 0 (fastest) - 5: how often the timer steps the animation
};

// Steps of the animation per preview-timer tick at `speed`, in quarters
// (8 at speed 0 down to 1 at speed 5; beyond 5 counts as 5).
int PreviewQuartersPerTick(int speed);

// The random source of the sparkles and ripples: a linear congruential
// generator of the C library's kind (15-bit results), reseeded with the time
// in seconds at every tick of the modes that use it, so a frame depends only
// on the state and the second it is drawn in.
class CPreviewRandom {
  public:
    void Seed(uint32_t seed) { m_state = seed; }
    int Next() {
        m_state = m_state * 214013u + 2531011u;
        return static_cast<int>((m_state >> 16) & 0x7FFF);
    }

  private:
    uint32_t m_state = 1;
};

class CPreview {
  public:
    // Seconds since the epoch; tests and orvanectl pass a fixed clock.
    using Clock = std::function<int64_t()>;
    explicit CPreview(Clock clock = {});

    void PreviewTick(const PreviewParams& params, CKeyLights& lights);
    // Every key button, G key and Fn to colour 0, unlit.
    static void ClearPreview(CKeyLights& lights);
    void ResetPreviewState();

    // A mode change marks the preview stale; the next timer tick resets it.
    void MarkStale() { m_stale = true; }
    bool IsStale() const { return m_stale; }
    // One tick of the preview timer while the lighting switch is on: as
    // many steps of PreviewTick as the speed asks for (maybe none), drawn at
    // the brightness.
    void TimerTick(const PreviewParams& params, CKeyLights& lights);

    const CPreviewState& State() const { return m_state; }

  private:
    void TickWalkGrid(int mode, const PreviewParams& p, CKeyLights& lights);
    void TickSpiralWalk(const PreviewParams& p, CKeyLights& lights);
    void TickWholeGrid(const PreviewParams& p, CKeyLights& lights);
    void TickBreath(const PreviewParams& p, CKeyLights& lights);
    void TickStatic(const PreviewParams& p, CKeyLights& lights);
    void TickSpiralRainbow(CKeyLights& lights);
    void TickRows(const PreviewParams& p, CKeyLights& lights);
    void TickGroups(const PreviewParams& p, CKeyLights& lights);
    void TickSparkle(const PreviewParams& p, CKeyLights& lights);
    void TickBounce(const PreviewParams& p, CKeyLights& lights);
    void TickDemo(const PreviewParams& p, CKeyLights& lights);
    void TickRain(const PreviewParams& p, CKeyLights& lights);
    void TickCorners(const PreviewParams& p, CKeyLights& lights);

    void Reseed();
    void LightSlot(CSlotLights& set, int slot, bool colourful);
    void Spawn(const CRipplePlanes& planes, CSlotLights& set, bool colourful);
    static void DrawSlots(CSlotLights& set, int x, int y, int z, const PreviewParams& p, CKeyLights& lights);

    CPreviewState m_state;
    CPreviewRandom m_random;
    Clock m_clock;
    bool m_stale = true;
    int m_stepQuarters = 0; // steps owed to the animation, in quarters
};

} // namespace orvane
