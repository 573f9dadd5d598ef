#include "DemoWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QTextDocumentWriter>
#include <QTextEdit>

namespace qvdemo {

namespace {

bool IsHtml(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("html") || suffix == QLatin1String("htm");
}

} // namespace

DemoWindow::DemoWindow(QWidget *parent) : QMainWindow(parent), txtDocument(new QTextEdit(this))
{
    setObjectName(QStringLiteral("DemoWindow"));
    setWindowTitle(QStringLiteral("Quorivo Demo Editor"));
    txtDocument->setObjectName(QStringLiteral("txtDocument"));
    txtDocument->setAcceptRichText(true);
    setCentralWidget(txtDocument);
    statusBar()->setObjectName(QStringLiteral("sbrStatus"));
    BuildMenus();
    resize(900, 640);
}

void DemoWindow::BuildMenus()
{
    QMenu *mnuFile = menuBar()->addMenu(QStringLiteral("&File"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    const auto add = [this, mnuFile](const char *name, const QString &text, QKeySequence keys, auto handler) {
        QAction *action = mnuFile->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(keys);
        connect(action, &QAction::triggered, this, handler);
    };
    add("mnuFileNew", QStringLiteral("&New"), QKeySequence::New, [this] { OnNew(); });
    add("mnuFileOpen", QStringLiteral("&Open..."), QKeySequence::Open, [this] { OnOpen(); });
    add("mnuFileSave", QStringLiteral("&Save"), QKeySequence::Save, [this] { OnSave(false); });
    // Some desktops define no Save As keys; the editor's are Ctrl+Shift+S then.
    const QKeySequence saveAs = QKeySequence(QKeySequence::SaveAs).isEmpty()
                                    ? QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)
                                    : QKeySequence(QKeySequence::SaveAs);
    add("mnuFileSaveAs", QStringLiteral("Save &As..."), saveAs, [this] { OnSave(true); });
    mnuFile->addSeparator();
    add("mnuFileExit", QStringLiteral("E&xit"), QKeySequence::Quit, [this] { close(); });
}

bool DemoWindow::SaveDocument(const QString &path, QString &error)
{
    QTextDocumentWriter writer(path, IsHtml(path) ? QByteArrayLiteral("html") : QByteArrayLiteral("odf"));
    if (writer.write(txtDocument->document())) {
        txtDocument->document()->setModified(false);
        return true;
    }
    error = QStringLiteral("The document could not be written to \"%1\".").arg(path);
    return false;
}

bool DemoWindow::OpenDocument(const QString &path, QString &error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("\"%1\" cannot be read: %2.").arg(path, file.errorString());
        return false;
    }
    const QString text = QString::fromUtf8(file.readAll());
    if (IsHtml(path))
        txtDocument->setHtml(text);
    else
        txtDocument->setPlainText(text);
    txtDocument->document()->setModified(false);
    return true;
}

void DemoWindow::ShowStatus(const QString &text)
{
    statusBar()->showMessage(text);
}

void DemoWindow::ShowFailure(const QString &text)
{
    QMessageBox::warning(this, windowTitle(), text);
}

bool DemoWindow::ChangesMayGo()
{
    if (!txtDocument->document()->isModified())
        return true;
    const auto answer = QMessageBox::question(
        this, windowTitle(), QStringLiteral("The document has changes that are not saved. Save them?"),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (answer == QMessageBox::Save)
        return OnSave(false);
    return answer == QMessageBox::Discard;
}

void DemoWindow::closeEvent(QCloseEvent *event)
{
    if (ChangesMayGo())
        event->accept();
    else
        event->ignore();
}

void DemoWindow::OnNew()
{
    if (!ChangesMayGo())
        return;
    txtDocument->clear();
    txtDocument->document()->setModified(false);
    m_path.clear();
    ShowStatus(QStringLiteral("New document"));
}

void DemoWindow::OnOpen()
{
    if (!ChangesMayGo())
        return;
    // Qt reads no ODF, so documents come back in as HTML or plain text.
    const QString path = QFileDialog::getOpenFileName(this, QStringLiteral("Open"), QFileInfo(m_path).path(),
                                                      QStringLiteral("HTML (*.html *.htm);;Text (*.txt)"));
    if (path.isEmpty())
        return;
    QString error;
    if (!OpenDocument(path, error))
        return ShowFailure(error);
    m_path = path;
    ShowStatus(QStringLiteral("Opened %1").arg(path));
}

bool DemoWindow::OnSave(bool bAskForPath)
{
    QString path = m_path;
    // A document opened from plain text is saved under a name of the user's choosing.
    const bool bWritable = IsHtml(path) || QFileInfo(path).suffix().toLower() == QLatin1String("odt");
    if (bAskForPath || !bWritable) {
        path = QFileDialog::getSaveFileName(this, QStringLiteral("Save As"), m_path,
                                            QStringLiteral("OpenDocument Text (*.odt);;HTML (*.html *.htm)"));
    }
    if (path.isEmpty())
        return false;
    QString error;
    if (!SaveDocument(path, error)) {
        ShowFailure(error);
        return false;
    }
    m_path = path;
    ShowStatus(QStringLiteral("Saved %1").arg(path));
    return true;
}

} // namespace qvdemo
