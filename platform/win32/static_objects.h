// Static construction and destruction for images linked without a C
// runtime: GNU ld gathers constructors in __CTOR_LIST__, and GCC registers
// each static object's destructor with atexit.
#pragma once

void runStaticConstructors();
void runStaticDestructors();
