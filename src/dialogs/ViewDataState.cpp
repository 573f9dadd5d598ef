#include "ViewDataState.h"

#include "ado/Recordset.h"
#include "common/basUtility.h"
#include "config/ConfigObjects.h"

namespace qv::dialogs {
namespace {

constexpr int kSourceRendersItself = 8;

} // namespace

void ViewDataState::Begin(const ViewDataRequest &oRequest)
{
    m_oRequest = oRequest;
    m_oResult = ViewDataResult();
    m_lRowLimit = 0;
    m_bLoadPending = bool(oRequest.oDataView);
    m_bFetching = false;
    m_bRowsShown = false;
}

void ViewDataState::FetchStarted()
{
    Q_ASSERT(CanLoad());
    m_bLoadPending = false;
    m_bFetching = true;
    m_lRowLimit = 0;
}

void ViewDataState::FetchEnded(bool bRowsShown)
{
    m_bFetching = false;
    m_bRowsShown = m_bRowsShown || bRowsShown;
}

bool ViewDataState::NativeView() const
{
    return m_oRequest.oDataView && m_oRequest.oDataView->Source.Kind == kSourceRendersItself;
}

QString ViewDataState::ProgressTitle() const
{
    return ViewProgressTitle(m_oRequest.oDataView ? m_oRequest.oDataView->Name : QString());
}

QString ViewDataState::Title() const
{
    return WindowTitle(m_oRequest.sFormCaption, m_oRequest.oDataView ? m_oRequest.oDataView->Name : QString(),
                       QString::fromLatin1(kUntitled));
}

QString ViewDataState::Status(qint64 lShown) const
{
    return StatusText(m_lRowLimit > 0 ? lShown : 0, 0, TotalOf(m_oRequest.oDataView));
}

ViewDataState::Geometry ViewDataState::GeometryOf(const ViewPlacement &oPlacement)
{
    return {oPlacement.lFormLeft, oPlacement.lFormTop, oPlacement.lCloseLeft + kCloseMargin,
            oPlacement.lCloseTop + kCloseMargin};
}

void ViewDataState::Finish(const Geometry &oGeometry)
{
    m_oResult = ViewDataResult();
    m_oResult.oPlacement.lFormLeft = oGeometry.lLeft;
    m_oResult.oPlacement.lFormTop = oGeometry.lTop;
    // The window's size is kept as the Close button's place, as it always was.
    m_oResult.oPlacement.lCloseLeft = oGeometry.lWidth - kCloseMargin;
    m_oResult.oPlacement.lCloseTop = oGeometry.lHeight - kCloseMargin;
    m_oResult.bRowsShown = m_bRowsShown;
}

} // namespace qv::dialogs
