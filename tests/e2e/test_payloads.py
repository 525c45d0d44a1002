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
    # EPC: examples 1 to 3 (2 and 3 in ISO 8859-1), trailing empty lines left out.
    ("epc", [("bic", "BHBLDEHHXXX"), ("name", "Franz Musterm\u00e4nn"), ("iban", "DE71110220330123456789"),
             ("amount", "12.3"), ("purpose", "GDDS"), ("reference", "RF18539007547034")],
     "BCD\n002\n1\nSCT\nBHBLDEHHXXX\nFranz Musterm\u00e4nn\nDE71110220330123456789\nEUR12.3\nGDDS\n"
     "RF18539007547034".encode()),
    ("epc", [("version", "001"), ("bic", "bhbldehhxxx"), ("name", "Franz Musterm\u00e4nn"),
             ("iban", "DE71 1102 2033 0123 4567 89"), ("amount", "12.3"), ("purpose", "GDDS"),
             ("reference", "rf18 5390 0754 7034")],
     "BCD\n001\n1\nSCT\nBHBLDEHHXXX\nFranz Musterm\u00e4nn\nDE71110220330123456789\nEUR12.3\nGDDS\n"
     "RF18539007547034".encode()),
    ("epc", [("charset", "2"), ("name", "Fran\u00e7ois D'Alsace S.A."), ("iban", "FR1420041010050500013M02606"),
             ("amount", "12.3"), ("text", "Client:Marie Louise La Lune")],
     b"BCD\n002\n2\nSCT\n\nFran\xe7ois D'Alsace S.A.\nFR1420041010050500013M02606\nEUR12.3\n\n\n"
     b"Client:Marie Louise La Lune"),
    ("epc", [("charset", "2"), ("name", "Wikimedia Foerdergesellschaft"), ("iban", "DE33100205000001194700"),
             ("amount", "20"), ("text", "Spende fuer Wikipedia")],
     b"BCD\n002\n2\nSCT\n\nWikimedia Foerdergesellschaft\nDE33100205000001194700\nEUR20\n\n\nSpende fuer Wikipedia"),
    ("epc", [("name", "\u00e4" * 69 + "a"), ("iban", "DE89370400440532013000"), ("text", "\u00e4" * 75)],
     ("BCD\n002\n1\nSCT\n\n" + "\u00e4" * 69 + "a\nDE89370400440532013000\n\n\n\n" + "\u00e4" * 75).encode()),
    # Swiss QR-bill: annex example 1 (QR-IBAN and QR reference, typed in groups), SCOR, alternative schemes.
    ("swiss", [("iban", "CH64 3196 1000 0044 2155 7"), ("creditor_name", "Max Muster & S\u00f6hne"),
               ("creditor_street", "Musterstrasse"), ("creditor_building", "123"), ("creditor_postcode", "8000"),
               ("creditor_town", "Seldwyla"), ("creditor_country", "CH"), ("amount", "50"), ("currency", "CHF"),
               ("debtor_name", "Simon Muster"), ("debtor_street", "Musterstrasse"), ("debtor_building", "1"),
               ("debtor_postcode", "8000"), ("debtor_town", "Seldwyla"), ("debtor_country", "CH"),
               ("reference", "00 00082 07791 22585 74212 86694"), ("message", "Payment of travel")],
     "SPC\n0200\n1\nCH6431961000004421557\nS\nMax Muster & S\u00f6hne\nMusterstrasse\n123\n8000\nSeldwyla\nCH\n"
     "\n\n\n\n\n\n\n50.00\nCHF\nS\nSimon Muster\nMusterstrasse\n1\n8000\nSeldwyla\nCH\nQRR\n"
     "000008207791225857421286694\nPayment of travel\nEPD".encode()),
    ("swiss", [("iban", "CH9300762011623852957"), ("creditor_name", "Thomas LeClaire"),
               ("creditor_street", "Rue examplaire"), ("creditor_building", "22a"), ("creditor_postcode", "1000"),
               ("creditor_town", "Lausanne"), ("creditor_country", "CH"), ("amount", "25.9"), ("currency", "CHF"),
               ("reference", "RF18539007547034")],
     b"SPC\n0200\n1\nCH9300762011623852957\nS\nThomas LeClaire\nRue examplaire\n22a\n1000\nLausanne\nCH\n"
     b"\n\n\n\n\n\n\n25.90\nCHF\n\n\n\n\n\n\n\nSCOR\nRF18539007547034\n\nEPD"),
    ("swiss", [("iban", "CH4431999123000889012"), ("creditor_name", "Robert Schneider AG"),
               ("creditor_street", "Rue du Lac"), ("creditor_building", "1268"), ("creditor_postcode", "2501"),
               ("creditor_town", "Biel"), ("creditor_country", "CH"), ("amount", "1949.75"), ("currency", "CHF"),
               ("debtor_name", "Pia-Maria Rutschmann-Schnyder"), ("debtor_street", "Grosse Marktgasse"),
               ("debtor_building", "28"), ("debtor_postcode", "9400"), ("debtor_town", "Rorschach"),
               ("debtor_country", "CH"), ("reference", "210000000003139471430009017"),
               ("message", "Order dated 18.06.2020"),
               ("billing", "//S1/01/20170309/11/10201409/20/14000000/22/36958/30/CH106017086/40/1020/41/3010"),
               ("alternative1", "UV;UltraPay005;12345"), ("alternative2", "XY;XYService;54321")],
     b"SPC\n0200\n1\nCH4431999123000889012\nS\nRobert Schneider AG\nRue du Lac\n1268\n2501\nBiel\nCH\n"
     b"\n\n\n\n\n\n\n1949.75\nCHF\nS\nPia-Maria Rutschmann-Schnyder\nGrosse Marktgasse\n28\n9400\nRorschach\n"
     b"CH\nQRR\n210000000003139471430009017\nOrder dated 18.06.2020\nEPD\n"
     b"//S1/01/20170309/11/10201409/20/14000000/22/36958/30/CH106017086/40/1020/41/3010\n"
     b"UV;UltraPay005;12345\nXY;XYService;54321"),
    ("swiss", [("iban", "CH9300762011623852957"), ("creditor_name", "A"), ("creditor_postcode", "1000"),
               ("creditor_town", "B"), ("creditor_country", "LI"), ("amount", "0"), ("currency", "EUR"),
               ("message", "NICHT ZUR ZAHLUNG VERWENDEN"), ("billing", "//S1")],
     b"SPC\n0200\n1\nCH9300762011623852957\nS\nA\n\n\n1000\nB\nLI\n" + b"\n" * 7 + b"0.00\nEUR\n" + b"\n" * 7
     + b"NON\n\nNICHT ZUR ZAHLUNG VERWENDEN\nEPD\n//S1"),
    # vCard 3.0: CR LF after every line, trailing empty components of N left out.
    ("vcard", [("family_name", "Mustermann"), ("given_name", "Max")],
     b"BEGIN:VCARD\r\nVERSION:3.0\r\nN:Mustermann;Max\r\nFN:Max Mustermann\r\nEND:VCARD\r\n"),
    ("vcard", [("family_name", "Mustermann"), ("given_name", "Max"), ("note", "test cases,; we need more test cases")],
     b"BEGIN:VCARD\r\nVERSION:3.0\r\nN:Mustermann;Max\r\nFN:Max Mustermann\r\n"
     b"NOTE:test cases\\,\\; we need more test cases\r\nEND:VCARD\r\n"),
    ("vcard", [("family_name", "Doe"), ("given_name", "John"), ("title", "Director, Research and Development")],
     b"BEGIN:VCARD\r\nVERSION:3.0\r\nN:Doe;John\r\nFN:John Doe\r\nTITLE:Director\\, Research and Development\r\n"
     b"END:VCARD\r\n"),
    ("vcard", [("organisation", "Tessel; Labels"), ("unit", "Print"), ("phone", "+34 600 000 000,,12"),
               ("mobile", "+41 79 000 00 00,5"), ("fax", "+1;2"), ("email", "a@b.example"), ("street", "C/ Mayor, 1"),
               ("town", "Bilbo"), ("url", "https://b.example/a,b;c"), ("note", "back\\slash")],
     b"BEGIN:VCARD\r\nVERSION:3.0\r\nN:\r\nFN:Tessel\\; Labels\r\nORG:Tessel\\; Labels;Print\r\n"
     b"TEL;TYPE=WORK,VOICE:+34 600 000 000,,12\r\nTEL;TYPE=CELL,VOICE:+41 79 000 00 00,5\r\nTEL;TYPE=WORK,FAX:+1;2\r\n"
     b"EMAIL:a@b.example\r\nADR;TYPE=WORK:;;C/ Mayor\\, 1;Bilbo\r\nURL:https://b.example/a,b;c\r\n"
     b"NOTE:back\\\\slash\r\nEND:VCARD\r\n"),
    ("vcard", [("prefix", "Dr."), ("given_name", "Ana"), ("additional_names", "M."), ("family_name", "Ruiz"),
               ("suffix", "PhD"), ("region", "Bizkaia")],
     b"BEGIN:VCARD\r\nVERSION:3.0\r\nN:Ruiz;Ana;M.;Dr.;PhD\r\nFN:Dr. Ana M. Ruiz PhD\r\n"
     b"ADR;TYPE=WORK:;;;;Bizkaia\r\nEND:VCARD\r\n"),
    ("vcard", [("given_name", "Ana"), ("formatted_name", "Ana, la de Tessel"), ("unit", "I+D")],
     b"BEGIN:VCARD\r\nVERSION:3.0\r\nN:;Ana\r\nFN:Ana\\, la de Tessel\r\nORG:;I+D\r\nEND:VCARD\r\n"),
    # Wi-Fi: ZXing's cases; security omit leaves T out, hidden adds H:true.
    *[("wifi", [("security", "WEP"), ("ssid", ssid), ("password", password)], payload) for ssid, password, payload in [
        ("TenChars", "0123456789", b"WIFI:T:WEP;S:TenChars;P:0123456789;;"),
        ("Ten;;Chars", "0123456789", b"WIFI:T:WEP;S:Ten\\;\\;Chars;P:0123456789;;"),
        ("Ten::Chars", "0123456789", b"WIFI:T:WEP;S:Ten\\:\\:Chars;P:0123456789;;"),
        ("TenChars", "hello;there", b"WIFI:T:WEP;S:TenChars;P:hello\\;there;;")]],
    ("wifi", [("ssid", "TenChars"), ("password", "space is silent")], b"WIFI:T:WPA;S:TenChars;P:space is silent;;"),
    ("wifi", [("security", "wpa"), ("ssid", "test"), ("password", "my_password\\")],
     b"WIFI:T:WPA;S:test;P:my_password\\\\;;"),
    ("wifi", [("security", "omit"), ("ssid", '"foo;bar\\baz"')], b'WIFI:S:\\"foo\\;bar\\\\baz\\";;'),
    # segno ends this one with a single ';'; the format (and ZXing) ends every code with ';;'.
    ("wifi", [("security", "NOPASS"), ("ssid", "SSID"), ("password", "secret"), ("hidden", "true")],
     b"WIFI:T:nopass;S:SSID;P:secret;H:true;;"),
    ("wifi", [("security", "sae"), ("ssid", "s" * 32), ("password", "p")], b"WIFI:T:SAE;S:" + b"s" * 32 + b";P:p;;"),
    ("wifi", [("ssid", "n"), ("password", "9" * 61 + "afF")], b"WIFI:T:WPA;S:n;P:" + b"9" * 61 + b"afF;;"),
    ("wifi", [("ssid", "Bar, Caf\u00e9"), ("hidden", "false")], "WIFI:T:nopass;S:Bar\\, Caf\u00e9;;".encode()),
    # TicketBAI writes a space as %20, AEAT's rule as '+'.
    ("ticketbai", [("id", "TBAI-00000006Y-251019-btFpwP8dcLGAF-237"), ("nf", "A 1"), ("i", "4.70"), ("provincia", "araba")],
     b"https://ticketbai.araba.eus/tbai/qrtbai/?id=TBAI-00000006Y-251019-btFpwP8dcLGAF-237&nf=A%201&i=4.70&cr=022"),
    ("verifactu", [("nif", "89890001K"), ("numserie", "A B/1*~"), ("fecha", "01-01-2024"), ("importe", "1")],
     b"https://www2.agenciatributaria.gob.es/wlpl/TIKE-CONT/ValidarQR?nif=89890001K&numserie=A+B%2F1*%7E"
     b"&fecha=01-01-2024&importe=1"),
    # Every edge of the NIF's and the signature's letters; Gipuzkoa's test address; a space as '+'.
    ("ticketbai", [("id", "TBAI-A0000009Z-251019-a0z9AZ+/bcdef-072"), ("s", "A B"), ("nf", "1"), ("i", "4.70"),
                   ("provincia", "gipuzkoa"), ("entorno", "pruebas"), ("espacio", "+")],
     b"https://tbai.prep.gipuzkoa.eus/qr/?id=TBAI-A0000009Z-251019-a0z9AZ%2B%2Fbcdef-072&s=A+B&nf=1&i=4.70&cr=201"),
    # ISO 8859-15's euro sign, the largest amount, a purpose at both ends of A to Z, the last line.
    ("epc", [("charset", "8"), ("name", "Caf\u00e9 \u20ac"), ("iban", "DE89370400440532013000"),
             ("amount", "999999999.99"), ("purpose", "ZAZA"), ("text", "t"), ("information", "Hinweis")],
     b"BCD\n002\n8\nSCT\n\nCaf\xe9 \xa4\nDE89370400440532013000\nEUR999999999.99\nZAZA\n\nt\nHinweis"),
    ("wifi", [("ssid", "n"), ("password", "8 chars!")], b"WIFI:T:WPA;S:n;P:8 chars!;;"),
]


