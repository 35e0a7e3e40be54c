#!/usr/bin/env python3
"""Reads resources out of a built Windows program (a PE file), for scripts/check-windows-programs.

  pe_resources.py manifest PROGRAM   prints the application manifest (RT_MANIFEST, id 1);
                                     exits 1 when the program has none
  pe_resources.py icons PROGRAM      prints one line per image of each icon group:
                                     "GROUP SIZE BITS alpha|opaque" (alpha: a 32-bit PNG
                                     with alpha, or a 32-bit DIB whose alpha channel is not
                                     all 0, which Windows would take for no alpha at all)
"""
import struct
import sys

RT_ICON, RT_GROUP_ICON, RT_MANIFEST = 3, 14, 24


class Program:
    def __init__(self, path):
        with open(path, 'rb') as f:
            self.data = f.read()
        pe = struct.unpack_from('<I', self.data, 0x3C)[0]
        sections, optional_size = struct.unpack_from('<H12xH', self.data, pe + 6)
        optional = pe + 24
        magic = struct.unpack_from('<H', self.data, optional)[0]
        directories = optional + (112 if magic == 0x20B else 96)
        self.resource_rva = struct.unpack_from('<I', self.data, directories + 2 * 8)[0]
        self.sections = [struct.unpack_from('<8xIIII', self.data, optional + optional_size + 40 * i)
                         for i in range(sections)]

    def offset(self, rva):
        for size, address, raw_size, raw in self.sections:
            if address <= rva < address + max(size, raw_size):
                return raw + rva - address
        raise ValueError('address outside every section')

    def entries(self, directory):
        """(id, offset of the entry's target, is a directory) of one resource directory."""
        base = self.offset(self.resource_rva)
        named, ids = struct.unpack_from('<12xHH', self.data, base + directory)
        for i in range(named + ids):
            name, target = struct.unpack_from('<II', self.data, base + directory + 16 + 8 * i)
            yield name, target & 0x7FFFFFFF, bool(target & 0x80000000)

    def resources(self, wanted_type):
        """{id: bytes} of every resource of `wanted_type`, in its first language."""
        found = {}
        if self.resource_rva == 0:
            return found
        base = self.offset(self.resource_rva)
        for kind, names, _ in self.entries(0):
            if kind != wanted_type:
                continue
            for name, languages, _ in self.entries(names):
                _, leaf, _ = next(self.entries(languages))
                rva, size = struct.unpack_from('<II', self.data, base + leaf)
                found[name] = self.data[self.offset(rva):self.offset(rva) + size]
        return found


def image_line(image):
    """SIZE BITS alpha|opaque of one icon image."""
    if image.startswith(b'\x89PNG'):
        width, _, depth, colour_type = struct.unpack_from('>IIBB', image, 16)
        bits = depth * {6: 4, 2: 3}.get(colour_type, 1)
        return f'{width} {bits} {"alpha" if colour_type == 6 else "opaque"}'
    width, height, _, bits = struct.unpack_from('<iiHH', image, 4)
    if bits != 32:
        return f'{width} {bits} opaque'
    header = struct.unpack_from('<I', image, 0)[0]
    pixels = image[header:header + width * (height // 2) * 4]
    used = any(pixels[3::4])
    return f'{width} {bits} {"alpha" if used else "opaque"}'


def main():
    command, path = sys.argv[1], sys.argv[2]
    program = Program(path)
    if command == 'manifest':
        manifest = program.resources(RT_MANIFEST).get(1)
        if manifest is None:
            return 1
        sys.stdout.write(manifest.decode('utf-8'))
    elif command == 'icons':
        images = program.resources(RT_ICON)
        for group, directory in sorted(program.resources(RT_GROUP_ICON).items()):
            count = struct.unpack_from('<H', directory, 4)[0]
            for i in range(count):
                image_id = struct.unpack_from('<H', directory, 6 + 14 * i + 12)[0]
                print(group, image_line(images[image_id]))
    return 0


if __name__ == '__main__':
    sys.exit(main())
