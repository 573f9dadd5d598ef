#include "basErrorHandling.h"

#include "ui/MessageBox.h"
#include "ui/MousePointer.h"

#include <QApplication>
#include <QWidget>

namespace qv {
namespace {

constexpr qint32 kInternalError = 51;

QString ActiveWindowCaption()
{
    // A failure to find the caption only means the default title is used.
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return {};
    QWidget *active = QApplication::activeModalWidget();
    if (!active)
        active = QApplication::activeWindow();
    return active ? active->windowTitle() : QString();
}

} // namespace

void RaiseError(qint32 lNumber, const QString &sSource, const QString &sDescription, const QString &)
{
    const ErrorState &current = CurrentError();
    const qint32 number = lNumber != 0 ? lNumber : current.Number;
    const QString description = sDescription.isEmpty() ? current.Description : sDescription;
    const QString source = sSource.isEmpty() ? QString::fromLatin1(kRuntimeErrorSource) : sSource;
    const ComError error(number != 0 ? number : vberr::InvalidCall, source, description);
    SetCurrentError(error);
    throw error;
}

void ShowError(const QString &sPrefix, const QString &sTitle, const QString &, int lStyle)
{
    QString message = CurrentError().Description;
    if (!sPrefix.isEmpty())
        message = sPrefix + QStringLiteral("\r\n") + message;
    const QString title = sTitle.isEmpty() ? QString::fromLatin1(kTitleDataViews) : sTitle;
    ClearCurrentError();
    ShowMessage(message, title, lStyle);
}

int ShowErrorWithAction(const QString &sAction, const QString &sExtra, const QString &sTitle)
{
    QString message = CurrentError().Description;
    if (!sExtra.isEmpty())
        message += QStringLiteral("\r\n\r\n") + sExtra;
    ClearCurrentError();
    ui::SetMousePointer(ui::pointer::Default);
    ui::MessageRequest request{message, sTitle.isEmpty() ? QString::fromLatin1(kTitleDataViews) : sTitle,
                               ui::mb::Exclamation, {}, 0, sAction};
    try {
        return ui::ShowMessageBox(request);
    } catch (...) {
        return ui::mb::Ok;
    }
}

void AddErrorSource(const QString &sProcedure)
{
    ErrorState &current = CurrentError();
    current.Source = sProcedure + QStringLiteral(": ") + current.Source;
}

int ShowMessage(const QString &sMessage, const QString &sTitle, int lStyle, const QString &sHelpFile,
                int lContext)
{
    QString title = sTitle.isEmpty() ? ActiveWindowCaption() : sTitle;
    if (title.isEmpty())
        title = QString::fromLatin1(kTitleDataViews);
    ui::SetMousePointer(ui::pointer::Default);
    ui::MessageRequest request{sMessage, title, lStyle, sHelpFile, lContext, {}};
    try {
        return ui::ShowMessageBox(request);
    } catch (...) {
        // Showing a message must never become an error of its own.
        return ui::StyleDefaultAnswer(lStyle);
    }
}

void CaptureError()
{
    try {
        throw;
    } catch (const ComError &error) {
        SetCurrentError(error);
    } catch (const std::exception &error) {
        SetCurrentError(ComError(kInternalError, QString::fromLatin1(kRuntimeErrorSource),
                                 QStringLiteral("Internal error: %1").arg(QString::fromLocal8Bit(error.what()))));
    } catch (...) {
        SetCurrentError(ComError(kInternalError, QString::fromLatin1(kRuntimeErrorSource),
                                 QStringLiteral("Internal error")));
    }
}

} // namespace qv
