#pragma once
// Messages and status bar texts in the window's language.
//
// The code writes every message box and status bar text in Russian; each one
// passes through translateMessage() just before it is shown, through the
// dictionary's message section of the language ("Rus1" for R, "Eng1" for E,
// the sections TranslateText uses). A new message therefore needs nothing but
// its entries in trans.dic.
//
//   - A text with line breaks is translated line by line: each line is an
//     entry of its own (a dictionary line cannot hold a line break).
//   - A line found as a key ("&" removed, letter case ignored) gives its value.
//   - Keys may hold the placeholders %1 to %9 for the parts composed at run
//     time (a port name, a version, a path): "соединен с %1 %2=connected to
//     %1 %2". A line that matches such a key gives the value with the parts
//     put in; the parts themselves are never translated. A key cannot hold
//     "=" (it ends the key), so a text with one keeps it inside a part:
//     "Закрыт (Com%1)" matches "Закрыт (Com=COM1)" with "=COM1" as %1.
//   - A line that already is one of the section's values (a message that its
//     caller translated itself), a value with placeholders with any parts put
//     in, stays as it is.
//   - Blanks around a line are kept around its translation (the dictionary
//     trims its keys).
//   - What the program folder's dictionary lacks, or holds empty, is taken
//     from the shipped dictionary, so an older trans.dic kept by an installer
//     still shows the newer messages.
//   - Otherwise the line is written back with an empty value, as every lookup
//     does, and shown as it is.
//
// It never throws and never shows a box: a dictionary that cannot be read or
// written leaves the text as it is (a message must not be lost because its
// translation failed), and a missing dictionary is not created by it.

#include <QChar>
#include <QString>
#include <functional>

class QLabel;
class QWidget;

namespace zarven {

QString translateMessage(const QString &text, QChar languageLetter, const QString &path);

using MessageTranslator = std::function<QString(const QString &)>;

// Shows a Russian text in a label in the current language and keeps the
// Russian text with the label, so that retranslateLabels() can show it again
// after a language switch (status bar panels are not window captions: the
// window's translation leaves them alone).
void showTranslated(QLabel *label, const QString &russian, const MessageTranslator &translate);

// Shows every label under root that showTranslated() filled in the current
// language again.
void retranslateLabels(QWidget *root, const MessageTranslator &translate);

} // namespace zarven
