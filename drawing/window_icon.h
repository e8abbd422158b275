// The resource id of the program's icon: the drawing window's class takes the icon of this
// id from the program's own module, at the system's large and small icon sizes, when the
// program has one. Plain #define: the programs' resource scripts include it.
#pragma once

#define IDI_APP 1
