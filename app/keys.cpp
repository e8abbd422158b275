#include "app/keys.h"

bool system_key_down(int key);  // keys_win32.cpp / keys_native.cpp

namespace {
KeySource g_source = nullptr;
}

bool key_down(int key) { return g_source ? g_source(key) : system_key_down(key); }

void set_key_source(KeySource source) { g_source = source; }

void wait_key_release(int key) {
  while (key_down(key)) {
  }
}
