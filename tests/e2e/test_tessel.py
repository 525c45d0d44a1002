"""End-to-end behaviour of tessel: switches, messages, exit codes, files."""

import os
import re
import struct
import subprocess
import sys
import zlib

from harness import TesselCase, main, read_bytes, read_png, zbar, zbar_series
from test_payloads import REFUSALS, data_token

NO_OUTPUT = b"Archivo de salida no ha sido especificado"
NO_DATA = b"Dato a codificar no ha sido especificado"
SYNTAX = b"Error de sintaxis. Use -h para mostrar ayuda"
ENCODE = b"Error al codificar dato de entrada"
PNG_FAILED = b"Error al escribir imagen PNG."
NO_VERSION = b"La versi\xf3n debe ser especificada para codificar simbolos estructurados."
NO_DPI = b"Resoluci\xf3n no ha sido especificada"
NO_SIZE = b"Tama\xf1o de impresi\xf3n no ha sido especificado"
NEEDS_DPI = b"-w necesita -d para PNG y BMP: indique con -d la resoluci\xf3n de la impresora"
VERIFACTU = ("https://www2.agenciatributaria.gob.es/wlpl/TIKE-CONT/ValidarQR?nif=89890001K"
             "&numserie=12345678-G33&fecha=01-09-2024&importe=241.4")


NO_ECI = b"Designador ECI no ha sido especificado"
SERIES_ECI = b"Designador ECI no admitido en s\xedmbolos estructurados: use -e none"


def bad_eci(value):
    return b"Designador ECI inv\xe1lido: %s. Valores posibles: 0 a 999999, o none" % value


def not_utf8(position):
    return b"Dato no es texto UTF-8 v\xe1lido: byte %d" % position


# Valid fields of -p verifactu and -p ticketbai, as command-line tokens.
VF = "nif=89890001K\\nnumserie=A-1\\nfecha=01-01-2024\\nimporte=1"
TB = "id=TBAI-00000006Y-251019-btFpwP8dcLGAF-237\\nnf=1\\ni=4.70\\nprovincia=araba"


