#pragma once
// The configuration sheet: one or two printed pages the installer leaves
// with the customer. It lists what a write of the window would store in the
// controller, field by field from the field catalogue (image_fields.h), in
// the window's language: the phones, each input with its message, type and
// outputs, the sensors, the arming options and delays, and the key
// descriptions when the key table is known; a heading says which file, which
// day and which controller on which port.
//
// The sheet is a plain document model; sheetHtml() lays it out for printing
// (sheet_printer.h), sheetText() gives the same content as lines of text.

#include "keys/key_table.h"
#include "settings/image_fields.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace zarven {

// What the sheet says beside the settings.
struct SheetFacts {
    QString file;              // the configuration file shown; empty: none
    QDate date;                // the day the sheet is made
    QString controllerVersion; // the connected controller's version; empty: none
    QString port;              // its port
    std::optional<KeyRows> keys; // the key table, when it is known
};

// One table of the sheet. A table of one place ("Телефоны") has a title and
// rows of a caption and one value; places with the same captions
// ("Вход 1" to "Вход 4") share one table, a column each, named in columns.
struct SheetTable {
    QString title;       // empty for a table of several places
    QStringList columns; // the places of a shared table; empty otherwise
    QList<QStringList> rows; // caption, then one value per place
};

struct ConfigSheet {
    QString title;
    QStringList facts; // "Файл: …", "Дата: …", "Прибор: …"
    QList<SheetTable> tables;
};

// The sheet of the fields a write would send (encodedFields()). A field
// whose gate is off (an inactive input's message, a sensor's thresholds
// while it is off) shows "—": the controller ignores it. The clock's date
// and time are not settings of the customer's and are left out. Only key
// rows with a description are listed, and without their codes: the sheet
// goes to the customer, and a code is what a copied key would need.
ConfigSheet buildConfigSheet(const FieldValues &fields, const SheetFacts &facts, const TextTranslator &tr = {});

// The sheet as HTML for a text document; every text of the user's is
// escaped.
QString sheetHtml(const ConfigSheet &sheet);

// The sheet as text: the title, the facts, then each table's title or
// columns and its rows, cells separated by " | ".
QString sheetText(const ConfigSheet &sheet);

} // namespace zarven
