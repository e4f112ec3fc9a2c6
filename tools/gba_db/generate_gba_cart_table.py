#!/usr/bin/env python3
"""Generates src/cart/gba_cart_table.cpp, the GBA cartridge database.

Source: the CC0 GBA cartridge list of Debian's mame-data package
(/usr/share/games/mame/hash/gba.xml). Usage:

    generate_gba_cart_table.py [gba.xml] [output.cpp]

Rules:
- one row per cartridge with at least one product code, in the list's order;
- the nine reference rows below stand exactly as written at their row numbers.
  A list entry whose product codes are all among theirs is left out; an entry
  that shares only some keeps the others, so a reference row is never shadowed
  by an earlier row;
- regions in titles use the short style ("Europe" -> "Euro", "rev. 1" -> "Rev. 1");
- save kinds map onto the seven names the decoder knows (SAVE_KINDS);
- fields longer than their width are cut at a character boundary.
"""
import re
import os
import sys
import xml.etree.ElementTree as ET

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from c_strings import c_string  # noqa: E402

WIDTHS = (140, 10, 30, 40, 10, 20)  # title, year, publisher, serial, rom_size, save_kind

REFERENCE_ROWS = {
    0: ("2 Game Pack!: Hot Wheels - Stunt Track Challenge + Hot Wheels - World Race (Euro, USA)",
        "200?", "DSI Games", "AGB-BQJE-USA, AGB-BQJP", "16777216", ""),
    1: ("Ace Lightning (Euro)", "2002", "BBC Worldwide", "AGB-ALXP-UKV", "4194304", "gba_eeprom_4k"),
    2: ("Advance Wars (Euro)", "2001", "Nintendo", "AGB-AWRP-EUR", "8388608", "gba_flash"),
    40: ("The King of Fighters EX - NeoBlood (USA)", "2002", "Sammy", "AGB-AKOE-USA", "8388608",
         "gba_eeprom_4k"),
    56: ("Mother 3 (Jpn)", "2006", "Nintendo", "AGB-A3UJ-JPN", "33554432", "gba_flash_512"),
    562: ("Comix Zone (Euro)", "2002", "Sega", "AGB-ACZP", "4194304", "gba_eeprom"),
    1251: ("The King of Fighters EX - NeoBlood (USA, Rev. 1)", "2002", "Sammy", "AGB-AKOE-USA",
           "8388608", "gba_eeprom_4k"),
    2494: ("Zoku Bokura no Taiyou - Taiyou Shounen Django (Jpn)", "2004", "Konami",
           "AGB-U32J-JPN (RK363-J1)", "16777216", "gba_eeprom_64k"),
    2498: ("Play-Yan Micro (Jpn)", "2005", "Nintendo", "AGS-006", "4194304", "gba_sram"),
}

SAVE_KINDS = ("gba_sram", "gba_eeprom_4k", "gba_eeprom_64k", "gba_eeprom", "gba_flash_512",
              "gba_flash_1m", "gba_flash")

# Slot names that add a clock or sensor to a memory kind keep that kind.
SLOT_KINDS = {
    "gba_flash_1m_rtc": "gba_flash_1m",
    "gba_flash_rtc": "gba_flash",
}
# Slot names of cartridges with a clock on their port; the rows keep their
# memory kind and are listed in gba_clock_rows.
CLOCK_SLOTS = ("gba_flash_1m_rtc", "gba_flash_rtc", "gba_boktai")
# Slot names that tell no memory kind are decided from the entry's chip list:
#   "FRAM" or "SRAM"          -> gba_sram (FRAM is accessed like SRAM)
#   "64K EEPROM"              -> gba_eeprom_64k
#   "4K EEPROM"               -> gba_eeprom_4k
#   "4K/64K EEPROM" (either)  -> gba_eeprom (size not told)
#   "FLASH"                   -> gba_flash
#   no save chip ("3D Memory" video carts) -> none
# An entry without a chip list takes the decision of its parent or a sibling
# clone; failing that, of any entry with the same slot name.

REGIONS = {
    "Europe": "Euro", "Japan": "Jpn", "France": "Fra", "Germany": "Ger", "Spain": "Spa",
    "Italy": "Ita", "Netherlands": "Ned", "Sweden": "Swe", "Korea": "Kor", "Australia": "Aus",
    "China": "Chn", "Taiwan": "Tai", "Denmark": "Den", "Finland": "Fin", "Norway": "Nor",
    "Brazil": "Bra", "Canada": "Can", "Asia": "Asia", "Hong Kong": "HK",
}


def short_title(description):
    def fix(match):
        parts = [p.strip() for p in match.group(1).split(",")]
        out = []
        for p in parts:
            p = REGIONS.get(p, p)
            p = re.sub(r"^rev\. ", "Rev. ", p)
            out.append(p)
        return "(" + ", ".join(out) + ")"
    return re.sub(r"\(([^()]*)\)", fix, description)


