#pragma once
// Two sets of settings compared offline: configuration files with files,
// journal entries with entries or with the window. Each side is loaded into
// hidden panels of its own, as the menu's load would load it into the
// window, and the two are compared field by field as the controller would
// store them.

#include "settings/settings_comparison.h"

#include <QByteArray>
#include <QString>

namespace zarven {

struct SettingsDiff {
    QString error; // empty: both sides loaded
    QList<FieldDifference> differences;
    bool ok() const { return error.isEmpty(); }
};

// Compares two configuration files' contents. A side that is no
// configuration file, or does not load, gives an error naming it by label.
SettingsDiff diffConfigurations(const QByteArray &a, const QString &labelA, const QByteArray &b,
                                const QString &labelB);

} // namespace zarven
