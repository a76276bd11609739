// The race: one blocking loop, one frame per pass, every step in a fixed order.
#include "shell/kelto1.h"

namespace kelto1 {

void Kelto1::RunRace() {
  while (shell.EndFrames < 1000) {
    if (before_frame_) before_frame_(*this);
    recorder.FrameStarts();
    if (shell.RaceOver == 1) shell.EndFrames += 1;
    ShowTime();
    PaceFrame();
    DrivePlayer();
    UpdateSignals();
    SpawnTraffic();
    MoveTraffic();
    TickSoundCooldowns();
    SpawnWreckDebris();
    const Vehicle& player = vehicles.Vehicles[0];
    QueueSprite(player.Sprite, Narrow<int16_t>(player.X + player.OffsetX), player.Y);
    AnimateDebris();
    CollectPickups();
    CheckQuitKey();
    if (Ended()) return;
    DrawQueuedSprites();
    Repaint(Element::Display);
    vehicles.SpriteQueue[0] = 0;
    // The road for the next frame; it wipes this frame's sprites and shows next time.
    BitBlt(Display, 0, 0, kViewWidth, kViewHeight, Master, 0, 64 - vehicles.ScrollSub, RasterOp::SRCCOPY);
    KeepMusicPlaying();
    recorder.FrameEnds(*this);
    if (after_frame_ && !after_frame_(*this)) return;
  }
}

void Kelto1::PaceFrame() {
  shell.FlushCount += 1;
  if (shell.FlushCount > 5) {
    platform.DiscardKeyMessage();
    shell.FlushCount = 0;
  }
  Wait(PacedDelayMs(FrameDelayMs()));
}

void Kelto1::Wait(int32_t ms) {
  const uint32_t start = platform.GetTickCount();
  for (;;) {
    const int32_t elapsed = static_cast<int32_t>(platform.GetTickCount() - start);
    if (elapsed >= ms) return;
    // The person wants to stop: the wait ends here, and the next Escape check ends the
    // program.
    if (platform.QuitWanted()) return;
    platform.Idle(static_cast<uint32_t>(ms - elapsed));
  }
}

}  // namespace kelto1
