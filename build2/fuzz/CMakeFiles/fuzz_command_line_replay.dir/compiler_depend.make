# Empty compiler generated dependencies file for fuzz_command_line_replay.
# This may be replaced when dependencies are built.