def changed(base, **changes):
    """base's fields with some values replaced or added."""
    return [(n, changes.pop(n, v)) for n, v in base] + list(changes.items())


EPC = [("name", "A"), ("iban", "DE89370400440532013000")]
TICKETBAI = [("id", "TBAI-00000006Y-251019-btFpwP8dcLGAF-237"), ("nf", "1"), ("i", "4.70"), ("provincia", "araba")]
SWISS = [("iban", "CH9300762011623852957"), ("creditor_name", "A"), ("creditor_postcode", "1000"),
         ("creditor_town", "B"), ("creditor_country", "CH"), ("currency", "CHF")]
QR_IBAN, QRR, RF = "CH4431999123000889012", "210000000003139471430009017", "RF18539007547034"
CHECK97 = b"d\xedgitos de control incorrectos (m\xf3dulo 97)"
AMOUNT = b"cifras con punto decimal, hasta 2 decimales, sin ceros a la izquierda"
CONTROL = b"car\xe1cter de control no admitido"
PURPOSE = b"c\xf3digo de 4 letras may\xfasculas"
COUNTRY = b"c\xf3digo ISO 3166 de 2 letras may\xfasculas"
PADDED = b"sin espacios al principio ni al final"
BILLING = b"empieza por // y un c\xf3digo de 2 caracteres"
WPA_KEY = b"de 8 a 63 caracteres ASCII imprimibles, o 64 cifras hexadecimales"