def payload_refusals():
    """-p rows: the switch, the fields, each rule of the Spanish kinds."""
    def field(name, rule):
        return b"Campo %s inv\xe1lido: %s" % (name, rule)

    def vf(old, new):
        return ["-p", "verifactu", "-o", "a.png", VF.replace(old, new)]

    def tb(old, new):
        return ["-p", "ticketbai", "-o", "a.png", TB.replace(old, new)]
    tb_id, amount = field(b"id", b"TBAI-NIF-DDMMAA-firma-CRC, 39 caracteres"), b"hasta 12 d\xedgitos enteros y 2 decimales con punto"
    nif, text20 = field(b"nif", b"9 caracteres, d\xedgitos o letras may\xfasculas"), b"hasta 20 caracteres, sin caracteres de control"
    numserie = field(b"numserie", b"hasta 60 caracteres ASCII imprimibles (32 a 126)")
    level, width = b"Nivel no admitido con -p %s: el est\xe1ndar fija el nivel M", b"Tama\xf1o de impresi\xf3n no admitido con -p %s: "
    return [
        (["-p"], b"Tipo de contenido no ha sido especificado"),
        (["-p", "qr", "-o", "a.png", "X"], b"Tipo de contenido Inv\xe1lido: qr. Valores posibles: verifactu, ticketbai, epc, swiss, vcard, wifi"),
        (["-p", "wifi", "-S", "-v", "2", "-o", "a.png", "X"], b"-p wifi no admite una serie de s\xedmbolos (-s): el est\xe1ndar es un solo s\xedmbolo"),
        (["-L", "Q", "-p", "epc", "-o", "a.png", "X"], level % b"epc"), (["-p", "ticketbai", "-l", "h", "-o", "a.png", "X"], level % b"ticketbai"),
        (["-p", "VeriFactu", "-w", "40.001", "-t", "svg", "-o", "a.svg", "X"], width % b"verifactu" + b"de 30 a 40 mm"),
        (["-p", "ticketbai", "-w", "29.999", "-d", "300", "-o", "a.png", "X"], width % b"ticketbai" + b"de 30 a 40 mm"),
        (["-p", "swiss", "-w", "45", "-t", "emf", "-o", "a.emf", "X"], width % b"swiss" + b"el est\xe1ndar fija 46 mm"),
        (["-p", "swiss", "-b", "FFFFFF00", "-o", "a.png", "X"], b"-p swiss no admite -f ni -b: el est\xe1ndar fija negro sobre blanco"),
        (vf(VF, "nif=1\\n\\nnif"), b"L\xednea sin '=' en los campos: nif"), (vf("nif=", "NIF="), b"Campo desconocido para -p verifactu: NIF"),
        (vf("fecha=", "nif=2\\nfecha="), b"Campo repetido: nif"), (vf("numserie=A-1", "numserie="), b"Falta el campo obligatorio: numserie"),
        (vf("A-1", "\\xC3"), b"Campo numserie: texto UTF-8 mal formado"),
        (vf("89890001K", "A12\\s345&67"), nif), (vf("89890001K", "8989001K"), nif), (vf("89890001K", "89890001k"), nif),
        (vf("A-1", "A" * 61), numserie), (vf("A-1", "A\xC3\xA9"), numserie), (vf("A-1", "A\\x7F"), numserie),
        (vf("importe=1", "sistema=VeriFactu\\nimporte=1"), field(b"sistema", b"valores posibles: verifactu, noverifactu")),
        (vf("importe=1", "entorno=test\\nimporte=1"), field(b"entorno", b"valores posibles: produccion, pruebas")),
        (tb("-237", "-23"), tb_id), (tb("TBAI", "TBAJ"), tb_id), (tb("Y-2", "Y_2"), tb_id), (tb("9-b", "9_b"), tb_id), (tb("F-2", "F_2"), tb_id),
        (tb("-237", "-238"), field(b"id", b"el CRC no corresponde")),
        (tb("6Y", "6y"), field(b"id", b"el NIF son 9 d\xedgitos o letras may\xfasculas")),
        (tb("251019", "310219"), field(b"id", b"la fecha DDMMAA no existe")),
        (tb("251019-btFpwP8dcLGAF-237", "25101X-btFpwP8dcLGAF-047"), field(b"id", b"la fecha DDMMAA no existe")),  # its CRC right
        (tb("251019", "290220"), field(b"id", b"el CRC no corresponde")),  # a date that exists in 2020 only
        (tb("nf=1", "nf=\x1f1"), field(b"nf", b"hasta 20 caracteres, sin caracteres de control")),
        (tb("nf=1", "nf=" + "1" * 21), field(b"nf", b"hasta 20 caracteres, sin caracteres de control")),
        (tb("btF", "b.F"), field(b"id", b"la firma son 13 caracteres de Base64")),
        (tb("nf=1", "s=" + "\xC3\xA9" * 21 + "\\nnf=1"), field(b"s", text20)),
        (tb("nf=1", "nf=1\\t"), field(b"nf", text20)), (tb("nf=1", "nf=1\\x7F"), field(b"nf", text20)),
        (tb("4.70", "4.700"), field(b"i", amount)),
        (tb("araba", "alava"), field(b"provincia", b"valores posibles: araba, bizkaia, gipuzkoa")),
        (tb("nf=1", "entorno=prueba\\nnf=1"), field(b"entorno", b"valores posibles: produccion, pruebas")),
        (tb("nf=1", "espacio=%2B\\nnf=1"), field(b"espacio", b"valores posibles: %20, +")),
    ] + [(vf("01-01-2024", date), field(b"fecha", b"una fecha que exista, DD-MM-AAAA"))
         for date in ("29-02-2023", "29-02-1900", "31-06-2024", "31-04-2024", "01-13-2024", "00-01-2024", "01/01/2024", "1-01-2024", "01-01-0000")
         ] + [(vf("importe=1", "importe=" + total), field(b"importe", amount)) for total in ("1.234", "1" * 13, "-.5", "1,5")
              ] + [(["-p", kind, "-o", "a.png", data_token(fields)], message) for kind, fields, message in REFUSALS]


def bad_dpi(value):
    return b"Resoluci\xf3n Inv\xe1lida: %s. Valores posibles: puntos por pulgada, de 1 a 100000" % value


