// The program's version, made by CMake from the one number given to
// project() in CMakeLists.txt: the usage text and the Windows version
// resource both take it from here, so they cannot disagree.
#pragma once

#define TESSEL_VERSION_TEXT "1.0.0.1"
// The same number as the four comma-separated parts a VERSIONINFO needs.
#define TESSEL_VERSION_PARTS 1, 0, 0, 1
