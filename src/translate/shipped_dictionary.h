#pragma once
// The dictionary that comes with the program: installed as read-only data
// (share/zarven4-config/trans.dic beside the program's bin folder, or any
// system data folder), found in the source tree's data/ when the program
// runs from its build tree, and built into the program as a last resort, so
// that the language menu works out of the box.

#include <QByteArray>
#include <QString>

namespace zarven {

// The built-in copy of trans.dic.
inline const QString kShippedDictionaryResource = QStringLiteral(":/zarven/trans.dic");

// The bytes of the built-in dictionary.
QByteArray shippedDictionary();

// The shipped dictionary file on disk, looked up in this order: the data
// folder of the installation the program runs from, the system's data
// folders, the source tree. The built-in resource when none exists.
QString shippedDictionaryFile();

// Copies the shipped dictionary to trans.dic in the folder when the folder
// has none. An existing dictionary, even an empty one, is never replaced: it
// may hold an installer's own translations. Returns whether the folder has a
// dictionary afterwards; a folder that refuses the copy is no error here (the
// language menu then reports the missing dictionary when it is used).
bool installShippedDictionary(const QString &programDir);

} // namespace zarven
