#include "qvuser/DVUser.h"

#include "DVUserPrivate.h"

#include "common/basUtility.h"
#include "data/DataViewDataServices.h"
#include "ui/HelpService.h"

namespace qv::entry {

ThreadState &CurrentThreadState()
{
    thread_local ThreadState state;
    return state;
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
    // The path is always the "1033" folder, whatever the locale; a missing
    // table leaves every string empty.
    d->oResourceLibrary = LoadResourceLibrary(ResourceLibraryPath(QString::fromLatin1(kResourceFileName)));
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

void DVUser::SetDataViewDataServices(std::shared_ptr<data::DataViewDataServices> &oServices)
{
    entry::CurrentThreadState().DataServices = oServices;
}
