// The banner and usage text that -h writes into the run log.
#pragma once

// Writes the banner and the usage text to the run log as they stand, without a
// time stamp. Nothing happens when the log is not open.
void print_usage();
