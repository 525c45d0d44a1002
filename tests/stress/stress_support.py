"""What the stress and fault tests share: the end-to-end harness (and its
neighbours in tests/e2e) on the import path, and the programs' paths from the
command line."""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))

import harness  # noqa: E402  (found through the path set above)

PNG2BMP = None  # set by main()


def main(argv):
    """argv: script, tessel, png2bmp, then unittest's own arguments."""
    global PNG2BMP
    PNG2BMP = os.path.abspath(argv[2])
    harness.main([argv[0], argv[1]] + argv[3:])
