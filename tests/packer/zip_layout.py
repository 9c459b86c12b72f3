"""Reads a ZIP archive's headers field by field, without the zipfile module's
leniency: every record is taken from where the central directory says it is,
and anything that does not add up raises LayoutError."""
import struct
import zlib
from dataclasses import dataclass, field

LOCAL_SIGNATURE = b"PK\x03\x04"
CENTRAL_SIGNATURE = b"PK\x01\x02"
END_SIGNATURE = b"PK\x05\x06"
ZIP64_LOCATOR_SIGNATURE = b"PK\x06\x07"
UNICODE_PATH_ID = 0x7075


class LayoutError(Exception):
    pass


@dataclass
class Header:
    version_needed: int
    flags: int
    method: int
    dos_time: int
    dos_date: int
    crc: int
    compressed_size: int
    size: int
    name: bytes
    extra: bytes


@dataclass
class Entry:
    central: Header
    local: Header
    version_made_by: int
    internal_attributes: int
    external_attributes: int
    local_offset: int
    data_offset: int
    raw_data: bytes

    @property
    def name(self):
        return self.central.name

    def extra_blocks(self, which):
        return parse_extra(getattr(self, which).extra)

    def content(self):
        """The entry's bytes, inflated when deflated."""
        if self.central.method == 0:
            return self.raw_data
        if self.central.method == 8:
            inflater = zlib.decompressobj(-15)
            data = inflater.decompress(self.raw_data) + inflater.flush()
            if not inflater.eof or inflater.unused_data:
                raise LayoutError("%r: the deflate stream does not end with the entry" % self.name)
            return data
        raise LayoutError("%r: unexpected method %d" % (self.name, self.central.method))


@dataclass
class Archive:
    entries: list = field(default_factory=list)
    comment: bytes = b""
    central_offset: int = 0
    central_size: int = 0
    end_offset: int = 0
    size: int = 0


def parse_extra(extra):
    """The extra field's blocks as (id, data) pairs; raises when they do not
    fill the field exactly."""
    blocks = []
    offset = 0
    while offset < len(extra):
        if offset + 4 > len(extra):
            raise LayoutError("extra field ends inside a block header")
        block_id, size = struct.unpack_from("<HH", extra, offset)
        if offset + 4 + size > len(extra):
            raise LayoutError("extra block 0x%04x runs past the field" % block_id)
        blocks.append((block_id, extra[offset + 4:offset + 4 + size]))
        offset += 4 + size
    return blocks


def parse(data):
    archive = Archive(size=len(data))
    end = data.rfind(END_SIGNATURE)
    if end < 0 or end + 22 > len(data):
        raise LayoutError("no end-of-central-directory record")
    (disk, central_disk, disk_entries, total_entries, central_size, central_offset,
     comment_length) = struct.unpack_from("<HHHHIIH", data, end + 4)
    if end + 22 + comment_length != len(data):
        raise LayoutError("the comment does not end exactly at the end of the archive")
    if disk != 0 or central_disk != 0 or disk_entries != total_entries:
        raise LayoutError("not a single-disk archive")
    if end >= 20 and data[end - 20:end - 16] == ZIP64_LOCATOR_SIGNATURE:
        raise LayoutError("the archive has ZIP64 records")
    if central_offset + central_size != end:
        raise LayoutError("the central directory does not end at the end record")
    archive.comment = data[end + 22:]
    archive.central_offset = central_offset
    archive.central_size = central_size
    archive.end_offset = end

    offset = central_offset
    for _ in range(total_entries):
        if data[offset:offset + 4] != CENTRAL_SIGNATURE:
            raise LayoutError("central header %d has no signature" % len(archive.entries))
        (made_by, needed, flags, method, dos_time, dos_date, crc, compressed, size, name_length,
         extra_length, comment_length, disk_start, internal, external,
         local_offset) = struct.unpack_from("<HHHHHHIIIHHHHHII", data, offset + 4)
        name = data[offset + 46:offset + 46 + name_length]
        extra = data[offset + 46 + name_length:offset + 46 + name_length + extra_length]
        if comment_length != 0 or disk_start != 0:
            raise LayoutError("%r: entry comment or disk number" % name)
        central = Header(needed, flags, method, dos_time, dos_date, crc, compressed, size, name,
                         extra)
        offset += 46 + name_length + extra_length + comment_length

        if data[local_offset:local_offset + 4] != LOCAL_SIGNATURE:
            raise LayoutError("%r: no local header at %d" % (name, local_offset))
        (l_needed, l_flags, l_method, l_time, l_date, l_crc, l_compressed, l_size, l_name_length,
         l_extra_length) = struct.unpack_from("<HHHHHIIIHH", data, local_offset + 4)
        l_name = data[local_offset + 30:local_offset + 30 + l_name_length]
        l_extra = data[local_offset + 30 + l_name_length:
                       local_offset + 30 + l_name_length + l_extra_length]
        local = Header(l_needed, l_flags, l_method, l_time, l_date, l_crc, l_compressed, l_size,
                       l_name, l_extra)
        data_offset = local_offset + 30 + l_name_length + l_extra_length
        archive.entries.append(Entry(central, local, made_by, internal, external, local_offset,
                                     data_offset, data[data_offset:data_offset + compressed]))
    if offset != end:
        raise LayoutError("the central directory holds more than its entries")
    return archive


def unicode_path(entry, which):
    """The (version, crc, utf8 name) of the entry's 0x7075 block in the
    'local' or 'central' header, or None."""
    blocks = [data for block_id, data in entry.extra_blocks(which) if block_id == UNICODE_PATH_ID]
    if not blocks:
        return None
    if len(blocks) > 1:
        raise LayoutError("%r: more than one Unicode-path block" % entry.name)
    data = blocks[0]
    version, crc = struct.unpack_from("<BI", data, 0)
    return version, crc, data[5:]


def dos_date_time(seconds):
    """A POSIX time as the (date, time) words of a DOS time read as UTC,
    held within the years 1980 to 2107 as the packer holds them."""
    import time
    seconds = min(max(seconds, 315532800), 4354819198)
    t = time.gmtime(seconds)
    date = ((t.tm_year - 1980) << 9) | (t.tm_mon << 5) | t.tm_mday
    clock = (t.tm_hour << 11) | (t.tm_min << 5) | (t.tm_sec // 2)
    return date, clock
