#pragma once

#include <QMainWindow>
#include <QString>

class QTextEdit;

namespace qvdemo {

// The demo editor's window: one rich-text document with a File menu that
// saves it as ODF (.odt) or HTML and opens HTML or plain text. The Data menu
// is added by DemoDataMenu. New, Open and Exit ask before unsaved changes go.
class DemoWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit DemoWindow(QWidget *parent = nullptr);

    QTextEdit *Editor() const { return txtDocument; }
    // Writes the document; ".htm"/".html" as HTML, anything else as ODF.
    // On failure answers false and the reason in `error`.
    bool SaveDocument(const QString &path, QString &error);
    // Reads an HTML (".htm"/".html") or plain text file into the document.
    bool OpenDocument(const QString &path, QString &error);
    void ShowStatus(const QString &text);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void BuildMenus();
    void OnNew();
    void OnOpen();
    // True when the document was written.
    bool OnSave(bool bAskForPath);
    // Asks what becomes of unsaved changes; false when the author cancels.
    bool ChangesMayGo();
    void ShowFailure(const QString &text);

    QTextEdit *txtDocument;
    QString m_path;
};

} // namespace qvdemo
