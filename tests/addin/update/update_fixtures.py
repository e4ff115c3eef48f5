#!/usr/bin/env python3
"""Fixtures of the update engine's tests, made and checked by the independent
oracle of tests/fixtures/update_records.py.

  update_fixtures.py make FOLDER    records and package blocks the C++ tests read
  update_fixtures.py check FOLDER   decodes what the C++ tests wrote into
                                    FOLDER/written and compares it with the
                                    expectations of FOLDER/written/manifest.jsonl

The C++ tests know the contents made here by the constants of
RecordFixtures.h; keep the two in step."""
import hashlib
import json
import os
import struct
import sys
import zlib

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "fixtures"))
import update_records as ur  # noqa: E402

# Shared with RecordFixtures.h.
GUID = "0F1E2D3C-4B5A-6978-8796-A5B4C3D2E1F0"
BLOB = b"plug-in blob\x00\xff\x10"
SEED = 0x12345678
SAVED_DAY = 5000
CREATED_TICKS = ur.ticks_from_date(2015, 3, 14) + 9 * 3600 * 10 ** 7
DEFAULT_FREQUENCY = 2  # the tests' clock lies outside the 2010-2011 window
EFFECT_ID = 0x123456


def counters(*pairs):
    values = [0] * ur.COUNTER_LENGTH
    for index, count in pairs:
        values[index] = count
    return values


# id, first day, counters, total
FEATURES = [
    (1, 4000, counters((0, 3), (1, 1), (363, 9)), 120),
    (2, 4100, counters((2, 255)), 700),
    (EFFECT_ID, 4990, counters((0, 1), (9, 4)), 5),
]


def preferences_records():
    """name -> bytes of the stored value."""
    good = lambda **kw: ur.encode_preferences(GUID, BLOB, 7, SEED, **kw)  # noqa: E731
    tail = lambda entries, deflate=False: struct.pack("<ii", 1, 2) + ur.write_value(entries, deflate)  # noqa: E731
    records = {
        "prefs_valid": good(),
        "prefs_version10000": good(version=10000),
        "prefs_deflated_tail": good(tail=tail({2: ur.Int32(9), 77: "x" * 200}, deflate=True)),
        "prefs_tail_marker0": good(tail=struct.pack("<i", 0)),
        "prefs_no_tail": good(tail=b""),
        "prefs_tail_kind1": good(tail=struct.pack("<ii", 9, 1) + b"skip!"),
        "prefs_tail_kind3": good(tail=struct.pack("<ii", 1, 3)),
        "prefs_key2_0": good(tail=tail({2: ur.Int32(0)})),
        "prefs_key2_18": good(tail=tail({2: ur.Int32(18)})),
        "prefs_key2_17_other_keys": good(tail=tail({1: ur.Int32(5), 2: ur.Int32(17), 3: b"blob"})),
    }
    valid = records["prefs_valid"]
    corrupt = {
        "prefs_bad_empty": b"",
        "prefs_bad_short": valid[:23],
        "prefs_bad_header_only": ur.seal(b"", SEED, ur.PREFERENCES_MASK)[:24],
        "prefs_bad_flip_first_body_byte": flip(valid, 24),
        "prefs_bad_flip_last_byte": flip(valid, len(valid) - 1),
        "prefs_bad_flip_digest": flip(valid, 10),
        "prefs_bad_flip_seed": flip(valid, 0),
        "prefs_bad_cut_last_byte": valid[:-1],
        "prefs_bad_other_mask": ur.seal(ur.preferences_body(GUID, BLOB, 7), SEED, ur.USAGE_MASK),
        "prefs_bad_magic": reseal_preferences(lambda b: struct.pack("<I", 0x3C0D2B23) + b[4:]),
        "prefs_bad_version0": ur.encode_preferences(GUID, BLOB, 7, SEED, version=0),
        "prefs_bad_version10001": ur.encode_preferences(GUID, BLOB, 7, SEED, version=10001),
        "prefs_bad_negative_blob": reseal_preferences(lambda b: b[:24] + struct.pack("<i", -1) + b[28:]),
        "prefs_bad_blob_past_end": reseal_preferences(lambda b: b[:24] + struct.pack("<i", 4000) + b[28:]),
        "prefs_bad_kind1_short_marker": good(tail=struct.pack("<ii", 4, 1)),
        "prefs_bad_kind1_past_end": good(tail=struct.pack("<ii", 50, 1) + b"abc"),
        "prefs_bad_kind_missing": good(tail=struct.pack("<i", 1)),
        "prefs_bad_values_cut": good(tail=tail({2: ur.Int32(7)})[:-2]),
        "prefs_bad_values_flag": good(tail=struct.pack("<ii", 1, 2) + b"\x05"),
    }
    return records, corrupt


def flip(data, index):
    b = bytearray(data)
    b[index] ^= 0x01
    return bytes(b)


