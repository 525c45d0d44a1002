# Empty dependencies file for fuzz_png_reader_replay.
# This may be replaced when dependencies are built.
