#include "SmartTagTermsState.h"

#include "config/ConfigObjects.h"

#include <QAtomicInt>

#include <algorithm>

namespace qv::smarttags {
namespace {

// The next new term's number, for the life of the process.
QAtomicInt g_lNextTerm = 1;

} // namespace

SmartTagTermsRequest SmartTagTermsRequest::For(const config::Recognizer &oRecognizer, const QString &sSmartTagName)
{
    SmartTagTermsRequest oRequest;
    oRequest.sSmartTagName = sSmartTagName;
    if (const auto oView = oRecognizer.DataView()) {
        oRequest.bHasDataView = true;
        oRequest.sDataViewName = oView->Name;
        const auto oField = oRecognizer.Field();
        oRequest.sFieldName = oField ? oField->Name : oRecognizer.FieldName;
    }
    for (int i = 1; i <= oRecognizer.Included.Count(); ++i)
        oRequest.colIncluded << oRecognizer.Included.Item(i);
    for (int i = 1; i <= oRecognizer.Excluded.Count(); ++i)
        oRequest.colExcluded << oRecognizer.Excluded.Item(i);
    return oRequest;
}

void SmartTagTermsResult::WriteBack(config::Recognizer &oRecognizer) const
{
    if (bCancelled)
        return;
    while (oRecognizer.Excluded.Count() > 0)
        oRecognizer.Excluded.Remove(1);
    for (const QString &sTerm : colExcluded)
        oRecognizer.Excluded.Add(sTerm);
    while (oRecognizer.Included.Count() > 0)
        oRecognizer.Included.Remove(1);
    for (const QString &sTerm : colIncluded)
        oRecognizer.Included.Add(sTerm);
}

QString SmartTagTermsState::Caption(const QString &sSmartTagName)
{
    const QString sCaption = QStringLiteral("Smart Tag Recognizer Terms");
    return sSmartTagName.isEmpty() ? sCaption : sCaption + QStringLiteral(" - ") + sSmartTagName;
}

QString SmartTagTermsState::DataViewSentence(const SmartTagTermsRequest &oRequest)
{
    if (!oRequest.bHasDataView)
        return QStringLiteral("This Smart Tag does not use terms from a Data View as recognizers.");
    return QStringLiteral("This Smart Tag uses terms from the ") + oRequest.sFieldName.toUpper()
           + QStringLiteral(" field of the ") + oRequest.sDataViewName.toUpper()
           + QStringLiteral(" Data View as recognizers.");
}

QString SmartTagTermsState::NewTermText(int lNumber)
{
    return QStringLiteral("(New Term %1)").arg(lNumber);
}

int SmartTagTermsState::NextTermNumber()
{
    return g_lNextTerm.loadRelaxed();
}

void SmartTagTermsState::Begin(const SmartTagTermsRequest &oRequest)
{
    m_oRequest = oRequest;
    m_colTerms = {oRequest.colIncluded, oRequest.colExcluded};
    m_colSort = {Sort::None, Sort::None};
    m_oResult = {};
    m_bFinished = false;
}

int SmartTagTermsState::NewTerm(List lList)
{
    m_colTerms[lList] << NewTermText(g_lNextTerm.fetchAndAddRelaxed(1));
    return int(m_colTerms[lList].size()) - 1;
}

void SmartTagTermsState::SetTerm(List lList, int lRow, const QString &sText)
{
    if (lRow >= 0 && lRow < m_colTerms[lList].size())
        m_colTerms[lList][lRow] = sText;
}

int SmartTagTermsState::DeleteTerms(List lList, QList<int> colRows, int lSelectedRow)
{
    QStringList &colTerms = m_colTerms[lList];
    // From the last to the first, so that the rows still to go keep their places.
    std::sort(colRows.begin(), colRows.end(), std::greater<int>());
    colRows.erase(std::unique(colRows.begin(), colRows.end()), colRows.end());
    for (const int lRow : std::as_const(colRows))
        if (lRow >= 0 && lRow < colTerms.size())
            colTerms.removeAt(lRow);
    if (colTerms.isEmpty())
        return -1;
    return lSelectedRow >= 0 && lSelectedRow < colTerms.size() ? lSelectedRow : int(colTerms.size()) - 1;
}

SmartTagTermsState::Buttons SmartTagTermsState::ButtonStates(int lItemCount, int lSelectedCount)
{
    if (lItemCount == 0)
        return {};
    return {lSelectedCount < 2, true};
}

SmartTagTermsState::Sort SmartTagTermsState::SortList(List lList)
{
    Sort &lSort = m_colSort[lList];
    lSort = lSort == Sort::Ascending ? Sort::Descending : Sort::Ascending;
    QStringList &colTerms = m_colTerms[lList];
    std::stable_sort(colTerms.begin(), colTerms.end(), [lSort](const QString &a, const QString &b) {
        const int lCompare = a.compare(b, Qt::CaseInsensitive);
        return lSort == Sort::Ascending ? lCompare < 0 : lCompare > 0;
    });
    return lSort;
}

const SmartTagTermsResult &SmartTagTermsState::Finish(bool bOk)
{
    if (m_bFinished)
        return m_oResult;
    m_bFinished = true;
    m_oResult.bCancelled = !bOk;
    if (bOk) {
        m_oResult.colIncluded = m_colTerms[Included];
        m_oResult.colExcluded = m_colTerms[Excluded];
    }
    return m_oResult;
}

} // namespace qv::smarttags