def reseal_preferences(change):
    body = change(ur.preferences_body(GUID, BLOB, 7))
    return ur.seal(body, SEED, ur.PREFERENCES_MASK)


def usage_records():
    good = lambda **kw: ur.encode_usage(SEED, SAVED_DAY, CREATED_TICKS, FEATURES, **kw)  # noqa: E731
    records = {
        "usage_valid": good(),
        "usage_v10000": good(version=10000),
        "usage_v1": good(version=1),
        "usage_n0": good(counter_length=0),
        "usage_n1000": ur.encode_usage(SEED, SAVED_DAY, CREATED_TICKS,
                                       [(i, f, c + [7] * 636, t) for i, f, c, t in FEATURES], counter_length=1000),
        "usage_no_features": ur.encode_usage(SEED, SAVED_DAY, CREATED_TICKS, []),
        "usage_duplicate_id": ur.encode_usage(SEED, SAVED_DAY, CREATED_TICKS,
                                              FEATURES + [(EFFECT_ID, 4999, counters((0, 2)), 2)]),
    }
    head = struct.pack("<II", ur.USAGE_MAGIC, ur.USAGE_VERSION)
    valid = records["usage_valid"]
    corrupt = {
        "usage_bad_empty": b"",
        "usage_bad_short": valid[:20],
        "usage_bad_flip_body": flip(valid, 40),
        "usage_bad_other_mask": ur.seal(ur.usage_body(SAVED_DAY, CREATED_TICKS, FEATURES), SEED, ur.PREFERENCES_MASK),
        "usage_bad_magic": ur.seal(struct.pack("<II", 0x3097F31C, ur.USAGE_VERSION) +
                                   ur.usage_body(SAVED_DAY, CREATED_TICKS, FEATURES)[8:], SEED, ur.USAGE_MASK),
        "usage_bad_version0": good(version=0),
        "usage_bad_version10002": good(version=10002),
        "usage_bad_n1001": good(counter_length=1001),
        "usage_bad_negative_n": good(counter_length=-1),
        "usage_bad_negative_day": ur.encode_usage(SEED, -1, CREATED_TICKS, FEATURES),
        "usage_bad_count10001": good(feature_count=10001),
        "usage_bad_count_negative": good(feature_count=-1),
        "usage_bad_count_past_end": good(feature_count=4),
        "usage_bad_zlib_cut": ur.seal(ur.usage_body(SAVED_DAY, CREATED_TICKS, FEATURES)[:-30], SEED, ur.USAGE_MASK),
        "usage_bad_zlib_damaged": ur.seal(head + b"\x78\x5e\xff\xff\xff\xff" + b"\x00" * 40, SEED, ur.USAGE_MASK),
        "usage_bad_plain_cut": ur.seal(ur.usage_body(SAVED_DAY, CREATED_TICKS, FEATURES, version=10000)[:-3],
                                       SEED, ur.USAGE_MASK),
    }
    return records, corrupt


def package_blocks():
    """Lines 'key length plain stored' (hex) for the descrambler's tests."""
    table = ur.package_key_table()
    lines = []
    for key in (0, 1, 0x9E3779B9, 0xFFFFFFFF):
        for length in list(range(10)) + [64, 1021]:
            plain = bytes((i * 37 + length * 11 + key) & 0xFF for i in range(length))
            stored = ur.scramble_package_block(plain, key, table)
            assert ur.descramble_package_block(stored, key, table) == plain
            lines.append(f"{key:08x} {length} {plain.hex() or '-'} {stored.hex() or '-'}")
    return "\n".join(lines) + "\n"


# --------------------------------------------------------------- packages
# Module packages, update packages and "plugins.dat" lists the C++ readers
# open; *_cases.txt name each file with the code its reader must answer.
KERNEL_GUID = ur.MAIN_SETUP_GUID
PLUGIN_GUID = "6D1E0C7A-1B2C-4D3E-8F90-A1B2C3D4E5F6"
OTHER_GUID = "11111111-2222-3333-4444-555555555555"
TYPE_GUID = "0A0B0C0D-0E0F-1011-1213-141516171819"
STORED = bytes(range(256)) * 3 + b"tail"
DEFLATED = b"zlib entry " * 300
LZMA = b"lzma entry data " * 500


def module_entries():
    return [ur.Entry("Kernel.dll", STORED, kind=1), ur.Entry("Strings.res", DEFLATED, ur.METHOD_ZLIB, key=7),
            ur.Entry("Images.res", LZMA, ur.METHOD_LZMA, key=0xFFFFFFFF), ur.Entry("Empty.res", b"")]


def module(**options):
    types = [ur.ModuleType("Kernel.Effect", TYPE_GUID, (2, 1), values=(5, 6))]
    return ur.module_package("Kernel", KERNEL_GUID, (3, 2, 1, 0), module_entries(), types=types, ids=[2, 0],
                             **options)


def flipped(data, index):
    return flip(data, index % len(data) if index >= 0 else len(data) + index)


