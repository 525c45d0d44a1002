"""Payloads built from named fields (-p), checked byte for byte through -t txt
against the published test vectors of each standard."""

import os
import sys

from harness import TesselCase, main, read_bytes, read_png
from readers import READERS, decode_all

# (kind, fields as (name, value) in the order given, the exact bytes to encode).
# Values are text, written here as Python str and passed in UTF-8.
VECTORS = [
    # VeriFactu: AEAT's own example (an '&' in numserie), two production and
    # test addresses, and an encoding-only case (an invalid NIF is refused, so
    # that one is a row of the refusals instead).
    ("verifactu", [("nif", "89890001K"), ("numserie", "12345678&G33"), ("fecha", "01-01-2024"),
                   ("importe", "241.4"), ("entorno", "pruebas")],
     b"https://prewww2.aeat.es/wlpl/TIKE-CONT/ValidarQR?nif=89890001K&numserie=12345678%26G33"
     b"&fecha=01-01-2024&importe=241.4"),
    ("verifactu", [("nif", "A86018322"), ("numserie", "FACT001"), ("fecha", "01-10-2025"),
                   ("importe", "100.23")],
     b"https://www2.agenciatributaria.gob.es/wlpl/TIKE-CONT/ValidarQR?nif=A86018322&numserie=FACT001"
     b"&fecha=01-10-2025&importe=100.23"),
    ("verifactu", [("nif", "A86018322"), ("numserie", "FACT003"), ("fecha", "01-10-2025"),
                   ("importe", "100.23"), ("sistema", "noverifactu"), ("entorno", "pruebas")],
     b"https://prewww2.aeat.es/wlpl/TIKE-CONT/ValidarQRNoVerifactu?nif=A86018322&numserie=FACT003"
     b"&fecha=01-10-2025&importe=100.23"),
    # TicketBAI: the identifier's '+' is encoded before cr is taken.
    ("ticketbai", [("id", "TBAI-00000006Y-251019-btFpwP8dcLGAF-237"), ("s", "T"), ("nf", "27174"),
                   ("i", "4.70"), ("provincia", "bizkaia")],
     b"https://batuz.eus/QRTBAI/?id=TBAI-00000006Y-251019-btFpwP8dcLGAF-237&s=T&nf=27174&i=4.70&cr=007"),
    ("ticketbai", [("id", "TBAI-S7836107H-020222-f5Rn+qgOvh9Kr-238"), ("s", "TEST"), ("nf", "001"),
                   ("i", "1089.00"), ("provincia", "bizkaia")],
     b"https://batuz.eus/QRTBAI/?id=TBAI-S7836107H-020222-f5Rn%2BqgOvh9Kr-238&s=TEST&nf=001"
     b"&i=1089.00&cr=174"),
    ("ticketbai", [("id", "TBAI-S7836107H-020222-f5Rn+qgOvh9Kr-238"), ("nf", "001"),
                   ("i", "1089.00"), ("provincia", "bizkaia")],
     b"https://batuz.eus/QRTBAI/?id=TBAI-S7836107H-020222-f5Rn%2BqgOvh9Kr-238&nf=001&i=1089.00&cr=133"),
    ("ticketbai", [("id", "TBAI-00000006Y-251019-btFpwP8dcLGAF-237"), ("s", "T"), ("nf", "27174"),
                   ("i", "4.70"), ("provincia", "araba")],
     b"https://ticketbai.araba.eus/tbai/qrtbai/?id=TBAI-00000006Y-251019-btFpwP8dcLGAF-237&s=T"
     b"&nf=27174&i=4.70&cr=094"),
    ("ticketbai", [("id", "TBAI-00000006Y-251019-btFpwP8dcLGAF-237"), ("s", "T"), ("nf", "27174"),
                   ("i", "4.70"), ("provincia", "gipuzkoa")],
     b"https://tbai.egoitza.gipuzkoa.eus/qr/?id=TBAI-00000006Y-251019-btFpwP8dcLGAF-237&s=T"
     b"&nf=27174&i=4.70&cr=010"),
    # EPC, Swiss QR-bill, vCard, Wi-Fi: rows follow.
]


