// The version of the editor and of the companion, kept in one place.
#pragma once

constexpr char kProgramVersion[] = "1.0.0";
