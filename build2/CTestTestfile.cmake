# CMake generated Testfile for 
# Source directory: /work/wt/integ
# Build directory: /work/wt/integ/build2
# 
# This file includes the relevant testing commands required for 
# testing this directory and lists subdirectories to be tested as well.
subdirs("png2bmp.cmake")
subdirs("batch")
subdirs("util")
subdirs("settings")
subdirs("runlog")
subdirs("payload")
subdirs("platform")
subdirs("frontend")
subdirs("pngwriter")
subdirs("bmpconv")
subdirs("vectorwriter")
subdirs("library")
subdirs("tests")
subdirs("fuzz")