def module_packages():
    """name -> (bytes, code)."""
    good = module()
    header_at = len(module(gap=b"")) - sum(len(e.blob.data) for e in module_entries()) - 1
    cases = {
        "module_good": (good, 0),
        "module_unsigned": (module(signed=False), 0),
        "module_gap": (module(gap=b"\xAA" * 9), 0),
        "module_version_1ffff": (module(format_version=0x1FFFF), 0),
        "module_version_20000": (module(format_version=0x20000), 4),
        "module_version_0": (module(format_version=0), 4),
        "module_52_bytes": (good[:52], 2),
        "module_bad_magic": (flipped(good, 0), 2),
        "module_update_magic": (struct.pack("<I", ur.UPDATE_PACKAGE_MAGIC) + good[4:], 2),
        "module_signature_19": (module(signature=b"\x01" * 19, signature_kind=1), 3),
        "module_signature_other_kind": (module(signature=b"\x01" * 19, signature_kind=7), 0),
        "module_header_flipped": (flipped(good, header_at), 3),
        "module_header_cut": (good[:header_at], 3),
        "module_header_version_0": (module(header_version=0), 3),
        "module_main_equals_count": (module(main_entry=4), 5),
        "module_main_negative": (module(main_entry=-1), 5),
        "module_id_out_of_range": (ur.module_package("Kernel", KERNEL_GUID, (1, 0), module_entries(), ids=[4]), 5),
        "module_entry_past_end": (good[:-1], 5),
    }
    cases.update(hostile_modules())
    return cases


HUGE_SIZE = 0x7FFFFFF0


def huge_dictionary(data):
    """The LZMA form of data with a 2 GiB dictionary in its properties."""
    packed = ur.raw_lzma(data)
    return packed[:1] + struct.pack("<I", 0x80000000) + packed[5:]


def hostile_modules():
    """Module packages that open cleanly and then ask too much of the reader.
    module_huge_*: one entry "Huge.res" stating nearly 2 GiB of plain bytes
    from a few hundred stored ones; module_symbols: assemblies whose symbol
    files lie inside the package's folder or try to leave it."""
    def one(entry):
        return ur.module_package("Kernel", KERNEL_GUID, (1, 0), [entry])
    symbol_entries = [ur.Entry(name, STORED[:10], kind=1, assembly=("assembly", (1, 0, 0, 0), None, symbols))
                      for name, symbols in SYMBOL_FILES]
    return {
        "module_huge_zlib": (one(ur.Entry("Huge.res", DEFLATED[:200], ur.METHOD_ZLIB, size=HUGE_SIZE)), 0),
        "module_huge_lzma": (one(ur.Entry("Huge.res", LZMA[:200], ur.METHOD_LZMA, size=HUGE_SIZE)), 0),
        "module_symbols": (ur.module_package("Kernel", KERNEL_GUID, (1, 0), symbol_entries), 0),
    }


# Assembly entry name -> the symbol file path its record stores.
SYMBOL_FILES = [
    ("Inside.dll", "Main.pdb"),
    ("Below.dll", "symbols\\Main.pdb"),
    ("Share.dll", "\\\\host\\share\\Main.pdb"),
    ("Drive.dll", "C:\\Windows\\Main.pdb"),
    ("Rooted.dll", "\\Main.pdb"),
    ("Parent.dll", "..\\Main.pdb"),
    ("Device.dll", "NUL.pdb"),
]


ITEM_TIME = ur.utc_datetime(ur.ticks_from_date(2013, 7, 8) + 12 * 3600 * 10 ** 7)


def update_items():
    return [ur.Item("bin", "Stored.txt", STORED, modified=ITEM_TIME, kind=1), ur.Item("bin/res", "Deflated.txt", DEFLATED,
                                                                              ur.METHOD_ZLIB),
            ur.Item("", "Lzma.txt", LZMA, ur.METHOD_LZMA, kind=3), ur.Item("bin", "Empty.txt", b""),
            ur.Item("bin", "NoDigest.txt", b"no digest", digest=False)]


def update(items=None, **options):
    return ur.update_package("Setup", KERNEL_GUID, (3, 2), update_items() if items is None else items,
                             target_folder="app", **options)


def past_end_item():
    """Its stored bytes would end one byte after the file."""
    item = ur.Item("", "a", b"abc")
    item.size = item.stored_size = 4
    return item


