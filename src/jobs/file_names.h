// The names the program suggests for the files it writes: the name an imported
// DAT or the database gives a cartridge it knows, else the header's title and
// game code, with the system's extension, safe on every common file system.
#pragma once

#include <QString>

struct Detection;

// text without / \ : * ? " < > | and control characters (each becomes '_'),
// without trailing dots and blanks; "cartridge" when nothing is left.
QString safe_file_name(const QString& text);

// "Advance Wars (Euro).gba", "ZELVO TEST (ZTST).gbc", "POKEMON GOLD.sav";
// empty when no cartridge was found.
QString suggested_file_name(const Detection& detection, bool save);