def bad_colour(switch, value):
    name, values = (b"primer plano", b"RRGGBB") if switch == "-f" else (b"fondo", b"RRGGBB o RRGGBBAA")
    return (b"Color de %s Inv\xe1lido: %s. Valores posibles: %s en hexadecimal (003366 o #003366)"
            % (name, value, values))


def low_contrast(dark, light, percent):
    return (b"Contraste insuficiente entre -f %s y -b %s: %d %%. Se necesita un 40 %% o m\xe1s, "
            b"con -f m\xe1s oscuro que -b" % (dark, light, percent))


def bad_size(value):
    return (b"Tama\xf1o de impresi\xf3n Inv\xe1lido: %s. Valores posibles: mil\xedmetros (35 o 35,5) "
            b"o pulgadas (1.4in), hasta 1000 mm" % value)


class Validation(TesselCase):
    def test_each_bad_command_line_logs_one_line_and_ends_with_1105(self):
        cases = [
            ([], NO_OUTPUT),
            (["-o", "out.png"], NO_DATA),
            (["-8", "HELLO", "-o", "out.png"], NO_DATA),
            (["-v", "-1", "-o", "a.png", "X"], b"Versi\xf3n no ha sido especificada"),
            (["-z", "abc", "-o", "a.png", "X"], b"Tama\xf1o inv\xe1lido: 0"),
            (["-z", "-o", "a.png", "X"], b"Tama\xf1o no ha sido especificado"),
            (["-m", "-o", "a.png", "X"], b"Margen no ha sido especificado"),
            (["-m", "-3"], b"Margen no ha sido especificado"),
            (["-m", " -3", "-o", "a.png", "X"], b"Margen Inv\xe1lido: -3"),
            (["-v", " -1", "-o", "a.png", "X"], b"Versi\xf3n inv\xe1lida: -1"),
            (["-l", "x%s", "-o", "a.png", "X"],
             b"Nivel Inv\xe1lido: x%s. Valores posibles: L, M, Q, H"),
            (["-l"], b"Nivel no ha sido especificado"),
            (["-t"], b"Tipo de imagen no ha sido especificado. Valores posibles: BMP, PNG."),
            (["-M", "2", "-o", "a.png", "X"], SYNTAX),
            (["--help"], SYNTAX),
            (["-o"], NO_OUTPUT),
            (["-o", "a.png", "-z", "4", "-z", "0", "-z", "5", "X"], b"Tama\xf1o inv\xe1lido: 0"),
            (["-o", "a.png", "x" * 32768],
             b"Par\xe1metro demasiado largo: m\xe1ximo 32767 caracteres"),
            (["-d", "-5", "-o", "a.png", "X"], NO_DPI),
            (["-o", "a.png", "X", "-d"], NO_DPI),
            (["-d", "0", "-o", "a.png", "X"], bad_dpi(b"0")),
            (["-d", "abc", "-o", "a.png", "X"], bad_dpi(b"abc")),
            (["-d", "300x", "-o", "a.png", "X"], bad_dpi(b"300x")),
            (["-d", "100001", "-o", "a.png", "X"], bad_dpi(b"100001")),
            (["-w", "-3", "-t", "svg", "-o", "a.svg", "X"], NO_SIZE),
            (["-w", "0", "-d", "300", "-o", "a.png", "X"], bad_size(b"0")),
            (["-w", "abc", "-d", "300", "-o", "a.png", "X"], bad_size(b"abc")),
            (["-w", "35mmm", "-d", "300", "-o", "a.png", "X"], bad_size(b"35mmm")),
            (["-w", "1e9", "-t", "svg", "-o", "a.svg", "X"], bad_size(b"1e9")),
            (["-w", "1000.001", "-t", "svg", "-o", "a.svg", "X"], bad_size(b"1000.001")),
            (["-w", "35", "-o", "a.png", "X"], NEEDS_DPI),
            (["-w", "35", "-t", "bmp", "-o", "a.bmp", "X"], NEEDS_DPI),
            (["-t", "bmp", "-o", "a.bmp", "X", "-w", "35"], NEEDS_DPI),
            (["-t", "svg", "-w", "35", "-t", "png", "-o", "a.png", "X"], NEEDS_DPI),
            (["-s", "-v", "40", "-d", "72", "-w", "10", "-t", "bmp", "-o", "a.bmp", "X"],
             b"El s\xedmbolo de 177 m\xf3dulos no cabe en 10 mm a 72 ppp: aumente -w o -d"),
            (["-f", "-o", "a.png", "X"], b"Color de primer plano no ha sido especificado"),
            (["-b", "12345", "-o", "a.png", "X"], bad_colour("-b", b"12345")),
            (["-b", "GGGGGG", "-o", "a.png", "X"], bad_colour("-b", b"GGGGGG")),
            (["-b", "#", "-o", "a.png", "X"], bad_colour("-b", b"#")),
            (["-b", "", "-o", "a.png", "X"], bad_colour("-b", b"")),
            (["-b", "FFFFFFFFF", "-o", "a.png", "X"], bad_colour("-b", b"FFFFFFFFF")),
            (["-f", "0x000000", "-o", "a.png", "X"], bad_colour("-f", b"0x000000")),
            (["-f", "000000FF", "-o", "a.png", "X"], bad_colour("-f", b"000000FF")),
            (["-f", "CCCCCC", "-b", "FFFFFF", "-o", "a.png", "X"], low_contrast(b"CCCCCC", b"FFFFFF", 39)),
            (["-f", "#d9d9d9", "-b", "faFAfa", "-o", "a.png", "X"], low_contrast(b"D9D9D9", b"FAFAFA", 26)),
            (["-f", "#ffffff", "-b", "000000", "-o", "a.png", "X"], low_contrast(b"FFFFFF", b"000000", -100)),
            # A transparent background is judged over white.
            (["-f", "000000", "-b", "00000080", "-o", "a.png", "X"], low_contrast(b"000000", b"00000080", 21)),
            (["-f", "CCCCCC", "-b", "FFFFFF00", "-o", "a.png", "X"], low_contrast(b"CCCCCC", b"FFFFFF00", 39)),
            # 7F at alpha 01 over white comes to 254.498, shown as 254: just short of 40 %.
            (["-f", "00DEFA", "-b", "7F7F7F01", "-o", "a.png", "X"], low_contrast(b"00DEFA", b"7F7F7F01", 39)),
            (["-b", "FFFFFF00", "-t", "bmp", "-o", "a.bmp", "X"],
             b"El formato BMP no admite fondo transparente: -b FFFFFF00"),
            (["-b", "FFFFFFFE", "-t", "emf", "-o", "a.emf", "X"],
             b"El formato EMF solo admite fondo opaco o del todo transparente (alfa FF o 00): -b FFFFFFFE"),
            (["-e", "-o", "a.png", "X"], NO_ECI),
            (["-o", "a.png", "X", "-e", "-1"], NO_ECI),
            (["-e", "1000000", "-o", "a.png", "X"], bad_eci(b"1000000")),
            (["-e", "26x", "-o", "a.png", "X"], bad_eci(b"26x")),
            (["-e", "", "-o", "a.png", "X"], bad_eci(b"")),
            (["-u", "-o", "a.png", b"Pe\xf1a"], not_utf8(3)),
            (["-u", "-e", "none", "-o", "a.png", b"ab\xe2\x82"], not_utf8(3)),
            (["-u", "-o", "a.png", "\u00f1\\xff"], not_utf8(3)),
            (["-e", "26", "-o", "a.png", b"ok\xc0\xaf"], not_utf8(3)),
            (["-o", "a.png", "X", "-k", "-u"], b"-u y -k no se pueden combinar: -u es texto UTF-8 y -k es Shift-JIS"),
            (["-u", "-s", "-v", "2", "-o", "a.png", "Pe\u00f1a"], SERIES_ECI),
            (["-e", "0", "-s", "-v", "2", "-o", "a.png", "X"], SERIES_ECI),
            # A long value's message is cut at the 2048-byte message buffer.
            (["-l", "x" * 3000, "-o", "a.png", "X"], (b"Nivel Inv\xe1lido: " + b"x" * 3000)[:2047]),
        ] + payload_refusals()
        for args, message in cases:
            with self.subTest(args=args):
                run = self.run_tessel(*args)
                self.assertFailure(run, 1105, message)
                self.assertEqual(sorted(os.listdir(self.folder)), ["Tessel.log"])
                os.remove(run.path("Tessel.log"))

    def test_a_series_without_version_is_refused_and_its_temporary_file_deleted(self):
        run = self.run_tessel("-s", "-o", "a.png", "DATA")
        self.assertFailure(run, 1105, NO_VERSION, b"")

    def test_values_beyond_their_use_are_accepted_or_refused_later(self):
        run = self.run_tessel("-v", "abc", "-m", "abc", "-t", "gif", "-l", "quality",
                              "-o", "a.png", "X")
        self.assertEqual(run.status, 0, run.log)
        width, _, _, _ = read_png(run.path("a.png"))
        self.assertEqual(width, 21 * 3, "margin 0, version 1")