# (kind, fields, field named, its rule) refused with 1105 and one log line; no field: the rule is the line.
REFUSALS = [(kind, fields, b"Campo %s inv\xe1lido: %s" % (name.encode(), rule) if name else rule)
            for kind, fields, name, rule in [
    ("epc", changed(EPC, version="003"), "version", b"001 o 002"),
    ("epc", changed(EPC, charset="9"), "charset", b"un n\xfamero de 1 a 8"),
    ("epc", changed(EPC, charset="12"), "charset", b"un n\xfamero de 1 a 8"),
    ("epc", changed(EPC, version="001"), "bic", b"obligatorio con la versi\xf3n 001"),
    ("epc", changed(EPC, bic="BHBL1EHH"), "bic", b"8 u 11 letras o cifras, las 5.\xaa y 6.\xaa letras del pa\xeds"),
    ("epc", changed(EPC, iban="DE88370400440532013000"), "iban", CHECK97),
    ("epc", changed(EPC, iban="DE8937040044053201300"), "iban", b"longitud no v\xe1lida para su pa\xeds"),
    ("epc", changed(EPC, iban="D-89370400440532013000"), "iban", b"dos letras, dos cifras y luego letras o cifras"),
    ("epc", changed(EPC, amount="12,30"), "amount", AMOUNT),
    ("epc", changed(EPC, amount="0.00"), "amount", b"de 0.01 a 999999999.99 euros"),
    ("epc", changed(EPC, purpose="GDD"), "purpose", PURPOSE),
    ("epc", changed(EPC, purpose="gdds"), "purpose", PURPOSE),
    ("epc", changed(EPC, reference=RF, text="t"), "text", b"no se admite junto con reference"),
    ("epc", changed(EPC, reference="RF19539007547034"), "reference", b"referencia RF con " + CHECK97),
    ("epc", changed(EPC, name="x" * 71), "name", b"m\xe1ximo 70 caracteres"),
    ("epc", changed(EPC, text="x" * 141), "text", b"m\xe1ximo 140 caracteres"),
    ("epc", changed(EPC, reference="1" * 36), "reference", b"m\xe1ximo 35 caracteres"),
    ("epc", changed(EPC, charset="2", name="10 \u20ac"), "name", b"car\xe1cter que el juego de caracteres 2 no tiene"),
    # A four-byte character, whose last bytes must not be read as characters of their own.
    ("epc", changed(EPC, charset="5", name="\U00010040a"), "name", b"car\xe1cter que el juego de caracteres 5 no tiene"),
    ("epc", changed(EPC, information="a\tb"), "information", CONTROL),
    ("epc", changed(EPC, name="\u00e4" * 70, text="\u00e4" * 75), None,
     b"C\xf3digo EPC demasiado largo: 332 bytes, m\xe1ximo 331"),
    ("swiss", changed(SWISS, creditor_name="\u03a9"), "creditor_name",
     b"car\xe1cter fuera de la lista de la QR-factura suiza"),
    ("swiss", changed(SWISS, creditor_town="B "), "creditor_town", PADDED),
    ("swiss", changed(SWISS, debtor_street=" C"), "debtor_street", PADDED),
    ("swiss", changed(SWISS, creditor_town="b" * 36), "creditor_town", b"m\xe1ximo 35 caracteres"),
    ("swiss", changed(SWISS, creditor_building="1" * 17), "creditor_building", b"m\xe1ximo 16 caracteres"),
    ("swiss", changed(SWISS, message="m" * 100, billing="//" + "b" * 39), "billing",
     b"message y billing suman m\xe1s de 140 caracteres"),
    ("swiss", changed(SWISS, billing="/S1/01"), "billing", BILLING),
    ("swiss", changed(SWISS, billing="//S"), "billing", BILLING),
    ("swiss", changed(SWISS, creditor_country="XK"), "creditor_country", COUNTRY),
    ("swiss", changed(SWISS, debtor_name="D"), None,
     b"Falta el campo obligatorio: debtor_postcode (con los dem\xe1s del deudor)"),
    ("swiss", changed(SWISS, debtor_name="D", debtor_postcode="1", debtor_town="T",
                      debtor_country="ch"), "debtor_country", COUNTRY),
    ("swiss", changed(SWISS, iban="DE89370400440532013000"), "iban", b"IBAN suizo o de Liechtenstein de 21 caracteres"),
    ("swiss", changed(SWISS, iban="CH9300762011623852958"), "iban", CHECK97),
    ("swiss", changed(SWISS, currency="USD"), "currency", b"CHF o EUR"),
    ("swiss", changed(SWISS, amount="1000000000"), "amount", AMOUNT),
    ("swiss", changed(SWISS, amount="0.00", message="NOT FOR PAYMENT"), "amount",
     b"0.00 solo con el aviso NICHT ZUR ZAHLUNG VERWENDEN (o NE PAS UTILISER POUR LE PAIEMENT, "
     b"NON UTILIZZARE PER IL PAGAMENTO) en message"),
    ("swiss", changed(SWISS, iban=QR_IBAN), "reference", b"obligatoria con un QR-IBAN (referencia QR de 27 cifras)"),
    ("swiss", changed(SWISS, iban=QR_IBAN, reference=RF), "reference",
     b"referencia QR de 27 cifras con d\xedgito de control (m\xf3dulo 10 recursivo)"),
    ("swiss", changed(SWISS, reference=QRR), "reference", b"una referencia QR necesita un QR-IBAN"),
    ("swiss", changed(SWISS, reference="RF18539007547035"), "reference",
     b"referencia RF de 5 a 25 caracteres con d\xedgitos de control (m\xf3dulo 97)"),
    ("vcard", [("email", "a@b.example")], None,
     b"Falta el campo obligatorio: formatted_name (o family_name, given_name, organisation)"),
    ("vcard", [("family_name", "Doe"), ("note", "two\rlines")], "note", CONTROL),
    ("wifi", [("ssid", "s" * 33)], "ssid", b"m\xe1ximo 32 bytes"),
    ("wifi", [("ssid", "n\x7f")], "ssid", CONTROL),
    ("wifi", [("ssid", "n"), ("security", "WPA3")], "security", b"WPA, WEP, SAE, nopass u omit"),
    ("wifi", [("ssid", "n"), ("security", "SAE")], "password", b"obligatorio con WPA, WEP y SAE"),
    ("wifi", [("ssid", "n"), ("password", "7 chars")], "password", WPA_KEY),
    ("wifi", [("ssid", "n"), ("password", "p" * 64)], "password", WPA_KEY),
    ("wifi", [("ssid", "n"), ("password", "pass\u00e9word")], "password", WPA_KEY),
    ("wifi", [("ssid", "n"), ("hidden", "yes")], "hidden", b"true o false"),
]]
# Each kind without one of its required fields, and with a field it does not have.
BASES = [("verifactu", VECTORS[1][1], ("nif", "numserie", "fecha", "importe")),
         ("ticketbai", TICKETBAI, ("id", "nf", "i", "provincia")), ("epc", EPC, ("name", "iban")),
         ("swiss", SWISS, ("iban", "creditor_name", "creditor_postcode", "creditor_town", "creditor_country",
                           "currency")), ("vcard", [("given_name", "Ana")], ()), ("wifi", [("ssid", "n")], ("ssid",))]
