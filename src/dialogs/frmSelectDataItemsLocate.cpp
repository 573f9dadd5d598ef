// The Insert Data dialog's answer to a source that moved: the error offers
// "Locate...", the file the author picks becomes the data view's source in
// its configuration file, and the rows load from there.
#include "frmSelectDataItems.h"

#include "biz/ConfigFileSettings.h"
#include "common/basErrorHandling.h"
#include "config/ConfigObjects.h"
#include "config/ConfigStore.h"
#include "data/SourceLocation.h"
#include "ui/FileDialog.h"
#include "ui/MessageBox.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStatusBar>

namespace qv {

namespace {

const QString kTitle = QString::fromLatin1(kTitleDataViews);
constexpr auto kLocateButton = "&Locate...";
constexpr auto kLocateHint = "The file may have been moved or renamed. Choose Locate... to find it; the data view "
                             "then reads it from its new place.";

// The nearest folder of the old path that still exists, else the documents.
QString StartFolder(const QString &sOldPath)
{
    QString sFolder = QFileInfo(sOldPath).absolutePath();
    while (!QFileInfo(sFolder).isDir()) {
        const QString sUp = QFileInfo(sFolder).absolutePath();
        if (sUp == sFolder)
            return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        sFolder = sUp;
    }
    return sFolder;
}

ui::FileDialogRequest LocateRequest(const QString &sOldPath)
{
    const QFileInfo oOld(sOldPath);
    ui::FileDialogRequest oRequest;
    oRequest.Title = QStringLiteral("Locate %1").arg(oOld.fileName());
    oRequest.InitialFolder = StartFolder(sOldPath);
    oRequest.FileName = oOld.fileName();
    const QString sSuffix = oOld.suffix();
    oRequest.Filter = sSuffix.isEmpty()
                          ? QStringLiteral("All Files (*.*)|*.*")
                          : QStringLiteral("%1 files (*.%1)|*.%1|All Files (*.*)|*.*").arg(sSuffix);
    return oRequest;
}

// Writes the new connection text into the data view's configuration file:
// a fresh copy of the store, so that nothing else the dialog holds (its own
// filters) is saved with it. A team file goes through the store's safe save.
void SaveConnectionText(const QString &sConfigPath, qint32 lId, const QString &sConnectionText)
{
    auto oStore = config::ConfigStore::Create();
    oStore->Open(sConfigPath);
    const auto oSaved = oStore->DataViewCollection().Item(lId);
    if (!oSaved)
        RaiseError(vberr::InvalidCall, {}, QStringLiteral("The data view is no longer in \"%1\".").arg(sConfigPath));
    oSaved->Source.ConnectionText = sConnectionText;
    oStore->Save();
}

} // namespace

void frmSelectDataItems::OnLoadFailed(const std::exception_ptr &oFailure)
{
    const auto oDataView = m_oState.DataView();
    const bool bMoved =
        oDataView && data::SourceFileMissing(oDataView->Source.Kind, oDataView->Source.ConnectionText);
    try {
        std::rethrow_exception(oFailure);
    } catch (...) {
        CaptureError();
    }
    if (!bMoved) {
        ShowError({}, kTitle);
        return;
    }
    if (ShowErrorWithAction(QString::fromLatin1(kLocateButton), QString::fromLatin1(kLocateHint), kTitle)
        == ui::mb::Action)
        HandleErrors([this] { LocateSource(); }, kTitle);
}

void frmSelectDataItems::LocateSource()
{
    const auto oDataView = m_oState.DataView();
    Q_ASSERT(oDataView);
    const qint32 lKind = oDataView->Source.Kind;
    const QString sOld = data::SourceFilePath(lKind, oDataView->Source.ConnectionText);
    const ui::FileDialogResult oPicked = ui::RunFileDialog(LocateRequest(sOld), this);
    if (!oPicked.Accepted || oPicked.Path.isEmpty())
        return;
    const QString sText = data::RepointConnectionText(lKind, oDataView->Source.ConnectionText,
                                                      QDir::fromNativeSeparators(oPicked.Path));
    const qint32 lType = m_oState.DataViewType() == 2 ? 2 : 1;
    SaveConnectionText(m_oState.ConfigFileSettings().GetConfigFilePath(lType), oDataView->Id(), sText);
    oDataView->Source.ConnectionText = sText;
    // The picker's copy of the data view reads from the new place too.
    if (const auto oStore = StoreOfKind(lType)) {
        if (const auto oListed = oStore->DataViewCollection().Item(oDataView->Id()))
            oListed->Source.ConnectionText = sText;
    }
    sbrStatusBar->showMessage(QStringLiteral("'%1' now reads %2.").arg(oDataView->Name, oPicked.Path), 5000);
    FetchRows([this] { UpdateControls(); });
}

} // namespace qv