def update_packages():
    good = update()
    header_end = len(good) - sum(len(i.blob.data) for i in update_items())
    hostile = lambda folder, name: update([ur.Item(folder, name, b"x")])  # noqa: E731
    return {
        "update_good": (good, 0),
        "update_unsigned": (update(signed=False), 0),
        "update_56_bytes": (good[:56], 2),
        "update_57_bytes": (good[:57], 3),
        "update_module_magic": (struct.pack("<I", ur.MODULE_PACKAGE_MAGIC) + good[4:], 2),
        "update_version_20000": (update(format_version=0x20000), 4),
        "update_version_1ffff": (update(format_version=0x1FFFF), 0),
        "update_total_size_wrong": (good + b"\x00", 3),
        "update_signature_19": (update(signature=b"\x02" * 19, signature_kind=1), 3),
        "update_header_flipped": (flipped(good, header_end - 1), 3),
        "update_item_past_end": (update([past_end_item()]), 3),
        "update_no_items": (update([]), 3),
        "update_method_3": (update([ur.Item("", "a", b"abc", method=3, stored=b"abc")]), 3),
        "update_stored_size_differs": (update([ur.Item("", "a", b"abcd", size=3)]), 3),
        "update_absolute_folder": (hostile("C:\\Windows", "a.txt"), 3),
        "update_rooted_folder": (hostile("\\Windows", "a.txt"), 3),
        "update_parent_folder": (hostile("bin/../..", "a.txt"), 3),
        "update_dots_folder": (hostile("bin\\.. ", "a.txt"), 3),
        "update_parent_name": (hostile("bin", ".."), 3),
        "update_name_with_folder": (hostile("bin", "sub\\a.txt"), 3),
        "update_stream_name": (hostile("bin", "a.txt:evil"), 3),
        "update_hostile_target": (ur.update_package("Setup", KERNEL_GUID, (1, 0), [ur.Item("", "a", b"a")],
                                                   target_folder="../app"), 3),
        "update_hostile_name": (ur.update_package("..\\Setup", KERNEL_GUID, (1, 0), [ur.Item("", "a", b"a")]), 3),
        "update_damaged_data": (flipped(good, header_end + 10), 0),
        "update_device_folder": (hostile("CON", "a.txt"), 3),
        "update_device_in_folder": (hostile("bin\\aux.res\\x", "a.txt"), 3),
        "update_device_name": (hostile("bin", "NUL"), 3),
        "update_device_name_extension": (hostile("bin", "lpt1.txt"), 3),
        "update_device_com": (hostile("", "Com9 .log"), 3),
        "update_device_target": (ur.update_package("Setup", KERNEL_GUID, (1, 0), [ur.Item("", "a", b"a")],
                                                  target_folder="app\\PRN"), 3),
        "update_not_a_device": (update([ur.Item("console", "nul1.txt", b"x"), ur.Item("com10", "lpt.txt", b"y")]), 0),
        # Opens and verifies: only decoding finds the dictionary too large.
        "update_lzma_huge_dictionary": (update([ur.Item("", "a", LZMA, ur.METHOD_LZMA,
                                                        stored=huge_dictionary(LZMA))]), 0),
        "update_zlib_truncated": (update([ur.Item("", "a", DEFLATED, ur.METHOD_ZLIB,
                                                  stored=ur.pack(DEFLATED, ur.METHOD_ZLIB)[:-20])]), 0),
    }


def transaction_packages(folder):
    """An installed tree (old) and the package of its replacement (new)."""
    old = {"a.txt": b"old a", "sub/b.txt": b"old b" * 100, "sub/c.txt": b"old c"}
    root = os.path.join(folder, "old")
    for name, data in old.items():
        os.makedirs(os.path.dirname(os.path.join(root, name)), exist_ok=True)
        with open(os.path.join(root, name), "wb") as f:
            f.write(data)
    items = [ur.Item("", "a.txt", b"new a" * 5000, ur.METHOD_ZLIB), ur.Item("sub", "b.txt", b"new b", ur.METHOD_LZMA),
             ur.Item("new/deep", "d.txt", bytes(range(256)) * 200)]
    with open(os.path.join(folder, "new.vlx"), "wb") as f:
        f.write(ur.update_package("Setup", KERNEL_GUID, (4, 0), items))


def plugin_module(name, guid, required_kernel=(1, 0), required_product=(1, 0)):
    return ur.module_package(name, guid, (1, 0), [ur.Entry(name + ".dll", name.encode() * 10)], module_kind=2,
                             required_kernel=required_kernel, required_product=required_product)


