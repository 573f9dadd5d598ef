#pragma once

#include <QList>
#include <QQueue>
#include <QString>

#include <memory>

class QWidget;

namespace qv::ui {

// Turns "desc|pattern|desc|pattern" into Qt's "desc (pattern);;desc (pattern)".
// Patterns separated by ";" become space-separated; a description that already
// ends with its patterns in parentheses keeps them once; a trailing "|" and an
// unpaired description are tolerated.
QString TranslateFileFilter(const QString &filter);

struct FileDialogRequest
{
    enum Mode { Open, Save, Folder };
    Mode DialogMode = Open;
    QString Title;
    QString InitialFolder;
    QString FileName;
    QString Filter;      // the "desc|pattern" form
    int FilterIndex = 1; // 1-based
    QString DefaultExtension;
    bool MustExist = true;
    bool OverwritePrompt = true;
};

struct FileDialogResult
{
    bool Accepted = false;
    QString Path;
    int FilterIndex = 1;
};

class FileDialogService
{
public:
    virtual ~FileDialogService() = default;
    virtual FileDialogResult Run(const FileDialogRequest &request, QWidget *parent) = 0;
};

// Records the requests and answers from a queue (cancelled when it is empty).
class FileDialogDouble : public FileDialogService
{
public:
    FileDialogResult Run(const FileDialogRequest &request, QWidget *parent) override;

    QList<FileDialogRequest> Requests;
    QQueue<FileDialogResult> Results;
};

// Installs a service for this thread (nullptr restores the real dialog) and
// returns the one it replaces.
std::shared_ptr<FileDialogService> SetFileDialogService(std::shared_ptr<FileDialogService> service);

FileDialogResult RunFileDialog(const FileDialogRequest &request, QWidget *parent = nullptr);

} // namespace qv::ui