class Usage(TesselCase):
    def test_help_writes_the_usage_text_and_ends_with_0(self):
        run = self.run_tessel("-o", "a.png", "-h", "-M", "x", "DATA")
        self.assertEqual(run.status, 0)
        lines = run.log.split(b"\n")
        self.assertEqual(lines[0], b"Tessel v1.0.0.1")
        self.assertEqual(lines[2], b"Usage: qrencode [OPTIONS]... <DataEncode>")
        self.assertEqual(lines[8], b"  -s NUMBER,   specify the size of dot (pixel). (default=3)")
        self.assertEqual(lines[-2], b"  <DataEncode> input data.")
        self.assertEqual(len(lines), 31)
        self.assertEqual(zlib.crc32(run.log), 0x22FEE385, "the text byte for byte")
        self.assertEqual(os.listdir(self.folder), ["Tessel.log"])

    def test_a_failing_switch_before_help_wins(self):
        self.assertFailure(self.run_tessel("-M", "2", "-h"), 1105, SYNTAX)

    def test_help_without_a_run_log_still_ends_with_0(self):
        os.mkdir(os.path.join(self.folder, "Tessel.log"))
        run = self.run_tessel("-h")
        self.assertEqual(run.status, 0)
        run = self.run_tessel("-o", "a.png")
        self.assertEqual(run.status, 1105 % 256, "no log, same exit code")