REFUSALS += [(kind, [field for field in fields if field[0] != name], b"Falta el campo obligatorio: " + name.encode())
             for kind, fields, required in BASES for name in required]
REFUSALS += [(kind, fields + [("x", "1")], b"Campo desconocido para -p %s: x" % kind.encode()) for kind, fields, _ in BASES]


# (kind, fields, field, its most characters): that many are taken, one more is
# refused. Letters beyond ASCII count as one character each, bytes for an SSID.
DEBTOR = changed(SWISS, debtor_name="D", debtor_postcode="1", debtor_town="T", debtor_country="CH")
LIMITS = [("epc", EPC, name, most) for name, most in
          (("name", 70), ("reference", 35), ("text", 140), ("information", 70))] + [
    ("swiss", DEBTOR, prefix + name, most) for prefix in ("creditor_", "debtor_")
    for name, most in (("name", 70), ("street", 70), ("building", 16), ("postcode", 16), ("town", 35))] + [
    ("swiss", SWISS, name, most) for name, most in
    (("message", 140), ("billing", 140), ("alternative1", 100), ("alternative2", 100))] + [
    ("ticketbai", changed(TICKETBAI, s="1"), name, 20) for name in ("s", "nf")] + [
    ("verifactu", [("nif", "Z0000009A"), ("fecha", "01-01-2024"), ("importe", "1")], "numserie", 60),
    ("wifi", [], "ssid", 32), ("wifi", [("ssid", "n")], "password", 63)]


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
        rows = [VECTORS[i] for i in (0, 4, 11, 15, 21, 33)]  # one of each kind; the last with ECI 26
        for i, (kind, fields, _) in enumerate(rows):
            run = self.run_tessel("-p", kind, "-o", "%d.png" % i, data_token(fields))
            self.assertEqual(run.status, 0, run.log)
        texts = decode_all([os.path.join(self.folder, "%d.png" % i) for i in range(len(rows))])
        for reader in READERS:
            self.assertEqual(texts[reader], [row[2].decode() for row in rows], reader)


