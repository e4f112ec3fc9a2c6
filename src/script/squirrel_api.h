// The interpreter's API: the standard library headers need squirrel.h first.
#pragma once

// clang-format off
#include <squirrel.h>
#include <sqstdaux.h>
#include <sqstdio.h>
// clang-format on

#include <type_traits>

static_assert(sizeof(SQInteger) == 8, "mapper scripts need 64-bit script integers");
static_assert(std::is_same<SQChar, char>::value, "mapper scripts need char strings");