class SymbolFiles(TesselCase):
    def test_the_default_symbol_is_87_pixels_square_and_decodes(self):
        run = self.run_tessel("-o", "hello.png", "Hello")
        self.assertEqual((run.status, run.log), (0, b""))
        width, height, rows, info = read_png(run.path("hello.png"))
        self.assertEqual((width, height, info["bitdepth"], info["greyscale"]), (87, 87, 1, True))
        self.assertFalse(info.get("interlace"))
        self.assertTrue(all(v == 1 for v in rows[0] + rows[86] + [r[0] for r in rows]))
        self.assertEqual(zbar(run.path("hello.png")), b"Hello")
        chunks = read_bytes(run.path("hello.png"))
        for ancillary in (b"tEXt", b"gAMA", b"pHYs", b"tIME"):
            self.assertNotIn(ancillary, chunks)

    def test_the_same_command_line_gives_the_same_bytes(self):
        self.run_tessel("-z", "5", "-o", "a.png", "same")
        self.run_tessel("-z", "5", "-o", "b.png", "same")
        self.assertEqual(read_bytes(os.path.join(self.folder, "a.png")),
                         read_bytes(os.path.join(self.folder, "b.png")))

    def test_dot_size_margin_and_escapes(self):
        run = self.run_tessel("-z", "1", "-m", "0", "-o", "tight.png", "a\\sb\\x41\\n\\\\")
        self.assertEqual(run.status, 0, run.log)
        width, _, rows, _ = read_png(run.path("tight.png"))
        self.assertEqual(width, 21)
        self.assertEqual(rows[0][:7], [0] * 7, "finder pattern at the very corner")
        run = self.run_tessel("-z", "4", "-m", "2", "-o", "roomy.png", "a\\sb\\x41\\n\\\\")
        self.assertEqual(zbar(run.path("roomy.png")), b"a bA\n\\")

    def test_level_and_mode_switches_decide_the_version(self):
        # Version 1 (87 pixels) holds 41, 34 and 17 digits at L, M and H, 16
        # letters in upper case and 11 bytes (7 at H); past that it is version 2.
        for switches, data, side in [(["-l", "L"], 41, 87), (["-l", "M"], 34, 87),
                                     (["-l", "H"], 18, 99), (["-8", "-l", "H"], 8, 99)]:
            run = self.run_tessel(*switches, "-o", "a.png", "1" * data)
            self.assertEqual(read_png(run.path("a.png"))[0], side, switches)
        for switch, side in [("-i", 87), ("-c", 99)]:
            run = self.run_tessel(switch, "-o", "a.png", "a" * 15)
            self.assertEqual(read_png(run.path("a.png"))[0], side, switch)

    def test_file_names_with_spaces_and_quotes(self):
        run = self.run_tessel("-o", "my file.png", "it's")
        self.assertEqual(run.status, 0, run.log)
        self.assertEqual(zbar(run.path("my file.png")), b"it's")

    def test_an_oversized_image_is_refused_before_anything_is_written(self):
        run = self.run_tessel("-z", "99999999999", "-o", "big.png", "X")
        self.assertFailure(run, 1103,
                           b"Imagen demasiado grande: tama\xf1o 2147483647 y margen 4 exceden "
                           b"el l\xedmite")
        self.assertFalse(os.path.exists(run.path("big.png")))
        # Past libpng's million pixels a side, as with a large -z.
        run = self.run_tessel("-d", "100000", "-w", "1000", "-o", "big.png", "X")
        self.assertFailure(run, 1103, PNG_FAILED, b"")


