"""libtessel.so through ctypes against tessel processes, bytes no command line carries, threads,
directories, a renamed log, reloads, images and modules in memory.
Usage: test_library.py TESSEL LIBTESSEL [unittest arguments]"""

import _ctypes
import ctypes
import os
import re
import sys
import threading

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e"))
import png  # noqa: E402  (Debian's python3-png)
from harness import STAMP, TesselCase, main, read_bytes, zbar, zbar_series  # noqa: E402
from test_payloads import VECTORS  # noqa: E402

LIBRARY = sys.argv.pop(2)
SERIES = b"0123456789" * 12


def load():
    lib = ctypes.CDLL(LIBRARY)
    lib.tessel_run.argtypes = [ctypes.c_char_p]
    lib.tessel_encode.argtypes = [ctypes.c_char_p, ctypes.c_char_p, ctypes.c_void_p, ctypes.c_size_t]
    lib.tessel_version.restype = ctypes.c_char_p
    for name, size in (("tessel_image", ctypes.c_size_t), ("tessel_modules", ctypes.c_int)):
        getattr(lib, name).argtypes = [ctypes.c_char_p, ctypes.c_void_p, ctypes.c_size_t, ctypes.c_void_p,
                                       ctypes.c_size_t, ctypes.POINTER(size)]
    return lib


def encode(lib, switches, name, data):
    return lib.tessel_encode(switches, name, data, 1 if data is None else len(data))


def in_memory(test, call, switches, data, size=None, capacity=0):
    """(code, bytes, size) of tessel_image or tessel_modules ("image" or "modules"), asked for
    the size first, then given one byte too few, then a buffer of the size: each call must
    keep to its buffer's capacity and leave a short one untouched."""
    fn, out = (test.lib.tessel_image, ctypes.c_size_t(7)) if call == "image" else \
        (test.lib.tessel_modules, ctypes.c_int(7))
    size = len(data or b"") if size is None else size
    code = fn(switches, data, size, None, capacity, ctypes.byref(out))
    if code != 1107:
        return code, None, out.value
    needed = out.value if call == "image" else out.value ** 2
    buffer = ctypes.create_string_buffer(b"\xa5" * (needed + 1), needed + 1)
    test.assertEqual((fn(switches, data, size, buffer, needed - 1, ctypes.byref(out)), buffer.raw),
                     (1107, b"\xa5" * (needed + 1)))
    code = fn(switches, data, size, buffer, needed, ctypes.byref(out))
    test.assertEqual(buffer.raw[needed:], b"\xa5")
    return code, buffer.raw[:needed], out.value


# Switches and data for images in memory, each the file that tessel_encode writes.
VERIFACTU = b"https://www2.agenciatributaria.gob.es/wlpl/TIKE-CONT/ValidarQR?nif=89890001K&numserie=12345678&fecha=01-01-2024&importe=241.4"
IMAGES = [(b"-l M", b"https://example.com/item/1"), (b"-t bmp -z 5 -m 1", b"BMP!"),
          (b"-8 -v 40 -l L -z 1 -m 0", bytes(range(256)) * 8), (b"-t Bmp -v 40 -z 2", b"x"),
          (b"-l M -d 300 -w 35", VERIFACTU), (b"-t bmp -l M -d 203 -w 35,5", VERIFACTU),
          (b"-t svg -z 4", b"SVG"), (b"-t SVG -l M -w 46", VERIFACTU), (b"-t svg -v 40 -d 600", b"x"),
          (b"-t emf -m 2", b"EMF"), (b"-t Emf -l M -d 300 -w 35", VERIFACTU), (b"-t emf -v 40 -w 1.5in", b"x"),
          (b"-f 003366 -b FFFFFF00", b"PNG"), (b"-t bmp -f 7A0000 -b FFF5CC", b"BMP"),
          (b"-t txt -8", b"any\0bytes\n"), (b"-p verifactu -t txt", b"nif=89890001K\nnumserie=A B\nfecha=01-01-2024\nimporte=1"),
          (b"-p ticketbai -d 300", b"id=TBAI-00000006Y-251019-btFpwP8dcLGAF-237\nnf=1\ni=4.70\nprovincia=araba")]