def install_folder(folder):
    """An installation: the kernel, a plug-in that fits, one that needs a newer
    kernel, one whose package is missing and one without a main module."""
    os.makedirs(os.path.join(folder, "bin"), exist_ok=True)
    os.makedirs(os.path.join(folder, "plugins", "fits"), exist_ok=True)
    os.makedirs(os.path.join(folder, "plugins", "newer"), exist_ok=True)
    files = {
        "bin/Kernel.vmp": module(required_product=(2, 0)),
        "plugins/fits/Fits.vmp": plugin_module("Fits", PLUGIN_GUID, required_kernel=(3, 2)),
        "plugins/newer/Newer.vmp": plugin_module("Newer", OTHER_GUID, required_kernel=(3, 3)),
    }
    for name, data in files.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)
    plugins = [
        ur.Plugin(PLUGIN_GUID, "Fits", (1, 0), "plugins\\fits", "Fits.vmp", module_kind=2),
        ur.Plugin(KERNEL_GUID, "Kernel", (3, 2, 1, 0), "bin", "Kernel.vmp", module_kind=1,
                  installed=ur.utc_datetime(ur.ticks_from_date(2014, 5, 6))),
        ur.Plugin(OTHER_GUID, "Newer", (1, 0), "plugins/newer", "Newer.vmp", module_kind=2),
        ur.Plugin("22222222-3333-4444-5555-666666666666", "Missing", (1, 0), "plugins", "Missing.vmp"),
        ur.Plugin("33333333-4444-5555-6666-777777777777", "Disabled", (1, 0), "plugins", ""),
        ur.Plugin("44444444-5555-6666-7777-888888888888", "Escapes", (1, 0), "..\\bin", "Kernel.vmp"),
    ]
    with open(os.path.join(folder, "plugins.dat"), "wb") as f:
        f.write(ur.plugins_dat(plugins, product_version=(3, 2, 1), list_kind=4,
                               written=ur.utc_datetime(ur.ticks_from_date(2016, 1, 2))))


def plugin_lists():
    main = ur.Plugin(KERNEL_GUID, "Kernel", (3, 2), "bin", "Kernel.vmp", module_kind=1)
    other = ur.Plugin(PLUGIN_GUID, "Fits", (1, 0), "plugins", "Fits.vmp", module_kind=2)
    good = ur.plugins_dat([other, main])
    return {
        "plugins_other_main": (good, 0),
        "plugins_no_main": (ur.plugins_dat([other]), 2),
        "plugins_empty": (ur.plugins_dat([]), 2),
        "plugins_bad_magic": (flip(good, 0), 2),
        "plugins_version_0": (ur.plugins_dat([main], format_version=0), 2),
        "plugins_version_10000": (ur.plugins_dat([main], format_version=10000), 0),
        "plugins_version_10001": (ur.plugins_dat([main], format_version=10001), 2),
        "plugins_count_1000000": (ur.plugins_dat([main], count=1000000), 2),
        "plugins_count_999999": (ur.plugins_dat([main], count=999999), 2),
        "plugins_count_negative": (ur.plugins_dat([main], count=-1), 2),
        "plugins_cut": (good[:-5], 2),
    }


# -------------------------------------------------------- updater records
# Golden records of the updater folder; RecordTests.cpp keeps the same values.
INSTALLER_GUID = "C8D778F4-5666-4DE3-82BF-F55F5AF17CB4"
RUN_GUID = "9A8B7C6D-5E4F-4A3B-9C2D-1E0F9A8B7C6D"
LAST_CHECK = ur.utc_datetime(ur.ticks_from_date(2016, 1, 2) + 3 * 3600 * 10 ** 7)
READY_DATE = ur.utc_datetime(ur.ticks_from_date(2017, 4, 5))
HISTORY_DATES = (ur.utc_datetime(ur.ticks_from_date(2014, 2, 3)), ur.ticks_from_date(2015, 6, 7))


def ready_setups():
    other = ur.ReadySetup("Other", OTHER_GUID, (1, 2, 3), 1234, 3)
    main = ur.ReadySetup("Kernel", KERNEL_GUID, (4, 0, 1, 7), 99999, 2)
    installer = ur.ReadySetup("Updater \u00e9", INSTALLER_GUID, (4, 0), 555, 1)
    return other, main, installer


def history_updates():
    a = ur.HistoryUpdate(HISTORY_DATES[0], (3, 0), 1, 1, True,
                         [ur.ReadySetup("Kernel", KERNEL_GUID, (3, 0), 0, 1)])
    b = ur.HistoryUpdate(HISTORY_DATES[1], (3, 1, 2), 1, 5, False,
                         [ur.ReadySetup("a<b", PLUGIN_GUID, (1, 0), 0, 3),
                          ur.ReadySetup("Q\"&'>", OTHER_GUID, (2, 0, 0, 1), 0, 9)])
    return [a, b]