class PrintSize(TesselCase):
    def test_switch_sets_give_the_side_the_resolution_and_the_stated_size(self):
        # VeriFactu at level M: 49 modules, 57 with the quiet zone.
        # (switches, raster side or None when a raster is refused, pixels per
        # metre or None, SVG width and height)
        cases = [
            (["-d", "300", "-w", "35"], 8 * 57, 11811, b"40.714mm"),
            (["-w", "35", "-d", "203"], 5 * 57, 7992, b"40.714mm"),
            (["-d", "600", "-w", "1.5in"], 18 * 57, 23622, b"44.32mm"),
            (["-w", "35,5", "-t", "svg"], None, None, b"41.296mm"),
            (["-d", "300"], 3 * 57, 11811, b"14.478mm"),
            (["-z", "4", "-m", "2"], 4 * 53, None, b"212"),
        ]
        for switches, side, ppm, stated in cases:
            with self.subTest(switches=switches):
                if side is not None:
                    run = self.run_tessel("-l", "M", *switches, "-o", "a.png", VERIFACTU)
                    width, _, _, info = read_png(run.path("a.png"))
                    self.assertEqual((width, info.get("physical")),
                                     (side, ppm and (ppm, ppm, True)))
                    run = self.run_tessel("-l", "M", *switches, "-t", "bmp", "-o", "a.bmp", VERIFACTU)
                    data = read_bytes(run.path("a.bmp"))
                    self.assertEqual((struct.unpack_from("<ii", data, 18), struct.unpack_from("<ii", data, 38)),
                                     ((side, side), (ppm or 0, ppm or 0)))
                run = self.run_tessel("-l", "M", *switches, "-t", "SVG", "-o", "a.svg", VERIFACTU)
                self.assertEqual(run.status, 0, run.log)
                svg = read_bytes(run.path("a.svg"))
                self.assertEqual(re.search(rb' width="(.*?)" height="(.*?)" viewBox', svg).groups(),
                                 (stated, stated))

    def test_a_pdf_and_an_svg_renderer_place_the_files_at_their_size(self):
        run = self.run_tessel("-l", "M", "-d", "300", "-w", "35", "-o", "a.png", VERIFACTU)
        subprocess.run(["img2pdf", run.path("a.png"), "-o", run.path("a.pdf")], check=True)
        info = subprocess.run(["pdfinfo", run.path("a.pdf")], capture_output=True, check=True)
        # 456 pixels at 300 dpi: 1.52 in, 33.2 mm of modules and quiet zone.
        self.assertIn(b"Page size:       109.44 x 109.44 pts", info.stdout)
        # The SVG drawn at its stated 14.478 mm at 300 dpi is the PNG, pixel
        # for pixel, and decodes.
        self.run_tessel("-l", "M", "-d", "300", "-o", "b.png", VERIFACTU)
        self.run_tessel("-l", "M", "-d", "300", "-t", "svg", "-o", "b.svg", VERIFACTU)
        subprocess.run(["rsvg-convert", "-d", "300", "-p", "300", run.path("b.svg"), "-o",
                        run.path("drawn.png")], check=True)
        _, _, drawn, info = read_png(run.path("drawn.png"))
        planes = info["planes"]
        self.assertEqual([[v // 255 for v in row[::planes]] for row in drawn],
                         read_png(run.path("b.png"))[2])
        self.assertEqual(zbar(run.path("drawn.png")), VERIFACTU.encode())

    def test_a_series_sizes_every_member_alike(self):
        data = "0123456789" * 12
        self.run_tessel("-s", "-v", "1", "-t", "Svg", "-w", "20", "-o", "OUT.SVG", data)
        run = self.run_tessel("-s", "-v", "1", "-d", "300", "-w", "20", "-o", "out.png", data)
        for n in range(1, 7):
            svg = read_bytes(run.path("OUT-%02d.SVG" % n))
            self.assertIn(b'width="27.619mm"', svg)  # 20 mm * 29 / 21
            self.assertEqual(read_png(run.path("out-%02d.png" % n))[0], 11 * 29)


class Failures(TesselCase):
    def test_a_file_in_a_missing_folder_logs_the_system_reason(self):
        run = self.run_tessel("-o", "nowhere/a.png", "X")
        self.assertFailure(run, 1101, b"Error al crear archivo [nowhere/a.png]",
                           b"                No such file or directory")

    def test_a_full_disk_is_a_failure(self):
        if not os.path.exists("/dev/full"):
            self.skipTest("no /dev/full")
        run = self.run_tessel("-o", "/dev/full", "X")
        self.assertFailure(run, 1103, PNG_FAILED, b"")
        run = self.run_tessel("-t", "svg", "-o", "/dev/full", "X")
        self.assertFailure(run, 1103, b"Error al escribir archivo [/dev/full]")
        run = self.run_tessel("-t", "svg", "-o", "nowhere/a.svg", "X")
        self.assertFailure(run, 1101, b"Error al crear archivo [nowhere/a.svg]",
                           b"                No such file or directory")

    def test_data_the_encoder_refuses(self):
        # libqrencode grows a single symbol past the version asked for, so only
        # a version above 40 or a series member that cannot hold its share fails.
        run = self.run_tessel("-v", "1", "-l", "H", "-o", "a.png", "X" * 100)
        self.assertEqual(run.status, 0, run.log)
        run = self.run_tessel("-v", "41", "-o", "b.png", "X")
        self.assertFailure(run, 1104, ENCODE)
        self.assertFalse(os.path.exists(run.path("b.png")))
        run = self.run_tessel("-S", "-v", "41", "-o", "c.png", "X")
        self.assertFailure(run, 1104, ENCODE)
        # A series that would need more than 16 symbols.
        run = self.run_tessel("-S", "-8", "-v", "1", "-l", "H", "-o", "c.png", "a" * 250)
        self.assertFailure(run, 1104, ENCODE)
        # Nothing to encode: an empty token, or data that a \0 ends at once.
        for empty in ("", "\\0abc"):
            self.assertFailure(self.run_tessel("-o", "d.png", empty), 1104, ENCODE)
        self.assertEqual(sorted(os.listdir(self.folder)), ["Tessel.log", "a.png"])

    def test_an_output_name_over_259_characters_is_refused_before_anything_is_made(self):
        # 259 characters in all, no part of the path over 255.
        name = "d" * 100 + "/" + "n" * 154 + ".png"
        os.mkdir(os.path.join(self.folder, "d" * 100))
        run = self.run_tessel("-o", name, "X")
        self.assertEqual((run.status, run.log), (0, b""))
        self.assertEqual(zbar(run.path(name)), b"X")
        longer = "d" * 100 + "/" + "n" * 155 + ".png"
        run = self.run_tessel("-o", longer, "X")
        self.assertFailure(run, 1101, b"Nombre de archivo demasiado largo: " + longer.encode())
        self.assertEqual(os.listdir(run.path("d" * 100)), [os.path.basename(name)])

    def test_the_run_goes_on_without_a_log(self):
        os.mkdir(os.path.join(self.folder, "Tessel.log"))
        run = self.run_tessel("-o", "a.png", "X")
        self.assertEqual(run.status, 0)
        self.assertTrue(os.path.isfile(run.path("a.png")))

    def test_the_log_grows_across_runs(self):
        self.run_tessel("-o", "a.png")
        self.run_tessel()
        log = read_bytes(os.path.join(self.folder, "Tessel.log")).split(b"\n")
        self.assertEqual([l[19:] for l in log], [NO_DATA, NO_OUTPUT, b""])


class Series(TesselCase):
    DATA = "0123456789" * 12

    def test_a_series_is_numbered_and_keeps_the_suffix_case(self):
        # 120 digits at version 1, level Q: six symbols.
        for name, pattern in [("out.png", "out-%02d.png"), ("OUT.PNG", "OUT-%02d.PNG"),
                              ("plain_png", "plain_png-%02d"), (".png", ".png-%02d")]:
            with self.subTest(name=name):
                run = self.run_tessel("-S", "-v", "1", "-o", name, self.DATA)
                self.assertEqual((run.status, run.log), (0, b""))
                for n in range(1, 7):
                    self.assertTrue(os.path.isfile(run.path(pattern % n)), pattern % n)
                self.assertFalse(os.path.exists(run.path(pattern % 7)))
        paths = [os.path.join(self.folder, "out-%02d.png" % n) for n in range(1, 7)]
        self.assertEqual(zbar_series(paths, self.root), self.DATA.encode())

    def test_case_and_kanji_switches_reach_the_series(self):
        kanji = b"\x93\xfa\x96\x7b\x8c\xea\x8a\xbf\x8e\x9a\xe9\x40" * 4
        for switches, data, count in [(["-i"], b"abcdefghij" * 3, 3), ([], b"abcdefghij" * 3, 4),
                                      (["-k"], kanji, 5), (["-8"], b"0123456789" * 3, 4)]:
            run = self.run_tessel(*switches, "-s", "-v", "1", "-o", "s.png", data)
            parts = [n for n in os.listdir(self.folder) if n.startswith("s-")]
            self.assertEqual(len(parts), count, switches)
            for name in parts:
                os.remove(run.path(name))

    def test_an_unwritable_member_fails_the_run_but_not_the_others(self):
        # The PNG series also has a later member on a full disk: the first
        # failure's code stays.
        for kind, code, messages, written in [
                ("png", 1101, [b"Error al crear archivo [out-02.png]", b"                Is a directory",
                               PNG_FAILED, b""], (1, 4, 5, 6)),
                ("bmp", 1106, [b"No se pudo grabar BMP definitivo", b"                Is a directory"],
                 (1, 3, 4, 5, 6))]:
            with self.subTest(kind=kind):
                folder = os.path.join(self.root, kind)
                os.mkdir(folder)
                os.mkdir(os.path.join(folder, "out-02." + kind))
                if kind == "png":
                    os.symlink("/dev/full", os.path.join(folder, "out-03.png"))
                run = self.run_tessel("-s", "-t", kind, "-v", "1", "-o", "out." + kind, self.DATA,
                                      folder=folder)
                self.assertFailure(run, code, *messages)
                for n in written:
                    self.assertTrue(os.path.isfile(run.path("out-%02d.%s" % (n, kind))), n)

    def test_a_series_name_that_does_not_fit_is_refused(self):
        name = "n" * 253 + ".png"  # "n...n-01.png" would be 260 characters
        run = self.run_tessel("-s", "-v", "1", "-o", name, self.DATA)
        self.assertFailure(run, 1101, b"Nombre de archivo demasiado largo: " + name.encode())
        self.assertEqual(os.listdir(self.folder), ["Tessel.log"])


if __name__ == "__main__":
    main(sys.argv)
