#pragma once

#include "SelectDataRules.h"

#include <QString>

#include <memory>

namespace qv::config {
class DataView;
}
namespace qv::data {
class DataViewDataServices;
}

namespace qv::dialogs {

// What a caller sets for one showing of the View Data window.
struct ViewDataRequest
{
    std::shared_ptr<config::DataView> oDataView;
    // Rows of a preview; 0 shows the data view in full.
    qint32 lPreview = 0;
    QString sFormCaption;
    // The services the rows come through; a private object when none.
    std::shared_ptr<data::DataViewDataServices> oServices;
};

// What one showing of the View Data window leaves behind, built once when it
// closes: the place it is remembered at and whether rows were shown.
struct ViewDataResult
{
    ViewPlacement oPlacement;
    bool bRowsShown = false;
};

// The View Data window's decisions, without a widget: rows awaited or
// fetched, the row limit, which view a source gets, the titles and the
// status, and the place it keeps.
class ViewDataState
{
public:
    // The rows the full view shows at most.
    static constexpr qint32 kFullViewRows = 5000;
    // Below the Close button's stored place the window has this much room.
    static constexpr qint32 kCloseMargin = 1500;

    void Begin(const ViewDataRequest &oRequest);
    const ViewDataRequest &Request() const { return m_oRequest; }

    bool LoadPending() const { return m_bLoadPending; }
    bool Fetching() const { return m_bFetching; }
    bool Busy() const { return m_bLoadPending || m_bFetching; }
    // A load starts when the window is shown, or on F5 when idle.
    bool CanLoad() const { return !m_bFetching && bool(m_oRequest.oDataView); }
    void FetchStarted();
    void FetchEnded(bool bRowsShown);
    qint32 MaxRows() const { return m_oRequest.lPreview > 0 ? m_oRequest.lPreview : kFullViewRows; }
    void SetRowLimitReached(qint32 lLimit) { m_lRowLimit = lLimit; }

    // A source that renders itself (an HTML page) opens in its own form.
    bool NativeView() const;
    QString ProgressTitle() const;
    QString Title() const;
    // The list is read-only: nothing counts as selected, and rows are
    // "displayed" by number only when the row limit cut the list.
    QString Status(qint64 lShown) const;

    // The stored place as the window's geometry, in twips.
    struct Geometry
    {
        qint32 lLeft = 0, lTop = 0, lWidth = 0, lHeight = 0;
    };
    static Geometry GeometryOf(const ViewPlacement &oPlacement);
    // Builds the result from the window's geometry, in twips, once.
    void Finish(const Geometry &oGeometry);
    const ViewDataResult &Result() const { return m_oResult; }

private:
    ViewDataRequest m_oRequest;
    ViewDataResult m_oResult;
    qint32 m_lRowLimit = 0;
    bool m_bLoadPending = false;
    bool m_bFetching = false;
    bool m_bRowsShown = false;
};

} // namespace qv::dialogs
