"""Three independent QR Code readers behind one interface: each decode_* takes
the path of a PNG file and returns the text of the symbol as that reader shows
it to a user (a str), or None when it finds no symbol. Debian's zbar-tools,
python3-zxing-cpp (with python3-numpy and python3-png) and ZXing for Java
(libzxing-javase-java, libjcommander-java, a Java runtime) provide them.

A Java start takes about a second: decode_zxing_java_many reads several files
in one run."""

import os
import shutil
import subprocess
import tempfile

import numpy  # Debian's python3-numpy
import png  # Debian's python3-png
import zxingcpp  # Debian's python3-zxing-cpp

JAVA_CLASSPATH = ":".join("/usr/share/java/%s.jar" % jar for jar in ("javase", "core", "jcommander"))
READERS = ("zbar", "zxing_cpp", "zxing_java")


def decode_zbar(path):
    """zbarimg's text: zbar turns the symbol's bytes into UTF-8 by its own guess
    of their character set, and ends each symbol with a newline."""
    proc = subprocess.run(["zbarimg", "-q", "--raw", "--nodbus", path], capture_output=True)
    if proc.returncode != 0:
        return None
    out = proc.stdout[:-1] if proc.stdout.endswith(b"\n") else proc.stdout
    return out.decode("utf-8", errors="replace")


def grey_pixels(path):
    """The PNG file's pixels as a height x width array of 8-bit grey levels,
    transparent parts seen against white."""
    width, height, rows, _ = png.Reader(filename=path).asRGBA8()
    rgba = numpy.array([list(r) for r in rows], dtype=numpy.uint32).reshape(height, width, 4)
    grey = (rgba[:, :, 0] * 299 + rgba[:, :, 1] * 587 + rgba[:, :, 2] * 114) // 1000
    alpha = rgba[:, :, 3]
    return numpy.ascontiguousarray(((grey * alpha + 255 * (255 - alpha)) // 255).astype(numpy.uint8))


def decode_zxing_cpp(path):
    result = zxingcpp.read_barcode(grey_pixels(path), formats=zxingcpp.BarcodeFormat.QRCode)
    return result.text if result is not None and result.valid else None


def decode_zxing_java(path):
    return decode_zxing_java_many([path])[0]


def decode_zxing_java_many(paths):
    """ZXing for Java's text for each path, from one run of its command-line
    reader, which writes what it read to a UTF-8 file beside each image."""
    folder = tempfile.mkdtemp(prefix="tessel-readers-")
    try:
        copies = []
        for i, path in enumerate(paths):
            copies.append(os.path.join(folder, "%d.png" % i))
            shutil.copyfile(path, copies[-1])
        proc = subprocess.run(["java", "-cp", JAVA_CLASSPATH, "com.google.zxing.client.j2se.CommandLineRunner",
                               "--dump_results", *copies], capture_output=True, timeout=120)
        if b"Exception" in proc.stderr:
            raise RuntimeError(proc.stderr.decode("utf-8", errors="replace"))
        texts = []
        for copy in copies:
            try:
                with open(copy[:-4] + ".txt", "rb") as f:
                    # One line per result, each ended by a newline.
                    texts.append(f.read()[:-1].decode("utf-8"))
            except FileNotFoundError:
                texts.append(None)
        return texts
    finally:
        shutil.rmtree(folder, ignore_errors=True)


def decode_all(paths):
    """{reader name: [text of each path]} for the three readers."""
    return {
        "zbar": [decode_zbar(p) for p in paths],
        "zxing_cpp": [decode_zxing_cpp(p) for p in paths],
        "zxing_java": decode_zxing_java_many(paths),
    }