# Refused by both calls with this code and log line, and *size set to 0 (a sixth value: the null
# buffer's capacity).
REFUSALS = [
    (b"-l M", b"HELLO", None, 1105, b"B\xfafer nulo con capacidad distinta de cero", 10),
    (b"-z 0", b"X", None, 1105, b"Tama\xf1o inv\xe1lido: 0"),
    (b"-t emf -d 0", b"X", None, 1105,
     b"Resoluci\xf3n Inv\xe1lida: 0. Valores posibles: puntos por pulgada, de 1 a 100000"),
    (b"-v 41", b"X", None, 1104, b"Error al codificar dato de entrada"),
    (b"-p wifi", b"a=1\n" * 29381, None, 1104, b"Error al codificar dato de entrada"),
    (b"-p wifi", b"a=1\n" * 29380, None, 1105, b"Campo desconocido para -p wifi: a"),  # the longest fields read
    (b"-S -v 1", SERIES, None, 1105, b"Serie de s\xedmbolos no admitida: la llamada devuelve un solo s\xedmbolo"),
    (b"-l M x", b"a", None, 1105, b"Dato no admitido entre los modificadores: x"),
    (b"-o y.png", b"a", None, 1105, b"Archivo de salida no admitido entre los modificadores"),
    (None, b"a\0b", None, 1105, b"Dato con un car\xe1cter nulo: se necesita -8 para codificarlo"),
    (None, None, 3, 1105, b"Dato a codificar no ha sido especificado"),
    (b"-8", b"x", 16 * 7089 + 1, 1104, b"Error al codificar dato de entrada"),  # read before any copy
    (b"-u", b"\xff" * (16 * 7089), None, 1105, b"Dato no es texto UTF-8 v\xe1lido: byte 1"),  # the longest checked
]


# A command line of space-free tokens, and the same run as tessel_encode arguments.
CASES = [
    (b"-z 4 -l H -o a.png Hello", (b"-z 4 -l H", b"a.png", b"Hello")),
    (b"-t bmp -o b.bmp BMP\\x21", (b"-t bmp", b"b.bmp", b"BMP!")),
    (b"-s -v 1 -l M -o s.png " + SERIES, (b"-s -v 1 -l M", b"s.png", SERIES)),
    (b"-s -v 1 -t bmp -o s.bmp " + SERIES, (b"-s -v 1 -t bmp", b"s.bmp", SERIES)),
    (b"-h", (b"-h", b"h.png", b"X")),
    (b"-z 0 -o f.png X", (b"-z 0", b"f.png", b"X")),
    (b"-o f.png", (None, b"f.png", None)),
    (b"-l M X", (b"-l M", None, b"X")),
    (b"-o no/f.png X", (b"", b"no/f.png", b"X")),
    (b"-o " + b"n" * 260 + b" X", (None, b"n" * 260, b"X")),
    (b"-v 41 -o f.png X", (b"-v 41", b"f.png", b"X")),
    (b"-t bmp -o no/f.bmp X", (b"-t bmp", b"no/f.bmp", b"X")),
    (b"-s -o f.png X", (b"-s", b"f.png", b"X")),
]
# Data no command line carries as it is.
PAYLOADS = [b"-----BEGIN CERTIFICATE-----\nMIIB", b"say \"hi\", it's \\\"ok\\\"",
            b"C:\\dir\\x41\\s", b"one\r\ntwo\r\n", "Zürich 1€ ½".encode(), b"\0a\0b\0"]


