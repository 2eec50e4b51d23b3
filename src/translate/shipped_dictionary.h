#pragma once
// The dictionary that comes with the program, built into it as a resource,
// so that the language menu works out of the box.

#include <QByteArray>
#include <QString>

namespace zarven {

// The built-in copy of trans.dic.
inline const QString kShippedDictionaryResource = QStringLiteral(":/zarven/trans.dic");

// The bytes of the built-in dictionary.
QByteArray shippedDictionary();

// Copies the built-in dictionary to trans.dic in the folder when the folder
// has none. An existing dictionary, even an empty one, is never replaced: it
// may hold an installer's own translations. Returns whether the folder has a
// dictionary afterwards; a folder that refuses the copy is no error here (the
// language menu then reports the missing dictionary when it is used).
bool installShippedDictionary(const QString &programDir);

} // namespace zarven
