#include "FileDialog.h"

#include "Modal.h"

#include "resources/PathText.h"

#include <QFileDialog>
#include <QRegularExpression>

namespace qv::ui {
namespace {

std::shared_ptr<FileDialogService> &Installed()
{
    thread_local std::shared_ptr<FileDialogService> service;
    return service;
}

QString CleanPatterns(const QString &patterns)
{
    QStringList parts = patterns.split(QRegularExpression(QStringLiteral("[;,\\s]+")), Qt::SkipEmptyParts);
    return parts.isEmpty() ? QStringLiteral("*") : parts.join(QLatin1Char(' '));
}

// The non-native dialog, so that it goes through the modal helper like every
// other window and tests can drive it.
class RealFileDialog : public FileDialogService
{
public:
    FileDialogResult Run(const FileDialogRequest &request, QWidget *parent) override
    {
        // The system's path texts may use '\\'; Qt is given file system paths.
        QFileDialog dialog(parent, request.Title, FileSystemPath(request.InitialFolder));
        dialog.setObjectName(QStringLiteral("dlgFile"));
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        const QStringList filters = TranslateFileFilter(request.Filter).split(QStringLiteral(";;"), Qt::SkipEmptyParts);
        if (!filters.isEmpty()) {
            dialog.setNameFilters(filters);
            dialog.selectNameFilter(filters.value(request.FilterIndex - 1, filters.first()));
        }
        switch (request.DialogMode) {
        case FileDialogRequest::Open:
            dialog.setFileMode(request.MustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
            dialog.setAcceptMode(QFileDialog::AcceptOpen);
            break;
        case FileDialogRequest::Save:
            dialog.setFileMode(QFileDialog::AnyFile);
            dialog.setAcceptMode(QFileDialog::AcceptSave);
            dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.OverwritePrompt);
            break;
        case FileDialogRequest::Folder:
            dialog.setFileMode(QFileDialog::Directory);
            dialog.setOption(QFileDialog::ShowDirsOnly);
            break;
        }
        // Callers give the extension as a pattern ("*.mdb"); Qt wants "mdb".
        QString suffix = request.DefaultExtension;
        while (suffix.startsWith(QLatin1Char('*')) || suffix.startsWith(QLatin1Char('.')))
            suffix.remove(0, 1);
        if (!suffix.isEmpty())
            dialog.setDefaultSuffix(suffix);
        if (!request.FileName.isEmpty())
            dialog.selectFile(FileSystemPath(request.FileName));
        FileDialogResult result;
        if (RunModal(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return result;
        result.Accepted = true;
        result.Path = dialog.selectedFiles().first();
        result.FilterIndex = int(filters.indexOf(dialog.selectedNameFilter())) + 1;
        return result;
    }
};

} // namespace

QString TranslateFileFilter(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    static const QRegularExpression trailingPatterns(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        const QString patterns = CleanPatterns(parts[i + 1]);
        if (description.isEmpty() && parts[i + 1].trimmed().isEmpty())
            continue;
        description.remove(trailingPatterns);
        if (description.isEmpty())
            description = patterns;
        out << QStringLiteral("%1 (%2)").arg(description, patterns);
    }
    return out.join(QStringLiteral(";;"));
}

FileDialogResult FileDialogDouble::Run(const FileDialogRequest &request, QWidget *)
{
    Requests.append(request);
    return Results.isEmpty() ? FileDialogResult{} : Results.dequeue();
}

std::shared_ptr<FileDialogService> SetFileDialogService(std::shared_ptr<FileDialogService> service)
{
    std::shared_ptr<FileDialogService> previous = std::move(Installed());
    Installed() = std::move(service);
    return previous;
}

FileDialogResult RunFileDialog(const FileDialogRequest &request, QWidget *parent)
{
    if (Installed())
        return Installed()->Run(request, parent);
    RealFileDialog real;
    return real.Run(request, parent);
}

} // namespace qv::ui
