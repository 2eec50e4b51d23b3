#include "journal/settings_diff.h"

#include "config_file/config_loader.h"
#include "core/errors.h"
#include "core/event_log.h"
#include "settings/image_fields.h"
#include "settings/shadow_settings.h"

#include <exception>

namespace zarven {

namespace {

// Loads content into shadow; the reason it did not, or an empty text.
QString load(const QByteArray &content, const QString &label, ShadowSettings &shadow)
{
    if (!holdsCompleteRecord(content))
        return QStringLiteral("%1: not a configuration file").arg(label);
    EventLog unlogged;
    try {
        loadConfiguration(content, shadow.controls(), unlogged);
        runRulesAfterLoad(shadow.controls());
    } catch (const AppError &e) {
        return label + QStringLiteral(": ") + e.message();
    } catch (const std::exception &e) {
        return label + QStringLiteral(": ") + QString::fromLocal8Bit(e.what());
    }
    return {};
}

} // namespace

SettingsDiff diffConfigurations(const QByteArray &a, const QString &labelA, const QByteArray &b,
                                const QString &labelB)
{
    SettingsDiff diff;
    ShadowSettings left;
    ShadowSettings right;
    diff.error = load(a, labelA, left);
    if (diff.error.isEmpty())
        diff.error = load(b, labelB, right);
    if (!diff.ok())
        return diff;
    try {
        diff.differences = compareFields(encodedFields(left.controls()), encodedFields(right.controls())).differences;
    } catch (const AppError &e) {
        diff.error = e.message();
    }
    return diff;
}

} // namespace zarven