class Limits(TesselCase):
    def test_each_text_takes_its_most_characters_and_refuses_one_more(self):
        for kind, fields, name, most in LIMITS:
            # ASCII only where the standard says so; the billing text starts with //.
            letter = "s" if kind in ("verifactu", "wifi") else "\u00e4"
            for length in (most, most + 1):
                value = ("//" if name == "billing" else "") + letter * (length - (2 if name == "billing" else 0))
                with self.subTest(kind=kind, name=name, length=length):
                    run = self.run_tessel("-p", kind, "-t", "txt", "-o", "a.txt",
                                          data_token(changed(fields, **{name: value})))
                    self.assertEqual(run.status == 0, length == most, run.log)
                    if length > most:
                        # The bank codes' own words, before any rule of the whole code.
                        words = b"m\xe1ximo %d caracteres" % most if kind in ("epc", "swiss") else b""
                        self.assertIn(b"Campo %s inv\xe1lido: %s" % (name.encode(), words), run.log)


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
        # A kind without a standard size takes any printed width (25 modules in 20 mm).
        run = self.run_tessel("-p", "wifi", "-w", "20", "-t", "svg", "-o", "b.svg", "ssid=n")
        self.assertIn(b'width="26.4mm"', read_bytes(run.path("b.svg")))

    def test_the_last_days_and_the_largest_totals_are_accepted(self):
        for fecha, importe in [("29-02-2024", "-121.00"), ("31-08-2025", "0"), ("31-07-2000", "123456789012.34"),
                               ("31-12-0001", "-0"), ("29-02-2000", "1.")]:
            fields = data_token([("nif", "89890001K"), ("numserie", "A"), ("fecha", fecha), ("importe", importe)])
            run = self.run_tessel("-p", "verifactu", "-t", "txt", "-o", "a.txt", fields)
            self.assertTrue(read_bytes(run.path("a.txt")).endswith(b"&fecha=%s&importe=%s" % (fecha.encode(), importe.encode())))

    def test_a_payload_past_its_standards_version_is_refused(self):
        # 331 bytes fill version 13 at level M; a designator before them needs version 14.
        run = self.run_tessel("-p", "epc", "-e", "26", "-o", "a.png", data_token(VECTORS[12][1]))
        self.assertFailure(run, 1104, b"El contenido -p epc necesita la versi\xf3n 14: el est\xe1ndar admite hasta la 13")

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
