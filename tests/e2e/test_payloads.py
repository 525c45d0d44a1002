"""Payloads built from named fields (-p), checked byte for byte through -t txt
against the published test vectors of each standard."""

import os
import sys

from harness import TesselCase, main, read_bytes

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


if __name__ == "__main__":
    main(sys.argv)
