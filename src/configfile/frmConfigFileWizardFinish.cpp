// Browse and Finish of the Configuration File wizard: the file dialog, the
// checks of the chosen file, and writing a new or changed configuration file.
#include "frmConfigFileWizard.h"

#include "ConfigFileRules.h"
#include "common/basErrorHandling.h"
#include "common/basUtility.h"
#include "config/ConfigStore.h"
#include "resources/PathText.h"
#include "ui/MessageBox.h"
#include "ui/MousePointer.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace qv {

using namespace configfile;

namespace {

const QString kTitle = QString::fromLatin1(kTitleManager);
const QString kFileTitle = QStringLiteral("Configuration File");
constexpr quint32 kCreateFolder = 150001, kNotFound = 150018, kNotCreated = 150019, kNotConfiguration = 150020,
                  kSavedElsewhere = 150021;

bool SameFile(const QString &sOne, const QString &sOther)
{
    const QFileInfo oOne(sOne), oOther(sOther);
    return oOne.absoluteFilePath() == oOther.absoluteFilePath()
           || (!oOne.canonicalFilePath().isEmpty() && oOne.canonicalFilePath() == oOther.canonicalFilePath());
}

} // namespace

QString frmConfigFileWizard::GetConfigFileName(const QString &sCurrentPath)
{
    ui::SetMousePointer(ui::pointer::Default);
    const ui::FileDialogResult oChosen = ui::RunFileDialog(BrowseRequest(m_oState.Creating(), sCurrentPath), this);
    return oChosen.Accepted ? CutAtNul(oChosen.Path) : QString();
}

void frmConfigFileWizard::Browse()
{
    const QString sPath = GetConfigFileName(txtFile->text());
    if (sPath.isEmpty())
        return;
    txtFile->setText(sPath);
    txtFile->setCursorPosition(int(sPath.size()));
    txtFile->setFocus();
}

void frmConfigFileWizard::FinishWizard()
{
    const bool bDone = m_oState.Creating() ? FinishCreating() : FinishLinking(FileSystemPath(txtFile->text()));
    if (!bDone)
        return;
    m_oState.Finish(FileSystemPath(txtFile->text()));
    accept();
}

bool frmConfigFileWizard::FinishLinking(const QString &sPath)
{
    if (!FileExists(sPath)) {
        ShowMessage(LoadResString(kNotFound, {txtFile->text()}), kFileTitle, ui::mb::Exclamation);
        txtFile->setFocus();
        return false;
    }
    return ReadableConfigFile(sPath);
}

bool frmConfigFileWizard::ReadableConfigFile(const QString &sPath)
{
    try {
        config::ConfigStore::Create()->Open(sPath);
        return true;
    } catch (const ComError &oError) {
        ShowMessage(LoadResString(kNotConfiguration, {QDir::toNativeSeparators(sPath), oError.Description()}),
                    kFileTitle, ui::mb::Exclamation);
    }
    txtFile->setFocus();
    return false;
}

bool frmConfigFileWizard::FinishCreating()
{
    // Raises "Invalid filename", which the button's handler shows.
    const QString sPath = CheckConfigFileName(txtFile->text());
    const QString sFolder = SplitConfigPath(sPath).sFolder;
    if (!sFolder.isEmpty() && !QFileInfo(sFolder).isDir()) {
        if (ShowMessage(LoadResString(kCreateFolder, {sFolder}), kTitle, ui::mb::YesNo + ui::mb::Question)
            != ui::mb::Yes)
            return false;
        if (!QDir().mkpath(sFolder)) {
            ShowMessage(LoadResString(kNotFound, {sFolder}), kFileTitle, ui::mb::Exclamation);
            return false;
        }
    }
    txtFile->setText(sPath);
    // A file that is there must be a configuration file: only its name and description change.
    if (QFileInfo::exists(sPath) && !(m_oStore && SameFile(sPath, m_oStore->FilePath())) && !ReadableConfigFile(sPath))
        return false;
    return WriteConfigFile(sPath);
}

bool frmConfigFileWizard::WriteConfigFile(const QString &sPath)
{
    const QString sName = txtName->text();
    const QString sDescription = txtDescriptions->toPlainText();
    const QString sNamespace = QString::fromLatin1(kTeamSmartTagNamespace);
    ui::BusyPointer oBusy;
    try {
        if (!m_oStore || !SameFile(sPath, m_oStore->FilePath())) {
            config::ConfigStore::CreateFile(sPath, sName, sDescription, sNamespace);
            return true;
        }
        // The file passed in, as it was when the wizard opened it: a save
        // someone else made since is not overwritten unless the user says so,
        // and then their version is the one the name and description go into.
        const auto oRedo = [&](config::ConfigStore &oStore) {
            oStore.Name = sName;
            oStore.Description = sDescription;
            oStore.SmartTagNamespace = sNamespace;
        };
        oRedo(*m_oStore);
        return SaveRedoingOnConflict(*m_oStore, oRedo, [&] {
            return ShowMessage(LoadResString(kSavedElsewhere, {QDir::toNativeSeparators(sPath)}), kTitle,
                               ui::mb::YesNo + ui::mb::Question)
                   == ui::mb::Yes;
        });
    } catch (const ComError &oError) {
        ShowMessage(LoadResString(kNotCreated, {oError.Description()}), kTitle, ui::mb::Exclamation);
    }
    return false;
}

} // namespace qv
