"""The resources of a Windows program (32- or 64-bit PE), for the scripts that check them."""
import collections
import struct

RT_ICON = 3
RT_GROUP_ICON = 14
RT_VERSION = 16
RT_MANIFEST = 24
RESOURCE_DIRECTORY = 2

# type and name: a number, or a text for a named entry; language: the LANGID.
Resource = collections.namedtuple("Resource", "type name language data")


class NotAProgram(Exception):
    pass


def _section_reader(data):
    """The resource directory's address and a map from addresses to file offsets, or None."""
    if data[:2] != b"MZ" or len(data) < 0x40:
        raise NotAProgram("no MZ header")
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        raise NotAProgram("no PE header")
    sections, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
    optional = pe + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    if magic == 0x10B:
        directories = optional + 96
    elif magic == 0x20B:
        directories = optional + 112
    else:
        raise NotAProgram("unknown optional header 0x%x" % magic)
    count = struct.unpack_from("<I", data, directories - 4)[0]
    if count <= RESOURCE_DIRECTORY:
        return None
    rva, size = struct.unpack_from("<II", data, directories + 8 * RESOURCE_DIRECTORY)
    if rva == 0 or size == 0:
        return None

    table = optional + optional_size
    spans = []
    for k in range(sections):
        virtual_size, virtual_address, raw_size, raw_offset = struct.unpack_from(
            "<IIII", data, table + 40 * k + 8)
        spans.append((virtual_address, max(virtual_size, raw_size), raw_offset))

    def offset_of(address):
        for start, length, raw in spans:
            if start <= address < start + length:
                return raw + address - start
        raise NotAProgram("address 0x%x lies in no section" % address)

    return rva, offset_of


def resources(data):
    """Every resource of the program, in the order of its resource directory (named entries
    first, then numbers in rising order), which is the order Windows enumerates them in."""
    found = _section_reader(data)
    if found is None:
        return []
    root, offset_of = found
    base = offset_of(root)

    def entries(directory):
        named, numbered = struct.unpack_from("<HH", data, base + directory + 12)
        for k in range(named + numbered):
            name, target = struct.unpack_from("<II", data, base + directory + 16 + 8 * k)
            if name & 0x80000000:
                at = base + (name & 0x7FFFFFFF)
                length = struct.unpack_from("<H", data, at)[0]
                name = data[at + 2:at + 2 + 2 * length].decode("utf-16-le")
            yield name, target & 0x7FFFFFFF, bool(target & 0x80000000)

    result = []
    for kind, names, _ in entries(0):
        for name, languages, _ in entries(names):
            for language, leaf, is_directory in entries(languages):
                if is_directory:
                    raise NotAProgram("a resource directory four levels deep")
                address, size = struct.unpack_from("<II", data, base + leaf)
                start = offset_of(address)
                result.append(Resource(kind, name, language, data[start:start + size]))
    return result
