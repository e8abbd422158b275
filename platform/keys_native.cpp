// The native build has no keyboard of its own: without a test source no key is ever down,
// and its one "window" is always in front.
bool system_key_down(int) { return false; }
bool system_foreground_is_ours() { return true; }
