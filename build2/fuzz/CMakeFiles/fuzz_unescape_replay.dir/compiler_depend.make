# Empty compiler generated dependencies file for fuzz_unescape_replay.
# This may be replaced when dependencies are built.
