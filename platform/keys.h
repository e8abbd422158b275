// The keyboard as the editor reads it: the asynchronous key state, polled. Tests install a
// source of their own.
//
// The asynchronous state reports keys pressed anywhere on the desktop, so every read goes
// through a gate: a key counts as down only while a window of this process is the foreground
// window, and a key that is already down when the editor comes to the front (or when the
// editor asks for it, after a question it has asked) counts as up until it has been released
// once. Typing into another program therefore never edits the scenario.
#pragma once

// Windows virtual-key codes of the keys the editor reads.
constexpr int kKeyEscape = 0x1B;
constexpr int kKeyShift = 0x10, kKeyControl = 0x11;
constexpr int kKeyLeft = 0x25, kKeyUp = 0x26, kKeyRight = 0x27, kKeyDown = 0x28;
constexpr int kKeyDelete = 0x2E, kKeyF3 = 0x72;
constexpr int kKeyA = 'A', kKeyB = 'B', kKeyC = 'C', kKeyF = 'F', kKeyG = 'G', kKeyJ = 'J',
              kKeyM = 'M', kKeyO = 'O', kKeyP = 'P', kKeyS = 'S', kKeyT = 'T', kKeyU = 'U',
              kKeyX = 'X', kKeyY = 'Y', kKeyZ = 'Z';

// True while the key is held (the high bit of its asynchronous state) and the gate lets it
// through.
bool KeyDown(int key);

// From now on, keys held at this moment count as up until each has been released.
void IgnoreHeldKeys();

using KeySource = bool (*)(int key);
// Replaces where KeyDown looks; null restores the system's key state.
void SetKeySource(KeySource source);

using ForegroundSource = bool (*)();
// Replaces the question "is a window of this process in front?"; null restores the system's.
void SetForegroundSource(ForegroundSource source);

// Waits, polling without pause, until the key is released.
void WaitKeyRelease(int key);
