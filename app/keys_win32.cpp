#include <windows.h>

bool system_key_down(int key) { return (GetAsyncKeyState(key) & 0x8000) != 0; }
