#pragma once
// What the simulated controller remembers: its settings image and its key
// table. The state file keeps both across restarts as hexadecimal text lines,
// so that any byte survives and a person can still read and edit the file:
//
//   zarven4-sim state 1
//   image 01 0D 31 ...        (the settings image, possibly empty)
//   keys 4D 61 73 ...         (exactly 250 bytes)
//
// Blank lines and lines starting with "#" are ignored; a line that is absent
// leaves that part at its default.

#include "core/errors.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace zarven::sim {

struct ControllerState {
    QByteArray settingsImage;
    QByteArray keyTable;

    // The state of a controller nobody has written to; the image's clock is
    // the given moment.
    static ControllerState defaults(const QDateTime &clock);

    // Reads the state file over the defaults. Throws FileError naming the
    // file and the line when it cannot be read or says anything unclear;
    // the file is never changed by a failed load.
    static ControllerState load(const QString &path, const QDateTime &clock);

    // Writes the state file as a whole (a crash never leaves half a file).
    // Throws FileError.
    void save(const QString &path) const;

    QByteArray toFileText() const;
    bool operator==(const ControllerState &) const = default;
};

} // namespace zarven::sim