class Library(TesselCase):
    lib = load()

    def in_folder(self, name, call):
        folder = os.path.join(self.root, name)
        os.makedirs(folder, exist_ok=True)
        os.chdir(folder)
        os.environ["TMPDIR"] = self.tmpdir
        code = call()
        self.assertEqual(os.listdir(self.tmpdir), [], "a temporary file was left behind")
        log = read_bytes(os.path.join(folder, "Tessel.log"))
        files = {n: read_bytes(os.path.join(folder, n)) for n in os.listdir(folder) if n != "Tessel.log"}
        return code, [re.sub(STAMP, b"", line) for line in log.split(b"\n")], files

    def test_run_and_encode_match_the_program(self):
        for i, (line, args) in enumerate(CASES):
            with self.subTest(line=line[:40]):
                proc = self.in_folder(f"p{i}", lambda: self.run_tessel(*line.decode().split(" "),
                                                                       folder=os.getcwd()).status)
                run = self.in_folder(f"r{i}", lambda: self.lib.tessel_run(line))
                self.assertEqual((run[0] % 256,) + run[1:], proc)
                self.assertTrue(run[0] == 0 or 1101 <= run[0] <= 1106)
                self.assertEqual(self.in_folder(f"e{i}", lambda: encode(self.lib, *args)), run)

    def test_bytes_the_command_line_cannot_carry(self):
        for i, data in enumerate(PAYLOADS):
            with self.subTest(data=data):
                nul = b"\0" in data
                code, log, files = self.in_folder("b", lambda: encode(self.lib, b"-8" if nul else None,
                                                                      b"p%d.png" % i, data))
                self.assertEqual((code, zbar(f"p{i}.png")), (0, data))
                if not nul:  # the same symbol as the data written as \xHH escapes
                    escaped = b"".join(b"\\x%02x" % c for c in data)
                    self.lib.tessel_run(b"-o q%d.png " % i + escaped)
                    self.assertEqual(read_bytes(f"q{i}.png"), files[f"p{i}.png"])
        for i, (switches, data, message) in enumerate((
                (b"-l M", b"a\0b", b"Dato con un car\xe1cter nulo: se necesita -8 para codificarlo"),
                (b"-l M x", b"a", b"Dato no admitido entre los modificadores: x"),
                (b"-z 2 -o y.png", b"a", b"Archivo de salida no admitido entre los modificadores"),
                (b"-O y.png", b"a", b"Archivo de salida no admitido entre los modificadores"),
                (b"-u", b"Pe\xf1a", b"Dato no es texto UTF-8 v\xe1lido: byte 3"),
                (b"-f CCCCCC", b"a", b"Contraste insuficiente entre -f CCCCCC y -b FFFFFF: 39 %. Se necesita un 40 % "
                                     b"o m\xe1s, con -f m\xe1s oscuro que -b"))):
            result = self.in_folder(f"n{i}", lambda: encode(self.lib, switches, b"n.png", data))
            self.assertEqual(result, (1105, [message, b""], {}))
        # More than any series holds is refused as the encoder refuses it.
        result = self.in_folder("big", lambda: encode(self.lib, b"-8", b"n.png", b"x" * (16 * 7089 + 1)))
        self.assertEqual(result[:1] + result[2:], (1104, {}))
        self.assertEqual(result[1][0], b"Error al codificar dato de entrada")
        # The size bytes and no more; null data of size 0 is empty data; sizes no int holds.
        self.assertEqual(self.in_folder("size", lambda: self.lib.tessel_encode(None, b"s.png", b"abcdef", 1))[0], 0)
        self.assertEqual(zbar("s.png"), b"a")
        for size, data in ((0, None), (2**31, b"x"), (2**32 + 1, b"x")):
            result = self.in_folder(f"z{size}", lambda: self.lib.tessel_encode(b"-8", b"n.png", data, size))
            self.assertEqual(result, (1104, [b"Error al codificar dato de entrada", b""], {}), size)
        self.assertEqual(self.in_folder("null", lambda: self.lib.tessel_run(None))[:2],
                         (1105, [b"Archivo de salida no ha sido especificado", b""]))
        os.makedirs(os.path.join(self.root, "nolog", "Tessel.log"))  # a log that cannot be opened
        os.chdir(os.path.join(self.root, "nolog"))
        self.assertEqual((encode(self.lib, None, b"a.png", b"x"), self.lib.tessel_run(b"-o a.png")), (0, 1105))

    def test_threads_share_the_library(self):
        def call(t, i):  # PNG, BMP (converter state) and failing calls mixed
            switches = b"-z 0" if i % 10 == 0 else b"-t bmp" if i % 7 == 0 else b""
            return encode(self.lib, switches, b"t%d-%d" % (t, i), b"%d/%d" % (t, i))
        results = {}
        threads = [threading.Thread(target=lambda t=t: results.update({(t, i): call(t, i) for i in range(200)}))
                   for t in range(8)]
        os.chdir(self.folder)
        for thread in threads:
            thread.start()
        for thread in threads:
            thread.join()
        os.mkdir("one")
        os.chdir("one")  # the same calls one after another, for comparison
        for (t, i), code in sorted(results.items()):
            self.assertEqual(code, call(t, i))
            self.assertEqual(read_bytes(f"t{t}-{i}"), read_bytes(os.path.join(self.folder, f"t{t}-{i}")))
        lines = read_bytes(os.path.join(self.folder, "Tessel.log")).split(b"\n")
        self.assertEqual(len(lines), len(read_bytes("Tessel.log").split(b"\n")))
        for line in lines[:-1]:  # each line whole, none broken into by another
            self.assertRegex(line, b"^" + STAMP + b"Tama\xf1o inv\xe1lido: 0$")

    def test_the_log_follows_the_directory_and_may_be_renamed(self):
        for name in ("a", "b", "a"):
            self.in_folder(name, lambda: self.lib.tessel_run(b"-o x.png"))
        fds = os.listdir("/proc/self/fd")  # none is the log: it is closed between calls
        self.assertNotIn("Tessel.log", [os.path.basename(os.path.realpath(f"/proc/self/fd/{fd}")) for fd in fds])
        os.rename("Tessel.log", "old.log")
        self.lib.tessel_run(b"-o x.png")
        self.assertEqual([len(read_bytes(n).splitlines()) for n in ("old.log", "Tessel.log", "../b/Tessel.log")],
                         [2, 1, 1])

    def test_images_in_memory_are_the_files(self):
        for i, (switches, data) in enumerate(IMAGES):
            with self.subTest(switches=switches):
                code, log, files = self.in_folder(f"m{i}", lambda: encode(self.lib, switches, b"f", data))
                memory = self.in_folder(f"m{i}", lambda: in_memory(self, "image", switches, data))
                self.assertEqual((code, memory), (0, ((0, files["f"], len(files["f"])), log, {"f": files["f"]})))
        for i, (switches, data, size, code, line, *capacity) in enumerate(REFUSALS):
            for call in ("image", "modules"):
                with self.subTest(switches=switches, call=call):
                    result = self.in_folder(f"n{i}{call}", lambda: in_memory(self, call, switches, data, size,
                                                                            *capacity))
                    self.assertEqual(result, ((code, None, 0), [line, b""], {}))
        # A payload's modules are those of its text at the standard's level.
        fields = b"nif=89890001K\nnumserie=12345678&G33\nfecha=01-01-2024\nimporte=241.4\nentorno=pruebas"
        self.assertEqual(in_memory(self, "modules", b"-p verifactu", fields),
                         in_memory(self, "modules", b"-l M", VECTORS[0][2]))
        # Sizes and colours only images need.
        for switches in (b"-w 35", b"-t bmp -d 100 -w 5", b"-f CCCCCC", b"-t emf -b FFFFFF80"):
            self.assertEqual([in_memory(self, call, switches, b"X")[0] for call in ("image", "modules")], [1105, 0])
        size, side = ctypes.c_size_t(), ctypes.c_int()
        self.assertEqual([self.lib.tessel_image(None, b"X", 1, None, 5, ctypes.byref(size)),
                          self.lib.tessel_modules(None, b"X", 1, ctypes.c_char_p(b"X"), 1, None)], [1105, 1105])

    def test_modules_are_the_image_pixels_and_decode(self):
        os.chdir(self.folder)
        for switches, margin, data in ((b"-z 4 -m 2 -t bmp -v 3", 2, b"Zurich 46 mm"), (b"-l H -z 1 -m 0", 0, b"4" * 1000)):
            with self.subTest(switches=switches):
                code, modules, side = in_memory(self, "modules", switches, data)
                image = in_memory(self, "image", switches.replace(b"-t bmp", b""), data)[1]  # its PNG
                width, _, rows, _ = png.Reader(bytes=image).read()
                rows, dot = [list(r) for r in rows], width // (side + 2 * margin)
                symbol = slice(margin * dot, (margin + side) * dot, dot)
                light = [[1 - m for m in modules[j * side:(j + 1) * side]] for j in range(side)]
                self.assertEqual((code, (side - 17) % 4, [r[symbol] for r in rows[symbol]]), (0, 0, light))
                # Drawn as a caller would: 3 pixels a module, a quiet zone of 4.
                white = [[1] * (side + 8)] * 4
                drawn = white + [[1] * 4 + row + [1] * 4 for row in light] + white
                with open("drawn.png", "wb") as f:
                    png.Writer(3 * (side + 8), 3 * (side + 8), greyscale=True, bitdepth=1).write(
                        f, [[p for p in row for _ in "abc"] for row in drawn for _ in "abc"])
                self.assertEqual(zbar("drawn.png"), data)

    def test_unload_and_load_again(self):
        os.chdir(self.folder)
        _ctypes.dlclose(Library.lib._handle)  # the shared handle too, so it really goes
        for _ in range(20):
            lib = load()
            self.assertEqual(encode(lib, b"-8 -s -v 1", b"r.png", b"\0reload" * 5), 0)  # 4 symbols
            _ctypes.dlclose(lib._handle)
            self.assertNotIn(b"libtessel", read_bytes("/proc/self/maps"))
        self.assertEqual(zbar_series([f"r-0{n}.png" for n in range(1, 5)], "."), b"\0reload" * 5)
        Library.lib = load()


if __name__ == "__main__":
    main(sys.argv)
