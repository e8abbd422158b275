// The keyboard as the editor reads it: the asynchronous key state, polled. Tests install a
// source of their own.
#pragma once

// Windows virtual-key codes of the keys the editor reads.
constexpr int kKeyEscape = 0x1B;
constexpr int kKeyLeft = 0x25, kKeyUp = 0x26, kKeyRight = 0x27, kKeyDown = 0x28;
constexpr int kKeyB = 'B', kKeyC = 'C', kKeyJ = 'J', kKeyS = 'S', kKeyT = 'T', kKeyU = 'U',
              kKeyX = 'X';

// True while the key is held (the high bit of its asynchronous state).
bool key_down(int key);

using KeySource = bool (*)(int key);
// Replaces where key_down looks; null restores the system's key state.
void set_key_source(KeySource source);

// Waits, polling without pause, until the key is released.
void wait_key_release(int key);