def updater_records(folder):
    os.makedirs(folder, exist_ok=True)
    other, main, installer = ready_setups()
    ready = ur.ready_dat(3, READY_DATE, (4, 0, 1), 2, [other, main, installer])
    counted = ur.ready_dat(3, READY_DATE, (4, 0, 1), 2, [main])
    records = {
        "cmd_request": ur.command_dat(1, "prepare"),
        "cmd_reply": ur.command_dat(209, "Fehler \u00fc\u20ac"),
        "cmd_version_0": ur.command_dat(0, "prepare", format_version=0),
        "cmd_version_10000": ur.command_dat(0, "prepare", format_version=10000),
        "cmd_version_10001": ur.command_dat(0, "prepare", format_version=10001),
        "cmd_cut": ur.command_dat(1, "prepare")[:-5],
        "result": ur.result_dat(1, True, 501, "Unable to install files"),
        "result_version_0": ur.result_dat(2, False, 301, "x", format_version=0),
        "result_version_10001": ur.result_dat(2, False, 301, "x", format_version=10001),
        "auto": ur.auto_dat(RUN_GUID),
        "auto_version_0": ur.auto_dat(RUN_GUID, format_version=0),
        "state": ur.state_dat(LAST_CHECK),
        "state_extension": ur.state_dat(LAST_CHECK, extension=b"\x01\x02\x03\x04"),
        "state_version_0": ur.state_dat(LAST_CHECK, format_version=0),
        "state_version_10001": ur.state_dat(LAST_CHECK, format_version=10001),
        "ready": ready,
        "ready_ordered": ur.ready_dat(3, READY_DATE, (4, 0, 1), 2, [installer, main, other]),
        "ready_count_size": ur.ready_dat(3, READY_DATE, (4, 0, 1), 2, [main], count=len(counted)),
        "ready_count_below": ur.ready_dat(3, READY_DATE, (4, 0, 1), 2, [main], count=2),
        "ready_version_0": ur.ready_dat(3, READY_DATE, (4, 0, 1), 2, [main], format_version=0),
        "history": ur.history_dat(history_updates()),
        "history_version_0": ur.history_dat(history_updates(), format_version=0),
        "history_version_10001": ur.history_dat(history_updates(), format_version=10001),
        "history_cut": ur.history_dat(history_updates())[:-9],
    }
    for name, data in records.items():
        with open(os.path.join(folder, name + ".bin"), "wb") as f:
            f.write(data)
    with open(os.path.join(folder, "history.xml"), "w", encoding="utf-8", newline="") as f:
        f.write(ur.history_xml(history_updates()))


def installer_folder(folder):
    """An installation of setup "Setup" 3.0 (its files, its package in
    "setups", "plugins.dat") with version 4.0 downloaded and recorded in
    "ready.dat": a.txt and sub/b.txt change, sub/c.txt goes, new/deep/d.txt
    comes."""
    old = {"a.txt": b"old a", "sub/b.txt": b"old b" * 100, "sub/c.txt": b"old c"}
    new_items = [ur.Item("", "a.txt", b"new a" * 5000, ur.METHOD_ZLIB),
                 ur.Item("sub", "b.txt", b"new b", ur.METHOD_LZMA),
                 ur.Item("new/deep", "d.txt", bytes(range(256)) * 200)]
    old_items = [ur.Item(os.path.dirname(name), os.path.basename(name), data) for name, data in old.items()]
    files = dict(old)
    files["setups/Setup.vlx"] = ur.update_package("Setup", KERNEL_GUID, (3, 0), old_items)
    files["plugins.dat"] = ur.plugins_dat([ur.Plugin(KERNEL_GUID, "Setup", (3, 0), "", "a.txt", module_kind=1)],
                                          product_version=(3, 0))
    new = ur.update_package("Setup", KERNEL_GUID, (4, 0), new_items)
    files["updater/" + KERNEL_GUID.lower() + ".vlx"] = new
    files["updater/ready.dat"] = ur.ready_dat(1, READY_DATE, (4, 0), 2,
                                              [ur.ReadySetup("Setup", KERNEL_GUID, (4, 0), len(new), 2)])
    for name, data in files.items():
        path = os.path.join(folder, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)


def installer_setup_folder(folder):
    """The "installer" installation with the installer program's own setup
    installed too (Updater 1.0) and its version 1.1 downloaded beside the main
    setup's 4.0: the add-in installs the installer setup itself and leaves the
    main setup to the update add-in."""
    installer_folder(folder)
    old_updater = [ur.Item("", "VistelloUpdater.exe", b"MZ old updater", kind=3)]
    new_updater = [ur.Item("", "VistelloUpdater.exe", b"MZ new updater" * 50, kind=3)]
    new_main = os.path.join(folder, "updater", KERNEL_GUID.lower() + ".vlx")
    with open(new_main, "rb") as f:
        main_size = len(f.read())
    new = ur.update_package("Updater", INSTALLER_GUID, (1, 1), new_updater, module_kind=0)
    files = {
        "VistelloUpdater.exe": b"MZ old updater",
        "VistelloUpdaterAddIn.dll": b"MZ update add-in",
        "setups/Updater.vlx": ur.update_package("Updater", INSTALLER_GUID, (1, 0), old_updater, module_kind=0),
        "plugins.dat": ur.plugins_dat([ur.Plugin(KERNEL_GUID, "Setup", (3, 0), "", "a.txt", module_kind=1),
                                       ur.Plugin(INSTALLER_GUID, "Updater", (1, 0))], product_version=(3, 0)),
        "updater/" + INSTALLER_GUID.lower() + ".vlx": new,
        "updater/ready.dat": ur.ready_dat(1, READY_DATE, (4, 0), 2,
                                          [ur.ReadySetup("Setup", KERNEL_GUID, (4, 0), main_size, 2),
                                           ur.ReadySetup("Updater", INSTALLER_GUID, (1, 1), len(new), 2)]),
    }
    for name, data in files.items():
        path = os.path.join(folder, name)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)


