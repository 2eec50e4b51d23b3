#pragma once
// Byte strings as the simulator's command line, state file and log write
// them. Unlike the window's HexToBytes, which follows the settings formats'
// lenient rules, these parsers refuse anything ambiguous: a state file or an
// option that does not say exactly which bytes it means is an error.

#include <QByteArray>
#include <QString>
#include <optional>

namespace zarven::sim {

// Pairs of hexadecimal digits (either case); blanks, ":" and "-" between
// bytes are allowed and ignored. An odd number of digits or any other
// character gives nothing and, when error is given, a description.
std::optional<QByteArray> parseHexBytes(const QString &text, QString *error = nullptr);

// A reply given on the command line: "text:" followed by text (encoded in
// code page 1251), or hexadecimal bytes as parseHexBytes reads them.
std::optional<QByteArray> parseBytesArgument(const QString &text, QString *error = nullptr);

// For the log: printable ASCII as it is, every other byte as <XX>.
QString printableBytes(const QByteArray &bytes);

} // namespace zarven::sim
