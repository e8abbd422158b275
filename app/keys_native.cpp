// The native build has no keyboard of its own: without a test source no key is ever down.
bool system_key_down(int) { return false; }