SETUP_PROGRAM_GUID = "5FE9860A-3BD3-4FE5-AFBB-51DC961F57A9"
SETUP_PROGRAM_BYTES = b"setup program, not runnable " * 20
PLANTED_UPDATER_BYTES = b"planted updater, not runnable " * 20


def program_package(case, name, guid, item_name, kind, data):
    """A downloaded package that carries a program to run: sound, or with the
    program's stated digest wrong, with no digest, or unsigned."""
    item = ur.Item("", item_name, data, kind=kind, digest=case != "no_digest")
    if case == "bad_digest":
        item.blob.digest = hashlib.sha1(b"something else").digest()
    other = ur.Item("", "readme.txt", b"read me")
    return ur.update_package(name, guid, (9, 0), [item, other], module_kind=0, signed=case != "unsigned")


def program_folders(folder):
    """program/<case>/setup: an update that carries the setup program (item
    kind 6); program/<case>/updater: a downloaded installer setup whose
    installer program (item kind 3) a failed update's result would start."""
    for case in ("ok", "bad_digest", "no_digest", "unsigned"):
        for role, name, guid, item_name, kind, data in (
                ("setup", "SetupProgram", SETUP_PROGRAM_GUID, "VistelloSetup.exe", 6, SETUP_PROGRAM_BYTES),
                ("updater", "Updater", INSTALLER_GUID, "VistelloUpdater.exe", 3, PLANTED_UPDATER_BYTES)):
            package = program_package(case, name, guid, item_name, kind, data)
            files = {
                "updater/" + guid.lower() + ".vlx": package,
                "updater/ready.dat": ur.ready_dat(1, READY_DATE, (9, 0), 2,
                                                  [ur.ReadySetup(name, guid, (9, 0), len(package), 2)]),
            }
            for relative, data_bytes in files.items():
                path = os.path.join(folder, case, role, relative)
                os.makedirs(os.path.dirname(path), exist_ok=True)
                with open(path, "wb") as f:
                    f.write(data_bytes)


def write_cases(folder, name, cases):
    sub = os.path.join(folder, "packages")
    os.makedirs(sub, exist_ok=True)
    for file, (data, _) in cases.items():
        with open(os.path.join(sub, file + ".bin"), "wb") as f:
            f.write(data)
    with open(os.path.join(folder, name), "w") as f:
        f.write("".join(f"{file} {code}\n" for file, (_, code) in sorted(cases.items())))


def check_table_source(source_path):
    """The C++ table must be the oracle's table."""
    with open(source_path) as f:
        text = f.read()
    words = [int(w, 16) for w in __import__("re").findall(r"0x([0-9A-F]{8})", text)]
    if words != ur.package_key_table():
        raise SystemExit(f"{source_path} does not hold the oracle's package key table")


def make(folder, table_source):
    check_table_source(table_source)
    os.makedirs(folder, exist_ok=True)
    for group in (*preferences_records(), *usage_records()):
        for name, data in group.items():
            with open(os.path.join(folder, name + ".bin"), "wb") as f:
                f.write(data)
    _, corrupt_prefs = preferences_records()
    _, corrupt_usage = usage_records()
    with open(os.path.join(folder, "corrupt_records.txt"), "w") as f:
        f.write("\n".join(sorted(corrupt_prefs) + sorted(corrupt_usage)) + "\n")
    with open(os.path.join(folder, "package_blocks.txt"), "w") as f:
        f.write(package_blocks())
    write_cases(folder, "module_cases.txt", module_packages())
    write_cases(folder, "plugins_cases.txt", plugin_lists())
    install_folder(os.path.join(folder, "install"))
    write_cases(folder, "update_cases.txt", update_packages())
    transaction_packages(os.path.join(folder, "transaction"))
    updater_records(os.path.join(folder, "records"))
    installer_folder(os.path.join(folder, "installer"))
    installer_setup_folder(os.path.join(folder, "installer_setup"))
    program_folders(os.path.join(folder, "program"))


# ------------------------------------------------------------------- check

def check_preferences(entry, data):
    got = ur.decode_preferences(data, entry.get("default_frequency", DEFAULT_FREQUENCY))
    problems = []
    if "guid" in entry and got["guid"] != entry["guid"].upper():
        problems.append(f"guid {got['guid']} != {entry['guid']}")
    if entry.get("guid_nonzero") and got["guid"] == "00000000-0000-0000-0000-000000000000":
        problems.append("guid is zero")
    if "blob" in entry and got["blob"].hex() != entry["blob"]:
        problems.append(f"blob {got['blob'].hex()} != {entry['blob']}")
    if "frequency" in entry and got["frequency"] != entry["frequency"]:
        problems.append(f"frequency {got['frequency']} != {entry['frequency']}")
    if got["version"] != 1:
        problems.append(f"version {got['version']} written")
    if "seed" in entry:
        again = ur.encode_preferences(got["guid"], got["blob"], got["frequency"], entry["seed"])
        if again != data:
            problems.append("the oracle's encoding with the same seed differs")
    return problems


