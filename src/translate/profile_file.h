#pragma once
// A sectioned key=value text file in code page 1251, the format the
// translation dictionary trans.dic is kept in:
//
//   [Section]
//   key=value
//
// Reading: section names and keys are compared without regard to letter case
// (Cyrillic included); blanks (spaces, tabs) around a section name, a key and
// a value are not part of them; the first "=" of an entry line ends its key; a
// value enclosed in double quotation marks loses the two marks, so a value can
// keep blanks at its ends; a value is read up to 2047 characters. The first
// matching section and, in it, the first matching entry count. CR LF and LF
// line ends are both read.
//
// Writing one entry adds it or replaces it in its section, creating the
// section at the end of the file and the file itself when they are missing,
// and leaves every other line of the file exactly as it was, line ends
// included. The file is replaced in one step (temporary file beside it, then
// rename), so a write that fails never leaves a shortened file behind.
//
// Nothing is cached: every call reads the file anew, so edits made to the file
// between two calls are seen by the second.

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <optional>

namespace zarven {

class ProfileFile {
public:
    // The longest value a read returns; longer values are cut.
    static constexpr int kMaxValueLength = 2047;

    explicit ProfileFile(QString path) : path_(std::move(path)) {}

    const QString &path() const { return path_; }

    // True when a file (not a folder) exists at the path.
    bool exists() const;

    // The value of the key in the section, or the empty text when the file,
    // the section or the key is missing or the file cannot be read.
    QString readString(const QString &section, const QString &key) const;

    // Every entry of the section, in file order, as (key, value) pairs; values
    // are cut as readString() cuts them. Empty when the file or the section is
    // missing.
    QList<QPair<QString, QString>> readSection(const QString &section) const;

    // Adds or replaces the entry. An entry that already holds exactly this
    // value is left alone and the file is not touched at all.
    // Throws FileError "Unable to write to " + path when the file cannot be
    // written (it is marked read-only, its folder is missing or refuses new
    // files, the disk is full); the file is then unchanged.
    // Throws std::invalid_argument when the key fails canHoldKey(), the
    // section fails canHoldSection() or the value holds a line break: such an
    // entry could not be found again.
    void writeString(const QString &section, const QString &key, const QString &value) const;

    // The two operations on a file's content held in memory. withEntry gives
    // the new content, or nothing when the entry already holds the value; it
    // throws std::invalid_argument as writeString does.
    static QString readFrom(const QByteArray &content, const QString &section, const QString &key);
    static std::optional<QByteArray> withEntry(const QByteArray &content, const QString &section,
                                               const QString &key, const QString &value);

    // Whether a text can be written as a key and found again by the same
    // text: not blank, no "=", no line break, not starting with "[", and
    // every character in code page 1251.
    static bool canHoldKey(const QString &key);
    // The same for a section name, which also may not hold "]": the reader
    // ends a section name at its first "]".
    static bool canHoldSection(const QString &section);

private:
    QString path_;
};

} // namespace zarven
