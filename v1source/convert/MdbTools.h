#pragma once

// mdbtools.h includes glib.h inside an extern "C" block, where glib's C++
// declarations do not compile: glib is included first, outside of it.
#include <glib.h>
#include <mdbtools.h>
