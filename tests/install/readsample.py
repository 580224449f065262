# readsample.py READER FOLDER TABLE: asks the reader program for a dBASE
# table of FOLDER over its standard input and output, as the program does,
# and prints the table's row count. Exits 1 on an error answer.
import struct
import subprocess
import sys

DBASE = 1  # SourceKind::DBase
NULL_TEXT = 0xFFFFFFFF


def text(s):
    units = s.encode("utf-16-le")
    return struct.pack("<I", len(units) // 2) + units


def frame(kind, body):
    return struct.pack("<IB", len(body), ord(kind)) + body


def answer(stream):
    header = stream.read(5)
    if len(header) < 5:
        sys.exit("the reader ended without answering")
    size, kind = struct.unpack("<IB", header)
    return chr(kind), stream.read(size)


def fail_on_error(kind, body):
    if kind == "x":
        (number,) = struct.unpack_from("<q", body)
        (units,) = struct.unpack_from("<I", body, 8)
        message = "" if units == NULL_TEXT else body[12 : 12 + 2 * units].decode("utf-16-le")
        print("error %d: %s" % (number, message), file=sys.stderr)
        sys.exit(1)


reader, folder, table = sys.argv[1:4]
p = subprocess.Popen([reader], stdin=subprocess.PIPE, stdout=subprocess.PIPE)
p.stdin.write(frame("O", struct.pack("<B", DBASE) + text(folder) + text("") + text("") + struct.pack("<q", 0) + text("")))
p.stdin.write(frame("R", text(table)))
p.stdin.close()
kind, body = answer(p.stdout)
fail_on_error(kind, body)
if kind != "k":
    sys.exit("the reader did not open the folder (answer %r)" % kind)
kind, body = answer(p.stdout)
fail_on_error(kind, body)
if kind != "t":
    sys.exit("the reader did not read the table (answer %r)" % kind)
print(struct.unpack_from("<q", body)[0])
p.stdout.read()
p.wait()