def chip_kind(features):
    text = " ".join(v for k, v in features if k != "slot").upper()
    if not text:
        return None
    if "FRAM" in text or "SRAM" in text:
        return "gba_sram"
    if "4K/64K EEPROM" in text:
        return "gba_eeprom"
    if "64K EEPROM" in text:
        return "gba_eeprom_64k"
    if "4K EEPROM" in text:
        return "gba_eeprom_4k"
    if "FLASH" in text:
        return "gba_flash"
    return ""


def cut(text, width):
    data = text.encode("utf-8")
    while len(data) > width - 1:  # keep room for the terminator
        text = text[:-1]
        data = text.encode("utf-8")
    return text



def codes_of(serial):
    return [c.strip().split(" ")[0] for c in serial.split(",") if c.strip()]


def game_code(product):
    parts = product.split("-")
    return parts[1] if len(parts) > 1 else product


def load(path):
    root = ET.parse(path).getroot()
    entries = []
    for sw in root.findall("software"):
        serial = next((i.get("value") for i in sw.findall("info") if i.get("name") == "serial"), "")
        features = [(f.get("name"), f.get("value")) for f in sw.iter("feature")]
        slot = next((v for k, v in features if k == "slot"), "")
        rom = next((d.get("size") for d in sw.iter("dataarea") if d.get("name") == "rom"), "0")
        entries.append({
            "name": sw.get("name"), "parent": sw.get("cloneof") or sw.get("name"),
            "title": short_title(sw.findtext("description", "")),
            "year": sw.findtext("year", ""), "publisher": sw.findtext("publisher", ""),
            "serial": serial, "rom": str(int(rom, 0)), "slot": slot, "features": features,
        })
    return entries


def decide_kinds(entries):
    decided = {}
    for e in entries:
        if e["slot"] in SAVE_KINDS:
            e["kind"] = e["slot"]
        elif e["slot"] in SLOT_KINDS:
            e["kind"] = SLOT_KINDS[e["slot"]]
        elif e["slot"] == "" or e["slot"] == "gba_rom":
            e["kind"] = ""
        else:
            e["kind"] = chip_kind(e["features"])
            if e["kind"] is not None:
                decided.setdefault((e["slot"], e["parent"]), e["kind"])
                decided.setdefault(e["slot"], e["kind"])
    for e in entries:
        if e["kind"] is None:
            e["kind"] = decided.get((e["slot"], e["parent"]), decided.get(e["slot"], ""))


def build_rows(entries):
    reserved = set()
    for row in REFERENCE_ROWS.values():
        reserved.update(game_code(c) for c in codes_of(row[3]))
    listed = []
    for e in entries:
        if not e["serial"]:
            continue
        kept = [c for c in [s.strip() for s in e["serial"].split(",")]
                if game_code(c.split(" ")[0]) not in reserved]
        if not kept:
            continue
        listed.append((e["title"], e["year"], e["publisher"], ", ".join(kept), e["rom"], e["kind"],
                       e["slot"] in CLOCK_SLOTS))
    rows = []
    it = iter(listed)
    total = len(listed) + len(REFERENCE_ROWS)
    for index in range(total):
        rows.append(REFERENCE_ROWS[index] + (False,) if index in REFERENCE_ROWS else next(it))
    return rows


def main():
    source = sys.argv[1] if len(sys.argv) > 1 else "/usr/share/games/mame/hash/gba.xml"
    target = sys.argv[2] if len(sys.argv) > 2 else "src/cart/gba_cart_table.cpp"
    entries = load(source)
    decide_kinds(entries)
    rows = build_rows(entries)
    lines = [
        "// Generated by tools/gba_db/generate_gba_cart_table.py from the CC0 GBA cartridge",
        "// list of the mame-data package. Do not edit by hand.",
        "// clang-format off",
        '#include "cart/gba_cart_table.h"',
        "",
        "namespace gb {",
        "",
        "const gba_cart_row gba_cart_table[] = {",
    ]
    for row in rows:
        fields = [c_string(cut(f, w)) for f, w in zip(row[:6], WIDTHS)]
        lines.append("    {" + ", ".join(fields) + "},")
    lines += ["};", "", "const size_t gba_cart_count = sizeof gba_cart_table / sizeof gba_cart_table[0];",
              "", "const uint16_t gba_clock_rows[] = {"]
    clocks = [str(i) for i, row in enumerate(rows) if row[6]]
    for start in range(0, len(clocks), 16):
        lines.append("    " + ", ".join(clocks[start:start + 16]) + ",")
    lines += ["};", "", "const size_t gba_clock_row_count = sizeof gba_clock_rows / sizeof gba_clock_rows[0];",
              "", "}  // namespace gb", ""]
    with open(target, "w", encoding="utf-8") as out:
        out.write("\n".join(lines))


if __name__ == "__main__":
    main()
