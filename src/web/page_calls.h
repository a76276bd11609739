// The calls into the page's JavaScript library (page_library.js).
#pragma once

#include <cstdint>

extern "C" {
void k1_present(const uint32_t* pixels, int width, int height);
double k1_now_ms();
void k1_play_effect(const uint8_t* bytes, int length, int crash);
void k1_tune_load(const char* url);
void k1_tune_play();
int k1_tune_playing();
void k1_tune_stop();
int k1_gamepad(int32_t* raw_x);
char* k1_store_get(const char* name);  // malloc'd, or null
int k1_store_set(const char* name, const char* text);
char* k1_store_names();                 // malloc'd, one name a line
void k1_store_remove(const char* name);
void k1_sound_levels(int music, int effects);  // per cent, 0 when muted
void k1_sound_paused(int paused);
void k1_report(const char* key, const char* value);
void k1_note(const char* line);
void k1_boxes(int car_shown, const char* car, int delay_shown, const char* delay);
}