def data_token(fields):
    """One command-line token holding the fields: LF and the characters the
    tokenizer or the escapes would read are written as escapes."""
    text = "\n".join("%s=%s" % field for field in fields)
    for raw, escaped in (("\\", "\\\\"), ("\n", "\\n"), ('"', '\\"'), ("'", "\\'"), (" ", "\\s")):
        text = text.replace(raw, escaped)
    return text


class Vectors(TesselCase):
    def test_each_vector_comes_out_byte_for_byte(self):
        for kind, fields, expected in VECTORS:
            with self.subTest(kind=kind, fields=fields):
                run = self.run_tessel("-p", kind, "-t", "txt", "-o", "out.txt", data_token(fields))
                self.assertEqual(run.status, 0, run.log)
                self.assertEqual(read_bytes(run.path("out.txt")), expected)
                os.remove(run.path("out.txt"))

    def test_some_vectors_decode_with_three_readers(self):
        rows = [VECTORS[0], VECTORS[4]]
        for i, (kind, fields, _) in enumerate(rows):
            run = self.run_tessel("-p", kind, "-o", "%d.png" % i, data_token(fields))
            self.assertEqual(run.status, 0, run.log)
        texts = decode_all([os.path.join(self.folder, "%d.png" % i) for i in range(len(rows))])
        for reader in READERS:
            self.assertEqual(texts[reader], [row[2].decode() for row in rows], reader)


class Settings(TesselCase):
    V1 = data_token(VECTORS[0][1])  # 117 bytes: version 7 (45 modules) at level M

    def test_the_standard_level_and_printed_size_apply_unless_given(self):
        # 35 mm at 300 dpi: 9 pixels a module; the quiet zone of 4 modules beside.
        for args, side in [((), 53 * 3), (("-l", "m"), 53 * 3), (("-d", "300"), 53 * 9),
                           (("-d", "300", "-w", "30"), 53 * 7), (("-w", "40", "-d", "300"), 53 * 10)]:
            with self.subTest(args=args):
                run = self.run_tessel("-p", "verifactu", *args, "-o", "a.png", self.V1)
                self.assertEqual((run.status, read_png(run.path("a.png"))[0]), (0, side), run.log)
        run = self.run_tessel("-p", "verifactu", "-t", "svg", "-o", "a.svg", self.V1)
        self.assertIn(b'width="41.222mm"', read_bytes(run.path("a.svg")))

    def test_the_last_days_and_the_largest_totals_are_accepted(self):
        for fecha, importe in [("29-02-2024", "-121.00"), ("31-07-2000", "123456789012.34"),
                               ("31-12-0001", "-0"), ("29-02-2000", "1.")]:
            fields = data_token([("nif", "89890001K"), ("numserie", "A"), ("fecha", fecha), ("importe", importe)])
            run = self.run_tessel("-p", "verifactu", "-t", "txt", "-o", "a.txt", fields)
            self.assertTrue(read_bytes(run.path("a.txt")).endswith(b"&fecha=%s&importe=%s" % (fecha.encode(), importe.encode())))

    def test_text_output_is_the_data_for_any_data(self):
        for args, expected in [(("-t", "TXT", "A\\n\\xFF\\x01"), b"A\n\xff\x01"),
                               (("-t", "txt", "-s", "-v", "1", "x" * 40), b"x" * 40)]:
            run = self.run_tessel("-o", "a.txt", *args)
            self.assertEqual((run.status, sorted(os.listdir(self.folder))), (0, ["Tessel.log", "a.txt"]))
            self.assertEqual(read_bytes(run.path("a.txt")), expected)
            os.remove(run.path("a.txt"))
        # Text that no symbol holds is refused as the image would be.
        run = self.run_tessel("-t", "txt", "-o", "a.txt", "x" * 8000)
        self.assertFailure(run, 1104, b"Error al codificar dato de entrada")


if __name__ == "__main__":
    main(sys.argv)
