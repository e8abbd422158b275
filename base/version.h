// The version of the editor and of the companion, kept in one place: `btl --version`, both
// programs' version resources (the .rc files include this header) and the release package's
// name (scripts/package.sh reads the three numbers below) all take it from here.
#pragma once

#define BTL_VERSION_MAJOR 1
#define BTL_VERSION_MINOR 0
#define BTL_VERSION_PATCH 0

#define BTL_VERSION_TEXT_(a, b, c) #a "." #b "." #c
#define BTL_VERSION_TEXT_OF(a, b, c) BTL_VERSION_TEXT_(a, b, c)
// "1.0.0"
#define BTL_VERSION_STRING \
  BTL_VERSION_TEXT_OF(BTL_VERSION_MAJOR, BTL_VERSION_MINOR, BTL_VERSION_PATCH)

#ifndef RC_INVOKED
constexpr char kProgramVersion[] = BTL_VERSION_STRING;
#endif
