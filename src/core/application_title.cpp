#include "core/application_title.h"

namespace zarven {

namespace {

QString &title()
{
    static QString value;
    return value;
}

} // namespace

QString applicationTitle()
{
    return title();
}

void setApplicationTitle(const QString &text)
{
    title() = text;
}

} // namespace zarven
