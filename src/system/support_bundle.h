#pragma once
// The support bundle: one zip file an installer sends to support, holding
// what is needed to see what happened on the line and on the machine:
//   log.log       the session's log, as it would be written at the end
//   LoadFile.rep  the last load report, save.000 the last backup (when there)
//   trace.txt     the last packets in and out, time-stamped, in hex
//   versions.txt  the tool's, Qt's and the system's versions
//   doctor.txt    the system check's report
//   ports.txt     the port list with the adapter behind each port
// Written through libzip.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace zarven {

struct BundleFile {
    QString name;
    QByteArray content;
};

struct SupportBundleInput {
    QString programDir;  // where LoadFile.rep and save.000 are
    QByteArray log;      // the session's log, bytes as log.log holds them
    QByteArray trace;    // PacketTrace::text()
    QString doctorReport;
    QStringList ports;   // the port list
    QString root;        // the tree the adapters are read from ("": the machine's)
};

// The files of the bundle, in the order above. A file that is not there
// (no load yet, no backup yet) is left out.
QList<BundleFile> supportBundleFiles(const SupportBundleInput &input);

// The port list with each port's adapter: label, USB id, driver and the
// udev names; one port a line.
QString portListText(const QStringList &ports, const QString &root = QString());
QString versionsText();

// Writes the files into a zip at path, replacing it; throws FileError naming
// the path and libzip's reason. Nothing is left at path when it fails.
void writeZip(const QString &path, const QList<BundleFile> &files);

} // namespace zarven
