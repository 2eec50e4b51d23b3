#pragma once
// The translation dictionary trans.dic and the two ways texts pass through
// it: messages before they are shown (TranslateText) and the window's
// caption-like texts when the language is switched (TranslateForm).
//
// The dictionary has four sections: "Eng" and "Rus" hold the window's texts
// (keyed by what the window shows at the moment of the switch, so "Rus" is
// keyed by the English texts), "Rus1" and "Eng1" hold the messages, always
// keyed by their Russian text. It is also a collecting list: every text that
// is looked up and not found is written into the searched section with an
// empty value, so running the tool in a language gathers what still needs
// translating.
//
// Every call opens the file anew; nothing of it is held between calls.

#include <QChar>
#include <QString>

class QWidget;

namespace zarven {

class MessageBoxes;
class ProfileFile;
struct SharedValues;

// The dictionary's file name in the program's folder.
inline const QString kDictionaryName = QStringLiteral("trans.dic");

// Looks one text up in one section. The key is the text with every "&"
// (accelerator mark) removed; the value is returned as stored, "&" included.
// An empty text is returned at once without touching the file. A key that is
// missing, or holds an empty value, is written back with an empty value and
// the text itself is returned, so no caption or message ever goes blank.
// A text that no dictionary line can hold as a key (a line break, an "=", a
// leading "[", a character outside code page 1251) is returned as it is and
// never written: its entry would corrupt the file or be added anew at every
// lookup.
// Throws FileError "Unable to write to " + path when the write-back fails.
QString LookupTranslation(const QString &text, const QString &section, const ProfileFile &dictionary);

// Translates one message for a language letter: section "Rus1" for "R",
// "Eng1" for "E" (any other letter leaves the text as it is). While no file
// exists at the path, a plain box "No exists" + path is shown first.
// Throws FileError when the write-back of a missing message fails.
QString TranslateText(const QString &text, QChar languageLetter, const QString &path, MessageBoxes &boxes);

// Translates the window's caption, the application title and every
// caption-like text of the components the window owns, in place, through the
// section. See translate_form.cpp for which widget kinds take part.
// Throws FileError when a write-back fails; the texts translated until then
// stay translated.
void TranslateForm(QWidget *window, const QString &section, const QString &path, MessageBoxes &boxes);

// A caption that code puts on a control, given in Russian, in the window's
// current language: the Russian itself, or its entry in "Eng" while the
// window is in English (a missing entry is collected as by any lookup).
// Without a dictionary the Russian is returned and no file is made.
// Throws FileError when the write-back of a missing entry fails.
QString captionInCurrentLanguage(const SharedValues &shared, const QString &russian);

// Marks a control whose texts are run-time values (device paths, readings),
// not captions: TranslateForm leaves it and what it holds alone, so a switch
// neither changes them nor writes them into the dictionary.
void keepOutOfTranslation(QWidget *control);

// The dictionary the window uses: trans.dic in the program's folder.
QString dictionaryPath(const SharedValues &shared);

// A message in the window's current language, for the operations that show
// one of the translated messages: TranslateText with the current language
// letter and the window's dictionary.
QString messageInCurrentLanguage(const SharedValues &shared, MessageBoxes &boxes, const QString &russian);

// A status bar text in the window's current language. Unlike a message it
// shows no box: while the dictionary is missing or cannot take a write-back
// the text is returned as it is.
QString statusTextInCurrentLanguage(const SharedValues &shared, const QString &russian);

// The same message shown at once in a plain message box. When the
// translation fails (the dictionary cannot be written), the error is raised
// and no box is shown.
void showMessageInCurrentLanguage(const SharedValues &shared, MessageBoxes &boxes, const QString &russian);

} // namespace zarven
