#pragma once
// Key files ("*.key"): code page 1251 text, lines ending with CR LF, four
// lines per key for keys 1 to 10:
//
//   #3              "#" and the key number
//   Дверь           the description, as the grid holds it
//   0123456789ABCDEF  the key code, as the grid holds it
//   /3              "/" and the key number
//
// Files of earlier versions hold keys 1 to 7 only; they load the same way
// and leave rows 8 to 10 alone.

#include "keys/key_table.h"

#include <QByteArray>
#include <QString>

namespace zarven {

// The file for the grid's rows. The bytes 0A, 0D and 1A would end a line or
// the file early, so inside a text each is written as a blank.
QByteArray keyFileContent(const KeyRows &rows);

// The outcome of reading a key file.
struct KeyFileLoad {
    bool ok = true;
    int errorLine = 0; // 1-based line at which reading stopped
};

// Reads a key file into the rows, block by block: a line starting with "#"
// takes its second and third characters as the key number n; for n = 1 to 10
// the next two lines become the description and the code of row n, exactly
// as read (missing at the end of the file: empty). Other numbers and lines
// not starting with "#" are passed over. An empty line where a "#" line or
// an ordinary line is expected, or a "#" line without a decimal number after
// it, stops the reading; rows filled until then keep their new texts.
KeyFileLoad loadKeyFile(const QByteArray &content, KeyRows &rows);

// The name a key file is saved under: the chosen name with ".key" appended
// unless it already ends with it (in any letter case).
QString keyFileName(const QString &chosen);

} // namespace zarven
