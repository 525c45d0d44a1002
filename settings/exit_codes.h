// Results of the front end and the symbol writers: 0 or the exit code.
#pragma once

inline constexpr int result_ok = 0;
inline constexpr int result_cannot_create = 1101;
inline constexpr int result_no_memory = 1102;
inline constexpr int result_png_failed = 1103;
inline constexpr int result_encode_refused = 1104;
inline constexpr int result_bad_command = 1105;
inline constexpr int result_bmp_failed = 1106;
