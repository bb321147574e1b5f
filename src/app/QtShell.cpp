#include "app/QtShell.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStringList>
#include <QUrl>

#include <optional>

#include "platform/DateTimeSettingsTool.h"

namespace tavrin {

Result<> QtShell::openLink(const std::string& url) {
    // The link is already encoded; strict parsing keeps a mail body's escapes as they were written.
    const QUrl link(QString::fromStdString(url), QUrl::StrictMode);
    if (!link.isValid()) return Result<>::failure("The link " + url + " is not valid.");
    if (!QDesktopServices::openUrl(link))
        return Result<>::failure("No program on this computer opens " + link.scheme().toStdString() +
                                 " links.");
    return Result<>::success();
}

Result<> QtShell::startDateTimeSettings() {
    const std::optional<ToolCommand> tool = findDateTimeSettingsTool();
    if (!tool) return Result<>::failure(kNoDateTimeToolMessage);
    QStringList arguments;
    for (const std::string& a : tool->arguments) arguments << QString::fromStdString(a);
    if (!QProcess::startDetached(QString::fromStdString(tool->program), arguments))
        return Result<>::failure("The date and time settings (" + tool->program + ") could not be started.");
    return Result<>::success();
}

}  // namespace tavrin