def check_usage(entry, data, folder):
    got = ur.decode_usage(data)
    problems = []
    if got["version"] != ur.USAGE_VERSION or got["counter_length"] != ur.COUNTER_LENGTH:
        problems.append(f"version {got['version']} / counter length {got['counter_length']} written")
    if got["created_kind"] != ur.KIND_UTC:
        problems.append(f"creation date of kind {got['created_kind']}")
    # The stream is zlib level 3: the header's level bits say so.
    header = ur.scramble(data[24:], struct.unpack("<I", data[:4])[0], ur.USAGE_MASK)[8:10]
    if header[0] & 0x0F != 8 or (header[1] >> 6) != 1 or (header[0] << 8 | header[1]) % 31:
        problems.append(f"zlib header {header.hex()} is not that of level 3")
    for key in ("saved_day", "created"):
        if key in entry and got[key] != entry[key]:
            problems.append(f"{key} {got[key]} != {entry[key]}")
    if "order" in entry and got["order"] != entry["order"]:
        problems.append(f"order {got['order']} != {entry['order']}")
    for feature_id, want in entry.get("features", {}).items():
        have = got["features"].get(int(feature_id))
        if have is None:
            problems.append(f"feature {feature_id} missing")
            continue
        expected = [0] * ur.COUNTER_LENGTH
        for index, count in want.get("counters", []):
            expected[index] = count
        if "counters" in want and have["counters"] != expected:
            nonzero = [(i, c) for i, c in enumerate(have["counters"]) if c]
            problems.append(f"feature {feature_id} counters {nonzero} != {want['counters']}")
        for key in ("first_day", "total"):
            if key in want and have[key] != want[key]:
                problems.append(f"feature {feature_id} {key} {have[key]} != {want[key]}")
    more = entry.get("one_more_use_than")
    if more:
        with open(os.path.join(folder, more["file"]), "rb") as f:
            before = ur.decode_usage(f.read())
        shift = got["saved_day"] - before["saved_day"]
        # Counter 0 stands for the saved day; a save on a later day starts it
        # from nothing.
        old_today = before["features"][more["id"]]["counters"][0] if shift == 0 else 0
        new_today = got["features"][more["id"]]["counters"][0]
        if shift < 0 or new_today != old_today + 1:
            problems.append(f"feature {more['id']} today {new_today}, before {old_today}: not one more use")
    return problems


def check_plugins(entry, data):
    got = ur.read_plugins_dat(data)
    problems = []
    if got["format_version"] != 1:
        problems.append(f"format version {got['format_version']} written")
    if got["written"] >> 62 != ur.KIND_UTC or not got["written"] & ((1 << 62) - 1):
        problems.append(f"written date-time {got['written']:#x} is no UTC time")
    if got["list_kind"] != entry["list_kind"]:
        problems.append(f"list kind {got['list_kind']} != {entry['list_kind']}")
    if list(got["product_version"]) != entry["product_version"]:
        problems.append(f"product version {got['product_version']} != {entry['product_version']}")
    plugins = [list(p.fields()) for p in got["plugins"]]
    for p in plugins:
        p[2] = list(p[2])
    if plugins != entry["plugins"]:
        problems.append(f"entries {plugins} != {entry['plugins']}")
    # The oracle's own writing of what it read gives the same bytes.
    again = ur.plugins_dat(got["plugins"], got["product_version"], got["list_kind"], got["written"])
    if again != data:
        problems.append("the oracle's writing of the same list differs")
    return problems


def check(folder):
    written = os.path.join(folder, "written")
    manifest = os.path.join(written, "manifest.jsonl")
    if not os.path.exists(manifest):
        print("no manifest: addin_update_tests wrote nothing")
        return 1
    failures = 0
    kinds = set()
    with open(manifest) as lines:
        for line in lines:
            entry = json.loads(line)
            kinds.add(entry["kind"])
            with open(os.path.join(written, entry["file"]), "rb") as f:
                data = f.read()
            try:
                if entry["kind"] == "preferences":
                    problems = check_preferences(entry, data)
                elif entry["kind"] == "plugins":
                    problems = check_plugins(entry, data)
                else:
                    problems = check_usage(entry, data, written)
            except (ValueError, ur.Truncated, ur.BadEnvelope, zlib.error) as error:
                problems = [f"unreadable: {error}"]
            print(f"{entry['file']}: {'ok' if not problems else 'FAILED: ' + '; '.join(problems)}")
            failures += bool(problems)
    if kinds != {"preferences", "usage", "plugins"}:
        print(f"only {sorted(kinds)} records were written")
        failures += 1
    return 1 if failures else 0


if __name__ == "__main__":
    if sys.argv[1] == "make":
        make(sys.argv[2], sys.argv[3])
    else:
        sys.exit(check(sys.argv[2]))
