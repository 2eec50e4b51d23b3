#pragma once
// The columns of a sites table and the values they take. Every settings
// field of the catalogue (settings/image_fields.h) is a column under its key
// ("phone1", "input2.type", "sensor1.min", "arming.level" …), beside "site"
// (the site's name, required) and "keys" (a key file for the site). A value
// is taken the way the window takes it:
//   flags          1 / 0, да / нет (yes / no)
//   lists          the entry's caption, or its place in the list from 1
//   output times   нет (not assigned), всегда (always on), or m:ss
//   temperatures   whole degrees, -55 to 125; delays 0 to 250 seconds
//   phones         digits, with or without the leading "+"
//   messages       up to 25 characters of code page 1251
//   date, time     dd.mm.yy, hh:mm:ss
// An empty cell keeps the template's value.

#include "provision/site_table.h"
#include "settings/image_fields.h"

#include <QList>
#include <QString>
#include <optional>

namespace zarven {

class ControlAccess;
struct SharedValues;

inline constexpr char kSiteColumn[] = "site";
inline constexpr char kKeysColumn[] = "keys";

// "site", the catalogue's keys in its order, "keys".
QStringList siteColumns();
// The lines of `provision --columns`: a column, its place and caption in the
// window, and the values it takes.
QStringList siteColumnLines(const TextTranslator &tr = {});

// One value of a settings column, parsed for its field's kind.
struct SiteValue {
    enum class Time { NotAssigned, AlwaysOn, Timed };
    int number = 0;  // a list's index, a flag (1/0), degrees or seconds
    QString text;    // a message, phone ("+" and digits), date or time
    Time time = Time::NotAssigned;
    int minutes = 0; // Timed output times
    int seconds = 0;
};

// The value of a cell, or the reason (Russian) the field does not take it.
struct ParsedValue {
    std::optional<SiteValue> value;
    QString error;         // Russian, with "%1" … for errorArgs
    QStringList errorArgs;
};
ParsedValue parseSiteValue(FieldKind kind, const QString &cell);

// Sets the field's controls to the value through their own setters, so the
// window's rules run as for the user's change.
void applySiteValue(ControlAccess &controls, int field, const SiteValue &value);

// One problem of the table, at a file line and a column (empty: the row).
struct TableProblem {
    int line = 0;
    QString column;
    QString reason;     // Russian, with "%1" … for args; or already shown text
    QStringList args;
    bool shown = false; // reason is already in the window's language

    QString text(const TextTranslator &tr = {}) const;
};

// The checks that need no window: the header (a "site" column, no unknown
// or repeated column), every row's site (given, not repeated) and every
// value. The key files are read relative to `folder`.
QList<TableProblem> checkSiteTable(const SiteTable &table, const QString &folder);

// Applies a row's settings onto the controls (the template already in
// them), in the order gates first: an input's "Активировать" before its
// message.
void applySiteRow(ControlAccess &controls, const SiteTable &table, int row);

// What a write of the controls would refuse, named by the row's line and
// the column of the field: an active input without message, a box the
// image cannot be encoded from.
QList<TableProblem> writeRefusals(const ControlAccess &controls, const SharedValues &shared, int line,
                                  const TextTranslator &tr = {});

// The key file a row names, resolved against the table's folder; empty when
// the row names none.
QString siteKeyFile(const SiteTable &table, int row, const QString &folder);

} // namespace zarven
