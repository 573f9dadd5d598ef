#include "qvuser/DVUser.h"

#include "DVUserPrivate.h"

#include "common/basUtility.h"
#include "data/DataViewDataServices.h"
#include "qvuser/HostSettings.h"
#include "ui/HelpService.h"

#include <QDir>

namespace qv::entry {

ThreadState &CurrentThreadState()
{
    thread_local ThreadState state;
    return state;
}

void RaiseResourcesMissing()
{
    // Without its strings every caption and message would be empty, which a
    // user could not tell from a fault of the host.
    QStringList looked;
    for (const QString &folder : ComponentFolderCandidates())
        looked << QDir(folder).filePath(QStringLiteral("1033/qvres.txt"));
    throw ComError(kFileNotFound, QStringLiteral("QVUSER.DVUser"),
                   QStringLiteral("The QVUser resources are missing: no string table at %1. Install the 1033 folder "
                                  "there or give its parent folder as HostSettings::ComponentFolder.")
                       .arg(looked.join(QStringLiteral(" or "))));
}

std::shared_ptr<data::DataViewDataServices> SharedDataServices()
{
    ThreadState &state = CurrentThreadState();
    if (!state.DataServices)
        state.DataServices = std::make_shared<data::DataViewDataServices>();
    return state.DataServices;
}

} // namespace qv::entry

using namespace qv;

DVUser::DVUser(QObject *parent) : QObject(parent), d(std::make_unique<Private>())
{
    entry::ThreadState &state = entry::CurrentThreadState();
    // The path is always the "1033" folder, whatever the locale.
    const QString sTablePath = ResourceLibraryPath(QString::fromLatin1(kResourceFileName));
    if (!FileExists(sTablePath))
        entry::RaiseResourcesMissing();
    d->oResourceLibrary = LoadResourceLibrary(sTablePath);
    state.ResourceLibrary = d->oResourceLibrary;
    SetResourceLibrary(d->oResourceLibrary);
    ui::SetApplicationHelpFile(HelpFilePath(QString::fromLatin1(kHelpFileName), true));
    ++state.InstanceCount;
}

DVUser::~DVUser()
{
    CloseForms();
    d->oDataViewDS.reset();
    entry::ThreadState &state = entry::CurrentThreadState();
    if (--state.InstanceCount > 0)
        return;
    state.InstanceCount = 0;
    state.DataServices.reset();
    state.ResourceLibrary.reset();
    SetResourceLibrary(nullptr);
}

bool DVUser::ValidateDataViewFieldValue(std::shared_ptr<config::DataView> &oDataView, const QString &, const QString &)
{
    return oDataView != nullptr;
}

std::shared_ptr<data::DataViewDataServices> DVUser::DataViewDataServices() const
{
    return entry::CurrentThreadState().DataServices;
}

void DVUser::SetDataViewDataServices(const std::shared_ptr<data::DataViewDataServices> &oServices)
{
    entry::CurrentThreadState().DataServices = oServices;
}

std::shared_ptr<biz::Settings> DVUser::ShowSelectData(
    std::shared_ptr<config::DataView> &&oDataView, const std::shared_ptr<biz::Settings> &oSettings,
    const std::shared_ptr<Collection> &colParaStyle, const std::shared_ptr<Collection> &colTableStyle,
    eConfigFileType DataViewType, int32_t lDisplayParam, bool bForceDataView, bool bShowFormatControls,
    bool bShowSave, bool bShowCheckboxes, const QString &sSelectedRowsXML, const QString &sFormCaption,
    bool bOffline, bool bDisableMenus, bool bDisableColReorder)
{
    std::shared_ptr<config::DataView> oShown = std::move(oDataView);
    return ShowSelectData(oShown, oSettings, colParaStyle, colTableStyle, DataViewType, lDisplayParam, bForceDataView,
                          bShowFormatControls, bShowSave, bShowCheckboxes, sSelectedRowsXML, sFormCaption, bOffline,
                          bDisableMenus, bDisableColReorder);
}
