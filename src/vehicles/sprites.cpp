// Sprites: the tables, the per-frame draw queue and the masked drawing.
#include "shell/kelto1.h"

namespace kelto1 {

void Kelto1::BuildSpriteTables() {}

void Kelto1::AppendWordList(Int16*, const int16_t*, int) {}

void Kelto1::QueueSprite(uint8_t, int16_t, int16_t) {}

void Kelto1::DrawQueuedSprites() {}

void Kelto1::DrawSprite(uint8_t, uint8_t, int16_t, int16_t, int16_t, Picture&) {}

void Kelto1::BlitSprite(uint8_t, int16_t, int16_t, Picture&) {}

}  // namespace kelto1
