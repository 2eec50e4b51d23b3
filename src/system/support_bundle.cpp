#include "system/support_bundle.h"

#include "core/errors.h"
#include "serial/port_adapter.h"

#include <QDir>
#include <QFile>
#include <QSysInfo>

#include <zip.h>

namespace zarven {

namespace {

QString zipError(zip_t *archive)
{
    return QString::fromLocal8Bit(zip_strerror(archive));
}

FileError bundleError(const QString &path, const QString &reason)
{
    return FileError(QStringLiteral("Не удалось записать отчёт %1: %2").arg(QDir::toNativeSeparators(path), reason));
}

} // namespace

QString portListText(const QStringList &ports, const QString &root)
{
    QStringList lines;
    for (const QString &port : ports) {
        const PortAdapter a = portAdapter(port, root);
        QStringList parts {portWithAdapter(port, a)};
        if (a.isUsb())
            parts << QStringLiteral("usb %1").arg(a.usbId());
        if (!a.driver.isEmpty())
            parts << QStringLiteral("driver %1").arg(a.driver);
        if (!a.byId.isEmpty())
            parts << a.byId;
        if (!a.byPath.isEmpty())
            parts << a.byPath;
        lines << parts.join(QStringLiteral("; "));
    }
    return lines.isEmpty() ? QStringLiteral("(no serial ports)\n") : lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

QString versionsText()
{
    return QStringLiteral("zarven4-config %1\nQt %2 (built with %3)\n%4\n%5 %6 %7\n")
        .arg(QStringLiteral(ZARVEN_VERSION), QString::fromLatin1(qVersion()), QStringLiteral(QT_VERSION_STR),
             QSysInfo::prettyProductName(), QSysInfo::kernelType(), QSysInfo::kernelVersion(),
             QSysInfo::currentCpuArchitecture());
}

QList<BundleFile> supportBundleFiles(const SupportBundleInput &input)
{
    QList<BundleFile> files;
    files.append({QStringLiteral("log.log"), input.log});
    for (const char *name : {"LoadFile.rep", "save.000"}) {
        QFile f(QDir(input.programDir).filePath(QLatin1String(name)));
        if (f.open(QIODevice::ReadOnly))
            files.append({QLatin1String(name), f.readAll()});
    }
    files.append({QStringLiteral("trace.txt"), input.trace});
    files.append({QStringLiteral("versions.txt"), versionsText().toUtf8()});
    files.append({QStringLiteral("doctor.txt"), input.doctorReport.toUtf8() + '\n'});
    files.append({QStringLiteral("ports.txt"), portListText(input.ports, input.root).toUtf8()});
    return files;
}

void writeZip(const QString &path, const QList<BundleFile> &files)
{
    int code = 0;
    zip_t *archive = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (!archive) {
        zip_error_t error;
        zip_error_init_with_code(&error, code);
        const QString reason = QString::fromLocal8Bit(zip_error_strerror(&error));
        zip_error_fini(&error);
        throw bundleError(path, reason);
    }
    // libzip reads the buffers when the archive is closed; `files` keeps them.
    for (const BundleFile &f : files) {
        zip_source_t *source = zip_source_buffer(archive, f.content.constData(), zip_uint64_t(f.content.size()), 0);
        if (!source || zip_file_add(archive, f.name.toUtf8().constData(), source, ZIP_FL_OVERWRITE | ZIP_FL_ENC_UTF_8) < 0) {
            const QString reason = zipError(archive);
            if (source)
                zip_source_free(source);
            zip_discard(archive);
            throw bundleError(path, reason);
        }
    }
    // The archive goes to a temporary file beside path and replaces it only
    // when complete.
    if (zip_close(archive) != 0) {
        const QString reason = zipError(archive);
        zip_discard(archive);
        throw bundleError(path, reason);
    }
}

} // namespace zarven
